#include "platform/SystemPorts.h"

#include "platform/x11/IcuTimeZones.h"
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

}  // namespace

SystemPorts MakeSystemPorts() {
    return SystemPorts{MakeIcuRegistry(), std::make_unique<LinuxVersion>(), MakeIcuTextCompare()};
}
