// The time, day and offset texts of the clocks.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "player/ClockTime.h"
#include "player/OffsetText.h"

namespace {

TEST(ClockTimeTest, WholeSecondsTimeAndDayAtAnOffset) {
    const std::pair<std::int64_t, int> waits[] = {{0, 1000}, {1, 999},    {999, 1},
                                                  {-1, 1},   {-999, 999}, {-1000, 1000}};
    for (const auto& [utc, wait] : waits) EXPECT_EQ(MsToNextSecond(utc), wait) << utc;
    const std::int64_t monday = kMonday2024 / 86'400'000;
    const std::tuple<std::int64_t, int, std::vector<int>, std::int64_t> cases[] = {
        // instant, offset, hour minute second weekday, day
        {At(10, 15, 30), 345, {16, 0, 30, 1}, monday},    // +05:45
        {At(0, 15, 0), -30, {23, 45, 0, 0}, monday - 1},  // -00:30 reaches back into Sunday
        {At(23, 59, 59) + 999, 0, {23, 59, 59, 1}, monday},
        {At(23, 30, 0), 14 * 60, {13, 30, 0, 2}, monday + 1},
        {-1, 0, {23, 59, 59, 3}, -1},                     // 1969-12-31, a Wednesday
        {0, 0, {0, 0, 0, 4}, 0},                          // 1970-01-01, a Thursday
        {-86'400'000LL * 4 - 1, 0, {23, 59, 59, 6}, -5},  // a Saturday
    };
    for (const auto& [utc, offset, fields, day] : cases) {
        const ClockTime t = TimeAt(utc, offset);
        EXPECT_EQ(std::vector<int>({t.hour, t.minute, t.second, t.weekday}), fields) << utc;
        EXPECT_EQ(t.day, day) << utc;
    }
    const HandAngles a = AnglesAt(TimeAt(At(22, 15, 30), 0));
    EXPECT_DOUBLE_EQ(a.hour, 10 * 30.0 + 15 / 2.0 + 30 / 120.0);
    EXPECT_DOUBLE_EQ(a.minute, 15 * 6.0 + 3.0);
}

TEST(ClockTimeTest, TimeAndDayTexts) {
    FakeClockEnvironment env;
    const std::tuple<int, int, const wchar_t*, const wchar_t*> times[] = {
        {0, 0, L"00:00", L"12:00 AM"},
        {9, 5, L"09:05", L"9:05 AM"},
        {11, 59, L"11:59", L"11:59 AM"},
        {12, 0, L"12:00", L"12:00 PM"},
        {13, 7, L"13:07", L"1:07 PM"}};
    for (const auto& [h, m, text24, text12] : times) {
        env.use24 = true;
        EXPECT_EQ(TimeText(TimeAt(At(h, m, 0), 0), env), text24);
        env.use24 = false;
        EXPECT_EQ(TimeText(TimeAt(At(h, m, 0), 0), env), text12);
    }
    const ClockTime monday = TimeAt(At(12, 0, 0), 0);
    EXPECT_EQ(DayText(monday, monday.day + 1, env), L"Mon  \u22121");
    EXPECT_EQ(DayText(monday, monday.day - 12, env), L"Mon  +12");
}

TEST(OffsetTextTest, OffsetsAndTheClockFileBesideTheMovie) {
    // Any three letters; the sign covers the minutes too; +24:00 is what the writer makes of
    // +23 with daylight-saving time.
    const std::pair<const wchar_t*, int> readable[] = {
        {L"UTC", 0},        {L"GMT+00:00", 0},   {L"GMT+05:45", 345},  {L"GMT-03:30", -210},
        {L"cet+01:00", 60}, {L"GMT-00:30", -30}, {L"GMT+24:00", 1440}, {L"  GMT+02:00\n", 120}};
    for (const auto& [text, minutes] : readable) EXPECT_EQ(ParseOffsetText(text), minutes) << text;
    for (const wchar_t* text :
         {L"", L"   ", L"GM", L"GMT+", L"GMT+1:00", L"GMT+01:60", L"GMT+01-00", L"GMT*01:00",
          L"G1T+01:00", L"GMT+0a:00", L"GMT+01:00x", L"GMT+01:000", L"+01:00", L"GMT 01:00",
          L"\u00c9ST+01:00", L"GMT+01:0\U0001F600"})
        EXPECT_FALSE(ParseOffsetText(text).has_value()) << testing::PrintToString(text);
    EXPECT_EQ(ClockFileBesideMovie(L"/home/u/.config/pelloxss/PELLOXSS1.SWF"),
              L"/home/u/.config/pelloxss\\pellox2.xml");
    EXPECT_EQ(ClockFileBesideMovie(L"PELLOXSS1.SWF"), L"");
}

}  // namespace
