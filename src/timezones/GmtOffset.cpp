#include "timezones/GmtOffset.h"

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int TwoDigits(const std::wstring& text, std::size_t index) {
    return (text[index] - L'0') * 10 + (text[index + 1] - L'0');
}

}  // namespace

std::wstring PadHour(int hour) {
    std::wstring text = std::to_wstring(hour);
    return text.size() == 1 ? L"0" + text : text;
}

std::wstring GetGmtOffset(const std::wstring& displayText, bool daylight) {
    // Position 5 (index 4) holds the sign; "(GMT)" and anything else mean a zero offset.
    const wchar_t sign = displayText.size() >= 5 ? displayText[4] : L'\0';
    if (sign != L'+' && sign != L'-') return daylight ? L"GMT+01:00" : L"GMT+00:00";

    if (!daylight) return displayText.substr(1, 9);

    // With daylight time the hours at positions 6-7 move one hour on. When positions 6-10 do
    // not hold "hh:mm" the offset is unknown; it is treated like a zero-offset zone rather
    // than producing a malformed text.
    const bool readable = displayText.size() >= 10 && IsDigit(displayText[5]) &&
                          IsDigit(displayText[6]) && displayText[7] == L':' &&
                          IsDigit(displayText[8]) && IsDigit(displayText[9]) &&
                          TwoDigits(displayText, 8) < 60;
    if (!readable) return L"GMT+01:00";

    const std::wstring letters = displayText.substr(1, 3);
    const int hours = TwoDigits(displayText, 5);
    if (sign == L'-' && hours == 0) {
        // -00:mm one hour later: the real arithmetic crosses to the plus side.
        const int total = 60 - TwoDigits(displayText, 8);
        return letters + L"+" + PadHour(total / 60) + L":" + PadHour(total % 60);
    }
    const int newHours = sign == L'+' ? hours + 1 : hours - 1;
    return letters + sign + PadHour(newHours) + displayText.substr(7, 3);
}
