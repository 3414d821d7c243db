#pragma once
// Owners of X resources: each is freed through its display and none can be copied.

#include <X11/Xlib.h>

#include <utility>

// An X resource freed through its display: a pixmap, a window, a cursor.
template <int (*Free)(Display*, XID)>
class UniqueXid {
  public:
    UniqueXid() = default;
    UniqueXid(Display* display, XID id) : display_(display), id_(id) {}
    ~UniqueXid() { Reset(); }
    UniqueXid(UniqueXid&& other) noexcept
        : display_(other.display_), id_(std::exchange(other.id_, 0)) {}
    UniqueXid& operator=(UniqueXid&& other) noexcept {
        if (this != &other) {
            Reset();
            display_ = other.display_;
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    UniqueXid(const UniqueXid&) = delete;
    UniqueXid& operator=(const UniqueXid&) = delete;

    XID Get() const { return id_; }
    explicit operator bool() const { return id_ != 0; }
    void Reset() {
        if (id_) Free(display_, id_);
        id_ = 0;
    }
    // Gives up ownership (a window destroyed with its parent, for instance).
    XID Release() { return std::exchange(id_, 0); }

  private:
    Display* display_ = nullptr;
    XID id_ = 0;
};

inline int FreePixmap(Display* display, XID id) {
    return XFreePixmap(display, id);
}
inline int DestroyWindow(Display* display, XID id) {
    return XDestroyWindow(display, id);
}
inline int FreeCursor(Display* display, XID id) {
    return XFreeCursor(display, id);
}
using UniquePixmap = UniqueXid<FreePixmap>;
using UniqueWindow = UniqueXid<DestroyWindow>;
using UniqueCursor = UniqueXid<FreeCursor>;

// A graphics context.
class UniqueGc {
  public:
    UniqueGc(Display* display, Drawable drawable)
        : display_(display), gc_(XCreateGC(display, drawable, 0, nullptr)) {}
    ~UniqueGc() {
        if (gc_) XFreeGC(display_, gc_);
    }
    UniqueGc(const UniqueGc&) = delete;
    UniqueGc& operator=(const UniqueGc&) = delete;
    GC Get() const { return gc_; }

  private:
    Display* display_;
    GC gc_;
};
