#include "player/Colour.h"

namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

}  // namespace

std::optional<Rgb> ParseBackgroundColor(const std::wstring& text) {
    const std::wstring_view hex =
        !text.empty() && text[0] == L'#' ? std::wstring_view(text).substr(1) : text;
    if (hex.size() != 6) return std::nullopt;
    std::uint8_t channels[3];
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigit(hex[2 * i]), low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        channels[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return Rgb{channels[0], channels[1], channels[2]};
}
