#include "player/Scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "player/ClockEnvironment.h"

namespace {

// Design units of one clock cell: caption, face, digital time, day line.
constexpr float kCellW = 100, kCellH = 150;
constexpr float kGapX = 14, kGapY = 16;
constexpr float kNoteH = 20;
constexpr float kFaceX = 50, kFaceY = 66, kFaceR = 42;
constexpr float kMinTextPx = 6;  // smaller text is only a smudge: left out (previews)
constexpr std::int64_t kDayMs = 86'400'000;

namespace palette {
constexpr Rgb background{11, 14, 22};
constexpr Rgb face{22, 28, 42};
constexpr Rgb ring{58, 70, 98};
constexpr Rgb localRing{64, 196, 210};
constexpr Rgb badRing{224, 90, 90};
constexpr Rgb hourTick{214, 220, 232};
constexpr Rgb minuteTick{92, 104, 130};
constexpr Rgb hand{242, 244, 248};
constexpr Rgb second{255, 138, 61};
constexpr Rgb caption{170, 182, 204};
constexpr Rgb time{242, 244, 248};
constexpr Rgb day{125, 136, 160};
constexpr Rgb otherDay{255, 181, 71};
constexpr Rgb note{255, 181, 71};
}  // namespace palette

struct ClockSpec {
    int row;
    std::wstring caption;
    bool usable;
    int offset;
};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::wstring DefaultCaption(int row) {
    return row == kLocalRow ? L"Local Time" : L"Zone " + std::to_wstring(row + 1);
}

// The clocks to show and the note line, from what the clock file gave.
std::wstring ChooseClocks(const ClockFile& file, ClockEnvironment& env, std::int64_t utcMs,
                          std::vector<ClockSpec>& specs) {
    specs.clear();
    std::wstring note;
    for (std::size_t i = 0; i < file.rows.size() && i < kZoneRows; ++i) {
        const ClockRow& row = file.rows[i];
        const auto offset = ParseOffsetText(row.offsetText);
        std::wstring caption = row.caption;
        if (caption.find_first_not_of(L' ') == std::wstring::npos)
            caption = offset ? row.offsetText : DefaultCaption(static_cast<int>(i));
        specs.push_back({static_cast<int>(i), caption, offset.has_value(), offset.value_or(0)});
    }
    switch (file.state) {
        case ClockFileState::Ok:
            break;
        case ClockFileState::Missing:
            note = L"Choose the clocks in the screen saver's settings.";
            break;
        case ClockFileState::Malformed:
            note = L"The clock file cannot be read. Choose the clocks in the settings.";
            break;
        case ClockFileState::FewerRows:
            note = L"The clock file holds " + std::to_wstring(file.rows.size()) +
                   L" of 5 clocks. Choose the clocks in the settings.";
            break;
    }
    if (specs.size() < kZoneRows) {
        // Without a fifth row the local clock follows the system's zone.
        specs.push_back(
            {kLocalRow, DefaultCaption(kLocalRow), true, env.LocalOffsetMinutes(utcMs)});
    }
    return note;
}

std::wstring TwoDigits(int v) {
    return std::wstring{static_cast<wchar_t>(L'0' + v / 10), static_cast<wchar_t>(L'0' + v % 10)};
}

void FillTime(ClockView& v, const ClockSpec& spec, std::int64_t utcMs, std::int64_t localDay,
              ClockEnvironment& env) {
    v.row = spec.row;
    v.caption = spec.caption;
    v.offsetUsable = spec.usable;
    v.offsetMinutes = spec.offset;
    const std::int64_t t = utcMs + std::int64_t{spec.offset} * 60'000;
    const std::int64_t day = FloorDiv(t, kDayMs);
    const std::int64_t msOfDay = t - day * kDayMs;
    const int secondsOfDay = static_cast<int>(msOfDay / 1000);
    v.hour = secondsOfDay / 3600;
    v.minute = secondsOfDay / 60 % 60;
    v.second = secondsOfDay % 60;
    v.weekday = static_cast<int>(((day + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
    v.dayDelta = static_cast<int>(day - localDay);
    // Whole seconds: the hands stand still between frames.
    v.secondAngle = v.second * 6.0;
    v.minuteAngle = v.minute * 6.0 + v.second * 0.1;
    v.hourAngle = (v.hour % 12) * 30.0 + v.minute * 0.5 + v.second / 120.0;

    if (env.Use24Hour()) {
        v.timeText = TwoDigits(v.hour) + L":" + TwoDigits(v.minute);
    } else {
        const int h12 = v.hour % 12 == 0 ? 12 : v.hour % 12;
        v.timeText =
            std::to_wstring(h12) + L":" + TwoDigits(v.minute) + L" " + env.AmPm(v.hour >= 12);
    }
    if (!spec.usable) {
        v.dayText = L"UTC \u2013 offset unreadable";
    } else {
        v.dayText = env.DayName(v.weekday);
        if (v.dayDelta != 0)
            v.dayText +=
                (v.dayDelta > 0 ? L"  +" : L"  \u2212") + std::to_wstring(std::abs(v.dayDelta));
    }
}

PointF Polar(PointF c, double degrees, float length) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {c.x + static_cast<float>(std::sin(a)) * length,
            c.y - static_cast<float>(std::cos(a)) * length};
}

void AddText(Scene& scene, const std::wstring& text, RectF box, float px, bool bold, Rgb color) {
    if (px >= kMinTextPx && !text.empty())
        scene.items.emplace_back(std::in_place_type<Text>, text, box, px, bold, color);
}

// The face, its caption, the digital time and the day: they change at most once a minute.
void AddClockFace(Scene& scene, const ClockView& v, float s) {
    const PointF c = v.centre;
    const float r = v.radius;
    const Rgb ring = !v.offsetUsable      ? palette::badRing
                     : v.row == kLocalRow ? palette::localRing
                                          : palette::ring;
    auto& items = scene.items;
    AddText(scene, v.caption, v.captionBox, 12.5f * s, true, palette::caption);
    items.emplace_back(std::in_place_type<FillCircle>, FillCircle{c, r, palette::face});
    items.emplace_back(std::in_place_type<StrokeCircle>,
                       StrokeCircle{c, r, std::max(1.0f, 2.0f * s), ring});
    for (int i = 0; i < 60; ++i) {
        const bool hour = i % 5 == 0;
        if (!hour && s < 0.6f) continue;  // minute ticks would merge at preview size
        const float inner = hour ? (i % 15 == 0 ? 0.74f : 0.79f) : 0.87f;
        const float width = hour ? (i % 15 == 0 ? 3.0f : 2.0f) * s : 0.8f * s;
        items.emplace_back(
            std::in_place_type<Line>,
            Line{Polar(c, i * 6.0, inner * r), Polar(c, i * 6.0, 0.91f * r), std::max(width, 0.6f),
                 hour ? palette::hourTick : palette::minuteTick});
    }
    const RectF cell = v.cell;
    const float timeSize = v.timeText.size() > 5 ? 19 : 22;  // room for "AM" and "PM"
    AddText(scene, v.timeText, {cell.left, cell.top + 111 * s, cell.width, 26 * s}, timeSize * s,
            false, palette::time);
    AddText(scene, v.dayText, {cell.left, cell.top + 137 * s, cell.width, 13 * s}, 11 * s, false,
            v.dayDelta != 0 || !v.offsetUsable ? palette::otherDay : palette::day);
}

// The hands: they move every second, always within the face.
void AddClockHands(Scene& scene, const ClockView& v, float s) {
    const PointF c = v.centre;
    const float r = v.radius;
    auto& items = scene.items;
    items.emplace_back(std::in_place_type<Line>, Line{Polar(c, v.hourAngle + 180, 0.10f * r),
                                                      Polar(c, v.hourAngle, 0.52f * r),
                                                      std::max(1.2f, 4.6f * s), palette::hand});
    items.emplace_back(std::in_place_type<Line>, Line{Polar(c, v.minuteAngle + 180, 0.10f * r),
                                                      Polar(c, v.minuteAngle, 0.80f * r),
                                                      std::max(1.0f, 3.0f * s), palette::hand});
    items.emplace_back(std::in_place_type<Line>, Line{Polar(c, v.secondAngle + 180, 0.18f * r),
                                                      Polar(c, v.secondAngle, 0.86f * r),
                                                      std::max(0.8f, 1.2f * s), palette::second});
    items.emplace_back(std::in_place_type<FillCircle>,
                       FillCircle{c, std::max(1.0f, 3.4f * s), palette::second});
    items.emplace_back(std::in_place_type<FillCircle>,
                       FillCircle{c, std::max(0.5f, 1.4f * s), palette::face});
}

struct Arrangement {
    std::vector<int> perRow;
    float width = 0, height = 0;
};

void Arrange(int clocks, int rows, bool withNote, Arrangement& a) {
    a.perRow.clear();
    int left = clocks;
    for (int r = rows; r > 0; --r) {
        const int n = (left + r - 1) / r;
        a.perRow.push_back(n);
        left -= n;
    }
    const int widest = a.perRow.front();
    a.width = widest * kCellW + (widest - 1) * kGapX;
    a.height = rows * kCellH + (rows - 1) * kGapY + (withNote ? kNoteH : 0);
}

}  // namespace

float DriftAmplitude(int width, int height) {
    return std::max(1.0f, 0.012f * static_cast<float>(std::min(width, height)));
}

PointF DriftAt(std::int64_t utcMs, float amplitude) {
    // Two slow sines of unrelated periods trace a Lissajous path: a few pixels a minute. The
    // position moves once a minute, when the digital times change anyway, so the still part
    // of the picture is redrawn once a minute and not more often.
    constexpr double twoPi = 2 * std::numbers::pi;
    constexpr std::int64_t periodX = 23 * 60'000, periodY = 31 * 60'000;
    const std::int64_t minute = utcMs - ((utcMs % 60'000) + 60'000) % 60'000;
    const double px = static_cast<double>(((minute % periodX) + periodX) % periodX) / periodX;
    const double py = static_cast<double>(((minute % periodY) + periodY) % periodY) / periodY;
    return {std::trunc(amplitude * static_cast<float>(std::sin(twoPi * px))),
            std::trunc(amplitude * static_cast<float>(std::sin(twoPi * py + 1.0)))};
}

void BuildScene(const SceneInput& in, Scene& scene) {
    scene.background = in.background.value_or(palette::background);
    scene.items.clear();
    scene.firstMoving = 0;
    scene.clocks.clear();
    scene.compositions.clear();
    if (in.width <= 0 || in.height <= 0 || !in.file || !in.environment) return;

    static thread_local std::vector<ClockSpec> specs;  // reused: no growth per frame
    scene.note = ChooseClocks(*in.file, *in.environment, in.utcMs, specs);

    // The local clock's day is the reference for every clock's day line.
    std::int64_t localDay = 0;
    for (const ClockSpec& spec : specs)
        if (spec.row == kLocalRow)
            localDay = FloorDiv(in.utcMs + std::int64_t{spec.offset} * 60'000, kDayMs);

    // One composition per monitor, each kept inside its monitor.
    const RectI client{0, 0, in.width, in.height};
    static thread_local std::vector<RectI> monitors;
    monitors.clear();
    for (const RectI& m : in.monitors) {
        const RectI clipped{std::max(m.left, 0), std::max(m.top, 0), std::min(m.right, in.width),
                            std::min(m.bottom, in.height)};
        if (clipped.Width() > 0 && clipped.Height() > 0) monitors.push_back(clipped);
    }
    if (monitors.empty()) monitors.push_back(client);

    const int count = static_cast<int>(specs.size());
    const bool withNote = !scene.note.empty();
    static thread_local Arrangement best, candidate;
    for (std::size_t mi = 0; mi < monitors.size(); ++mi) {
        const RectI& m = monitors[mi];
        const float amplitude = DriftAmplitude(m.Width(), m.Height());
        const float margin =
            amplitude + 0.03f * static_cast<float>(std::min(m.Width(), m.Height()));
        const float fitW = std::max(1.0f, m.Width() - 2 * margin);
        const float fitH = std::max(1.0f, m.Height() - 2 * margin);

        // The arrangement of rows that gives the largest clocks ("show all", aspect kept).
        float scale = 0;
        for (int rows = 1; rows <= count; ++rows) {
            Arrange(count, rows, withNote, candidate);
            const float s = std::min(fitW / candidate.width, fitH / candidate.height);
            if (s > scale * 1.001f) {
                scale = s;
                std::swap(best, candidate);
            }
        }
        const PointF drift = DriftAt(in.utcMs, amplitude);
        const RectF comp{m.left + (m.Width() - best.width * scale) / 2 + drift.x,
                         m.top + (m.Height() - best.height * scale) / 2 + drift.y,
                         best.width * scale, best.height * scale};
        scene.compositions.push_back(comp);

        std::size_t next = 0;
        float top = comp.top;
        for (int n : best.perRow) {
            const float rowW = (n * kCellW + (n - 1) * kGapX) * scale;
            float left = comp.left + (comp.width - rowW) / 2;
            for (int i = 0; i < n; ++i, ++next) {
                ClockView& v = scene.clocks.emplace_back();
                FillTime(v, specs[next], in.utcMs, localDay, *in.environment);
                v.monitor = static_cast<int>(mi);
                v.cell = {left, top, kCellW * scale, kCellH * scale};
                v.captionBox = {left, top, kCellW * scale, 17 * scale};
                v.centre = {left + kFaceX * scale, top + kFaceY * scale};
                v.radius = kFaceR * scale;
                const float rim = v.radius + std::max(1.0f, 2.0f * scale);
                v.faceBounds = {v.centre.x - rim, v.centre.y - rim, 2 * rim, 2 * rim};
                AddClockFace(scene, v, scale);
                left += (kCellW + kGapX) * scale;
            }
            top += (kCellH + kGapY) * scale;
        }
        if (withNote)
            AddText(scene, scene.note,
                    {comp.left, comp.Bottom() - kNoteH * scale, comp.width, kNoteH * scale},
                    std::max(11.0f * scale, std::min(12.0f, m.Height() / 9.0f)), false,
                    palette::note);
    }
    scene.firstMoving = scene.items.size();
    for (const ClockView& v : scene.clocks) AddClockHands(scene, v, v.radius / kFaceR);
}

void PaintScene(const Scene& scene, Canvas& canvas) {
    canvas.Clear(scene.background);
    PaintItems(scene.items, canvas);
}

void PaintItems(std::span<const SceneItem> items, Canvas& canvas) {
    for (const SceneItem& item : items) {
        if (const auto* c = std::get_if<FillCircle>(&item)) {
            canvas.FillCircle(c->centre, c->radius, c->color);
        } else if (const auto* s = std::get_if<StrokeCircle>(&item)) {
            canvas.StrokeCircle(s->centre, s->radius, s->width, s->color);
        } else if (const auto* l = std::get_if<Line>(&item)) {
            canvas.DrawLine(l->from, l->to, l->width, l->color);
        } else if (const auto* t = std::get_if<Text>(&item)) {
            canvas.DrawText(t->text, t->box, t->pixelHeight, t->bold, t->color);
        }
    }
}

RectF Bounds(const SceneItem& item) {
    auto around = [](PointF a, PointF b, float spread) {
        const float left = std::min(a.x, b.x) - spread, top = std::min(a.y, b.y) - spread;
        return RectF{left, top, std::max(a.x, b.x) + spread - left,
                     std::max(a.y, b.y) + spread - top};
    };
    if (const auto* c = std::get_if<FillCircle>(&item))
        return around(c->centre, c->centre, c->radius + 1);
    if (const auto* s = std::get_if<StrokeCircle>(&item))
        return around(s->centre, s->centre, s->radius + s->width / 2 + 1);
    if (const auto* l = std::get_if<Line>(&item)) return around(l->from, l->to, l->width / 2 + 1);
    return std::get<Text>(item).box;
}

RectF Union(const RectF& a, const RectF& b) {
    if (a.width <= 0 || a.height <= 0) return b;
    if (b.width <= 0 || b.height <= 0) return a;
    const float left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(a.Right(), b.Right()) - left,
            std::max(a.Bottom(), b.Bottom()) - top};
}

std::optional<Rgb> ParseBackgroundColor(const std::wstring& text) {
    std::wstring hex = text;
    if (!hex.empty() && hex[0] == L'#') hex.erase(0, 1);
    if (hex.size() != 6) return std::nullopt;
    int value[6];
    for (int i = 0; i < 6; ++i) {
        const wchar_t c = hex[i];
        if (c >= L'0' && c <= L'9')
            value[i] = c - L'0';
        else if (c >= L'a' && c <= L'f')
            value[i] = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F')
            value[i] = c - L'A' + 10;
        else
            return std::nullopt;
    }
    return Rgb{static_cast<std::uint8_t>(value[0] * 16 + value[1]),
               static_cast<std::uint8_t>(value[2] * 16 + value[3]),
               static_cast<std::uint8_t>(value[4] * 16 + value[5])};
}
