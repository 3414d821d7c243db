#pragma once
// user32 behind mScreenSaver, and the full-screen instance guard on a named mutex.

#include <memory>

#include "platform/mScreenSaver.h"

std::unique_ptr<mScreenSaver> MakeWin32ScreenSaver();
std::unique_ptr<InstanceGuard> MakeWin32InstanceGuard();
