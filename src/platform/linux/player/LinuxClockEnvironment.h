#pragma once
// The clocks' view of the system on Linux: the real-time clock, the C library's local zone
// (TZ or /etc/localtime) and the user's LC_TIME locale.

#include <array>
#include <string>

#include "player/ClockEnvironment.h"

class LinuxClockEnvironment final : public ClockEnvironment {
  public:
    // Reads the locale's names once (LC_TIME from the environment).
    LinuxClockEnvironment();

    std::int64_t NowUtcMs() override;
    int LocalOffsetMinutes(std::int64_t utcMs) override;
    bool Use24Hour() override { return use24_; }
    std::wstring DayName(int weekday) override { return days_[((weekday % 7) + 7) % 7]; }
    std::wstring AmPm(bool pm) override { return pm ? pm_ : am_; }

  private:
    bool use24_ = true;
    std::array<std::wstring, 7> days_;
    std::wstring am_ = L"AM", pm_ = L"PM";
};
