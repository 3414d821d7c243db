#include "platform/SystemPorts.h"

#include "platform/x11/LinuxPorts.h"

namespace {

// The time-zone catalogue presents the "Windows NT" key on Linux.
class LinuxVersion final : public SystemVersion {
  public:
    int GetVersionExA(OsVersionInfoA& info) override {
        info.dwPlatformId = kPlatformWin32Nt;
        return 1;
    }
};

// No registry on Linux yet: every key is missing.
class NoRegistry final : public mRegistry {
  public:
    long RegOpenKeyExA(reg::Key, const std::string&, std::uint32_t, std::uint32_t,
                       reg::Key& result) override {
        result = 0;
        return reg::FileNotFound;
    }
    long RegEnumKeyA(reg::Key, std::uint32_t, char*, std::uint32_t) override {
        return reg::InvalidHandle;
    }
    long RegQueryValueExA(reg::Key, const std::string&, std::uint32_t*, std::uint8_t*,
                          std::uint32_t*) override {
        return reg::InvalidHandle;
    }
    long RegCloseKey(reg::Key) override { return reg::InvalidHandle; }
};

}  // namespace

SystemPorts MakeSystemPorts() {
    return SystemPorts{std::make_unique<NoRegistry>(), std::make_unique<LinuxVersion>(),
                       MakeIcuTextCompare()};
}
