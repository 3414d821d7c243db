#pragma once
// Opens the X display for a window test: DISPLAY, or the private Xvfb of the build's test
// session (its name in $PELLOX_XVFB_STATE/display).

#include <X11/Xlib.h>

#include <cstdlib>
#include <fstream>
#include <string>

inline Display* OpenTestDisplay() {
    if (!std::getenv("DISPLAY")) {
        if (const char* state = std::getenv("PELLOX_XVFB_STATE")) {
            std::ifstream file(std::string(state) + "/display");
            std::string name;
            if (file >> name) setenv("DISPLAY", name.c_str(), 1);
        }
    }
    return XOpenDisplay(nullptr);
}
