#include "player/ClockPlayer.h"

#include <algorithm>

ClockPlayer::ClockPlayer(ClockEnvironment& environment, ClockFileSource& source)
    : environment_(environment), source_(source) {}

void ClockPlayer::SetMovie(const std::wstring& movie) {
    movie_ = movie;
    path_ = ClockFileBesideMovie(movie);
    lastCheck_.reset();
    Load();
}

void ClockPlayer::Load() {
    if (path_.empty()) {
        file_ = ClockFile{};
        stamp_.reset();
        return;
    }
    stamp_ = source_.Stamp(path_);
    file_ = stamp_ ? source_.Read(path_) : ClockFile{};
}

bool ClockPlayer::CheckClockFile(std::int64_t utcMs) {
    if (path_.empty()) return false;
    if (lastCheck_ && utcMs - *lastCheck_ < 1000 && utcMs >= *lastCheck_) return false;
    lastCheck_ = utcMs;
    if (source_.Stamp(path_) == stamp_) return false;
    Load();
    return true;
}

void ClockPlayer::Build(int width, int height, const std::vector<RectI>& monitors,
                        std::int64_t utcMs, Scene& scene) {
    SceneInput input;
    input.width = width;
    input.height = height;
    input.monitors = monitors;
    input.utcMs = utcMs;
    input.file = &file_;
    input.environment = &environment_;
    input.background = background_;
    BuildScene(input, scene);
}

int MsToNextSecond(std::int64_t utcMs) {
    return static_cast<int>(1000 - (utcMs - WholeSecond(utcMs)));
}

std::int64_t WholeSecond(std::int64_t utcMs) {
    return utcMs - ((utcMs % 1000) + 1000) % 1000;
}

bool StillLayer::Update(const Scene& scene, bool force) {
    const auto end = scene.items.begin() + static_cast<std::ptrdiff_t>(scene.firstMoving);
    if (!force && std::equal(scene.items.begin(), end, items_.begin(), items_.end())) return false;
    items_.assign(scene.items.begin(), end);
    return true;
}
