#pragma once
// The system clock, the local zone and the user's locale, from kernel32.

#include <string>

#include "player/ClockEnvironment.h"

class Win32ClockEnvironment : public ClockEnvironment {
  public:
    Win32ClockEnvironment() { Refresh(); }
    // Reads the locale's time format and names again (after a settings change).
    void Refresh();

    std::int64_t NowUtcMs() override;
    int LocalOffsetMinutes(std::int64_t utcMs) override;
    bool Use24Hour() override { return use24_; }
    std::wstring DayName(int weekday) override { return days_[weekday % 7]; }
    std::wstring AmPm(bool pm) override { return pm ? pm_ : am_; }

  private:
    bool use24_ = true;
    std::wstring days_[7];
    std::wstring am_, pm_;
};
