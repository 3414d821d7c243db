#pragma once
// The clock player control on X11: draws the clocks into a window of its own (a child of its
// host) or into a window it is given (xscreensaver's), double-buffered through server-side
// pixmaps, and reports user activity to its host as the movie did: "KEYDOWN", "KEYUP" and
// "MOUSEMOVE", with an empty argument text; a key that gives a character reaches the host's
// key handler first.

#include <X11/Xlib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

using FSCommandHandler = std::function<void(const std::wstring& command, const std::wstring& args)>;
using KeyPressHandler = std::function<void(int keyAscii)>;

class X11PlayerWindow {
  public:
    // A child window of `parent` at the given place, listening to keys and the pointer.
    static std::unique_ptr<X11PlayerWindow> Create(Display* display, ::Window parent, int left,
                                                   int top, int width, int height,
                                                   FSCommandHandler onCommand,
                                                   KeyPressHandler onKey);
    // Draws into `target` itself, as large as it is, and listens to nothing but its size.
    static std::unique_ptr<X11PlayerWindow> Attach(Display* display, ::Window target);
    ~X11PlayerWindow();
    X11PlayerWindow(const X11PlayerWindow&) = delete;
    X11PlayerWindow& operator=(const X11PlayerWindow&) = delete;

    ::Window Handle() const;
    // The Movie property: the clock file is read from the movie's folder.
    void SetMovie(const std::wstring& movie);
    // Placement in the parent's coordinates; draws the current second at the new size.
    void Move(int left, int top, int width, int height);
    // Seeds the pointer position so that only later moves count (as the movie's first report
    // on Windows, sent when the window is shown).
    void NotePointerPosition();

    // Handles an event of the player's window; false when it is not the player's.
    bool HandleEvent(const XEvent& event);
    // Draws the second that has begun when one has; the wait until the next one, in ms.
    int Tick();

    std::uint64_t FramesDrawn() const;

    class Impl;

  private:
    explicit X11PlayerWindow(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
