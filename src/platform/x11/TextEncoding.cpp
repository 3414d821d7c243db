// Linux has no ANSI code page of its own; Windows-1252, the usual western one, stands in.
#include "platform/TextEncoding.h"

#include <unicode/ucnv.h>

#include <memory>

#include "platform/x11/IcuText.h"

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter OpenWindows1252() {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-1252", &status));
    if (U_FAILURE(status)) return nullptr;
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    return converter;
}

}  // namespace

namespace ansi {

std::string FromWide(const std::wstring& text) {
    if (text.empty()) return {};
    Converter converter = OpenWindows1252();
    const icu::UnicodeString source = ToIcu(text);
    if (!converter) return std::string(static_cast<std::size_t>(source.length()), '?');
    std::string bytes(static_cast<std::size_t>(source.length()) + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size =
        ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                        source.getBuffer(), source.length(), &status);
    bytes.resize(U_SUCCESS(status) ? static_cast<std::size_t>(size) : 0);
    return bytes;
}

std::wstring ToWide(const std::string& bytes) {
    if (bytes.empty()) return {};
    Converter converter = OpenWindows1252();
    if (!converter) return std::wstring(bytes.begin(), bytes.end());
    std::u16string units(bytes.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t size =
        ucnv_toUChars(converter.get(), units.data(), static_cast<int32_t>(units.size()),
                      bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) return {};
    return FromIcu(icu::UnicodeString(units.data(), size));
}

}  // namespace ansi

namespace utf8 {

std::string FromWide(const std::wstring& text) {
    std::string bytes;
    ToIcu(text).toUTF8String(bytes);
    return bytes;
}

std::wstring ToWide(const std::string& bytes) {
    return FromIcu(icu::UnicodeString::fromUTF8(bytes));
}

}  // namespace utf8
