#pragma once
// The clock player control on Win32: a child window that a host creates from the control's
// stored settings, points at a movie (a folder and "PELLOXSS1.SWF", whose folder holds the
// clock file), sizes with its own window, and hears user activity from as FSCommand calls:
// "KEYDOWN", "KEYUP" and "MOUSEMOVE", with an empty argument text.
// The host initialises COM on its thread (the clock file is read through MSXML) and gives the
// player the keyboard focus (SetFocus(Handle())) so that keys reach it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "player/StoredSettings.h"

using FSCommandHandler = std::function<void(const std::wstring& command, const std::wstring& args)>;

class PlayerWindow {
  public:
    inline static constexpr wchar_t kClassName[] = L"PelloxClockPlayer";

    // Creates the control as a child of `parent` at `rect` (client coordinates of the parent).
    // Throws AppError when the stored settings cannot be read or the window cannot be made.
    static std::unique_ptr<PlayerWindow> Create(HWND parent, const RECT& rect,
                                                std::span<const std::uint8_t> storedSettings,
                                                FSCommandHandler onCommand);
    ~PlayerWindow();
    PlayerWindow(const PlayerWindow&) = delete;
    PlayerWindow& operator=(const PlayerWindow&) = delete;

    HWND Handle() const;
    const PlayerProperties& Properties() const;

    // The Movie property: the clock file is read from the movie's folder at once.
    void SetMovie(const std::wstring& movie);
    const std::wstring& Movie() const;

    // Placement in the parent's client coordinates; draws the current second at the new size.
    void Move(int left, int top, int width, int height);

    // Frames drawn so far (one per whole second while the clocks run, plus one per resize).
    std::uint64_t FramesDrawn() const;

    // What the last frame showed: one line per clock, "row caption cx cy radius cap-left
    // cap-top cap-width cap-height" in client coordinates, and a line "note TEXT" when the
    // clock file is missing or broken. For test hosts.
    std::wstring DescribeFrame() const;

    class Impl;

  private:
    explicit PlayerWindow(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
