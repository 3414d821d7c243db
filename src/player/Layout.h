#pragma once
// Where the clocks go: a composition on each monitor the window covers, rows of clock cells
// that keep the design's aspect, and a slow drift that keeps the picture from standing on the
// same pixels for hours.

#include <cstdint>
#include <span>
#include <vector>

#include "player/Geometry.h"

// The areas that get a composition each: the monitors the window covers whole. When it covers
// none (a preview, a window inside or across monitors, or no monitors known), the whole window.
std::vector<RectI> CompositionAreas(int width, int height, std::span<const RectI> monitors);

// The drift's reach on each axis for an area of this size, in pixels.
float DriftAmplitude(int width, int height);
// The drift at an instant, in whole pixels within +-amplitude; it moves at whole minutes only.
PointF DriftAt(std::int64_t utcMs, float amplitude);

// One clock's cell: caption, face, digital time and day line.
struct ClockPlace {
    RectF cell, captionBox, timeBox, dayBox;
    PointF centre;
    float radius = 0;
    float scale = 0;  // pixels per design unit
    int area = 0;     // the composition area it lies in
};

struct Composition {
    RectF bounds;
    RectF noteBox;  // empty without a note
    float scale = 0;
};

// Lays out `clocks` cells, and a note line under them when `withNote`, centred in `area` as
// large as they fit, drifted for the minute of `utcMs`. Appends the cells, in row order, to
// `places`.
Composition LayOut(const RectI& area, int areaIndex, int clocks, bool withNote, std::int64_t utcMs,
                   std::vector<ClockPlace>& places);
