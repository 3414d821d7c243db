#pragma once
// The version port: GetVersionExA, which tells the NT family from the older Windows.

#include <cstdint>

// Mirror of OSVERSIONINFOA (148 bytes).
struct OsVersionInfoA {
    std::uint32_t dwOSVersionInfoSize = 0;
    std::uint32_t dwMajorVersion = 0;
    std::uint32_t dwMinorVersion = 0;
    std::uint32_t dwBuildNumber = 0;
    std::uint32_t dwPlatformId = 0;
    char szCSDVersion[128] = {};
};
static_assert(sizeof(OsVersionInfoA) == 148);

inline constexpr std::uint32_t kPlatformWin32Nt = 2;  // VER_PLATFORM_WIN32_NT

class SystemVersion {
  public:
    virtual ~SystemVersion() = default;
    // Non-zero on success; fills the structure whose size field the caller set.
    virtual int GetVersionExA(OsVersionInfoA& info) = 0;
};
