#pragma once
// mScreenSaver on Xlib, each call given its closest X11 meaning.

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "platform/mScreenSaver.h"

std::unique_ptr<mScreenSaver> MakeX11ScreenSaver(Display* display);
