#include "timezones/DaylightRules.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kDayMs = 86'400'000;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

int DaysInMonth(int year, int month) {
    return static_cast<int>(DaysFromCivil(month == 12 ? year + 1 : year, month % 12 + 1, 1) -
                            DaysFromCivil(year, month, 1));
}

// The day (since 1970) on which a rule's transition falls in the given year; nothing when the
// rule names no valid day.
std::optional<std::int64_t> TransitionDay(const TransitionRule& rule, int year) {
    if (rule.month < 1 || rule.month > 12) return std::nullopt;
    if (rule.year != 0) {
        // A date of one year only.
        if (rule.year != year || rule.day < 1 || rule.day > DaysInMonth(year, rule.month))
            return std::nullopt;
        return DaysFromCivil(year, rule.month, rule.day);
    }
    if (rule.day < 1 || rule.day > 5 || rule.dayOfWeek < 0 || rule.dayOfWeek > 6)
        return std::nullopt;
    const std::int64_t first = DaysFromCivil(year, rule.month, 1);
    const int firstWeekday = static_cast<int>(((first + 4) % 7 + 7) % 7);  // 1970-01-01: Thursday
    int day = 1 + (rule.dayOfWeek - firstWeekday + 7) % 7 + (rule.day - 1) * 7;
    // The fifth is the last: step back a week when the month is too short.
    while (day > DaysInMonth(year, rule.month)) day -= 7;
    return first + day - 1;
}

struct Transition {
    std::int64_t utcMs;
    bool toDaylight;
    CivilDate localDate;
};

// The year's two transitions; none when the year's rule keeps no daylight time or names a
// day that does not exist.
void AddTransitions(const ZoneRule& rule, int year, std::vector<Transition>& out) {
    if (!rule.ObservesDaylight()) return;
    const std::optional<std::int64_t> begins = TransitionDay(rule.daylightDate, year);
    const std::optional<std::int64_t> ends = TransitionDay(rule.standardDate, year);
    if (!begins || !ends) return;
    const auto at = [](std::int64_t day, const TransitionRule& date, int bias) {
        const std::int64_t wall =
            ((date.hour * 60LL + date.minute) * 60 + date.second) * 1000 + date.milliseconds;
        return day * kDayMs + wall + bias * kMinuteMs;
    };
    // Daylight time begins at a standard wall time and ends at a daylight wall time.
    out.push_back({at(*begins, rule.daylightDate, rule.bias + rule.standardBias), true,
                   CivilFromDays(*begins)});
    out.push_back(
        {at(*ends, rule.standardDate, rule.bias + rule.daylightBias), false, CivilFromDays(*ends)});
}

std::uint16_t Word(const std::array<std::uint8_t, 44>& tzi, std::size_t at) {
    return static_cast<std::uint16_t>(tzi[at] | (tzi[at + 1] << 8));
}

std::int32_t Long(const std::array<std::uint8_t, 44>& tzi, std::size_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Word(tzi, at)) |
                                     (static_cast<std::uint32_t>(Word(tzi, at + 2)) << 16));
}

TransitionRule Date(const std::array<std::uint8_t, 44>& tzi, std::size_t at) {
    return {Word(tzi, at),     Word(tzi, at + 2),  Word(tzi, at + 4),  Word(tzi, at + 6),
            Word(tzi, at + 8), Word(tzi, at + 10), Word(tzi, at + 12), Word(tzi, at + 14)};
}

}  // namespace

ZoneRule ParseTzi(const std::array<std::uint8_t, 44>& tzi) {
    return {Long(tzi, 0), Long(tzi, 4), Long(tzi, 8), Date(tzi, 12), Date(tzi, 28)};
}

const ZoneRule& ZoneRules::ForYear(int year) const {
    if (yearly.empty()) return rule;
    if (year <= yearly.begin()->first) return yearly.begin()->second;
    // The last year's rule at or before the given one.
    return std::prev(yearly.upper_bound(year))->second;
}

DaylightStatus DaylightStatusAt(const ZoneRules& rules, std::int64_t utcMs) {
    // The transitions of the year before and after cover any instant near the turn of a year,
    // whatever the zone's offset.
    const int year = CivilFromDays(FloorDiv(utcMs, kDayMs)).year;
    std::vector<Transition> transitions;
    for (int y = year - 1; y <= year + 1; ++y) AddTransitions(rules.ForYear(y), y, transitions);
    std::sort(transitions.begin(), transitions.end(),
              [](const Transition& a, const Transition& b) { return a.utcMs < b.utcMs; });
    // A change into the state already kept is none: a year whose rule only ends daylight time
    // begins it at its first instant, and the year before may have begun it already.
    transitions.erase(std::unique(transitions.begin(), transitions.end(),
                                  [](const Transition& a, const Transition& b) {
                                      return a.toDaylight == b.toDaylight;
                                  }),
                      transitions.end());
    // Daylight time that ends and begins again within a day is the seam between two years'
    // rules (one ends it at its last instant, the next begins it at its first): no change.
    for (std::size_t i = 0; i + 1 < transitions.size();) {
        if (!transitions[i].toDaylight &&
            transitions[i + 1].utcMs - transitions[i].utcMs <= kDayMs) {
            transitions.erase(transitions.begin() + static_cast<std::ptrdiff_t>(i),
                              transitions.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        } else {
            ++i;
        }
    }

    const auto next = std::find_if(transitions.begin(), transitions.end(),
                                   [&](const Transition& t) { return t.utcMs > utcMs; });
    DaylightStatus status;
    if (next != transitions.begin()) {
        status.state =
            std::prev(next)->toDaylight ? DaylightState::Daylight : DaylightState::Standard;
    } else if (next != transitions.end()) {
        status.state = next->toDaylight ? DaylightState::Standard : DaylightState::Daylight;
    }
    if (next != transitions.end()) {
        status.nextChange = next->localDate;
    } else if (status.state == DaylightState::Standard) {
        status.state = DaylightState::NoDaylight;  // daylight time was given up
    }
    return status;
}

std::wstring DaylightHint(const DaylightStatus& status) {
    static const wchar_t* const months[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                            L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    std::wstring date;
    if (status.nextChange)
        date = std::to_wstring(status.nextChange->day) + L" " +
               months[(status.nextChange->month + 11) % 12];
    switch (status.state) {
        case DaylightState::NoDaylight:
            break;
        case DaylightState::Daylight:
            return date.empty() ? L"on daylight time" : L"on daylight time until " + date;
        case DaylightState::Standard:
            return date.empty() ? L"standard time" : L"standard time; daylight from " + date;
    }
    return L"no daylight time";
}

bool BoxDisagrees(const DaylightStatus& status, int checkState) {
    return (checkState != 0) != (status.state == DaylightState::Daylight);
}

RowHint DaylightRowHint(const DaylightStatus& status, int checkState) {
    if (!BoxDisagrees(status, checkState)) return {DaylightHint(status), false};
    return {DaylightHint(status) +
                (status.state == DaylightState::Daylight ? L" (tick DST)" : L" (untick DST)"),
            true};
}

std::wstring WidestDaylightHint() {
    return DaylightRowHint({DaylightState::Standard, CivilDate{2000, 5, 28}}, 1).text;
}
