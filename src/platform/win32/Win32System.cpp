// Version and text-comparison ports on kernel32.
#include <windows.h>

#include "platform/win32/Win32Ports.h"

namespace {

class Win32Version final : public SystemVersion {
  public:
    int GetVersionExA(OsVersionInfoA& info) override {
        static_assert(sizeof(OSVERSIONINFOA) == sizeof(OsVersionInfoA));
        return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
    }
};

// The user locale's collation without regard to case, as CompareString gives it.
class Win32TextCompare final : public TextCompare {
  public:
    int CompareIgnoringCase(const std::wstring& a, const std::wstring& b) const override {
        const int result =
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                           static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
        return result == CSTR_LESS_THAN ? -1 : result == CSTR_GREATER_THAN ? 1 : 0;
    }
};

}  // namespace

std::unique_ptr<SystemVersion> MakeWin32Version() {
    return std::make_unique<Win32Version>();
}
std::unique_ptr<TextCompare> MakeWin32TextCompare() {
    return std::make_unique<Win32TextCompare>();
}
