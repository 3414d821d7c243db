#pragma once
// What the clocks need from the system: the time, the local zone and the user's locale.

#include <cstdint>
#include <string>

class ClockEnvironment {
  public:
    virtual ~ClockEnvironment() = default;
    // Milliseconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t NowUtcMs() = 0;
    // The local zone's offset from UTC, in minutes east, at the given instant.
    virtual int LocalOffsetMinutes(std::int64_t utcMs) = 0;
    // True when the user's locale shows times on the 24-hour clock.
    virtual bool Use24Hour() = 0;
    // Abbreviated weekday name; weekday 0 is Sunday.
    virtual std::wstring DayName(int weekday) = 0;
    // The locale's morning and afternoon markers ("AM", "PM").
    virtual std::wstring AmPm(bool pm) = 0;
};
