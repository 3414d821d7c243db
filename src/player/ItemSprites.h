#pragma once
// Pictures of items kept from frame to frame. A second hand comes back to the same place every
// minute, and the hub and the faces move only by the layout's whole-pixel drift, so each is
// drawn once into a small picture of its own and afterwards only laid over: drawing an
// antialiased shape costs the platform far more than laying a ready picture.
//
// A picture holds a run of items and paints what they would paint one after the other. Where the
// platform lays a picture as coverage in one colour, a run is of one colour (the second hand and
// the disc of its hub); where pictures keep their colours, a run is all the shapes between two
// texts (a face's disc, ring and ticks: one picture to lay, not four as large). A picture is made
// for the run's shape relative to its whole-pixel box, so two clocks whose centres differ by
// whole pixels share their pictures.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "player/Scene.h"

// Sprite: whatever the platform lays over its frame (a pixmap, a bitmap).
template <class Sprite>
class ItemSprites {
  public:
    // Makes the picture of `shape`, a run moved so that its box begins at 0,0; may give nothing
    // (the platform could not make it).
    using Make = std::function<std::unique_ptr<Sprite>(std::span<const SceneItem> shape, int width,
                                                       int height)>;
    using RunOf = std::size_t (*)(std::span<const SceneItem> items);
    explicit ItemSprites(Make make, RunOf runOf = RunOfOneColour)
        : make_(std::move(make)), runOf_(runOf) {}

    // The picture of a run of items, made when there is none yet, and in `box` where it goes on
    // the frame. Null for a run with a text (each platform caches glyphs already) and when it
    // could not be made: the caller paints the run itself.
    const Sprite* Find(std::span<const SceneItem> run, RectI& box) {
        box = {};
        if (std::ranges::any_of(run, [](auto& i) { return std::holds_alternative<Text>(i); }))
            return nullptr;
        for (const SceneItem& item : run) box = Union(box, PixelBox(item));
        shape_.clear();
        std::size_t hash = run.size();
        for (const SceneItem& item : run) {
            shape_.push_back(Shifted(item, -box.left, -box.top));
            hash = hash * 1000003u ^ HashOf(shape_.back());
        }
        for (auto [at, end] = entries_.equal_range(hash); at != end; ++at) {
            if (at->second.shape == shape_) {
                at->second.period = period_;
                return at->second.sprite.get();
            }
        }
        auto sprite = make_(std::span<const SceneItem>(shape_), box.Width(), box.Height());
        if (!sprite) return nullptr;
        return entries_.emplace(hash, Entry{shape_, period_, std::move(sprite)})
            ->second.sprite.get();
    }

    // Each run of `items` with its picture: lay(run, box, sprite), sprite null when it could not
    // be made.
    template <class Lay>
    void ForEachRun(std::span<const SceneItem> items, Lay&& lay) {
        for (std::size_t n = 0; !items.empty(); items = items.subspan(n)) {
            n = runOf_(items);
            RectI box;
            const Sprite* sprite = Find(items.first(n), box);
            lay(items.first(n), box, sprite);
        }
    }

    // Makes the pictures of the runs of `items` that have none yet.
    void Prepare(std::span<const SceneItem> items) {
        ForEachRun(items, [](auto...) {});
    }

    // Starts a new period (the player repaints its still layer each minute): pictures unused in
    // this period and the one before are let go, so a clock that moved or changed size does not
    // leave its old pictures behind.
    void NextPeriod() {
        std::erase_if(entries_, [&](const auto& e) { return e.second.period + 1 < period_; });
        ++period_;
    }

    std::size_t Size() const { return entries_.size(); }

  private:
    static std::size_t HashOf(const SceneItem& shape) {
        const RectF b = Bounds(shape);
        std::size_t h = shape.index();
        for (const float v : {b.left, b.top, b.width, b.height})
            h = h * 1000003u ^ std::hash<float>()(v);
        return h;
    }

    struct Entry {
        std::vector<SceneItem> shape;
        long period;
        std::unique_ptr<Sprite> sprite;
    };
    Make make_;
    RunOf runOf_;
    std::vector<SceneItem> shape_;  // the run being looked up, kept for its memory
    std::unordered_multimap<std::size_t, Entry> entries_;
    long period_ = 0;
};
