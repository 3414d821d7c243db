#include "platform/win32/player/Win32ClockEnvironment.h"

#include <windows.h>

namespace {

constexpr std::int64_t kUnixEpochAsFileTime = 116'444'736'000'000'000;  // 100 ns units

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[128] = {};
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128);
    return n > 1 ? std::wstring(buffer) : std::wstring(fallback);
}

std::int64_t FileTimeToMs(const FILETIME& ft) {
    const std::int64_t ticks =
        (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (ticks - kUnixEpochAsFileTime) / 10'000;
}

FILETIME MsToFileTime(std::int64_t ms) {
    const std::int64_t ticks = ms * 10'000 + kUnixEpochAsFileTime;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

}  // namespace

void Win32ClockEnvironment::Refresh() {
    // "H" in the time format means the 24-hour clock, "h" the 12-hour one.
    use24_ = LocaleText(LOCALE_STIMEFORMAT, L"HH:mm:ss").find(L'H') != std::wstring::npos;
    static const wchar_t* english[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    // LOCALE_SABBREVDAYNAME1 is Monday, ...7 Sunday.
    for (int weekday = 0; weekday < 7; ++weekday) {
        const int index = weekday == 0 ? 6 : weekday - 1;
        days_[weekday] = LocaleText(LOCALE_SABBREVDAYNAME1 + index, english[weekday]);
    }
    am_ = LocaleText(LOCALE_S1159, L"AM");
    pm_ = LocaleText(LOCALE_S2359, L"PM");
}

std::int64_t Win32ClockEnvironment::NowUtcMs() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return FileTimeToMs(ft);
}

int Win32ClockEnvironment::LocalOffsetMinutes(std::int64_t utcMs) {
    const FILETIME utcFt = MsToFileTime(utcMs);
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&utcFt, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return 0;
    FILETIME localFt;
    if (!SystemTimeToFileTime(&local, &localFt)) return 0;
    return static_cast<int>((FileTimeToMs(localFt) - utcMs) / 60'000);
}
