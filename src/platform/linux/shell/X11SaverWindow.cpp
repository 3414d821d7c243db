#include "platform/linux/shell/X11SaverWindow.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "platform/AppError.h"
#include "platform/TextEncoding.h"
#include "platform/linux/SettingsModule.h"

namespace {

constexpr int kGrabAttempts = 11;  // the first, then ten more 100 ms apart
constexpr std::chrono::milliseconds kGrabRetry{100};

}  // namespace

X11SaverWindow::X11SaverWindow(Display* display, mScreenSaver& screenSaver, ProgramFolder& folder)
    : display_(display), screenSaver_(screenSaver), folder_(folder) {}

X11SaverWindow::~X11SaverWindow() {
    form_.reset();
    player_.reset();
}

ss::Window X11SaverWindow::CreateSaverWindow(std::int32_t runMode) {
    runMode_ = runMode;
    const bool fullScreen = runMode == run_mode::FullScreen;
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, screen);
    // The full-screen saver stands above every window, outside the window manager's reach.
    attributes.override_redirect = fullScreen ? True : False;
    attributes.event_mask = StructureNotifyMask;
    unsigned long mask = CWBackPixel | CWOverrideRedirect | CWEventMask;
    if (fullScreen) {
        // No pointer over the clocks.
        const char none[1] = {0};
        const Pixmap empty =
            XCreateBitmapFromData(display_, DefaultRootWindow(display_), none, 1, 1);
        XColor black{};
        blank_ = UniqueCursor(display_,
                              XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0));
        XFreePixmap(display_, empty);
        attributes.cursor = blank_.Get();
        mask |= CWCursor;
    }
    window_ =
        UniqueWindow(display_, XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0,
                                             DefaultDepth(display_, screen), InputOutput,
                                             DefaultVisual(display_, screen), mask, &attributes));
    if (!window_) throw AppError(errnum::AutomationError, L"Cannot create the saver window");
    XStoreName(display_, window_.Get(), "Pellox Screensaver");
    deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display_, window_.Get(), &deleteWindow_, 1);
    width_ = height_ = 1;

    player_ =
        X11PlayerWindow::Create(display_, window_.Get(), 0, 0, 1, 1,
                                [this](const std::wstring& command, const std::wstring& args) {
                                    form_->swf_FSCommand(command, args);
                                });
    form_ = std::make_unique<frmMain>(screenSaver_, runMode_, static_cast<SaverWindowHost&>(*this),
                                      static_cast<SaverPlayerControl&>(*this));
    form_->Form_Load();
    return static_cast<ss::Window>(window_.Get());
}

void X11SaverWindow::SetSaverWindowTitle(ss::Window window, const std::wstring& title) {
    const std::string text = utf8::FromWide(title);
    Xutf8SetWMProperties(display_, static_cast<::Window>(window), text.c_str(), text.c_str(),
                         nullptr, 0, nullptr, nullptr, nullptr);
}

void X11SaverWindow::ShowSettingsDialog() {
    SettingsModule* module = LoadSettingsModule();
    if (!module) {
        throw AppError(errnum::FileNotFound,
                       L"File not found: the settings module pelloxss-settings.so");
    }
    module->ShowSettingsDialog();
}

ss::Window X11SaverWindow::Handle() {
    return static_cast<ss::Window>(window_.Get());
}

// Only the settings dialog, in a process of its own, sets the pointer override: the saver's
// process has none to clear.
void X11SaverWindow::ClearPointerOverride() {}

void X11SaverWindow::TerminateProcess() {
    XUngrabPointer(display_, CurrentTime);
    XUngrabKeyboard(display_, CurrentTime);
    XFlush(display_);
    std::_Exit(0);
}

void X11SaverWindow::SetMovie(const std::wstring& path) {
    player_->SetMovie(path);
}
void X11SaverWindow::SetTop(int top) {
    playerTop_ = top;
    player_->Move(playerLeft_, playerTop_, playerWidth_, playerHeight_);
}
void X11SaverWindow::SetLeft(int left) {
    playerLeft_ = left;
    player_->Move(playerLeft_, playerTop_, playerWidth_, playerHeight_);
}
void X11SaverWindow::SetWidth(int width) {
    playerWidth_ = width;
    player_->Move(playerLeft_, playerTop_, playerWidth_, playerHeight_);
}
void X11SaverWindow::SetHeight(int height) {
    playerHeight_ = height;
    player_->Move(playerLeft_, playerTop_, playerWidth_, playerHeight_);
}

// Keys and the pointer go to the clocks while the full-screen saver runs, whichever window
// had them before.
void X11SaverWindow::OnMapped() {
    if (runMode_ == run_mode::FullScreen) {
        grabAttempts_ = kGrabAttempts;
        TryGrabs();
        XSetInputFocus(display_, player_->Handle(), RevertToParent, CurrentTime);
    }
    player_->NotePointerPosition();
}

// Another client (a menu, a locker) may hold a grab for a moment: the saver tries again every
// 100 ms for about a second, then runs on without what it could not get.
int X11SaverWindow::TryGrabs() {
    if (grabAttempts_ <= 0) return -1;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextGrab_) {
        return static_cast<int>(
            std::chrono::ceil<std::chrono::milliseconds>(nextGrab_ - now).count());
    }
    const ::Window target = player_->Handle();
    if (!keyboardGrabbed_) {
        keyboardGrabbed_ = XGrabKeyboard(display_, target, False, GrabModeAsync, GrabModeAsync,
                                         CurrentTime) == GrabSuccess;
    }
    if (!pointerGrabbed_) {
        pointerGrabbed_ =
            XGrabPointer(display_, target, False, PointerMotionMask, GrabModeAsync, GrabModeAsync,
                         None, blank_.Get(), CurrentTime) == GrabSuccess;
    }
    if ((keyboardGrabbed_ && pointerGrabbed_) || --grabAttempts_ <= 0) {
        grabAttempts_ = 0;
        return -1;
    }
    nextGrab_ = now + kGrabRetry;
    return static_cast<int>(kGrabRetry.count());
}

void X11SaverWindow::Closed() {
    if (closed_) return;
    closed_ = true;
    form_->Form_Unload();
}

void X11SaverWindow::HandleEvent(const XEvent& event) {
    if (event.xany.window != window_.Get()) return;
    switch (event.type) {
        case ConfigureNotify:
            if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
                width_ = event.xconfigure.width;
                height_ = event.xconfigure.height;
                form_->Form_Resize();
            }
            break;
        case MapNotify:
            OnMapped();
            break;
        case DestroyNotify:
            // Gone with the preview's parent, the player's window with it.
            window_.Release();
            Closed();
            break;
        case ClientMessage:
            if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_) Closed();
            break;
        default:
            break;
    }
}

void X11SaverWindow::Run(const volatile std::sig_atomic_t& stop) {
    if (!player_) return;
    RunPlayerLoop(
        display_, *player_, [&] { return !closed_ && !stop; },
        [this](const XEvent& event) { HandleEvent(event); }, [this] { return TryGrabs(); });
}
