// The scene of the five clocks: what is drawn where, the items' bounds, and the layout of the
// compositions on the monitors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "Fakes.h"
#include "player/FitText.h"
#include "player/ItemSprites.h"
#include "player/Layout.h"
#include "player/Scene.h"

namespace {

class SceneTest : public testing::Test {
  protected:
    const Scene& Build(const ClockFile& file, std::int64_t utc, int w = 1920, int h = 1080) {
        BuildStill({w, h, {}, utc, &file, &env, std::nullopt}, scene);
        return scene;
    }
    template <typename T>
    std::vector<T> Items() const {
        std::vector<T> found;
        for (const SceneItem& item : scene.still)
            if (const T* t = std::get_if<T>(&item)) found.push_back(*t);
        return found;
    }

    FakeClockEnvironment env;
    Scene scene;
};

TEST_F(SceneTest, ClocksOfTheFileWithDaysAgainstTheLocalClock) {
    // 23:30 UTC with New York as the local clock: Monday there, Tuesday in Tokyo.
    Build(FiveClocks(L"GMT+00:00", L"GMT+09:00", L"GMT-10:00", L"GMT+05:45", L"GMT-05:00"),
          At(23, 30, 0));
    ASSERT_EQ(scene.clocks.size(), 5u);
    const std::tuple<int, std::wstring, std::wstring, std::wstring, int> expected[] = {
        {0, L"LONDON", L"23:30", L"Mon", 0},
        {1, L"NEW YORK", L"08:30", L"Tue  +1", 1},
        {2, L"SAN FRANCISCO", L"13:30", L"Mon", 0},
        {3, L"HONG KONG", L"05:15", L"Tue  +1", 1},
        {4, L"Local Time", L"18:30", L"Mon", 0}};
    for (const ClockView& v : scene.clocks)
        EXPECT_EQ(std::tuple(v.row, v.caption, v.timeText, v.dayText, v.dayDelta), expected[v.row]);
    EXPECT_EQ(Items<Text>().size(), 15u);      // caption, time and day of each
    const auto rings = Items<StrokeCircle>();  // the local clock's stands out
    EXPECT_EQ(std::count(rings.begin(), rings.end(), rings.at(4)), 1);
}

TEST_F(SceneTest, WhatTheFileLacksOrCannotBeRead) {
    env.localOffset = 60;
    const std::tuple<ClockFile, std::vector<std::wstring>, const wchar_t*> cases[] = {
        {{ClockFileState::Missing, {}}, {L"13:00"}, L"Choose the clocks"},
        {{ClockFileState::Malformed, {}}, {L"13:00"}, L"cannot be read"},
        {{ClockFileState::FewerRows, {{L"A", L"GMT+02:00"}, {L"B", L"GMT-03:00"}}},
         {L"14:00", L"09:00", L"13:00"},
         L"holds 2 of 5"},
        // An unreadable offset shows UTC and says so; a blank caption shows the offset, a row
        // with neither its row's name.
        {{ClockFileState::Ok,
          {{L"X", L"GMT+0100"}, {L"", L"GMT-05:00"}, {L"  ", L"??"}, {L"Y", L"UTC"}, {L"Z", L""}}},
         {L"12:00", L"07:00", L"12:00", L"12:00", L"12:00"},
         nullptr},
    };
    for (const auto& [file, times, note] : cases) {
        Build(file, At(12, 0, 0));
        std::vector<std::wstring> shown;
        for (const ClockView& v : scene.clocks) shown.push_back(v.timeText);
        EXPECT_EQ(shown, times);
        EXPECT_EQ(scene.clocks.back().row, kLocalRow);
        EXPECT_TRUE(note ? scene.note.find(note) != std::wstring::npos : scene.note.empty());
    }
    EXPECT_EQ(scene.clocks[0].dayText, L"UTC \u2013 offset unreadable");
    EXPECT_EQ(scene.clocks[1].caption, L"GMT-05:00");
    EXPECT_EQ(scene.clocks[2].caption, L"Zone 3");
    EXPECT_EQ(std::vector<bool>({scene.clocks[0].offsetUsable, scene.clocks[1].offsetUsable,
                                 scene.clocks[4].offsetUsable}),
              std::vector<bool>({false, true, false}));
    // The note written under the clocks; degenerate sizes draw nothing and do not fail.
    Build({ClockFileState::Missing, {}}, 0);
    EXPECT_EQ(Items<Text>().back().text, scene.note);
    EXPECT_EQ(Items<Text>().back().box.width, 1920);  // wider than the one clock's column
    EXPECT_TRUE(Build(FiveClocks(), 0, 0, 0).still.empty());
    EXPECT_TRUE(Build(FiveClocks(), 0, -5, 100).clocks.empty());
    EXPECT_EQ(Build(FiveClocks(), 0, 1, 1).clocks.size(), 5u);
}

TEST_F(SceneTest, APreviewLeavesOutMinuteTicksAndSmallTexts) {
    EXPECT_EQ(Build(FiveClocks(), 0).still.size() - Items<Text>().size(), 5 * (60 + 4u));
    Build(FiveClocks(), 0, 150, 110);
    EXPECT_EQ(Items<Line>().size(), 5 * (12 + 2u));
    for (const Text& text : Items<Text>()) EXPECT_GE(text.pixelHeight, 6);
}

TEST_F(SceneTest, HandsPointWhereTheTimeSaysInsideTheFace) {
    Build(FiveClocks(), At(3, 0, 30));  // the hour and minute hands stand at the minute
    std::vector<SceneItem> hands;
    AddSecondHand(scene.clocks[0], At(3, 0, 30) + 999, hands);  // whole seconds
    ASSERT_EQ(hands.size(), kHandItems);
    const PointF c = scene.clocks[0].place.centre;
    const float r = scene.clocks[0].place.radius;
    const std::vector<Line> lines = Items<Line>();
    const Line &hour = lines[60], &minute = lines[61], &second = std::get<Line>(hands[0]);
    EXPECT_NEAR(hour.to.x, c.x + 0.52f * r, 0.01f);  // 3 o'clock
    EXPECT_NEAR(hour.to.y, c.y, 0.01f);
    EXPECT_NEAR(minute.to.x, c.x, 0.01f);  // 12
    EXPECT_NEAR(minute.to.y, c.y - 0.80f * r, 0.01f);
    EXPECT_NEAR(second.to.x, c.x, 0.01f);  // 30 s: straight down
    EXPECT_NEAR(second.to.y, c.y + 0.86f * r, 0.01f);
    EXPECT_NE(hour.color, second.color);
    hands.push_back(hour);
    for (const SceneItem& item : hands) {
        const RectF b = Bounds(item);
        EXPECT_TRUE(b.left >= c.x - r && b.Right() <= c.x + r && b.top >= c.y - r &&
                    b.Bottom() <= c.y + r);
    }
}

TEST(SceneItemsTest, AreasHugALineAndCoverEachPixelItPaints) {
    const Line slanted{{100, 100}, {260, 260}, 3, {}};
    std::vector<RectI> areas;
    AddAreas(slanted, 1920, 1080, areas);
    ASSERT_EQ(areas.size(), 8u);  // 226 pixels long, in pieces of at most 32
    long covered = 0;
    for (const RectI& a : areas) covered += long{a.Width()} * a.Height();
    EXPECT_LT(covered, 26'000 / 4);  // its bounding box is 166 x 166
    auto inAnArea = [&](float x, float y) {
        return std::ranges::any_of(areas, [&](const RectI& a) {
            return x >= a.left && x < a.right && y >= a.top && y < a.bottom;
        });
    };
    for (float t = 0; t <= 1; t += 0.01f)  // along it, across its width, and round its ends
        for (float d = -2.5f; d <= 2.5f; d += 0.5f)
            EXPECT_TRUE(inAnArea(100 + 160 * t + d * 0.7f, 100 + 160 * t - d * 0.7f) &&
                        inAnArea(100 + d, 100 + d) && inAnArea(260 - d, 260 + d))
                << t << " " << d;
    // A point, a circle: one area; off the drawing area: none; cut at its edge.
    areas.clear();
    AddAreas(Line{{5, 5}, {5, 5}, 2, {}}, 1920, 1080, areas);
    AddAreas(FillCircle{{-20, -20}, 5, {}}, 1920, 1080, areas);
    AddAreas(FillCircle{{1919, 1079}, 5, {}}, 1920, 1080, areas);
    EXPECT_EQ(areas, (std::vector<RectI>{{3, 3, 7, 7}, {1913, 1073, 1920, 1080}}));
}

TEST(SceneItemsTest, BoundsUnionsAndBackgroundColours) {
    const RectF line = Bounds(Line{{10, 50}, {30, 20}, 4, {}});
    EXPECT_EQ(line, (RectF{7, 17, 26, 36}));  // half the width and a pixel to spare
    const RectF circle = Bounds(FillCircle{{100, 100}, 10, {}});
    EXPECT_EQ(circle, (RectF{89, 89, 22, 22}));
    EXPECT_EQ(Bounds(StrokeCircle{{0, 0}, 10, 2, {}}), (RectF{-12, -12, 24, 24}));
    EXPECT_EQ(Bounds(Text{L"x", {1, 2, 3, 4}, 5, false, {}}), (RectF{-4, -3, 13, 14}));
    EXPECT_EQ(Union(line, circle), (RectF{7, 17, 104, 94}));
    EXPECT_EQ(Union(RectF{}, circle), circle);  // an empty rectangle adds nothing
    EXPECT_EQ(Union(circle, RectF{}), circle);

    EXPECT_EQ(ParseBackgroundColor(L"#102030"), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(ParseBackgroundColor(L"FFfF0a"), (Rgb{255, 255, 10}));
    EXPECT_EQ(ParseBackgroundColor(L"#09aF9A"), (Rgb{9, 0xaf, 0x9a}));
    for (const wchar_t* text : {L"", L"#", L"#12345", L"#1234567", L"#12345G", L"12345g", L"red",
                                L"##12345", L"#12 345", L"\U0001F600\U0001F600\U0001F600"})
        EXPECT_FALSE(ParseBackgroundColor(text).has_value()) << testing::PrintToString(text);
}

// A sprite is made once per shape: runs of one colour, whole-pixel moves shared, let go after
// two periods unused.
TEST(SceneItemsTest, SpritesAreMadeOncePerShapeAndLetGoWhenUnused) {
    const Rgb red{255, 0, 0};
    const std::vector<SceneItem> clock{Line{{10.5f, 10}, {30.5f, 40}, 2, red},
                                       FillCircle{{10.5f, 10}, 3, red},
                                       FillCircle{{10.5f, 10}, 1, {0, 0, 255}}};
    EXPECT_EQ(RunOfOneColour(clock), 2u);
    EXPECT_EQ(RunOfOneColour(std::span(clock).subspan(1)), 1u);
    EXPECT_EQ(RunOfOneColour({}), 0u);
    const Text text{L"x", {}, 5, false, red};
    const FillCircle apart{{36.5f, 10}, 3, red};  // its box touches the line's: clear of it
    const std::vector<SceneItem> face{clock[0], clock[2], apart, text, clock[1]};
    EXPECT_EQ(RunOfShapes(std::span(face).subspan(3)), 1u);  // a text alone
    EXPECT_EQ(RunOfShapes({}), 0u);
    std::vector<std::vector<SceneItem>> made;  // each shape, which must begin at 0,0
    const auto make = [&](std::span<const SceneItem> shape, int w, int h) {
        RectI box;
        for (const SceneItem& item : shape) box = Union(box, PixelBox(item));
        EXPECT_EQ(box, (RectI{0, 0, w, h}));
        made.emplace_back(shape.begin(), shape.end());
        return std::make_unique<int>(static_cast<int>(made.size()));
    };
    ItemSprites<int> sprites(make);
    auto find = [&](std::span<const SceneItem> run, RectI expected) {
        RectI box;
        const int sprite = *sprites.Find(run, box);
        EXPECT_EQ(box, expected);
        return sprite;
    };
    // The line's and the disc's box together; moved by whole pixels, the same picture; moved
    // by half a pixel, another.
    EXPECT_EQ(find(std::span(clock).first(2), {6, 6, 33, 42}), 1);
    EXPECT_EQ(find(std::vector{Shifted(clock[0], 100, -3), Shifted(clock[1], 100, -3)},
                   {106, 3, 133, 39}),
              1);
    const std::vector<SceneItem> half{Line{{11, 10}, {31, 40}, 2, red}, clock[1]};
    EXPECT_EQ(find(half, {6, 6, 33, 42}), 2);
    EXPECT_EQ(find(std::span(clock).subspan(2), {8, 8, 13, 12}), 3);
    RectI box;  // texts are drawn, never kept as pictures
    EXPECT_EQ(sprites.Find(std::vector<SceneItem>{clock[1], text}, box), nullptr);
    EXPECT_EQ(std::get<Text>(Shifted(Text{L"x", {1, 2, 3, 4}, 5, false, {}}, -1, 2)).box,
              (RectF{0, 4, 3, 4}));
    sprites.NextPeriod();
    find(half, {6, 6, 33, 42});  // used again in the next period
    sprites.NextPeriod();
    EXPECT_EQ(sprites.Size(), 3u);
    sprites.NextPeriod();  // two periods without the clock's pictures
    EXPECT_EQ(sprites.Size(), 1u);
    EXPECT_EQ(find(half, {6, 6, 33, 42}), 2);
    // Runs between texts: the line and the blue disc in one picture, then the text, drawn.
    std::vector<std::size_t> runs;
    ItemSprites<int>(make, RunOfShapes).ForEachRun(face, [&](auto run, RectI, const int* s) {
        runs.push_back(s ? run.size() : 0);
    });
    EXPECT_EQ(runs, (std::vector<std::size_t>{2, 1, 0, 1}));
}

TEST(LayoutTest, ACompositionOnEachMonitorTheWindowCoversWhole) {
    const RectI left{0, 0, 1920, 1080}, right{1920, 0, 3200, 1024}, preview{0, 0, 320, 240};
    const std::tuple<int, std::vector<RectI>, std::vector<RectI>> cases[] = {
        {1920, {}, {left}},                                           // none known
        {3200, {left, right}, {left, right}},                         // two
        {2400, {left, right}, {left}},                                // one partly covered
        {320, {{-50, -60, 1870, 1020}}, {preview}},                   // a preview inside one
        {320, {{-100, 0, 200, 240}, {200, 0, 500, 240}}, {preview}},  // one across two
    };
    for (const auto& [width, monitors, areas] : cases)
        EXPECT_EQ(CompositionAreas(width, width == 320 ? 240 : 1080, monitors), areas) << width;
}

TEST(LayoutTest, CellsFitTheAreaLargeAndApart) {
    const std::tuple<int, int, std::size_t, float> cases[] = {
        {1920, 1080, 1, 120}, {1024, 768, 2, 80}, {1080, 1920, 3, 140}, {150, 110, 2, 10}};
    for (const auto& [w, h, rows, minRadius] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const RectI area{100, 50, 100 + w, 50 + h};
        std::vector<ClockPlace> places;
        const Composition c = LayOut(area, 3, 5, false, At(12, 0, 0), places);
        std::set<float> rowTops;
        for (const ClockPlace& p : places) {
            EXPECT_TRUE(p.cell.left >= area.left && p.cell.top >= area.top &&
                        p.cell.Right() <= area.right && p.cell.Bottom() <= area.bottom);
            EXPECT_GE(p.radius, minRadius);
            for (const ClockPlace& o : places)
                EXPECT_TRUE(&o == &p || p.cell.left >= o.cell.Right() ||
                            o.cell.left >= p.cell.Right() || p.cell.top >= o.cell.Bottom() ||
                            o.cell.top >= p.cell.Bottom());
            rowTops.insert(p.cell.top);
        }
        EXPECT_EQ(rowTops.size(), rows);
        const float drift = DriftAmplitude(w, h) + 0.5f;  // centred but for the drift
        EXPECT_NEAR(c.bounds.left + c.bounds.width / 2, 100 + w / 2.0f, drift);
        EXPECT_NEAR(c.bounds.top + c.bounds.height / 2, 50 + h / 2.0f, drift);
    }
}

TEST(LayoutTest, DriftIsSmallSlowWholeMinutesAndWanders) {
    const float amplitude = DriftAmplitude(1920, 1080);
    EXPECT_TRUE(amplitude >= 8 && amplitude <= 30) << amplitude;
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const std::int64_t day : {-kMonday2024, kMonday2024}) {  // before 1970 too
        PointF previous = DriftAt(day, amplitude);
        for (std::int64_t start = day; start <= day + 86'400'000; start += 60'000) {
            const PointF d = DriftAt(start, amplitude);
            ASSERT_EQ(d, DriftAt(start + 59'999, amplitude)) << start;  // whole minutes only
            ASSERT_TRUE(std::abs(d.x) <= amplitude && std::abs(d.y) <= amplitude) << start;
            ASSERT_EQ(d.x, std::trunc(d.x));
            ASSERT_LE(std::hypot(d.x - previous.x, d.y - previous.y), 6.0f) << start;
            previous = d;
            minX = std::min(minX, d.x), maxX = std::max(maxX, d.x);
            minY = std::min(minY, d.y), maxY = std::max(maxY, d.y);
        }
    }
    EXPECT_GT(maxX - minX, amplitude);  // over a day it wanders across most of its margin
    EXPECT_GT(maxY - minY, amplitude);
}

}  // namespace

TEST(FitTextTest, ShrinksThenCutsWithAnEllipsisNeverWiderThanTheBox) {
    const auto measure = [](const std::wstring& t, float px) { return t.size() * px * 0.5f; };
    const std::wstring sixty(60, L'W'), smile = L"\U0001F600", spaced = L"ABCDEFGHIJKLMN  OPQRS";
    std::wstring smiles;
    for (int i = 0; i < 40; ++i) smiles += smile;
    // text, box width, fitted text, pixel height; every character half as wide as it is high
    const std::tuple<std::wstring, float, std::wstring, float> cases[] = {
        {L"ABCD", 40, L"ABCD", 20},                         // just fits
        {L"ABCDE", 40, L"ABCDE", 20 * 40 / 50.0f * 0.97f},  // a little wider: smaller
        {L"ABCDEFG", 42, L"ABCDEFG", 20 * 0.6f},            // shrunk to just the floor
        {sixty, 100, sixty.substr(0, 15) + L"\u2026", 12},  // then cut: 16 characters of 6 px
        {spaced, 102, L"ABCDEFGHIJKLMN\u2026", 12},         // spaces before the ellipsis dropped
        {L"ABCDEFGH", 5, L"", 12},                          // not even the ellipsis fits: nothing
    };
    for (const auto& [text, box, fitted, px] : cases) {
        const FittedText f = FitText(text, box, 20, measure);
        EXPECT_EQ(f.text, fitted) << box;
        EXPECT_FLOAT_EQ(f.pixelHeight, px) << box;
    }
    // A character outside the BMP is never split: the cut ends on a whole one.
    const FittedText f = FitText(smiles, 39, 20, measure);
    EXPECT_EQ(f.text.substr(0, f.text.size() - 1) + smile,
              smiles.substr(0, f.text.size() - 1 + smile.size()));
    EXPECT_LT(f.text.size(), smiles.size());
}
