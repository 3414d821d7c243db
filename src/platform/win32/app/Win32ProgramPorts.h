#pragma once
// What the program's windows need from the program-level adapters.
#include <windows.h>

#include <memory>

#include "platform/ProgramPorts.h"

// True while the program-wide pointer override shows the hourglass; window procedures answer
// WM_SETCURSOR with OverrideCursor() then.
bool PointerOverrideActive();
HCURSOR OverrideCursor();

// True while the failure report is on screen: the program's window procedures then leave every
// message to the system's default handling, so that nothing of the program runs (or fails
// again, or ends the message loop) before the user has closed the report.
bool ReportOnScreen();

std::unique_ptr<MessageBoxPort> MakeWin32Messages();
std::unique_ptr<PointerOverride> MakeWin32Pointer();
