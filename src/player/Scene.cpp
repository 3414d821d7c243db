#include "player/Scene.h"

#include <cmath>
#include <numbers>

#include "player/ClockEnvironment.h"
#include "player/ClockTime.h"
#include "player/OffsetText.h"

namespace {

constexpr float kMinTextPx = 6;  // smaller text is only a smudge: left out (previews)

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

// A clock to show: its row, caption and offset.
struct ClockSpec {
    int row;
    std::wstring caption;
    bool usable;
    int offset;
};

std::wstring DefaultCaption(int row) {
    return row == kLocalRow ? L"Local Time" : L"Zone " + std::to_wstring(row + 1);
}

// The clocks the clock file gives, the local clock after them when it lacks the fifth row.
std::vector<ClockSpec> ChooseClocks(const ClockFile& file, ClockEnvironment& env,
                                    std::int64_t utcMs) {
    std::vector<ClockSpec> specs;
    for (std::size_t i = 0; i < file.rows.size() && i < kZoneRows; ++i) {
        const ClockRow& row = file.rows[i];
        const auto offset = ParseOffsetText(row.offsetText);
        std::wstring caption = row.caption;
        if (caption.find_first_not_of(L' ') == std::wstring::npos)
            caption = offset ? row.offsetText : DefaultCaption(static_cast<int>(i));
        specs.push_back({static_cast<int>(i), caption, offset.has_value(), offset.value_or(0)});
    }
    if (specs.size() < kZoneRows)  // without a fifth row the local clock follows the system
        specs.push_back(
            {kLocalRow, DefaultCaption(kLocalRow), true, env.LocalOffsetMinutes(utcMs)});
    return specs;
}

std::wstring NoteFor(const ClockFile& file) {
    switch (file.state) {
        case ClockFileState::Ok:
            break;
        case ClockFileState::Missing:
            return L"Choose the clocks in the screen saver's settings.";
        case ClockFileState::Malformed:
            return L"The clock file cannot be read. Choose the clocks in the settings.";
        case ClockFileState::FewerRows:
            return L"The clock file holds " + std::to_wstring(file.rows.size()) +
                   L" of 5 clocks. Choose the clocks in the settings.";
    }
    return {};
}

PointF Polar(PointF c, double degrees, float length) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {c.x + static_cast<float>(std::sin(a)) * length,
            c.y - static_cast<float>(std::cos(a)) * length};
}

void AddText(std::vector<SceneItem>& items, const std::wstring& text, RectF box, float px,
             bool bold, Rgb color) {
    if (px >= kMinTextPx && !text.empty())
        items.emplace_back(std::in_place_type<Text>, Text{text, box, px, bold, color});
}

// The face, its caption, the digital time and the day: they change at most once a minute.
void AddClockFace(std::vector<SceneItem>& items, const ClockView& v) {
    const ClockPlace& p = v.place;
    const float s = p.scale, r = p.radius;
    const Rgb ring = !v.offsetUsable      ? palette::badRing
                     : v.row == kLocalRow ? palette::localRing
                                          : palette::ring;
    AddText(items, v.caption, p.captionBox, 12.5f * s, true, palette::caption);
    items.emplace_back(std::in_place_type<FillCircle>, FillCircle{p.centre, r, palette::face});
    items.emplace_back(std::in_place_type<StrokeCircle>,
                       StrokeCircle{p.centre, r, std::max(1.0f, 2.0f * s), ring});
    // The hour ticks, then the minute ticks: each colour in one run, laid as one picture.
    for (int n = 0; n < 120; ++n) {
        const int i = n % 60;
        const bool hour = i % 5 == 0;
        if (hour != (n < 60) || (!hour && s < 0.6f)) continue;  // minute ticks merge in a preview
        const float inner = hour ? (i % 15 == 0 ? 0.74f : 0.79f) : 0.87f;
        const float width = hour ? (i % 15 == 0 ? 3.0f : 2.0f) * s : 0.8f * s;
        items.emplace_back(
            std::in_place_type<Line>,
            Line{Polar(p.centre, i * 6.0, inner * r), Polar(p.centre, i * 6.0, 0.91f * r),
                 std::max(width, 0.6f), hour ? palette::hourTick : palette::minuteTick});
    }
    const float timeSize = v.timeText.size() > 5 ? 19 : 22;  // room for "AM" and "PM"
    AddText(items, v.timeText, p.timeBox, timeSize * s, false, palette::time);
    AddText(items, v.dayText, p.dayBox, 11 * s, false,
            v.dayDelta != 0 || !v.offsetUsable ? palette::otherDay : palette::day);
}

// The hour and minute hands stand still for the minute, like a station clock's: they belong to
// the still part, and only the second hand moves every second.
void AddMinuteHands(std::vector<SceneItem>& items, const ClockView& v, const ClockTime& t) {
    ClockTime atMinute = t;
    atMinute.second = 0;
    const HandAngles a = AnglesAt(atMinute);
    const PointF c = v.place.centre;
    const float r = v.place.radius, s = v.place.scale;
    items.emplace_back(std::in_place_type<Line>,
                       Line{Polar(c, a.hour + 180, 0.10f * r), Polar(c, a.hour, 0.52f * r),
                            std::max(1.2f, 4.6f * s), palette::hand});
    items.emplace_back(std::in_place_type<Line>,
                       Line{Polar(c, a.minute + 180, 0.10f * r), Polar(c, a.minute, 0.80f * r),
                            std::max(1.0f, 3.0f * s), palette::hand});
}

}  // namespace

void BuildStill(const SceneInput& in, Scene& scene) {
    scene.background = in.background.value_or(palette::background);
    scene.still.clear();
    scene.clocks.clear();
    scene.compositions.clear();
    scene.note.clear();
    if (in.width <= 0 || in.height <= 0 || !in.file || !in.environment) return;

    const std::vector<ClockSpec> specs = ChooseClocks(*in.file, *in.environment, in.utcMs);
    scene.note = NoteFor(*in.file);
    // The local clock's day is the reference for every clock's day line.
    std::int64_t localDay = 0;
    for (const ClockSpec& spec : specs)
        if (spec.row == kLocalRow) localDay = TimeAt(in.utcMs, spec.offset).day;

    const std::vector<RectI> areas = CompositionAreas(in.width, in.height, in.monitors);
    const int count = static_cast<int>(specs.size());
    std::vector<ClockPlace> places;
    for (std::size_t a = 0; a < areas.size(); ++a) {
        places.clear();
        const Composition c =
            LayOut(areas[a], static_cast<int>(a), count, !scene.note.empty(), in.utcMs, places);
        scene.compositions.push_back(c);
        for (std::size_t i = 0; i < places.size(); ++i) {
            const ClockSpec& spec = specs[i];
            const ClockTime t = TimeAt(in.utcMs, spec.offset);
            ClockView& v = scene.clocks.emplace_back();
            v.row = spec.row;
            v.caption = spec.caption;
            v.offsetUsable = spec.usable;
            v.offsetMinutes = spec.offset;
            v.dayDelta = static_cast<int>(t.day - localDay);
            v.timeText = TimeText(t, *in.environment);
            v.dayText = spec.usable ? DayText(t, localDay, *in.environment)
                                    : L"UTC \u2013 offset unreadable";
            v.place = places[i];
            AddClockFace(scene.still, v);
            AddMinuteHands(scene.still, v, t);
        }
        if (!c.noteBox.Empty())
            AddText(scene.still, scene.note, c.noteBox,
                    std::max(11.0f * c.scale, std::min(12.0f, areas[a].Height() / 9.0f)), false,
                    palette::note);
    }
}

void AddSecondHand(const ClockView& v, std::int64_t utcMs, std::vector<SceneItem>& items) {
    const double angle = AnglesAt(TimeAt(utcMs, v.offsetMinutes)).second;
    const PointF c = v.place.centre;
    const float r = v.place.radius, s = v.place.scale;
    items.emplace_back(std::in_place_type<Line>,
                       Line{Polar(c, angle + 180, 0.18f * r), Polar(c, angle, 0.86f * r),
                            std::max(0.8f, 1.2f * s), palette::second});
    items.emplace_back(std::in_place_type<FillCircle>,
                       FillCircle{c, std::max(1.0f, 3.4f * s), palette::second});
    items.emplace_back(std::in_place_type<FillCircle>,
                       FillCircle{c, std::max(0.5f, 1.4f * s), palette::face});
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
    // Glyphs may reach past a text's box (marks stacked above and below, overhangs): a line's
    // height to spare on each side.
    const Text& t = std::get<Text>(item);
    const float spare = t.pixelHeight;
    return {t.box.left - spare, t.box.top - spare, t.box.width + 2 * spare,
            t.box.height + 2 * spare};
}

void AddAreas(const SceneItem& item, int width, int height, std::vector<RectI>& areas) {
    const auto* line = std::get_if<Line>(&item);
    // Pieces about this long keep a slanted hand's rectangles small and their count low.
    constexpr float kPiece = 32;
    const float dx = line ? line->to.x - line->from.x : 0,
                dy = line ? line->to.y - line->from.y : 0;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::hypot(dx, dy) / kPiece)));
    for (int i = 0; i < pieces; ++i) {
        RectF bounds = Bounds(item);
        if (line) {
            const float a = static_cast<float>(i) / pieces, b = static_cast<float>(i + 1) / pieces;
            bounds = Bounds(Line{{line->from.x + a * dx, line->from.y + a * dy},
                                 {line->from.x + b * dx, line->from.y + b * dy},
                                 line->width,
                                 line->color});
        }
        const RectI pixels = PixelsOf(bounds, width, height);
        if (!pixels.Empty()) areas.push_back(pixels);
    }
}

RectI PixelBox(const SceneItem& item) {
    const RectF b = Bounds(item);
    return {static_cast<int>(std::floor(b.left)), static_cast<int>(std::floor(b.top)),
            static_cast<int>(std::ceil(b.Right())), static_cast<int>(std::ceil(b.Bottom()))};
}

SceneItem Shifted(const SceneItem& item, int dx, int dy) {
    const float x = static_cast<float>(dx), y = static_cast<float>(dy);
    auto move = [&](PointF p) { return PointF{p.x + x, p.y + y}; };
    SceneItem moved = item;
    if (auto* c = std::get_if<FillCircle>(&moved)) c->centre = move(c->centre);
    if (auto* s = std::get_if<StrokeCircle>(&moved)) s->centre = move(s->centre);
    if (auto* l = std::get_if<Line>(&moved)) {
        l->from = move(l->from);
        l->to = move(l->to);
    }
    if (auto* t = std::get_if<Text>(&moved)) {
        t->box.left += x;
        t->box.top += y;
    }
    return moved;
}

Rgb ColorOf(const SceneItem& item) {
    return std::visit([](const auto& i) { return i.color; }, item);
}

std::size_t RunOfOneColour(std::span<const SceneItem> items) {
    std::size_t n = items.empty() ? 0 : 1;
    while (n < items.size() && ColorOf(items[n]) == ColorOf(items[0])) ++n;
    return n;
}

std::size_t RunOfShapes(std::span<const SceneItem> items) {
    const auto isText = [](const SceneItem& item) { return std::holds_alternative<Text>(item); };
    if (items.empty() || isText(items[0])) return items.empty() ? 0 : 1;
    RectF box = Bounds(items[0]);
    std::size_t n = 1;
    for (; n < items.size() && !isText(items[n]); ++n) {
        const RectF next = Bounds(items[n]);
        if (next.left >= box.Right() || box.left >= next.Right() || next.top >= box.Bottom() ||
            box.top >= next.Bottom())
            break;  // clear of the run: another clock's
        box = Union(box, next);
    }
    return n;
}
