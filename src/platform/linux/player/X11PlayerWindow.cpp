#include "platform/linux/player/X11PlayerWindow.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/Xrender.h>
#include <cairo-xlib-xrender.h>
#include <poll.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/linux/player/CairoCanvas.h"
#include "platform/linux/player/CairoObjects.h"
#include "platform/linux/player/LinuxClockEnvironment.h"
#include "player/ItemSprites.h"
#include "player/StoredSettings.h"

namespace {

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

int FreePicture(Display* display, XID id) {
    XRenderFreePicture(display, id);
    return 0;
}
using UniquePicture = UniqueXid<FreePicture>;

// An item's coverage: an 8-bit alpha pixmap, laid over the frame in the item's colour.
struct Sprite {
    UniquePixmap pixmap;
    UniquePicture picture;
};

}  // namespace

class X11PlayerWindow::Impl final : private PlayerSurface {
  public:
    Impl(Display* display, FSCommandHandler onCommand)
        : display_(display), player_(environment_, source_, *this, std::move(onCommand)) {
        highQuality_ = SaverPlayerProperties().Quality != L"Low";
    }

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
        // A held key then repeats its presses without releases between them.
        XkbSetDetectableAutoRepeat(display_, True, nullptr);
        width_ = width;
        height_ = height;
        CollectMonitors();
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
        CollectMonitors();
    }

    void Move(int left, int top, int width, int height) {
        if (own_) {
            XMoveResizeWindow(display_, window_, left, top,
                              static_cast<unsigned>(std::max(1, width)),
                              static_cast<unsigned>(std::max(1, height)));
        }
        width_ = width;
        height_ = height;
    }

    void NotePointerPosition() {
        ::Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned mask = 0;
        if (XQueryPointer(display_, window_, &root, &child, &rootX, &rootY, &x, &y, &mask))
            player_.PointerAt(rootX, rootY);
    }

    bool HandleEvent(const XEvent& event) {
        if (event.xany.window != window_) return false;
        switch (event.type) {
            case Expose:
                if (frame_) {
                    XSetClipMask(display_, gc_->Get(), None);  // left set by the last copy
                    XCopyArea(display_, frame_.Get(), window_, gc_->Get(), event.xexpose.x,
                              event.xexpose.y, static_cast<unsigned>(event.xexpose.width),
                              static_cast<unsigned>(event.xexpose.height), event.xexpose.x,
                              event.xexpose.y);
                }
                break;
            case ConfigureNotify:
                width_ = event.xconfigure.width;
                height_ = event.xconfigure.height;
                CollectMonitors();
                break;
            case KeyPress:
                player_.KeyDown(static_cast<int>(event.xkey.keycode), false);
                break;
            case KeyRelease:
                player_.KeyUp(static_cast<int>(event.xkey.keycode));
                break;
            case MotionNotify:
                player_.PointerAt(event.xmotion.x_root, event.xmotion.y_root);
                break;
            case DestroyNotify:
                // Destroyed with its parent: nothing left to free or draw into.
                if (own_) own_.Release();
                window_ = 0;
                break;
            default:
                break;
        }
        return true;
    }

    Display* display_;
    ::Window window_ = 0;
    LinuxClockEnvironment environment_;
    XmlClockFileSource source_{PlatformFileStamps(), PlatformXmlComponent()};
    ClockPlayer player_;

  private:
    // PlayerSurface: the still layer and the frame are pixmaps on the server, drawn through
    // cairo's Xlib surfaces. (Measured against it, and costing the program and the server more
    // together: drawing on this side and putting the pixels through shared memory, and drawing
    // the hands straight on the window.)
    int Width() override { return window_ ? width_ : 0; }
    int Height() override { return window_ ? height_ : 0; }

    bool PaintStill(Rgb background, std::span<const SceneItem> items) override {
        if (!frame_ || width_ != frameWidth_ || height_ != frameHeight_) {
            if (!MakePixmaps()) return false;
        }
        sprites_.NextPeriod();
        UniqueCairo cr(cairo_create(stillSurface_.get()));
        CairoCanvas canvas(cr.get(), highQuality_);
        canvas.Clear(background);
        cairo_surface_flush(stillSurface_.get());
        Lay(items, stillPicture_.Get(), [&](std::span<const SceneItem> run) {
            ::PaintItems(run, canvas);
            cairo_surface_flush(stillSurface_.get());
        });
        return true;
    }

    void CopyStill(std::span<const RectI> areas) override {
        Copy(still_.Get(), frame_.Get(), areas);
    }

    // A sprite changes only its items' pixels, and those lie inside the areas: the composites
    // need no clip. What is drawn is clipped.
    void PaintItems(std::span<const SceneItem> items, std::span<const RectI> areas) override {
        Lay(items, framePicture_.Get(), [&](std::span<const SceneItem> run) {
            UniqueCairo cr(cairo_create(frameSurface_.get()));
            for (const RectI& r : areas)
                cairo_rectangle(cr.get(), r.left, r.top, r.Width(), r.Height());
            cairo_clip(cr.get());
            CairoCanvas canvas(cr.get(), highQuality_);
            ::PaintItems(run, canvas);
            cairo_surface_flush(frameSurface_.get());
        });
    }

    // Paints items onto a pixmap through its picture. Each run of shapes is rasterized once into
    // a sprite and then only composited (the server's trapezoid rasterizer was most of the
    // cost); texts, and everything without the render extension's alpha pixmaps, are drawn.
    void Lay(std::span<const SceneItem> items, Picture target,
             const std::function<void(std::span<const SceneItem>)>& draw) {
        if (!target) return draw(items);
        sprites_.ForEachRun(items, [&](auto run, RectI box, const Sprite* sprite) {
            if (!sprite) return draw(run);
            XRenderComposite(display_, PictOpOver, SolidFill(ColorOf(run[0])),
                             sprite->picture.Get(), target, 0, 0, 0, 0, box.left, box.top,
                             static_cast<unsigned>(box.Width()),
                             static_cast<unsigned>(box.Height()));
        });
    }

    void Prepare(std::span<const SceneItem> items) override {
        if (framePicture_) sprites_.Prepare(items);
    }

    std::unique_ptr<Sprite> MakeSprite(std::span<const SceneItem> shape, int w, int h) {
        auto sprite = std::make_unique<Sprite>();
        sprite->pixmap =
            UniquePixmap(display_, XCreatePixmap(display_, window_, static_cast<unsigned>(w),
                                                 static_cast<unsigned>(h), 8));
        UniqueCairoSurface surface(cairo_xlib_surface_create_with_xrender_format(
            display_, sprite->pixmap.Get(), DefaultScreenOfDisplay(display_), alpha_, w, h));
        UniqueCairo cr(cairo_create(surface.get()));
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);  // a new pixmap holds anything
        cairo_paint(cr.get());
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
        CairoCanvas canvas(cr.get(), highQuality_);
        ::PaintItems(shape, canvas);
        cairo_surface_flush(surface.get());
        sprite->picture = UniquePicture(
            display_, XRenderCreatePicture(display_, sprite->pixmap.Get(), alpha_, 0, nullptr));
        return sprite;
    }

    // A one-pixel source of a colour, kept for the hands' few colours.
    Picture SolidFill(Rgb color) {
        for (const auto& [c, picture] : fills_)
            if (c == color) return picture.Get();
        const auto channel = [](std::uint8_t v) { return static_cast<unsigned short>(v * 257); };
        const XRenderColor x{channel(color.r), channel(color.g), channel(color.b), 0xffff};
        fills_.emplace_back(color, UniquePicture(display_, XRenderCreateSolidFill(display_, &x)));
        return fills_.back().second.Get();
    }

    void Present(std::span<const RectI> areas) override {
        Copy(frame_.Get(), window_, areas);  // sent by the loop's next look at the connection
    }

    // One request for all the areas: the copy of their bounding box is clipped to their union.
    // The clip stays on the GC until the next copy.
    // (The server makes the union; Xlib's region code costs more than the rest of a second.)
    void Copy(Drawable from, Drawable to, std::span<const RectI> areas) {
        clip_.clear();
        RectI box;
        for (const RectI& r : areas) {
            clip_.push_back({static_cast<short>(r.left), static_cast<short>(r.top),
                             static_cast<unsigned short>(r.Width()),
                             static_cast<unsigned short>(r.Height())});
            box = Union(box, r);
        }
        XSetClipRectangles(display_, gc_->Get(), 0, 0, clip_.data(), static_cast<int>(clip_.size()),
                           Unsorted);
        XCopyArea(display_, from, to, gc_->Get(), box.left, box.top,
                  static_cast<unsigned>(box.Width()), static_cast<unsigned>(box.Height()), box.left,
                  box.top);
    }

    bool MakePixmaps() {
        framePicture_.Reset();
        stillPicture_.Reset();
        stillSurface_.reset();
        frameSurface_.reset();
        still_.Reset();
        frame_.Reset();
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, window_, &attributes)) return false;
        // The pixmaps match the window's own depth and visual, to be copied into it.
        const auto w = static_cast<unsigned>(width_), h = static_cast<unsigned>(height_);
        const auto depth = static_cast<unsigned>(attributes.depth);
        still_ = UniquePixmap(display_, XCreatePixmap(display_, window_, w, h, depth));
        frame_ = UniquePixmap(display_, XCreatePixmap(display_, window_, w, h, depth));
        if (!gc_) {
            gc_ = std::make_unique<UniqueGc>(display_, window_);
            // No NoExpose event for every copy: each would wake the loop.
            XSetGraphicsExposures(display_, gc_->Get(), False);
        }
        stillSurface_.reset(
            cairo_xlib_surface_create(display_, still_.Get(), attributes.visual, width_, height_));
        frameSurface_.reset(
            cairo_xlib_surface_create(display_, frame_.Get(), attributes.visual, width_, height_));
        if (cairo_surface_status(stillSurface_.get()) != CAIRO_STATUS_SUCCESS ||
            cairo_surface_status(frameSurface_.get()) != CAIRO_STATUS_SUCCESS) {
            return false;
        }
        int event = 0, error = 0;
        alpha_ = XRenderQueryExtension(display_, &event, &error)
                     ? XRenderFindStandardFormat(display_, PictStandardA8)
                     : nullptr;
        if (XRenderPictFormat* format = XRenderFindVisualFormat(display_, attributes.visual);
            format && alpha_) {
            framePicture_ = UniquePicture(
                display_, XRenderCreatePicture(display_, frame_.Get(), format, 0, nullptr));
            stillPicture_ = UniquePicture(
                display_, XRenderCreatePicture(display_, still_.Get(), format, 0, nullptr));
        }
        frameWidth_ = width_;
        frameHeight_ = height_;
        return true;
    }

    // The monitors in the window's coordinates.
    void CollectMonitors() {
        int originX = 0, originY = 0;
        ::Window child = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &originX,
                              &originY, &child);
        std::vector<RectI> monitors;
        for (const RectI& m : ScreenMonitors(display_))
            monitors.push_back(
                {m.left - originX, m.top - originY, m.right - originX, m.bottom - originY});
        player_.SetMonitors(std::move(monitors));
    }

    bool highQuality_ = true;
    UniqueWindow own_;
    int width_ = 0, height_ = 0;
    int frameWidth_ = 0, frameHeight_ = 0;
    UniquePixmap still_, frame_;
    UniqueCairoSurface stillSurface_, frameSurface_;
    std::unique_ptr<UniqueGc> gc_;
    XRenderPictFormat* alpha_ = nullptr;
    UniquePicture framePicture_, stillPicture_;
    ItemSprites<Sprite> sprites_{
        [this](std::span<const SceneItem> shape, int w, int h) { return MakeSprite(shape, w, h); }};
    std::vector<std::pair<Rgb, UniquePicture>> fills_;
    std::vector<XRectangle> clip_;  // the last copy's areas, kept for its memory
};

X11PlayerWindow::X11PlayerWindow(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
X11PlayerWindow::~X11PlayerWindow() = default;

std::unique_ptr<X11PlayerWindow> X11PlayerWindow::Create(Display* display, ::Window parent,
                                                         int left, int top, int width, int height,
                                                         FSCommandHandler onCommand) {
    auto impl = std::make_unique<Impl>(display, std::move(onCommand));
    impl->CreateChild(parent, left, top, width, height);
    return std::unique_ptr<X11PlayerWindow>(new X11PlayerWindow(std::move(impl)));
}

std::unique_ptr<X11PlayerWindow> X11PlayerWindow::Attach(Display* display, ::Window target) {
    auto impl = std::make_unique<Impl>(display, nullptr);
    impl->AttachTo(target);
    return std::unique_ptr<X11PlayerWindow>(new X11PlayerWindow(std::move(impl)));
}

::Window X11PlayerWindow::Handle() const {
    return impl_->window_;
}
void X11PlayerWindow::SetMovie(const std::wstring& movie) {
    impl_->player_.SetMovie(movie);
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
    return impl_->player_.Tick();
}
const ClockPlayer& X11PlayerWindow::Player() const {
    return impl_->player_;
}

void RunPlayerLoop(Display* display, X11PlayerWindow& player, const std::function<bool()>& running,
                   const std::function<void(const XEvent&)>& other,
                   const std::function<int()>& due) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    // Each look at the connection costs two reads: after a wait that timed out there is
    // nothing new to read, only what earlier calls queued.
    int look = QueuedAfterFlush;
    while (running()) {
        while (running() && XEventsQueued(display, look)) {
            XEvent event;
            XNextEvent(display, &event);
            if (!player.HandleEvent(event) && other) other(event);
        }
        if (!running()) break;
        // Wake just after the next whole second, or for the next event; a signal that ends
        // the program interrupts the wait.
        int wait = player.Tick() + 1;
        if (due) {
            const int host = due();
            if (host >= 0) wait = std::min(wait, host);
        }
        // Sends what was drawn, and reads what came meanwhile.
        look = QueuedAlready;
        if (XPending(display)) continue;
        look = poll(&connection, 1, wait) == 0 ? QueuedAlready : QueuedAfterReading;
    }
}
