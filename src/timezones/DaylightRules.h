#pragma once
// Whether a zone is on daylight time at an instant, and when it next changes, from the zone's
// rules as the catalogue holds them: the TZI block (REG_TZI_FORMAT) and, where the rules
// changed over the years, one such block per year (the zone's "Dynamic DST" entries).

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

// A transition date of a TZI block (a SYSTEMTIME). With year 0 it recurs every year: the
// day-th (1 to 4, 5 the last) dayOfWeek (0 Sunday) of month, at the local wall time given.
struct TransitionRule {
    int year = 0, month = 0, dayOfWeek = 0, day = 0;
    int hour = 0, minute = 0, second = 0, milliseconds = 0;
};

// One year's rule. Minutes throughout; UTC = local time + bias.
struct ZoneRule {
    int bias = 0, standardBias = 0, daylightBias = 0;
    TransitionRule standardDate;  // daylight time ends, at this daylight wall time
    TransitionRule daylightDate;  // daylight time begins, at this standard wall time
    bool ObservesDaylight() const { return standardDate.month != 0 && daylightDate.month != 0; }
};

// The 44 bytes of a TZI block, little-endian.
ZoneRule ParseTzi(const std::array<std::uint8_t, 44>& tzi);

// A zone's rules over the years: `yearly` (may be empty) holds the years that have a rule of
// their own; a year before the first takes the first one's, after the last the last one's.
struct ZoneRules {
    ZoneRule rule;
    std::map<int, ZoneRule> yearly;
    const ZoneRule& ForYear(int year) const;
};

struct CivilDate {
    int year = 0, month = 0, day = 0;
    bool operator==(const CivilDate&) const = default;
};

enum class DaylightState { NoDaylight, Standard, Daylight };

struct DaylightStatus {
    DaylightState state = DaylightState::NoDaylight;
    // The zone's local date of the next change (nothing for NoDaylight).
    std::optional<CivilDate> nextChange;
    bool operator==(const DaylightStatus&) const = default;
};

// The status at an instant (milliseconds since 1970-01-01 00:00 UTC). A zone counts as keeping
// daylight time when this year's or next year's rule has it.
DaylightStatus DaylightStatusAt(const ZoneRules& rules, std::int64_t utcMs);

// "on daylight time until 25 Oct", "standard time; daylight from 29 Mar", "no daylight time".
std::wstring DaylightHint(const DaylightStatus& status);

// True when a DST box in this state (0 unchecked, 1 checked, 2 greyed: on) says otherwise than
// the zone's rule for today.
bool BoxDisagrees(const DaylightStatus& status, int checkState);

// What a row shows beside its DST box: the hint, and when the box says otherwise, what to do
// about it ("standard time; daylight from 29 Mar (untick DST)"), marked as disagreeing.
struct RowHint {
    std::wstring text;
    bool disagrees = false;
    bool operator==(const RowHint&) const = default;
};
RowHint DaylightRowHint(const DaylightStatus& status, int checkState);
// The longest text a row can show, for laying the dialogs out.
std::wstring WidestDaylightHint();
