#pragma once
// The player's picture: what it draws where. The still part (faces, captions, times, the note
// about the clock file, the hour and minute hands) is built for a whole minute; the second hand
// is built for each second. Built without a display; a canvas paints it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "config/ClockFile.h"
#include "player/Colour.h"
#include "player/Geometry.h"
#include "player/Layout.h"

struct FillCircle {
    PointF centre;
    float radius;
    Rgb color;
    bool operator==(const FillCircle&) const = default;
};
struct StrokeCircle {
    PointF centre;
    float radius;
    float width;
    Rgb color;
    bool operator==(const StrokeCircle&) const = default;
};
struct Line {  // round caps
    PointF from, to;
    float width;
    Rgb color;
    bool operator==(const Line&) const = default;
};
struct Text {  // one line, centred in its box, made smaller where it would not fit
    std::wstring text;
    RectF box;
    float pixelHeight;
    bool bold;
    Rgb color;
    bool operator==(const Text&) const = default;
};
using SceneItem = std::variant<FillCircle, StrokeCircle, Line, Text>;

// The area an item paints, with room to spare: a pixel for antialiasing, a line's height
// around a text.
RectF Bounds(const SceneItem& item);
// The whole pixels of those bounds (not cut to any drawing area).
RectI PixelBox(const SceneItem& item);
// The item moved by whole pixels.
SceneItem Shifted(const SceneItem& item, int dx, int dy);
Rgb ColorOf(const SceneItem& item);
// The number of items at the start of `items` that share the first one's colour.
std::size_t RunOfOneColour(std::span<const SceneItem> items);
// The number of shapes at the start of `items` up to the next text or the first shape clear of
// those before it (another clock's); a text alone. (A face's disc, ring and ticks lie between its
// caption and its time, over each other.)
std::size_t RunOfShapes(std::span<const SceneItem> items);

// The painting surface: stateless, every call names its own colour and sizes.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void Clear(Rgb color) = 0;
    virtual void FillCircle(PointF centre, float radius, Rgb color) = 0;
    virtual void StrokeCircle(PointF centre, float radius, float width, Rgb color) = 0;
    virtual void DrawLine(PointF from, PointF to, float width, Rgb color) = 0;
    // One line centred in `box`; a text wider than the box is drawn smaller to fit.
    virtual void DrawText(const std::wstring& text, RectF box, float pixelHeight, bool bold,
                          Rgb color) = 0;
};

void PaintItems(std::span<const SceneItem> items, Canvas& canvas);

// One clock as the still part shows it for the minute.
struct ClockView {
    int row = 0;  // 0-3 the zone clocks, 4 the local clock
    std::wstring caption;
    bool offsetUsable = true;  // false: the clock shows UTC
    int offsetMinutes = 0;
    int dayDelta = 0;  // days after (+) or before (-) the local clock's day
    std::wstring timeText, dayText;
    ClockPlace place;
};

struct Scene {
    Rgb background;
    std::vector<SceneItem> still;   // in painting order, after the background
    std::vector<ClockView> clocks;  // per composition, in row order
    std::vector<Composition> compositions;
    std::wstring note;  // a line about the clock file, empty when all is well
};

class ClockEnvironment;

struct SceneInput {
    int width = 0, height = 0;        // the drawing area
    std::span<const RectI> monitors;  // in the drawing area's coordinates
    std::int64_t utcMs = 0;
    const ClockFile* file = nullptr;
    ClockEnvironment* environment = nullptr;
    std::optional<Rgb> background;  // the host's colour; the player's own when empty
};

// Builds the still part of the picture for the minute of `in.utcMs`.
void BuildStill(const SceneInput& in, Scene& scene);

// The items each clock moves every second: the second hand and the hub over it.
inline constexpr std::size_t kHandItems = 3;
// Appends a clock's second hand and hub at an instant (to the whole second); they stay inside
// its face. The hour and minute hands are part of the still picture.
void AddSecondHand(const ClockView& clock, std::int64_t utcMs, std::vector<SceneItem>& items);

// The pixels an item paints, as a few rectangles that hug it: a long slanted line is covered
// piece by piece rather than by its whole bounding box. Appended to `areas`.
void AddAreas(const SceneItem& item, int width, int height, std::vector<RectI>& areas);
