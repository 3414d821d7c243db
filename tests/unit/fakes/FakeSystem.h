#pragma once
// Fakes of the version and text-comparison ports.

#include <cwctype>

#include "platform/SystemVersion.h"
#include "platform/TextCompare.h"

class FakeVersion : public SystemVersion {
  public:
    int result = 1;
    std::uint32_t platformId = kPlatformWin32Nt;
    std::uint32_t sizeSeen = 0;

    int GetVersionExA(OsVersionInfoA& info) override {
        sizeSeen = info.dwOSVersionInfoSize;
        if (result) info.dwPlatformId = platformId;
        return result;
    }
};

// Case-insensitive comparison by folded character code.
class FoldingCompare : public TextCompare {
  public:
    int CompareIgnoringCase(const std::wstring& a, const std::wstring& b) const override {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const auto x = std::towlower(a[i]), y = std::towlower(b[i]);
            if (x != y) return x < y ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
};
