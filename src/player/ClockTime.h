#pragma once
// The clocks' time and day arithmetic. Instants are milliseconds since 1970-01-01 00:00 UTC
// (negative before it); offsets are whole minutes east of Greenwich.

#include <cstdint>
#include <string>

class ClockEnvironment;

inline constexpr std::int64_t kSecondMs = 1000;
inline constexpr std::int64_t kMinuteMs = 60'000;
inline constexpr std::int64_t kDayMs = 86'400'000;

// Division rounding down, so that an instant before 1970 falls in its own second, minute or day.
std::int64_t FloorDiv(std::int64_t value, std::int64_t unit);

// Milliseconds from an instant to the beginning of the next whole second: 1 to 1000.
int MsToNextSecond(std::int64_t utcMs);

// What a clock at an offset shows at an instant, to the whole second.
struct ClockTime {
    int hour = 0, minute = 0, second = 0;
    int weekday = 0;       // 0 Sunday
    std::int64_t day = 0;  // days since 1970-01-01 in the clock's zone
};
ClockTime TimeAt(std::int64_t utcMs, int offsetMinutes);

// Hand angles in degrees clockwise from 12. Whole seconds: the hands stand still between frames.
struct HandAngles {
    double hour = 0, minute = 0, second = 0;
};
HandAngles AnglesAt(const ClockTime& time);

// "09:05" on the 24-hour clock, "9:05 AM" on the 12-hour one, as the locale says.
std::wstring TimeText(const ClockTime& time, ClockEnvironment& environment);

// The weekday's short name, followed by "  +1" or "  −1" (and so on) when the clock's day is
// after or before the reference day.
std::wstring DayText(const ClockTime& time, std::int64_t referenceDay,
                     ClockEnvironment& environment);
