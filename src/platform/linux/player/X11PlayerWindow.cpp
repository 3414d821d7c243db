#include "platform/linux/player/X11PlayerWindow.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/linux/player/CairoCanvas.h"
#include "platform/linux/player/CairoObjects.h"
#include "platform/linux/player/LinuxClockEnvironment.h"
#include "player/ClockPlayer.h"
#include "player/StoredSettings.h"

namespace {

constexpr wchar_t kKeyDown[] = L"KEYDOWN";
constexpr wchar_t kKeyUp[] = L"KEYUP";
constexpr wchar_t kMouseMove[] = L"MOUSEMOVE";

// The monitors in root coordinates: Xinerama's screens when it is active (it also answers for
// a multi-screen Xvfb), otherwise RandR's monitors; empty when neither knows.
std::vector<RectI> ScreenMonitors(Display* display) {
    std::vector<RectI> monitors;
    int event = 0, error = 0;
    if (XineramaQueryExtension(display, &event, &error) && XineramaIsActive(display)) {
        int count = 0;
        if (XineramaScreenInfo* screens = XineramaQueryScreens(display, &count)) {
            for (int i = 0; i < count; ++i) {
                monitors.push_back({screens[i].x_org, screens[i].y_org,
                                    screens[i].x_org + screens[i].width,
                                    screens[i].y_org + screens[i].height});
            }
            XFree(screens);
        }
    }
    if (monitors.empty() && XRRQueryExtension(display, &event, &error)) {
        int count = 0;
        if (XRRMonitorInfo* info =
                XRRGetMonitors(display, DefaultRootWindow(display), True, &count)) {
            for (int i = 0; i < count; ++i) {
                monitors.push_back(
                    {info[i].x, info[i].y, info[i].x + info[i].width, info[i].y + info[i].height});
            }
            XRRFreeMonitors(info);
        }
    }
    return monitors;
}

}  // namespace

class X11PlayerWindow::Impl {
  public:
    Impl(Display* display, FSCommandHandler onCommand, KeyPressHandler onKey)
        : display_(display),
          onCommand_(std::move(onCommand)),
          onKey_(std::move(onKey)),
          properties_(SaverPlayerProperties()),
          player_(environment_, source_) {}

    void CreateChild(::Window parent, int left, int top, int width, int height) {
        XSetWindowAttributes attributes{};
        attributes.background_pixmap = None;  // every pixel comes from the frame pixmap
        attributes.event_mask =
            ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | PointerMotionMask;
        const int screen = DefaultScreen(display_);
        own_ = UniqueWindow(display_, XCreateWindow(display_, parent, left, top,
                                                    static_cast<unsigned>(std::max(1, width)),
                                                    static_cast<unsigned>(std::max(1, height)), 0,
                                                    DefaultDepth(display_, screen), InputOutput,
                                                    DefaultVisual(display_, screen),
                                                    CWBackPixmap | CWEventMask, &attributes));
        if (!own_) throw AppError(errnum::AutomationError, L"Cannot create the player window");
        window_ = own_.Get();
        XMapWindow(display_, window_);
        width_ = width;
        height_ = height;
    }

    void AttachTo(::Window target) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, target, &attributes)) {
            throw AppError(errnum::AutomationError, L"The window to draw into does not exist");
        }
        window_ = target;
        width_ = attributes.width;
        height_ = attributes.height;
        // Only the size and the exposures: input belongs to whoever owns the window.
        XSelectInput(display_, target, ExposureMask | StructureNotifyMask);
        // The frame pixmap supplies every pixel; the server need not clear first.
        XSetWindowBackgroundPixmap(display_, target, None);
    }

    void SetMovie(const std::wstring& movie) {
        properties_.Movie = movie;
        player_.SetMovie(movie);
        Render(environment_.NowUtcMs(), true);
    }

    void Move(int left, int top, int width, int height) {
        if (own_) {
            XMoveResizeWindow(display_, window_, left, top,
                              static_cast<unsigned>(std::max(1, width)),
                              static_cast<unsigned>(std::max(1, height)));
        }
        width_ = width;
        height_ = height;
        Render(environment_.NowUtcMs(), true);
    }

    void NotePointerPosition() {
        ::Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned mask = 0;
        if (XQueryPointer(display_, window_, &root, &child, &rootX, &rootY, &x, &y, &mask)) {
            motion_.Moved(x, y);
        }
    }

    bool HandleEvent(const XEvent& event) {
        if (event.xany.window != window_) return false;
        switch (event.type) {
            case Expose:
                if (frame_) {
                    XCopyArea(display_, frame_.Get(), window_, gc_->Get(), event.xexpose.x,
                              event.xexpose.y, static_cast<unsigned>(event.xexpose.width),
                              static_cast<unsigned>(event.xexpose.height), event.xexpose.x,
                              event.xexpose.y);
                }
                break;
            case ConfigureNotify:
                if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
                    width_ = event.xconfigure.width;
                    height_ = event.xconfigure.height;
                    Render(environment_.NowUtcMs(), true);
                }
                monitorsChanged_ = true;
                break;
            case KeyPress: {
                char text[8] = {};
                KeySym symbol = 0;
                XKeyEvent key = event.xkey;
                const int length = XLookupString(&key, text, sizeof text, &symbol, nullptr);
                if (length == 1 && onKey_) {
                    // The host may end the program or destroy the player: nothing of this
                    // object is used afterwards.
                    KeyPressHandler handler = onKey_;
                    handler(static_cast<unsigned char>(text[0]));
                    return true;
                }
                Raise(kKeyDown);
                break;
            }
            case KeyRelease:
                Raise(kKeyUp);
                break;
            case DestroyNotify:
                // Destroyed with its parent: nothing left to free or draw into.
                if (own_) own_.Release();
                window_ = 0;
                break;
            case MotionNotify:
                if (motion_.Moved(event.xmotion.x, event.xmotion.y)) Raise(kMouseMove);
                break;
            default:
                break;
        }
        return true;
    }

    int Tick() {
        const std::int64_t now = environment_.NowUtcMs();
        if (properties_.Play && now / 1000 != lastSecond_) {
            const bool reread = player_.CheckClockFile(now);
            Render(now, reread);
        }
        return MsToNextSecond(environment_.NowUtcMs());
    }

    ::Window window_ = 0;
    std::uint64_t frames_ = 0;

  private:
    // The command goes to a copy of the handler: the host may destroy the player meanwhile.
    void Raise(const wchar_t* command) {
        if (!onCommand_) return;
        FSCommandHandler handler = onCommand_;
        handler(command, std::wstring());
    }

    // Draws the second that has begun. The still part (faces, captions, times) is drawn into
    // its own pixmap only when it changed; each second then copies the faces from it into the
    // frame, draws the hands over them and puts those squares on the window.
    void Render(std::int64_t now, bool full) {
        if (!window_ || width_ <= 0 || height_ <= 0) return;
        if (!frame_ || width_ != frameWidth_ || height_ != frameHeight_) {
            if (!MakePixmaps()) return;
            full = true;
        }
        if (full || monitorsChanged_) CollectMonitors();

        player_.Build(width_, height_, monitors_, WholeSecond(now), scene_);
        const bool highQuality = properties_.Quality != L"Low";
        if (stillLayer_.Update(scene_, full)) {
            UniqueCairo cr(cairo_create(stillSurface_.get()));
            CairoCanvas canvas(cr.get(), highQuality);
            canvas.Clear(scene_.background);
            PaintItems(stillLayer_.Items(), canvas);
            cairo_surface_flush(stillSurface_.get());
            full = true;
        }

        dirty_.clear();
        if (full) {
            XCopyArea(display_, still_.Get(), frame_.Get(), gc_->Get(), 0, 0,
                      static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0, 0);
        } else {
            // Everything that moves within the second stays inside its clock's face.
            for (const ClockView& clock : scene_.clocks) {
                const int left = std::max(0, static_cast<int>(clock.faceBounds.left) - 1);
                const int top = std::max(0, static_cast<int>(clock.faceBounds.top) - 1);
                const int right = std::min(width_, static_cast<int>(clock.faceBounds.Right()) + 2);
                const int bottom =
                    std::min(height_, static_cast<int>(clock.faceBounds.Bottom()) + 2);
                if (right <= left || bottom <= top) continue;
                dirty_.push_back({left, top, right, bottom});
                XCopyArea(display_, still_.Get(), frame_.Get(), gc_->Get(), left, top,
                          static_cast<unsigned>(right - left), static_cast<unsigned>(bottom - top),
                          left, top);
            }
        }
        {
            UniqueCairo cr(cairo_create(frameSurface_.get()));
            CairoCanvas canvas(cr.get(), highQuality);
            PaintItems(std::span<const SceneItem>(scene_.items).subspan(scene_.firstMoving),
                       canvas);
            cairo_surface_flush(frameSurface_.get());
        }
        if (full) {
            XCopyArea(display_, frame_.Get(), window_, gc_->Get(), 0, 0,
                      static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0, 0);
        } else {
            for (const RectI& r : dirty_) {
                XCopyArea(display_, frame_.Get(), window_, gc_->Get(), r.left, r.top,
                          static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()),
                          r.left, r.top);
            }
        }
        XFlush(display_);
        lastSecond_ = now / 1000;
        ++frames_;
    }

    bool MakePixmaps() {
        stillSurface_.reset();
        frameSurface_.reset();
        still_.Reset();
        frame_.Reset();
        const int screen = DefaultScreen(display_);
        const unsigned depth = static_cast<unsigned>(DefaultDepth(display_, screen));
        Visual* visual = DefaultVisual(display_, screen);
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, window_, &attributes)) {
            // The pixmaps must match the window's own depth and visual to be copied into it.
            visual = attributes.visual;
            if (attributes.depth != static_cast<int>(depth)) {
                still_ = UniquePixmap(
                    display_, XCreatePixmap(display_, window_, width_, height_, attributes.depth));
                frame_ = UniquePixmap(
                    display_, XCreatePixmap(display_, window_, width_, height_, attributes.depth));
            }
        }
        if (!still_) {
            still_ =
                UniquePixmap(display_, XCreatePixmap(display_, window_, width_, height_, depth));
            frame_ =
                UniquePixmap(display_, XCreatePixmap(display_, window_, width_, height_, depth));
        }
        if (!gc_) gc_ = std::make_unique<UniqueGc>(display_, window_);
        stillSurface_.reset(
            cairo_xlib_surface_create(display_, still_.Get(), visual, width_, height_));
        frameSurface_.reset(
            cairo_xlib_surface_create(display_, frame_.Get(), visual, width_, height_));
        if (cairo_surface_status(stillSurface_.get()) != CAIRO_STATUS_SUCCESS ||
            cairo_surface_status(frameSurface_.get()) != CAIRO_STATUS_SUCCESS) {
            return false;
        }
        frameWidth_ = width_;
        frameHeight_ = height_;
        return true;
    }

    // One composition per monitor that the window covers whole (the full-screen saver, the
    // root window); a window inside a monitor (a preview) is one composition.
    void CollectMonitors() {
        monitorsChanged_ = false;
        monitors_.clear();
        int originX = 0, originY = 0;
        ::Window child = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &originX,
                              &originY, &child);
        for (const RectI& m : ScreenMonitors(display_)) {
            const RectI local{m.left - originX, m.top - originY, m.right - originX,
                              m.bottom - originY};
            if (local.left >= 0 && local.top >= 0 && local.right <= width_ &&
                local.bottom <= height_) {
                monitors_.push_back(local);
            }
        }
        if (monitors_.size() <= 1) monitors_.clear();
    }

    Display* display_;
    FSCommandHandler onCommand_;
    KeyPressHandler onKey_;
    PlayerProperties properties_;
    LinuxClockEnvironment environment_;
    XmlClockFileSource source_{PlatformFileStamps(), PlatformXmlComponent()};
    ClockPlayer player_;
    PointerMotion motion_;
    Scene scene_;
    StillLayer stillLayer_;
    std::vector<RectI> monitors_;
    std::vector<RectI> dirty_;
    bool monitorsChanged_ = true;
    UniqueWindow own_;
    int width_ = 0, height_ = 0;
    int frameWidth_ = 0, frameHeight_ = 0;
    UniquePixmap still_, frame_;
    UniqueCairoSurface stillSurface_, frameSurface_;
    std::unique_ptr<UniqueGc> gc_;
    std::int64_t lastSecond_ = -1;
};

X11PlayerWindow::X11PlayerWindow(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
X11PlayerWindow::~X11PlayerWindow() = default;

std::unique_ptr<X11PlayerWindow> X11PlayerWindow::Create(Display* display, ::Window parent,
                                                         int left, int top, int width, int height,
                                                         FSCommandHandler onCommand,
                                                         KeyPressHandler onKey) {
    auto impl = std::make_unique<Impl>(display, std::move(onCommand), std::move(onKey));
    impl->CreateChild(parent, left, top, width, height);
    return std::unique_ptr<X11PlayerWindow>(new X11PlayerWindow(std::move(impl)));
}

std::unique_ptr<X11PlayerWindow> X11PlayerWindow::Attach(Display* display, ::Window target) {
    auto impl = std::make_unique<Impl>(display, nullptr, nullptr);
    impl->AttachTo(target);
    return std::unique_ptr<X11PlayerWindow>(new X11PlayerWindow(std::move(impl)));
}

::Window X11PlayerWindow::Handle() const {
    return impl_->window_;
}
void X11PlayerWindow::SetMovie(const std::wstring& movie) {
    impl_->SetMovie(movie);
}
void X11PlayerWindow::Move(int left, int top, int width, int height) {
    impl_->Move(left, top, width, height);
}
void X11PlayerWindow::NotePointerPosition() {
    impl_->NotePointerPosition();
}
bool X11PlayerWindow::HandleEvent(const XEvent& event) {
    return impl_->HandleEvent(event);
}
int X11PlayerWindow::Tick() {
    return impl_->Tick();
}
std::uint64_t X11PlayerWindow::FramesDrawn() const {
    return impl_->frames_;
}
