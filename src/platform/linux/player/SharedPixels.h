#pragma once
// Pixels shared with the X server (MIT-SHM): the program draws into them, and the server copies
// them into a drawable without the pixels passing through the connection.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstddef>
#include <cstdint>

#include "player/Geometry.h"

class SharedPixels {
  public:
    explicit SharedPixels(Display* display) : display_(display) {}
    ~SharedPixels();
    SharedPixels(const SharedPixels&) = delete;
    SharedPixels& operator=(const SharedPixels&) = delete;

    // A segment of at least `bytes`, attached on both sides; false when the server cannot
    // share memory with this client (another machine, no extension).
    bool Reserve(std::size_t bytes);
    // Puts w by h pixels of `depth` (32 bits each, rows of w * 4 bytes) from `offset` of the
    // segment into `drawable` at the area's place. The server reads them later: Settle waits
    // for it before the segment is written again.
    void Put(Drawable drawable, GC gc, int depth, std::size_t offset, const RectI& area);
    void Settle();
    std::uint32_t* Data() const {
        return static_cast<std::uint32_t*>(static_cast<void*>(info_.shmaddr));
    }

  private:
    void Release();

    Display* display_;
    XShmSegmentInfo info_{};
    std::size_t size_ = 0;
    bool putPending_ = false;
};
