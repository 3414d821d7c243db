#pragma once
// What the program's window procedures need from the program-level adapters.
#include <windows.h>

// True while the program-wide pointer override shows the hourglass; window procedures answer
// WM_SETCURSOR with OverrideCursor() then.
bool PointerOverrideActive();
HCURSOR OverrideCursor();
