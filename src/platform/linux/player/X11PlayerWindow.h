#pragma once
// The clock player control on X11: draws the clocks into a window of its own (a child of its
// host) or into a window it is given (xscreensaver's), and reports user activity to its host
// as the movie did: "KEYDOWN", "KEYUP" and "MOUSEMOVE", with an empty argument text. The
// portable ClockPlayer runs the clocks; this window lends it a surface (server-side pixmaps and
// the window), the wait of the event loop and its input.

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>

#include "player/ClockPlayer.h"

class X11PlayerWindow {
  public:
    // A child window of `parent` at the given place, listening to keys and the pointer.
    static std::unique_ptr<X11PlayerWindow> Create(Display* display, ::Window parent, int left,
                                                   int top, int width, int height,
                                                   FSCommandHandler onCommand);
    // Draws into `target` itself, as large as it is, and listens to nothing but its size.
    static std::unique_ptr<X11PlayerWindow> Attach(Display* display, ::Window target);
    ~X11PlayerWindow();
    X11PlayerWindow(const X11PlayerWindow&) = delete;
    X11PlayerWindow& operator=(const X11PlayerWindow&) = delete;

    ::Window Handle() const;
    // The Movie property: the clock file is read from the movie's folder.
    void SetMovie(const std::wstring& movie);
    // Placement in the parent's coordinates.
    void Move(int left, int top, int width, int height);
    // Takes the pointer's position, so that only later moves count (as the movie's first report
    // on Windows, made when the window is shown).
    void NotePointerPosition();

    // Handles an event of the player's window; false when it is not the player's.
    bool HandleEvent(const XEvent& event);
    // Draws what is due; the wait until the next whole second, in ms.
    int Tick();

    // The portable player: its picture and frame count, for tests.
    const ClockPlayer& Player() const;

    class Impl;

  private:
    explicit X11PlayerWindow(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Runs a player while `running` says so: its events, and a tick at each whole second; `other`
// sees the events that are not the player's. `due`, called before each wait, does the host's
// own timed work and returns the ms until it is due again, or -1 when nothing is.
void RunPlayerLoop(Display* display, X11PlayerWindow& player, const std::function<bool()>& running,
                   const std::function<void(const XEvent&)>& other = {},
                   const std::function<int()>& due = {});
