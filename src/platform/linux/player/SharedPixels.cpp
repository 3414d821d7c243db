#include "platform/linux/player/SharedPixels.h"

#include <sys/ipc.h>
#include <sys/shm.h>

namespace {

bool attachFailed = false;

int NoteAttachFailure(Display*, XErrorEvent*) {
    attachFailed = true;
    return 0;
}

}  // namespace

SharedPixels::~SharedPixels() {
    Release();
}

void SharedPixels::Release() {
    if (!size_) return;
    XShmDetach(display_, &info_);
    XSync(display_, False);
    shmdt(info_.shmaddr);
    info_ = {};
    size_ = 0;
    putPending_ = false;
}

bool SharedPixels::Reserve(std::size_t bytes) {
    if (bytes <= size_) return true;
    Release();
    if (!XShmQueryExtension(display_)) return false;
    info_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (info_.shmid < 0) return false;
    info_.shmaddr = static_cast<char*>(shmat(info_.shmid, nullptr, 0));
    info_.readOnly = False;
    bool attached = info_.shmaddr != reinterpret_cast<char*>(-1);
    if (attached) {
        // A server on another machine refuses the segment; its error comes back here.
        XSync(display_, False);
        attachFailed = false;
        const auto previous = XSetErrorHandler(NoteAttachFailure);
        XShmAttach(display_, &info_);
        XSync(display_, False);
        XSetErrorHandler(previous);
        attached = !attachFailed;
        if (!attached) shmdt(info_.shmaddr);
    }
    shmctl(info_.shmid, IPC_RMID, nullptr);  // gone once both sides have let go
    if (!attached) {
        info_ = {};
        return false;
    }
    size_ = bytes;
    return true;
}

void SharedPixels::Put(Drawable drawable, GC gc, int depth, std::size_t offset, const RectI& area) {
    const auto w = static_cast<unsigned>(area.Width()), h = static_cast<unsigned>(area.Height());
    XImage* image = XShmCreateImage(display_, nullptr, static_cast<unsigned>(depth), ZPixmap,
                                    info_.shmaddr + offset, &info_, w, h);
    if (!image) return;
    // The image's own offset into the segment is its data's distance from the segment's start.
    XShmPutImage(display_, drawable, gc, image, 0, 0, area.left, area.top, w, h, False);
    image->data = nullptr;  // the segment's, not the image's
    XDestroyImage(image);
    putPending_ = true;
}

void SharedPixels::Settle() {
    if (putPending_) XSync(display_, False);
    putPending_ = false;
}
