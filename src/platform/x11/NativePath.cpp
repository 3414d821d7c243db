#include "platform/x11/NativePath.h"

#include <algorithm>

#include "platform/TextEncoding.h"

std::string NativePath(const std::wstring& path) {
    std::wstring native = path;
    std::replace(native.begin(), native.end(), L'\\', L'/');
    return utf8::FromWide(native);
}
