#pragma once
// A scene: what the player draws where, for one size, monitor set, time and clock file. Built
// without a display; a canvas paints it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "config/ClockFile.h"
#include "player/OffsetText.h"

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct PointF {
    float x = 0, y = 0;
    bool operator==(const PointF&) const = default;
};

struct RectF {
    float left = 0, top = 0, width = 0, height = 0;
    float Right() const { return left + width; }
    float Bottom() const { return top + height; }
    bool operator==(const RectF&) const = default;
};

struct RectI {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

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

// What one clock shows, for checks and for readers of the scene.
struct ClockView {
    int row = 0;  // 0-3 zone clocks, 4 the local clock
    std::wstring caption;
    bool offsetUsable = true;  // false: the clock shows UTC
    int offsetMinutes = 0;
    int hour = 0, minute = 0, second = 0;
    int weekday = 0;   // 0 Sunday
    int dayDelta = 0;  // days after (+) or before (-) the local clock's day
    double hourAngle = 0, minuteAngle = 0, secondAngle = 0;  // degrees clockwise from 12
    std::wstring timeText, dayText;
    PointF centre;
    float radius = 0;
    RectF cell;  // the clock's whole area: caption, face, time and day
    RectF captionBox;
    RectF faceBounds;  // everything that moves within the second
    int monitor = 0;   // index into the monitor set
};

struct Scene {
    Rgb background;
    // In painting order, after the background: first what stands still for at least a
    // minute (faces, captions, times), from `firstMoving` on the hands of the second.
    std::vector<SceneItem> items;
    std::size_t firstMoving = 0;
    std::vector<ClockView> clocks;    // per monitor, in row order
    std::vector<RectF> compositions;  // one per monitor
    std::wstring note;                // a line about the clock file, empty when all is well
};

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

void PaintScene(const Scene& scene, Canvas& canvas);
// The area an item paints, with a pixel to spare for antialiasing.
RectF Bounds(const SceneItem& item);
RectF Union(const RectF& a, const RectF& b);
void PaintItems(std::span<const SceneItem> items, Canvas& canvas);

class ClockEnvironment;

struct SceneInput {
    int width = 0, height = 0;        // the player's client area
    std::span<const RectI> monitors;  // in client coordinates; empty: the whole area
    std::int64_t utcMs = 0;
    const ClockFile* file = nullptr;
    ClockEnvironment* environment = nullptr;
    std::optional<Rgb> background;  // the host's colour; the player's own when empty
};

// A background colour as the movie control stores it: "#RRGGBB" (or "RRGGBB"). Empty or
// unreadable texts give nothing: the player's own background.
std::optional<Rgb> ParseBackgroundColor(const std::wstring& text);

// Rebuilds `scene` in place (its vectors keep their capacity from frame to frame).
void BuildScene(const SceneInput& input, Scene& scene);

// The drift of the composition at an instant, in whole pixels, within +-amplitude on each axis;
// it moves at whole minutes only.
PointF DriftAt(std::int64_t utcMs, float amplitude);

// The drift amplitude for a monitor of this size.
float DriftAmplitude(int width, int height);
