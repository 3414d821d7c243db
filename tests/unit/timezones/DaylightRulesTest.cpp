#include <gtest/gtest.h>

#include "timezones/DaylightRules.h"

namespace {

// Milliseconds since 1970 of a UTC wall time.
std::int64_t Utc(int year, int month, int day, int hour = 0, int minute = 0, int ms = 0) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * ((month + 9) % 12) + 2) / 5 + day - 1;
    const std::int64_t days = era * 146097LL + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    return ((days * 24 + hour) * 60 + minute) * 60'000 + ms;
}

// London: daylight from the last Sunday of March 01:00 to the last Sunday of October 02:00.
ZoneRules London() {
    ZoneRule r{0, 0, -60, {0, 10, 0, 5, 2}, {0, 3, 0, 5, 1}};
    return {r, {}};
}
// Sydney: daylight from the first Sunday of October 02:00 to the first Sunday of April 03:00.
ZoneRules Sydney() {
    ZoneRule r{-600, 0, -60, {0, 4, 0, 1, 3}, {0, 10, 0, 1, 2}};
    return {r, {}};
}

TEST(DaylightRules, BothHemispheresAtKnownDates) {
    const struct {
        const char* what;
        ZoneRules rules;
        std::int64_t at;
        DaylightStatus status;
        const wchar_t* hint;
    } cases[] = {
        {"London in July",
         London(),
         Utc(2026, 7, 15, 12),
         {DaylightState::Daylight, {{2026, 10, 25}}},
         L"on daylight time until 25 Oct"},
        {"London in January",
         London(),
         Utc(2026, 1, 15),
         {DaylightState::Standard, {{2026, 3, 29}}},
         L"standard time; daylight from 29 Mar"},
        {"London in December",
         London(),
         Utc(2026, 12, 31, 23),
         {DaylightState::Standard, {{2027, 3, 28}}},
         L"standard time; daylight from 28 Mar"},
        // The changes themselves, to the millisecond (01:00 UTC both times).
        {"London before the spring change",
         London(),
         Utc(2026, 3, 29, 0, 59, 59'999),
         {DaylightState::Standard, {{2026, 3, 29}}},
         nullptr},
        {"London at the spring change",
         London(),
         Utc(2026, 3, 29, 1),
         {DaylightState::Daylight, {{2026, 10, 25}}},
         nullptr},
        {"London before the autumn change",
         London(),
         Utc(2026, 10, 25, 0, 59, 59'999),
         {DaylightState::Daylight, {{2026, 10, 25}}},
         nullptr},
        {"London at the autumn change",
         London(),
         Utc(2026, 10, 25, 1),
         {DaylightState::Standard, {{2027, 3, 28}}},
         nullptr},
        {"London before 1970",
         London(),
         Utc(1969, 7, 1),
         {DaylightState::Daylight, {{1969, 10, 26}}},
         L"on daylight time until 26 Oct"},
        {"Sydney in July",
         Sydney(),
         Utc(2026, 7, 15),
         {DaylightState::Standard, {{2026, 10, 4}}},
         L"standard time; daylight from 4 Oct"},
        {"Sydney in January",
         Sydney(),
         Utc(2026, 1, 15),
         {DaylightState::Daylight, {{2026, 4, 5}}},
         L"on daylight time until 5 Apr"},
        // Sydney's daylight time begins at 02:00 local standard time: 16:00 UTC the day before.
        {"Sydney before its change",
         Sydney(),
         Utc(2026, 10, 3, 15, 59, 59'999),
         {DaylightState::Standard, {{2026, 10, 4}}},
         nullptr},
        {"Sydney at its change",
         Sydney(),
         Utc(2026, 10, 3, 16),
         {DaylightState::Daylight, {{2027, 4, 4}}},
         nullptr},
        {"Tokyo", ZoneRules{{-540, 0, 0, {}, {}}, {}}, Utc(2026, 7, 15), {}, L"no daylight time"},
    };
    for (const auto& c : cases) {
        const DaylightStatus status = DaylightStatusAt(c.rules, c.at);
        EXPECT_EQ(status, c.status) << c.what;
        if (c.hint) {
            EXPECT_EQ(DaylightHint(status), c.hint) << c.what;
        }
    }
}

TEST(DaylightRules, YearlyRulesAndAZoneThatGaveUpDaylightTime) {
    // Daylight time until 2015, the last Sunday of March to the last of October; none after.
    ZoneRules rules{London().rule, {}};
    rules.yearly[2010] = {-120, 0, -60, {0, 10, 0, 5, 4}, {0, 3, 0, 5, 3}};
    rules.yearly[2016] = {-180, 0, 0, {}, {}};
    EXPECT_EQ(rules.ForYear(2000).bias, -120);  // before the first: the first
    EXPECT_EQ(rules.ForYear(2015).bias, -120);
    EXPECT_EQ(rules.ForYear(2016).bias, -180);
    EXPECT_EQ(rules.ForYear(2040).bias, -180);  // after the last: the last

    EXPECT_EQ(DaylightStatusAt(rules, Utc(2026, 7, 15)), DaylightStatus{});
    EXPECT_EQ(DaylightStatusAt(rules, Utc(2014, 7, 15)),
              (DaylightStatus{DaylightState::Daylight, {{2014, 10, 26}}}));
    // After the last change of 2015 nothing comes: no daylight time from then on.
    EXPECT_EQ(DaylightStatusAt(rules, Utc(2015, 12, 1)), DaylightStatus{});
}

TEST(DaylightRules, TransitionDays) {
    // The fifth Sunday is the last one, in a month of four Sundays too (February 2026).
    ZoneRules rules{{0, 0, -60, {0, 11, 0, 1, 2}, {0, 2, 0, 5, 1}}, {}};
    EXPECT_EQ(DaylightStatusAt(rules, Utc(2026, 1, 1)).nextChange, (CivilDate{2026, 2, 22}));
    // Other weekdays: the second Saturday of November 2026 is the 14th.
    rules.rule.standardDate = {0, 11, 6, 2, 2};
    EXPECT_EQ(DaylightStatusAt(rules, Utc(2026, 7, 1)).nextChange, (CivilDate{2026, 11, 14}));
    // A date of one year only applies in that year.
    rules.rule.standardDate = {2026, 11, 0, 3, 2};
    EXPECT_EQ(DaylightStatusAt(rules, Utc(2026, 7, 1)).nextChange, (CivilDate{2026, 11, 3}));
    // Rules that name no day keep no daylight time: month 13, a sixth week, weekday 7.
    for (const TransitionRule bad :
         {TransitionRule{0, 13, 0, 1, 2}, TransitionRule{0, 11, 0, 6, 2},
          TransitionRule{0, 11, 7, 1, 2}, TransitionRule{2026, 11, 0, 31, 2}}) {
        rules.rule.standardDate = bad;
        EXPECT_EQ(DaylightStatusAt(rules, Utc(2026, 7, 1)), DaylightStatus{});
    }
}

TEST(DaylightRules, TziBlocksAndBoxes) {
    // Pacific: Bias 480, DaylightBias -60; the first Sunday of November 02:00 and the second
    // Sunday of March 02:00.
    const std::array<std::uint8_t, 44> tzi = {
        0xE0, 0x01, 0, 0, 0, 0, 0, 0, 0xC4, 0xFF, 0xFF, 0xFF, 0, 0, 11, 0, 0, 0, 1, 0, 2, 0,
        0,    0,    0, 0, 0, 0, 0, 0, 3,    0,    0,    0,    2, 0, 2,  0, 0, 0, 0, 0, 0, 0};
    const ZoneRule rule = ParseTzi(tzi);
    EXPECT_EQ(rule.bias, 480);
    EXPECT_EQ(rule.daylightBias, -60);
    EXPECT_EQ(rule.standardDate.month, 11);
    EXPECT_EQ(rule.standardDate.day, 1);
    EXPECT_EQ(rule.daylightDate.month, 3);
    EXPECT_EQ(rule.daylightDate.day, 2);
    EXPECT_EQ(rule.daylightDate.hour, 2);
    EXPECT_EQ(DaylightStatusAt({rule, {}}, Utc(2026, 7, 1)),
              (DaylightStatus{DaylightState::Daylight, {{2026, 11, 1}}}));

    const DaylightStatus daylight{DaylightState::Daylight, {}},
        standard{DaylightState::Standard, {}};
    EXPECT_FALSE(BoxDisagrees(daylight, 1));
    EXPECT_FALSE(BoxDisagrees(daylight, 2));  // greyed counts as on
    EXPECT_TRUE(BoxDisagrees(daylight, 0));
    EXPECT_TRUE(BoxDisagrees(standard, 1));
    EXPECT_FALSE(BoxDisagrees(standard, 0));
    EXPECT_TRUE(BoxDisagrees(DaylightStatus{}, 2));
}

}  // namespace
