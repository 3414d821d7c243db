#include "platform/TextEncoding.h"

#include <array>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code points of the UTF-16 (Windows) or UTF-32 (Linux) text.
template <typename Visit>
void ForEachCodePoint(const std::wstring& text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
        visit(c);
    }
}

void AppendCodePoint(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(c));
}

// Windows-1252's characters for the bytes 0x80 to 0x9F; 0 where the code page has none.
constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

namespace utf8 {

std::string FromWide(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](char32_t c) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    });
    return out;
}

std::wstring ToWide(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int length = 0;
        char32_t c = 0, minimum = 0;
        if (lead < 0x80) {
            length = 1, c = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, c = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, c = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, c = lead & 0x07, minimum = 0x10000;
        }
        // A bad lead byte, or a sequence cut short, is one replacement character; the next
        // byte starts afresh.
        int used = 1;
        if (length == 0) {
            c = kReplacement;
        } else {
            for (; used < length && i + used < n; ++used) {
                const auto next = static_cast<unsigned char>(bytes[i + used]);
                if ((next & 0xC0) != 0x80) break;
                c = (c << 6) | (next & 0x3F);
            }
            if (used < length || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
                c = kReplacement;
        }
        AppendCodePoint(out, c);
        i += static_cast<std::size_t>(used);
    }
    return out;
}

}  // namespace utf8

std::string Windows1252CodePage::FromWide(const std::wstring& text) const {
    std::string out;
    ForEachCodePoint(text, [&](char32_t c) {
        char byte = '?';
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF) ||
            (c >= 0x80 && c <= 0x9F && kHigh1252[c - 0x80] == 0)) {
            byte = static_cast<char>(c);
        } else {
            for (std::size_t i = 0; i < kHigh1252.size(); ++i) {
                if (kHigh1252[i] != 0 && kHigh1252[i] == c) byte = static_cast<char>(0x80 + i);
            }
        }
        out.push_back(byte);
    });
    return out;
}

std::wstring Windows1252CodePage::ToWide(const std::string& bytes) const {
    std::wstring out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        char32_t c = byte;
        // Bytes the code page leaves undefined map to the C1 controls of the same value, as
        // Windows' own conversion does.
        if (byte >= 0x80 && byte <= 0x9F && kHigh1252[byte - 0x80] != 0) c = kHigh1252[byte - 0x80];
        out.push_back(static_cast<wchar_t>(c));
    }
    return out;
}
