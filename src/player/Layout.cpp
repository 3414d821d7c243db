#include "player/Layout.h"

#include <numbers>

#include "player/ClockTime.h"

namespace {

// Design units of one clock cell: caption, face, digital time, day line.
constexpr float kCellW = 100, kCellH = 150;
constexpr float kGapX = 14, kGapY = 16;
constexpr float kNoteH = 20;
constexpr float kFaceX = 50, kFaceY = 66, kFaceR = 42;

struct Arrangement {
    std::vector<int> perRow;
    float width = 0, height = 0;
};

// `clocks` cells in `rows` rows, the upper rows the fuller ones.
Arrangement Arrange(int clocks, int rows, bool withNote) {
    Arrangement a;
    int left = clocks;
    for (int r = rows; r > 0; --r) {
        const int n = (left + r - 1) / r;
        a.perRow.push_back(n);
        left -= n;
    }
    const int widest = a.perRow.front();
    a.width = widest * kCellW + (widest - 1) * kGapX;
    a.height = rows * kCellH + (rows - 1) * kGapY + (withNote ? kNoteH : 0);
    return a;
}

}  // namespace

std::vector<RectI> CompositionAreas(int width, int height, std::span<const RectI> monitors) {
    std::vector<RectI> areas;
    for (const RectI& m : monitors)
        if (!m.Empty() && Covers({0, 0, width, height}, m)) areas.push_back(m);
    if (areas.empty()) areas.push_back({0, 0, width, height});
    return areas;
}

float DriftAmplitude(int width, int height) {
    return std::max(1.0f, 0.012f * static_cast<float>(std::min(width, height)));
}

PointF DriftAt(std::int64_t utcMs, float amplitude) {
    // Two slow sines of unrelated periods trace a Lissajous path, a few pixels a minute. It moves
    // at whole minutes, when the digital times change anyway, so the still part of the picture
    // is drawn once a minute and not more often.
    constexpr double twoPi = 2 * std::numbers::pi;
    constexpr std::int64_t periodX = 23, periodY = 31;  // minutes
    const std::int64_t minute = FloorDiv(utcMs, kMinuteMs);
    const double px = static_cast<double>(minute - FloorDiv(minute, periodX) * periodX) / periodX;
    const double py = static_cast<double>(minute - FloorDiv(minute, periodY) * periodY) / periodY;
    return {std::trunc(amplitude * static_cast<float>(std::sin(twoPi * px))),
            std::trunc(amplitude * static_cast<float>(std::sin(twoPi * py + 1.0)))};
}

Composition LayOut(const RectI& area, int areaIndex, int clocks, bool withNote, std::int64_t utcMs,
                   std::vector<ClockPlace>& places) {
    const float amplitude = DriftAmplitude(area.Width(), area.Height());
    const float margin =
        amplitude + 0.03f * static_cast<float>(std::min(area.Width(), area.Height()));
    const float fitW = std::max(1.0f, area.Width() - 2 * margin);
    const float fitH = std::max(1.0f, area.Height() - 2 * margin);

    // The number of rows that gives the largest clocks ("show all", aspect kept).
    Arrangement best;
    float scale = 0;
    for (int rows = 1; rows <= std::max(1, clocks); ++rows) {
        Arrangement candidate = Arrange(std::max(1, clocks), rows, withNote);
        const float s = std::min(fitW / candidate.width, fitH / candidate.height);
        if (s > scale * 1.001f) {
            scale = s;
            best = std::move(candidate);
        }
    }
    const PointF drift = DriftAt(utcMs, amplitude);
    Composition c;
    c.scale = scale;
    c.bounds = {area.left + (area.Width() - best.width * scale) / 2 + drift.x,
                area.top + (area.Height() - best.height * scale) / 2 + drift.y, best.width * scale,
                best.height * scale};
    // The note may run as wide as the area: under a single clock its column is too narrow.
    if (withNote)
        c.noteBox = {static_cast<float>(area.left), c.bounds.Bottom() - kNoteH * scale,
                     static_cast<float>(area.Width()), kNoteH * scale};

    float top = c.bounds.top;
    int placed = 0;
    for (int n : best.perRow) {
        const float rowW = (n * kCellW + (n - 1) * kGapX) * scale;
        float left = c.bounds.left + (c.bounds.width - rowW) / 2;
        for (int i = 0; i < n && placed < clocks; ++i, ++placed) {
            ClockPlace& p = places.emplace_back();
            p.cell = {left, top, kCellW * scale, kCellH * scale};
            p.captionBox = {left, top, kCellW * scale, 17 * scale};
            p.timeBox = {left, top + 111 * scale, kCellW * scale, 26 * scale};
            p.dayBox = {left, top + 137 * scale, kCellW * scale, 13 * scale};
            p.centre = {left + kFaceX * scale, top + kFaceY * scale};
            p.radius = kFaceR * scale;
            p.scale = scale;
            p.area = areaIndex;
            left += (kCellW + kGapX) * scale;
        }
        top += (kCellH + kGapY) * scale;
    }
    return c;
}
