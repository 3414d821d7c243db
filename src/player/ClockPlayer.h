#pragma once
// The clock player's loop, one for every platform, in the shape of an xscreensaver hack: the
// platform window hands it ticks and input and lends it a surface; the player decides what to
// redraw and when the next whole second begins, and raises the movie's commands.
//
// Failures are not caught here (a surface's, the clock file's, the host's command handler's):
// they reach the platform's edge, which reports them.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/ClockFile.h"
#include "player/ClockEnvironment.h"
#include "player/Scene.h"

// The commands the movie raised, and the player raises in its place.
inline constexpr const wchar_t* kKeyDownCommand = L"KEYDOWN";
inline constexpr const wchar_t* kKeyUpCommand = L"KEYUP";
inline constexpr const wchar_t* kMouseMoveCommand = L"MOUSEMOVE";

using FSCommandHandler = std::function<void(const std::wstring& command, const std::wstring& args)>;

// What the player draws on: a still layer (background, faces, captions, times), a frame (the
// still layer with the hands over it) and the screen.
class PlayerSurface {
  public:
    virtual ~PlayerSurface() = default;
    // The drawing area, in pixels.
    virtual int Width() = 0;
    virtual int Height() = 0;
    // Paints the background and the items onto the still layer, made for the current size.
    // False when it cannot be made: nothing is drawn then.
    virtual bool PaintStill(Rgb background, std::span<const SceneItem> items) = 0;
    // Copies areas of the still layer onto the frame. Areas may overlap.
    virtual void CopyStill(std::span<const RectI> areas) = 0;
    // Paints items onto the frame, changing no pixel outside the areas. The areas cover every
    // pixel the items paint: a surface that lays ready pictures of items need not clip them.
    virtual void PaintItems(std::span<const SceneItem> items, std::span<const RectI> areas) = 0;
    // Puts areas of the frame on the screen.
    virtual void Present(std::span<const RectI> areas) = 0;
    // The items the frame will be painted with during the coming minute, for a surface that
    // keeps ready pictures of items: it may make them now rather than second by second.
    virtual void Prepare(std::span<const SceneItem> items) { (void)items; }
};

class ClockPlayer {
  public:
    // userFolder: where the settings put the clock file when the program's folder cannot be
    // written; empty when there is no such place.
    ClockPlayer(ClockEnvironment& environment, ClockFileSource& source, PlayerSurface& surface,
                FSCommandHandler onCommand, std::wstring userFolder = {});

    // The Movie property: a folder and the movie's file name. The clock file is read from that
    // folder (from the user's folder first, when the file is there) at once, and again whenever
    // the file in use or its stamp changes (looked at once a second).
    void SetMovie(const std::wstring& movie);
    const std::wstring& Movie() const { return movie_; }
    // The host's background colour; nothing: the player's own.
    void SetBackground(std::optional<Rgb> color);
    // The monitors in the drawing area's coordinates; empty when unknown.
    void SetMonitors(std::vector<RectI> monitors);
    // The user's locale changed: the times and days are written anew.
    void LocaleChanged();

    // Draws what is due: the still layer anew after a change (size, monitors, clock file,
    // minute, locale, movie, background), otherwise, once a new second has begun, each clock's
    // second hand over its old and new places. After a new minute or clock file only the places
    // of the items that changed reach the screen; after any other change the whole picture.
    // Returns the milliseconds until the next whole second begins.
    int Tick();

    // Input. The pointer in screen coordinates; `repeat` when the platform knows the key press
    // to be an auto-repeat. Each may raise a command, after which the host may have destroyed
    // the player.
    void KeyDown(int key, bool repeat);
    void KeyUp(int key);
    void PointerAt(int x, int y);

    const Scene& Picture() const { return scene_; }
    std::uint64_t FramesDrawn() const { return frames_; }

  private:
    void Load();
    bool ClockFileChanged();
    void DrawAll(std::int64_t now);
    void DrawHands(std::int64_t now);
    void BuildHands(std::int64_t now, std::vector<SceneItem>& hands) const;
    void Raise(const wchar_t* command);

    ClockEnvironment& environment_;
    ClockFileSource& source_;
    PlayerSurface& surface_;
    FSCommandHandler onCommand_;

    std::wstring userFolder_;
    std::wstring movie_, path_, inUse_;
    ClockFile file_;
    std::optional<FileStamp> stamp_;
    std::optional<Rgb> background_;
    std::vector<RectI> monitors_;

    bool stillDirty_ = true;
    bool wholeDirty_ = true;  // the frame no longer matches the still items below
    int width_ = 0, height_ = 0;
    std::int64_t minute_ = 0, second_ = 0;
    bool drawn_ = false;  // second_ holds the second last drawn
    Scene scene_;
    std::vector<SceneItem> stillShown_;    // the still items on the frame
    std::vector<SceneItem> shown_, next_;  // the hands on the frame, kHandItems per clock
    std::vector<SceneItem> moved_;
    std::vector<RectI> areas_;
    std::uint64_t frames_ = 0;

    std::vector<int> heldKeys_;
    std::optional<std::pair<int, int>> pointer_;
};
