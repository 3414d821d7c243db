#pragma once
// mScreenSaver on Xlib, each call given its closest X11 meaning, and the full-screen instance
// guard on a lock file in $XDG_RUNTIME_DIR.

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "platform/mScreenSaver.h"

std::unique_ptr<mScreenSaver> MakeX11ScreenSaver(Display* display);
// lockPath: the lock file; empty means "$XDG_RUNTIME_DIR/pelloxss.fullscreen.lock" (or /tmp).
std::unique_ptr<InstanceGuard> MakeFileLockInstanceGuard(const std::string& lockPath = "");
