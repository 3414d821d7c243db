#pragma once
// The player's portable state: its Movie property, the clock file it reads from the movie's
// folder (read again when it changes), and the scene of each frame.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/ClockFile.h"
#include "player/ClockEnvironment.h"
#include "player/OffsetText.h"
#include "player/Scene.h"

class ClockPlayer {
  public:
    ClockPlayer(ClockEnvironment& environment, ClockFileSource& source);

    // A folder followed by the movie's file name: the clock file is read from that folder.
    void SetMovie(const std::wstring& movie);
    const std::wstring& Movie() const { return movie_; }
    // The clock file's path, empty when the movie names no folder.
    const std::wstring& ClockFilePath() const { return path_; }
    const ClockFile& File() const { return file_; }

    // Reads the clock file again when its size or time changed; looks at most once a second.
    // Returns true when it was read again.
    bool CheckClockFile(std::int64_t utcMs);

    // The host's background colour (the control's BGColor); nothing: the player's own.
    void SetBackground(std::optional<Rgb> color) { background_ = color; }

    void Build(int width, int height, const std::vector<RectI>& monitors, std::int64_t utcMs,
               Scene& scene);

    ClockEnvironment& Environment() { return environment_; }

  private:
    void Load();

    ClockEnvironment& environment_;
    ClockFileSource& source_;
    std::wstring movie_;
    std::wstring path_;
    ClockFile file_;
    std::optional<FileStamp> stamp_;
    std::optional<std::int64_t> lastCheck_;
    std::optional<Rgb> background_;
};

// Milliseconds from an instant to the next whole second (1 to 1000).
int MsToNextSecond(std::int64_t utcMs);
// The whole second an instant falls in (the instant itself when it is whole).
std::int64_t WholeSecond(std::int64_t utcMs);

// The still part of the picture (faces, captions, times): the scene's items before its first
// moving one, kept so that a canvas repaints them only when they changed.
class StillLayer {
  public:
    // Takes the still items of this frame; true when they differ from the last ones kept (or
    // when `force` is set), which means the still part must be painted again.
    bool Update(const Scene& scene, bool force);
    const std::vector<SceneItem>& Items() const { return items_; }

  private:
    std::vector<SceneItem> items_;
};

// Pointer movement as the movie reported it: a message at the position already known is no
// movement, and the first message (sent when the window is shown) only sets the position.
class PointerMotion {
  public:
    bool Moved(int x, int y) {
        const bool moved = known_ && (x != x_ || y != y_);
        known_ = true;
        x_ = x;
        y_ = y;
        return moved;
    }

  private:
    bool known_ = false;
    int x_ = 0, y_ = 0;
};
