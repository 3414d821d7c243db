#pragma once
// The clock player control on Win32: a child window that a host creates from the control's
// stored settings, points at a movie (a folder and "PELLOXSS1.SWF", whose folder holds the
// clock file) and sizes; it hears user activity from as FSCommand calls: "KEYDOWN", "KEYUP" and
// "MOUSEMOVE", with an empty argument text. The portable ClockPlayer runs the clocks; this
// window lends it a surface (two GDI bitmaps and the window), its timer and its input.
// The host initialises COM on its thread (the clock file is read through MSXML) and gives the
// player the keyboard focus (SetFocus(Handle())) so that keys reach it.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "player/ClockPlayer.h"
#include "player/StoredSettings.h"

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

    // The portable player: its picture and frame count, for tests.
    const ClockPlayer& Player() const;

    class Impl;

  private:
    explicit PlayerWindow(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
