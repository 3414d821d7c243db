#include <gtest/gtest.h>

#include "Fakes.h"
#include "timezones/DaylightRules.h"
#include "timezones/MTimeZone.h"

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
// Sydney: from the first Sunday of October 02:00 to the first Sunday of April 03:00.
const ZoneRule kLondon{0, 0, -60, {0, 10, 0, 5, 2}, {0, 3, 0, 5, 1}};
const ZoneRule kSydney{-600, 0, -60, {0, 4, 0, 1, 3}, {0, 10, 0, 1, 2}};

std::wstring Hint(const ZoneRules& rules, std::int64_t at) {
    return DaylightHint(DaylightStatusAt(rules, at));
}

// Both hemispheres in July and January, the changes to the millisecond, and the box: the other
// state disagrees and says what to do (greyed counts as on).
TEST(DaylightRules, HintsAtKnownInstants) {
    const struct {
        ZoneRule rule;
        std::int64_t at;
        int box;
        std::wstring hint;
    } cases[] = {
        {kLondon, Utc(2026, 7, 15, 12), 1, L"on daylight time until 25 Oct"},
        {kLondon, Utc(2026, 1, 15), 0, L"standard time; daylight from 29 Mar"},
        {kLondon, Utc(2026, 12, 31, 23), 0, L"standard time; daylight from 28 Mar"},
        {kLondon, Utc(2026, 3, 29, 0, 59, 59'999), 0, L"standard time; daylight from 29 Mar"},
        {kLondon, Utc(2026, 3, 29, 1), 2, L"on daylight time until 25 Oct"},
        {kLondon, Utc(2026, 10, 25, 0, 59, 59'999), 1, L"on daylight time until 25 Oct"},
        {kLondon, Utc(2026, 10, 25, 1), 0, L"standard time; daylight from 28 Mar"},
        {kLondon, Utc(1969, 7, 1), 1, L"on daylight time until 26 Oct"},
        {kSydney, Utc(2026, 7, 15), 0, L"standard time; daylight from 4 Oct"},
        {kSydney, Utc(2026, 1, 15), 1, L"on daylight time until 5 Apr"},
        {kSydney, Utc(2026, 10, 3, 15, 59, 59'999), 0, L"standard time; daylight from 4 Oct"},
        {kSydney, Utc(2026, 10, 3, 16), 1, L"on daylight time until 4 Apr"},
        {{-540, 0, 0, {}, {}}, Utc(2026, 7, 15), 0, L"no daylight time"},
    };
    for (const auto& c : cases) {
        const DaylightStatus status = DaylightStatusAt({c.rule, {}}, c.at);
        EXPECT_EQ(DaylightRowHint(status, c.box), (RowHint{c.hint, false})) << c.at;
        const std::wstring fix = c.box ? L" (tick DST)" : L" (untick DST)";
        EXPECT_EQ(DaylightRowHint(status, c.box ? 0 : 1), (RowHint{c.hint + fix, true})) << c.at;
    }
}

TEST(DaylightRules, YearlyRulesAZoneThatGaveItUpAndSeamsBetweenYears) {
    ZoneRules rules{kLondon, {{2010, {-120, 0, -60, {0, 10, 0, 5, 4}, {0, 3, 0, 5, 3}}},
                              {2016, {-180, 0, 0, {}, {}}}}};
    EXPECT_EQ(Hint(rules, Utc(2000, 7, 15)), L"on daylight time until 29 Oct");  // the first
    EXPECT_EQ(Hint(rules, Utc(2014, 7, 15)), L"on daylight time until 26 Oct");
    EXPECT_EQ(Hint(rules, Utc(2015, 12, 1)), L"no daylight time");  // nothing comes after
    EXPECT_EQ(Hint(rules, Utc(2040, 1, 15)), L"no daylight time");
    // A year whose rule ends daylight time at its last instant, a year that begins it at its
    // first (which a year already on daylight time does too): no change at either seam.
    rules.yearly = {{2020, {-600, 0, -60, {2020, 12, 0, 31, 23, 59, 59, 999}, {0, 10, 0, 1, 2}}},
                    {2021, {-600, 0, -60, {0, 4, 0, 1, 3}, {2021, 1, 0, 1}}},
                    {2022, {-600, 0, 0, {}, {}}}};
    EXPECT_EQ(Hint(rules, Utc(2020, 11, 1)), L"on daylight time until 4 Apr");
    EXPECT_EQ(Hint(rules, Utc(2021, 7, 1)), L"no daylight time");
}

TEST(DaylightRules, TransitionDays) {
    // The fifth Sunday is the last, also in a month of four (February 2026); the second
    // Saturday of November 2026 is the 14th; a date of one year applies in that year only.
    ZoneRules rules{{0, 0, -60, {0, 11, 6, 2, 2}, {0, 2, 0, 5, 1}}, {}};
    EXPECT_EQ(Hint(rules, Utc(2026, 1, 1)), L"standard time; daylight from 22 Feb");
    EXPECT_EQ(Hint(rules, Utc(2026, 7, 1)), L"on daylight time until 14 Nov");
    rules.rule.standardDate = {2026, 11, 0, 3, 2};
    EXPECT_EQ(Hint(rules, Utc(2026, 7, 1)), L"on daylight time until 3 Nov");
    // Rules that name no day keep no daylight time: month 13, a sixth week, weekday 7, 31 Nov.
    for (const TransitionRule bad : {TransitionRule{0, 13, 0, 1}, TransitionRule{0, 11, 0, 6},
                                     TransitionRule{0, 11, 7, 1}, TransitionRule{2026, 11, 0, 31}}) {
        rules.rule.standardDate = bad;
        EXPECT_EQ(DaylightStatusAt(rules, Utc(2026, 7, 1)), DaylightStatus{});
    }
}

// Pacific's TZI block (Bias 480, DaylightBias -60; the first Sunday of November 02:00, the
// second of March 02:00) with a "Dynamic DST" key holding 2006 (April to October) and 2007.
TEST(DaylightRules, TziBlocksAndDynamicDstYearsFromTheCatalogue) {
    const std::string tzi("\xE0\x01\0\0\0\0\0\0\xC4\xFF\xFF\xFF\0\0\x0B\0\0\0\x01\0\x02\0\0\0\0\0\0\0"
                          "\0\0\x03\0\0\0\x02\0\x02\0\0\0\0\0\0\0",
                          44);
    std::string old = tzi;
    old[14] = 10, old[18] = 5, old[30] = 4, old[34] = 1;
    FakeRegistry registry;
    const std::string years = kTimeZonesKeyNT + std::string("\\Pacific Standard Time\\Dynamic DST");
    for (const auto& [name, bytes] : {std::pair<const char*, std::string>{"2006", old},
                                      {"2007", tzi}, {"FirstEntry", std::string("\xD6\x07\0\0", 4)},
                                      {"LastEntry", std::string("\xD7\x07\0\0", 4)}})
        registry.SetBinary(years, name, bytes);
    FakeVersion version;
    FoldingCompare compare;
    Utf8CodePage ansi;
    MTimeZone catalogue(registry, version, compare, ansi);
    TimeZoneRecord zone{{}, L"(UTC-08:00) Pacific", L"", L"", L"", L"Pacific Standard Time"};
    std::copy(tzi.begin(), tzi.end(), zone.TZI.begin());
    const ZoneRules rules = catalogue.ReadZoneRules(kTimeZonesKeyNT, zone);
    EXPECT_EQ(Hint(rules, Utc(2006, 3, 20)), L"standard time; daylight from 2 Apr");
    EXPECT_EQ(Hint(rules, Utc(2026, 7, 1, 8)), L"on daylight time until 1 Nov");
    EXPECT_EQ(Hint({rules.rule, {}}, Utc(2026, 3, 1)), L"standard time; daylight from 8 Mar");
    // A year's block of another size is none: the year before goes on.
    registry.SetBinary(years, "2007", "short");
    EXPECT_EQ(Hint(catalogue.ReadZoneRules(kTimeZonesKeyNT, zone), Utc(2026, 3, 1)),
              L"standard time; daylight from 5 Apr");
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

}  // namespace
