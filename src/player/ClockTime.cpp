#include "player/ClockTime.h"

#include <cstdlib>

#include "player/ClockEnvironment.h"

namespace {

std::wstring TwoDigits(int v) {
    return {static_cast<wchar_t>(L'0' + v / 10), static_cast<wchar_t>(L'0' + v % 10)};
}

}  // namespace

std::int64_t FloorDiv(std::int64_t value, std::int64_t unit) {
    const std::int64_t q = value / unit;
    return value % unit != 0 && (value < 0) != (unit < 0) ? q - 1 : q;
}

int MsToNextSecond(std::int64_t utcMs) {
    return static_cast<int>((FloorDiv(utcMs, kSecondMs) + 1) * kSecondMs - utcMs);
}

ClockTime TimeAt(std::int64_t utcMs, int offsetMinutes) {
    const std::int64_t t = utcMs + std::int64_t{offsetMinutes} * kMinuteMs;
    ClockTime time;
    time.day = FloorDiv(t, kDayMs);
    const int seconds = static_cast<int>((t - time.day * kDayMs) / kSecondMs);
    time.hour = seconds / 3600;
    time.minute = seconds / 60 % 60;
    time.second = seconds % 60;
    const std::int64_t sinceSunday = time.day + 4;  // 1970-01-01 was a Thursday
    time.weekday = static_cast<int>(sinceSunday - FloorDiv(sinceSunday, 7) * 7);
    return time;
}

HandAngles AnglesAt(const ClockTime& t) {
    return {(t.hour % 12) * 30.0 + t.minute * 0.5 + t.second / 120.0,
            t.minute * 6.0 + t.second * 0.1, t.second * 6.0};
}

std::wstring TimeText(const ClockTime& t, ClockEnvironment& environment) {
    if (environment.Use24Hour()) return TwoDigits(t.hour) + L":" + TwoDigits(t.minute);
    const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    return std::to_wstring(h12) + L":" + TwoDigits(t.minute) + L" " +
           environment.AmPm(t.hour >= 12);
}

std::wstring DayText(const ClockTime& t, std::int64_t referenceDay, ClockEnvironment& environment) {
    std::wstring text = environment.DayName(t.weekday);
    const std::int64_t delta = t.day - referenceDay;
    if (delta != 0) text += (delta > 0 ? L"  +" : L"  \u2212") + std::to_wstring(std::llabs(delta));
    return text;
}
