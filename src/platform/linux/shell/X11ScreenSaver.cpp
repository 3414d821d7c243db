#include "platform/linux/shell/X11ScreenSaver.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>
#include <map>

namespace {

// X errors for windows that do not exist are answers here, not failures.
class IgnoreXErrors {
  public:
    explicit IgnoreXErrors(Display* display) : display_(display) {
        XSync(display_, False);
        previous_ = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~IgnoreXErrors() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    IgnoreXErrors(const IgnoreXErrors&) = delete;
    IgnoreXErrors& operator=(const IgnoreXErrors&) = delete;

  private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};

::Window ToX(ss::Window window) {
    return static_cast<::Window>(window);
}

class X11ScreenSaver final : public mScreenSaver {
  public:
    explicit X11ScreenSaver(Display* display) : display_(display) {}

    // Top-level windows by name; the class name is not looked at.
    ss::Window FindWindowA(const char*, const char* windowName) override {
        if (!windowName) return 0;
        IgnoreXErrors guard(display_);
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        ss::Window found = 0;
        if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && !found; ++i) {
                char* name = nullptr;
                if (XFetchName(display_, children[i], &name) && name) {
                    if (std::strcmp(name, windowName) == 0)
                        found = static_cast<ss::Window>(children[i]);
                    XFree(name);
                }
            }
            if (children) XFree(children);
        }
        return found;
    }

    int GetClientRect(ss::Window window, ss::Rect& rect) override {
        XWindowAttributes attributes{};
        if (!Attributes(window, attributes)) return 0;
        rect = ss::Rect{0, 0, attributes.width, attributes.height};
        return 1;
    }

    // X has no style bits; the ones the program sets are kept here for it to read back.
    std::int32_t GetWindowLongA(ss::Window window, int index) override {
        if (index == ss::GwlStyle) return styles_[window];
        return 0;
    }
    std::int32_t SetWindowLongA(ss::Window window, int index, std::int32_t value) override {
        if (index == ss::GwlStyle) {
            const std::int32_t previous = styles_[window];
            styles_[window] = value;
            return previous;
        }
        if (index == ss::GwlHwndParent) {
            IgnoreXErrors guard(display_);
            XSetTransientForHint(display_, ToX(window), static_cast<::Window>(value));
        }
        return 0;
    }

    ss::Window SetParent(ss::Window child, ss::Window parent) override {
        IgnoreXErrors guard(display_);
        XReparentWindow(display_, ToX(child), ToX(parent), 0, 0);
        return 0;
    }

    int SetWindowPos(ss::Window window, ss::Window insertAfter, int x, int y, int cx, int cy,
                     std::uint32_t flags) override {
        IgnoreXErrors guard(display_);
        if (flags & ss::SwpNoSize) {
            XMoveWindow(display_, ToX(window), x, y);
        } else {
            XMoveResizeWindow(display_, ToX(window), x, y, static_cast<unsigned>(cx > 0 ? cx : 1),
                              static_cast<unsigned>(cy > 0 ? cy : 1));
        }
        if (flags & ss::SwpShowWindow) XMapWindow(display_, ToX(window));
        if (!(flags & ss::SwpNoZOrder) && insertAfter == ss::HwndTopmost) {
            XRaiseWindow(display_, ToX(window));
        }
        if ((flags & ss::SwpShowWindow) && !(flags & ss::SwpNoActivate)) {
            XSetInputFocus(display_, ToX(window), RevertToParent, CurrentTime);
        }
        XFlush(display_);
        return 1;
    }

    // The screen-saver-running state has no X11 meaning.
    int SystemParametersInfoA(std::uint32_t, std::uint32_t, std::int32_t* pvParam,
                              std::uint32_t) override {
        if (pvParam) *pvParam = 0;
        return 1;
    }

    // X keeps no cursor display count; this one is only counted.
    int ShowCursor(bool show) override { return show ? ++cursorCount_ : --cursorCount_; }

    ss::Rect VirtualScreenRect() override {
        const int screen = DefaultScreen(display_);
        return ss::Rect{0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)};
    }

    bool IsWindow(ss::Window window) override {
        XWindowAttributes attributes{};
        return window > 0 && Attributes(window, attributes);
    }

  private:
    bool Attributes(ss::Window window, XWindowAttributes& attributes) {
        IgnoreXErrors guard(display_);
        return XGetWindowAttributes(display_, ToX(window), &attributes) != 0;
    }

    Display* display_;
    std::map<ss::Window, std::int32_t> styles_;
    int cursorCount_ = 0;
};

}  // namespace

std::unique_ptr<mScreenSaver> MakeX11ScreenSaver(Display* display) {
    return std::make_unique<X11ScreenSaver>(display);
}
