#include "player/FitText.h"

namespace {

bool IsLowSurrogate(wchar_t c) {
    return sizeof(wchar_t) == 2 && c >= 0xDC00 && c <= 0xDFFF;
}

// The first `length` characters, without trailing spaces, and an ellipsis.
std::wstring Cut(const std::wstring& text, std::size_t length) {
    std::wstring head = text.substr(0, length);
    while (!head.empty() && head.back() == L' ') head.pop_back();
    return head + L"\u2026";
}

}  // namespace

FittedText FitText(const std::wstring& text, float boxWidth, float pixelHeight,
                   const std::function<float(const std::wstring&, float)>& measure) {
    const float width = measure(text, pixelHeight);
    if (width <= boxWidth || text.empty()) return {text, pixelHeight};
    // Text width grows about in proportion to its size; a little room for rounding.
    const float shrunk = pixelHeight * boxWidth / width * 0.97f;
    const float floor = pixelHeight * kShrinkFloor;
    if (shrunk >= floor && measure(text, shrunk) <= boxWidth) return {text, shrunk};
    if (measure(text, floor) <= boxWidth) return {text, floor};
    // The longest head that fits with its ellipsis; a surrogate pair is never split.
    std::size_t fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
        std::size_t middle = fits + (tooLong - fits) / 2;
        if (IsLowSurrogate(text[middle])) --middle;
        if (middle == fits) break;
        if (measure(Cut(text, middle), floor) <= boxWidth)
            fits = middle;
        else
            tooLong = middle;
    }
    const std::wstring cut = Cut(text, fits);
    if (measure(cut, floor) > boxWidth) return {std::wstring(), floor};
    return {cut, floor};
}
