#pragma once
// The window and system calls of start-up and the saver window. On Windows each is the
// user32 call of the same name; on Linux the closest X11 meaning.

#include <cstdint>
#include <string>

namespace ss {

// A window handle as the command line and the window calls carry it; 0 is none.
using Window = std::intptr_t;

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};

inline constexpr Window HwndTopmost = -1;    // HWND_TOPMOST
inline constexpr Window HwndNoTopmost = -2;  // HWND_NOTOPMOST
inline constexpr int GwlStyle = -16;         // GWL_STYLE
inline constexpr int GwlHwndParent = -8;     // GWL_HWNDPARENT
inline constexpr std::int32_t WsChild = 0x40000000;
inline constexpr std::uint32_t SwpNoSize = 0x1;
inline constexpr std::uint32_t SwpNoZOrder = 0x4;
inline constexpr std::uint32_t SwpNoActivate = 0x10;
inline constexpr std::uint32_t SwpShowWindow = 0x40;
inline constexpr std::uint32_t SpiSetScreenSaverRunning = 97;

}  // namespace ss

class mScreenSaver {
  public:
    virtual ~mScreenSaver() = default;

    virtual ss::Window FindWindowA(const char* className, const char* windowName) = 0;
    virtual int GetClientRect(ss::Window window, ss::Rect& rect) = 0;
    virtual std::int32_t GetWindowLongA(ss::Window window, int index) = 0;
    virtual std::int32_t SetWindowLongA(ss::Window window, int index, std::int32_t value) = 0;
    virtual ss::Window SetParent(ss::Window child, ss::Window parent) = 0;
    virtual int SetWindowPos(ss::Window window, ss::Window insertAfter, int x, int y, int cx,
                             int cy, std::uint32_t flags) = 0;
    virtual int SystemParametersInfoA(std::uint32_t action, std::uint32_t uiParam,
                                      std::int32_t* pvParam, std::uint32_t winIni) = 0;
    virtual int ShowCursor(bool show) = 0;

    // The whole virtual screen, every monitor (left and top may be negative).
    virtual ss::Rect VirtualScreenRect() = 0;
    // Whether a handle names an existing window.
    virtual bool IsWindow(ss::Window window) = 0;
};

// The full-screen road's claim, which tells later instances that a saver runs.
class InstanceGuard {
  public:
    virtual ~InstanceGuard() = default;
    // Claims the full screen and learns in the same step whether this instance was first:
    // false when another instance holds the claim, and when this one cannot tell.
    virtual bool ClaimFullScreen() = 0;
};
