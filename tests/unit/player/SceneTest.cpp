#include <gtest/gtest.h>

#include <algorithm>

#include "FakeClockEnvironment.h"
#include "player/Scene.h"

namespace {

class SceneTest : public testing::Test {
  protected:
    const Scene& Build(const ClockFile& file, std::int64_t utc, int w = 1920, int h = 1080,
                       std::span<const RectI> monitors = {}) {
        BuildStill({w, h, monitors, utc, &file, &env, std::nullopt}, scene);
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
    EXPECT_TRUE(Build(FiveClocks(), 0, 0, 0).still.empty());
    EXPECT_TRUE(Build(FiveClocks(), 0, -5, 100).clocks.empty());
    EXPECT_EQ(Build(FiveClocks(), 0, 1, 1).clocks.size(), 5u);
}

TEST_F(SceneTest, APreviewLeavesOutMinuteTicksAndSmallTexts) {
    EXPECT_EQ(Build(FiveClocks(), 0).still.size() - Items<Text>().size(), 5 * (60 + 2u));
    Build(FiveClocks(), 0, 150, 110);
    EXPECT_EQ(Items<Line>().size(), 5 * 12u);
    for (const Text& text : Items<Text>()) EXPECT_GE(text.pixelHeight, 6);
}

TEST_F(SceneTest, HandsPointWhereTheTimeSaysInsideTheFace) {
    Build(FiveClocks(), At(3, 0, 30));
    std::vector<SceneItem> hands;
    AddHands(scene.clocks[0], At(3, 0, 30) + 999, hands);  // whole seconds
    ASSERT_EQ(hands.size(), kHandItems);
    const PointF c = scene.clocks[0].place.centre;
    const float r = scene.clocks[0].place.radius;
    const Line &hour = std::get<Line>(hands[0]), &minute = std::get<Line>(hands[1]),
               &second = std::get<Line>(hands[2]);
    EXPECT_NEAR(hour.to.x, c.x + 0.52f * r, 0.01f * r);    // 3 o'clock
    EXPECT_NEAR(minute.to.y, c.y - 0.80f * r, 0.01f * r);  // 12, half a tick on
    EXPECT_NEAR(second.to.x, c.x, 0.01f);                  // 30 s: straight down
    EXPECT_NEAR(second.to.y, c.y + 0.86f * r, 0.01f);
    EXPECT_NE(hour.color, second.color);
    for (const SceneItem& item : hands) {
        const RectF b = Bounds(item);
        EXPECT_TRUE(b.left >= c.x - r && b.Right() <= c.x + r && b.top >= c.y - r &&
                    b.Bottom() <= c.y + r);
    }
}

TEST(SceneItemsTest, BoundsUnionsAndBackgroundColours) {
    const RectF line = Bounds(Line{{10, 50}, {30, 20}, 4, {}});
    EXPECT_EQ(line, (RectF{7, 17, 26, 36}));  // half the width and a pixel to spare
    const RectF circle = Bounds(FillCircle{{100, 100}, 10, {}});
    EXPECT_EQ(circle, (RectF{89, 89, 22, 22}));
    EXPECT_EQ(Bounds(StrokeCircle{{0, 0}, 10, 2, {}}), (RectF{-12, -12, 24, 24}));
    EXPECT_EQ(Bounds(Text{L"x", {1, 2, 3, 4}, 5, false, {}}), (RectF{1, 2, 3, 4}));
    EXPECT_EQ(Union(line, circle), (RectF{7, 17, 104, 94}));
    EXPECT_EQ(Union(RectF{}, circle), circle);  // an empty rectangle adds nothing
    EXPECT_EQ(Union(circle, RectF{}), circle);
    EXPECT_EQ(PixelsOf({-0.5f, 1.5f, 10, 3}, 8, 100), (RectI{0, 1, 8, 5}));

    EXPECT_EQ(ParseBackgroundColor(L"#102030"), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(ParseBackgroundColor(L"FFfF0a"), (Rgb{255, 255, 10}));
    EXPECT_EQ(ParseBackgroundColor(L"#09aF9A"), (Rgb{9, 0xaf, 0x9a}));
    for (const wchar_t* text : {L"", L"#", L"#12345", L"#1234567", L"#12345G", L"12345g", L"red",
                                L"##12345", L"#12 345", L"\U0001F600\U0001F600\U0001F600"})
        EXPECT_FALSE(ParseBackgroundColor(text).has_value()) << testing::PrintToString(text);
}

}  // namespace
