#include "xml/XmlName.h"

#include <cstdint>

namespace xmlname {
namespace {

// A character beyond the Basic Multilingual Plane, where wchar_t holds one (Linux).
bool IsSupplementary(std::uint32_t code) {
    return code >= 0x10000 && code <= 0xEFFFF;
}

bool IsNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           // A UTF-16 surrogate stands for a character of the supplementary planes.
           (c >= 0xD800 && c <= 0xDFFF) || IsSupplementary(static_cast<std::uint32_t>(c));
}

bool IsNameChar(wchar_t c) {
    return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.' || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

}  // namespace

bool IsValid(const std::wstring& name) {
    if (name.empty() || !IsNameStart(name[0])) return false;
    for (std::size_t i = 1; i < name.size(); ++i) {
        if (!IsNameChar(name[i])) return false;
    }
    return true;
}

}  // namespace xmlname
