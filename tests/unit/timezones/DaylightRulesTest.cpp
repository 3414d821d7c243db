#include <gtest/gtest.h>

#include <chrono>

#include "timezones/DaylightRules.h"

namespace {

std::int64_t Utc(int y, unsigned m, unsigned d, int h = 0, int min = 0, int ms = 0) {
    using namespace std::chrono;
    const auto days = sys_days(year(y) / m / d).time_since_epoch();
    return duration_cast<milliseconds>(days + hours(h) + minutes(min)).count() + ms;
}
std::wstring Hint(const ZoneRules& rules, std::int64_t at) {
    return DaylightHint(DaylightStatusAt(rules, at));
}

// London: last Sundays of March and October; Sydney: first Sundays of October and April.
const ZoneRule kLondon{0, 0, -60, {0, 10, 0, 5, 2}, {0, 3, 0, 5, 1}};
const ZoneRule kSydney{-600, 0, -60, {0, 4, 0, 1, 3}, {0, 10, 0, 1, 2}};

// Both hemispheres, the changes to the ms; the other box state disagrees (greyed counts as on).
TEST(DaylightRules, HintsAtKnownInstants) {
    const std::tuple<ZoneRule, std::int64_t, int, std::wstring> cases[] = {
        {kLondon, Utc(2026, 3, 29, 0, 59, 59'999), 0, L"standard time; daylight from 29 Mar"},
        {kLondon, Utc(2026, 3, 29, 1), 2, L"on daylight time until 25 Oct"},
        {kLondon, Utc(2026, 10, 25, 0, 59, 59'999), 1, L"on daylight time until 25 Oct"},
        {kLondon, Utc(2026, 10, 25, 1), 0, L"standard time; daylight from 28 Mar"},
        {kLondon, Utc(1969, 7, 1), 1, L"on daylight time until 26 Oct"},
        {kSydney, Utc(2026, 1, 15), 1, L"on daylight time until 5 Apr"},
        {kSydney, Utc(2026, 10, 3, 15, 59, 59'999), 0, L"standard time; daylight from 4 Oct"},
        {kSydney, Utc(2026, 10, 3, 16), 1, L"on daylight time until 4 Apr"},
        {{-540, 0, 0, {}, {}}, Utc(2026, 7, 15), 0, L"no daylight time"},
    };
    for (const auto& [rule, at, box, hint] : cases) {
        const DaylightStatus status = DaylightStatusAt({rule, {}}, at);
        EXPECT_EQ(DaylightRowHint(status, box), (RowHint{hint, false})) << at;
        const std::wstring fix = box ? L" (tick DST)" : L" (untick DST)";
        EXPECT_EQ(DaylightRowHint(status, box ? 0 : 1), (RowHint{hint + fix, true})) << at;
    }
}

TEST(DaylightRules, TransitionDaysAndSeamsBetweenYears) {
    // The fifth Sunday is the last (February 2026 has four); other weekdays; one year's date.
    ZoneRules rules{{0, 0, -60, {0, 11, 6, 2, 2}, {0, 2, 0, 5, 1}}, {}};
    EXPECT_EQ(Hint(rules, Utc(2026, 1, 1)), L"standard time; daylight from 22 Feb");
    EXPECT_EQ(Hint(rules, Utc(2026, 7, 1)), L"on daylight time until 14 Nov");
    rules.rule.standardDate = {2026, 11, 0, 3, 2};
    EXPECT_EQ(Hint(rules, Utc(2026, 7, 1)), L"on daylight time until 3 Nov");
    // Rules that name no day keep no daylight time: month 13, a sixth week, weekday 7, 31 Nov.
    for (const TransitionRule bad :
         {TransitionRule{0, 13, 0, 1}, TransitionRule{0, 11, 0, 6}, TransitionRule{0, 11, 7, 1},
          TransitionRule{2026, 11, 0, 31}}) {
        rules.rule.standardDate = bad;
        EXPECT_EQ(DaylightStatusAt(rules, Utc(2026, 7, 1)), DaylightStatus{});
    }
    // Years' rules that end daylight time at their last instant and begin it at their first.
    rules.yearly = {{2020, {-600, 0, -60, {2020, 12, 0, 31, 23, 59, 59, 999}, {0, 10, 0, 1, 2}}},
                    {2021, {-600, 0, -60, {0, 4, 0, 1, 3}, {2021, 1, 0, 1}}}};
    EXPECT_EQ(Hint(rules, Utc(2020, 11, 1)), L"on daylight time until 4 Apr");
    EXPECT_EQ(Hint(rules, Utc(2021, 7, 1)), L"no daylight time");  // and none after: given up
}

}  // namespace
