#pragma once
// The program's one connection to the X server.

#include <X11/Xlib.h>

class X11Connection {
  public:
    // Opens the display named by DISPLAY; Get() is null when that fails.
    X11Connection() : display_(XOpenDisplay(nullptr)) {}
    ~X11Connection() {
        if (display_) XCloseDisplay(display_);
    }
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* Get() const { return display_; }

  private:
    Display* display_;
};
