#include "platform/SystemPorts.h"

#include "platform/win32/Win32Ports.h"

SystemPorts MakeSystemPorts() {
    return SystemPorts{MakeWin32Registry(), MakeWin32Version(), MakeWin32TextCompare()};
}
