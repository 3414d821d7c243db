#pragma once
// What the program's windows need from the program-level adapters.
#include <windows.h>

#include <memory>

#include "platform/ProgramPorts.h"

// True while the program-wide pointer override shows the hourglass; window procedures answer
// WM_SETCURSOR with OverrideCursor() then.
bool PointerOverrideActive();
HCURSOR OverrideCursor();

std::unique_ptr<MessageBoxPort> MakeWin32Messages();
std::unique_ptr<PointerOverride> MakeWin32Pointer();
