#include "platform/linux/player/LinuxClockEnvironment.h"

#include <glib.h>
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "platform/TextEncoding.h"

namespace {

// A text of the LC_TIME locale, in wide characters, converted from that locale's own character
// set; the fallback when the locale has none.
std::wstring LocaleText(locale_t locale, nl_item item, const wchar_t* fallback) {
    const char* text = locale ? nl_langinfo_l(item, locale) : nullptr;
    if (!text || !*text) return fallback;
    const char* codeset = nl_langinfo_l(CODESET, locale);
    gchar* converted = g_convert(text, -1, "UTF-8", codeset && *codeset ? codeset : "ASCII",
                                 nullptr, nullptr, nullptr);
    if (!converted) return fallback;
    std::wstring wide = utf8::ToWide(converted);
    g_free(converted);
    return wide;
}

struct LocaleDeleter {
    void operator()(locale_t locale) const { freelocale(locale); }
};

}  // namespace

LinuxClockEnvironment::LinuxClockEnvironment() {
    // The user's LC_TIME without changing the process's own locale, with the character set of
    // the same locale (LC_CTYPE may name another, or none).
    const char* name = "";
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            name = value;
            break;
        }
    }
    std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter> locale(
        newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr)));
    if (!locale)
        locale.reset(newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr)));
    if (!locale) locale.reset(newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr)));
    static const wchar_t* english[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    for (int weekday = 0; weekday < 7; ++weekday) {
        days_[weekday] = LocaleText(locale.get(), ABDAY_1 + weekday, english[weekday]);
    }
    // The locale's time format: %H, %k, %T and %R are on the 24-hour clock.
    const std::wstring format = LocaleText(locale.get(), T_FMT, L"%H:%M:%S");
    use24_ = format.find(L"%H") != std::wstring::npos || format.find(L"%k") != std::wstring::npos ||
             format.find(L"%T") != std::wstring::npos || format.find(L"%R") != std::wstring::npos;
    am_ = LocaleText(locale.get(), AM_STR, L"AM");
    pm_ = LocaleText(locale.get(), PM_STR, L"PM");
}

std::int64_t LinuxClockEnvironment::NowUtcMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

int LinuxClockEnvironment::LocalOffsetMinutes(std::int64_t utcMs) {
    const std::time_t seconds = static_cast<std::time_t>(utcMs / 1000);
    std::tm local{};
    if (!localtime_r(&seconds, &local)) return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
}
