#pragma once
// Wide text (UTF-32 on Linux) to and from ICU's UTF-16 strings.

#include <unicode/unistr.h>

#include <string>

inline icu::UnicodeString ToIcu(const std::wstring& text) {
    return icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(text.data()),
                                         static_cast<int32_t>(text.size()));
}

inline std::wstring FromIcu(const icu::UnicodeString& text) {
    std::wstring result;
    result.reserve(static_cast<std::size_t>(text.length()));
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        result.push_back(static_cast<wchar_t>(text.char32At(i)));
    }
    return result;
}
