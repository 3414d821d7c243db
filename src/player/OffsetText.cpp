#include "player/OffsetText.h"

#include "config/ClockFile.h"

#include <cwctype>

namespace {

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

std::wstring Trim(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) return {};
    const auto last = text.find_last_not_of(L" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<int> ParseOffsetText(const std::wstring& raw) {
    const std::wstring text = Trim(raw);
    if (text.size() != 3 && text.size() != 9) return std::nullopt;
    for (int i = 0; i < 3; ++i)
        if (!IsAsciiLetter(text[i])) return std::nullopt;
    if (text.size() == 3) return 0;

    const wchar_t sign = text[3];
    if (sign != L'+' && sign != L'-') return std::nullopt;
    if (!IsDigit(text[4]) || !IsDigit(text[5]) || text[6] != L':' || !IsDigit(text[7]) ||
        !IsDigit(text[8]))
        return std::nullopt;
    const int hours = (text[4] - L'0') * 10 + (text[5] - L'0');
    const int minutes = (text[7] - L'0') * 10 + (text[8] - L'0');
    if (minutes >= 60) return std::nullopt;
    // The sign covers hours and minutes alike: "-00:30" is thirty minutes west.
    const int total = hours * 60 + minutes;
    return sign == L'-' ? -total : total;
}

std::wstring ClockFileBesideMovie(const std::wstring& movie) {
    const auto slash = movie.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : ClockFilePath(movie.substr(0, slash));
}
