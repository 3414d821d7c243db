#pragma once
// Points and rectangles of the player's picture, in pixels of its drawing area.

#include <algorithm>
#include <cmath>

struct PointF {
    float x = 0, y = 0;
    bool operator==(const PointF&) const = default;
};

struct RectF {
    float left = 0, top = 0, width = 0, height = 0;
    float Right() const { return left + width; }
    float Bottom() const { return top + height; }
    bool Empty() const { return width <= 0 || height <= 0; }
    bool operator==(const RectF&) const = default;
};

struct RectI {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const RectI&) const = default;
};

// Whether `outer` covers all of `inner`.
inline bool Covers(const RectI& outer, const RectI& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The smallest rectangle that holds both; an empty one adds nothing.
inline RectF Union(const RectF& a, const RectF& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    const float left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(a.Right(), b.Right()) - left,
            std::max(a.Bottom(), b.Bottom()) - top};
}

inline RectI Union(const RectI& a, const RectI& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// The whole pixels a rectangle touches, kept within 0,0-width,height.
inline RectI PixelsOf(const RectF& r, int width, int height) {
    if (r.Empty()) return {};
    return {std::max(0, static_cast<int>(std::floor(r.left))),
            std::max(0, static_cast<int>(std::floor(r.top))),
            std::min(width, static_cast<int>(std::ceil(r.Right()))),
            std::min(height, static_cast<int>(std::ceil(r.Bottom())))};
}
