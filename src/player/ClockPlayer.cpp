#include "player/ClockPlayer.h"

#include <algorithm>

#include "player/ClockTime.h"
#include "player/OffsetText.h"

ClockPlayer::ClockPlayer(ClockEnvironment& environment, ClockFileSource& source,
                         PlayerSurface& surface, FSCommandHandler onCommand,
                         std::wstring userFolder)
    : environment_(environment),
      source_(source),
      surface_(surface),
      onCommand_(std::move(onCommand)),
      userFolder_(std::move(userFolder)) {}

void ClockPlayer::SetMovie(const std::wstring& movie) {
    movie_ = movie;
    path_ = ClockFileBesideMovie(movie);
    Load();
    stillDirty_ = wholeDirty_ = true;
}

void ClockPlayer::Load() {
    inUse_ = path_.empty() ? path_ : ClockFileInUse(source_, path_, userFolder_);
    stamp_ = path_.empty() ? std::nullopt : source_.Stamp(inUse_);
    file_ = stamp_ ? source_.Read(inUse_) : ClockFile{};
}

bool ClockPlayer::ClockFileChanged() {
    if (path_.empty()) return false;
    const std::wstring inUse = ClockFileInUse(source_, path_, userFolder_);
    if (inUse == inUse_ && source_.Stamp(inUse) == stamp_) return false;
    Load();
    return true;
}

void ClockPlayer::SetBackground(std::optional<Rgb> color) {
    background_ = color;
    stillDirty_ = wholeDirty_ = true;
}

void ClockPlayer::SetMonitors(std::vector<RectI> monitors) {
    if (monitors == monitors_) return;
    monitors_ = std::move(monitors);
    stillDirty_ = wholeDirty_ = true;
}

void ClockPlayer::LocaleChanged() {
    stillDirty_ = wholeDirty_ = true;
}

int ClockPlayer::Tick() {
    const std::int64_t now = environment_.NowUtcMs();
    const bool newSecond = !drawn_ || FloorDiv(now, kSecondMs) != second_;
    if (newSecond && drawn_ && ClockFileChanged()) stillDirty_ = true;
    if (FloorDiv(now, kMinuteMs) != minute_) stillDirty_ = true;
    if (surface_.Width() != width_ || surface_.Height() != height_) {
        width_ = surface_.Width();
        height_ = surface_.Height();
        stillDirty_ = wholeDirty_ = true;
    }
    if (stillDirty_) {
        DrawAll(now);
    } else if (newSecond) {
        DrawHands(now);
    }
    return MsToNextSecond(now);
}

void ClockPlayer::BuildHands(std::int64_t now, std::vector<SceneItem>& hands) const {
    hands.clear();
    for (const ClockView& clock : scene_.clocks) AddSecondHand(clock, now, hands);
}

void ClockPlayer::DrawAll(std::int64_t now) {
    if (width_ <= 0 || height_ <= 0) return;
    SceneInput in;
    in.width = width_;
    in.height = height_;
    in.monitors = monitors_;
    in.utcMs = now;
    in.file = &file_;
    in.environment = &environment_;
    in.background = background_;
    std::swap(stillShown_, scene_.still);
    BuildStill(in, scene_);
    const bool whole = wholeDirty_ || stillShown_.size() != scene_.still.size();
    wholeDirty_ = true;                                                 // until all is drawn
    if (!surface_.PaintStill(scene_.background, scene_.still)) return;  // again next tick
    const std::int64_t minuteStart = FloorDiv(now, kMinuteMs) * kMinuteMs;
    next_.clear();
    for (std::int64_t s = minuteStart; s < minuteStart + kMinuteMs; s += kSecondMs)
        for (const ClockView& clock : scene_.clocks) AddSecondHand(clock, s, next_);
    surface_.Prepare(next_);
    // Only the places of the still items that changed (a minute's time, a text, the drift of the
    // layout) and of the old and new hands differ from the frame; each item at its index.
    areas_.clear();
    if (!whole) {
        for (std::size_t i = 0; i < stillShown_.size(); ++i) {
            if (stillShown_[i] == scene_.still[i]) continue;
            AddAreas(stillShown_[i], width_, height_, areas_);
            AddAreas(scene_.still[i], width_, height_, areas_);
        }
        for (const SceneItem& item : shown_) AddAreas(item, width_, height_, areas_);
    }
    BuildHands(now, shown_);
    if (whole) {
        areas_.push_back({0, 0, width_, height_});
    } else {
        for (const SceneItem& item : shown_) AddAreas(item, width_, height_, areas_);
    }
    if (!areas_.empty()) {
        surface_.CopyStill(areas_);
        surface_.PaintItems(shown_, areas_);
        surface_.Present(areas_);
    }
    stillDirty_ = wholeDirty_ = false;
    minute_ = FloorDiv(now, kMinuteMs);
    second_ = FloorDiv(now, kSecondMs);
    drawn_ = true;
    ++frames_;
}

// The frame holds the still layer and the hands shown. The second hands that moved get their old
// places back from the still layer, which leaves the still layer under their new places too, and
// are painted there; old and new places are then shown: one copy, one painting and one
// presentation for all.
void ClockPlayer::DrawHands(std::int64_t now) {
    BuildHands(now, next_);
    // Until all is drawn: after a failure the next tick draws everything.
    stillDirty_ = wholeDirty_ = true;
    areas_.clear();
    moved_.clear();
    for (std::size_t first = 0; first < next_.size(); first += kHandItems) {
        const auto before = std::span<const SceneItem>(shown_).subspan(first, kHandItems);
        const auto after = std::span<const SceneItem>(next_).subspan(first, kHandItems);
        if (std::equal(before.begin(), before.end(), after.begin())) continue;
        for (const SceneItem& item : before) AddAreas(item, width_, height_, areas_);
        moved_.insert(moved_.end(), after.begin(), after.end());
    }
    const auto old = areas_.size();
    for (const SceneItem& item : moved_) AddAreas(item, width_, height_, areas_);
    if (!areas_.empty()) {
        surface_.CopyStill(std::span<const RectI>(areas_).first(old));
        surface_.PaintItems(moved_, areas_);
        surface_.Present(areas_);
    }
    stillDirty_ = wholeDirty_ = false;
    std::swap(shown_, next_);
    second_ = FloorDiv(now, kSecondMs);
    ++frames_;
}

void ClockPlayer::KeyDown(int key, bool repeat) {
    const bool pressed = std::find(heldKeys_.begin(), heldKeys_.end(), key) == heldKeys_.end();
    if (pressed) heldKeys_.push_back(key);
    if (pressed && !repeat) Raise(kKeyDownCommand);
}

void ClockPlayer::KeyUp(int key) {
    std::erase(heldKeys_, key);
    Raise(kKeyUpCommand);
}

// A report at the position already known is no movement, and the first report (made when the
// window is shown) only sets the position.
void ClockPlayer::PointerAt(int x, int y) {
    const bool moved = pointer_ && *pointer_ != std::pair{x, y};
    pointer_ = std::pair{x, y};
    if (moved) Raise(kMouseMoveCommand);
}

// The host may destroy the player while it handles the command: the handler is called through
// a copy, and nothing of the player is used afterwards.
void ClockPlayer::Raise(const wchar_t* command) {
    if (!onCommand_) return;
    FSCommandHandler handler = onCommand_;
    handler(command, std::wstring());
}
