// The saver suite's driver for pelloxss under Xvfb, with configuration and runtime folders of
// its own and XTEST input; then what only the Linux saver does: xscreensaver's conventions.
#include <gtest/gtest.h>
#include <signal.h>

#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "contract/SaverProgramDriver.h"
#include "support/TempFolder.h"
// After GoogleTest: Xlib's macros clash with its names.
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

std::vector<Window> Children(Display* display, Window parent) {
    Window root = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, parent, &root, &up, &children, &count);
    std::vector<Window> found(children, children + count);
    if (children) XFree(children);
    return found;
}

class X11SaverDriver final : public SaverProgramDriver {
  public:
    X11SaverDriver() {
        // Requests on windows that went away must not end the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        EXPECT_NE(display_, nullptr) << "no X display";
        std::filesystem::create_directories(home_ / "run");
        std::filesystem::permissions(home_ / "run", std::filesystem::perms::owner_all);
        home_.Write("config/pelloxss/pellox2.xml", kClockFile);
    }
    ~X11SaverDriver() override { XCloseDisplay(display_); }

    // Where GTK finds no display, the report's message box falls back to standard error.
    std::unique_ptr<TestProcess> Start(const std::string& arguments) override {
        std::istringstream words(arguments);
        const auto existing = Children(display_, DefaultRootWindow(display_));
        auto program = std::make_unique<TestProcess>(
            PELLOXSS_BINARY,
            std::vector<std::string>{std::istream_iterator<std::string>(words), {}},
            std::vector<std::string>{"XDG_CONFIG_HOME=" + (home_ / "config").string(),
                                     "XDG_RUNTIME_DIR=" + (home_ / "run").string(),
                                     "ASAN_OPTIONS=detect_leaks=0", "GDK_BACKEND=none",
                                     "XSCREENSAVER_WINDOW="});
        before_[program->Id()] = std::set<Window>(existing.begin(), existing.end());
        return program;
    }
    // An override-redirect window over the whole screen, new since the program started (the
    // program's: window ids are reused only after their owner has gone).
    bool CoversTheScreen(TestProcess& program) override {
        const std::set<Window>& before = before_[program.Id()];
        const int width = DisplayWidth(display_, 0), height = DisplayHeight(display_, 0);
        return WaitUntil([&] {
                   for (Window w : Children(display_, DefaultRootWindow(display_))) {
                       XWindowAttributes a{};
                       if (!before.count(w) && XGetWindowAttributes(display_, w, &a) &&
                           a.map_state == IsViewable && a.override_redirect && a.x == 0 &&
                           a.y == 0 && a.width == width && a.height == height)
                           return true;
                   }
                   return false;
               }) &&
               Drawn(DefaultRootWindow(display_), width, height);
    }
    void MovePointer(int x, int y) override {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XSync(display_, False);
    }
    void PressKey(TestProcess&, char key) override {
        const KeyCode code = XKeysymToKeycode(display_, key ? XK_a : XK_Shift_L);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XSync(display_, False);
    }

    std::string OpenHost() override {
        host_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 50, 60, 320, 240, 0, 0,
                                    0xff00ff);
        XMapWindow(display_, host_);
        XSync(display_, False);
        XGetInputFocus(display_, &focus_, &revert_);
        return std::to_string(host_);
    }
    bool FillsHost() override {
        Window focus = 0;
        return WaitUntil([&] {
                   const auto children = Children(display_, host_);
                   XWindowAttributes a{};
                   return children.size() == 1 && XGetWindowAttributes(display_, children[0], &a) &&
                          a.map_state == IsViewable && a.x == 0 && a.y == 0 && a.width == 320 &&
                          a.height == 240;
               }) &&
               XGetInputFocus(display_, &focus, &revert_) && focus == focus_ &&
               Drawn(host_, 320, 240);
    }
    void CloseHost() override {
        XDestroyWindow(display_, host_);
        XSync(display_, False);
    }
    void OpenDisplayProperties() override {
        XStoreName(display_,
                   XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 9, 9, 0, 0, 0),
                   "Display Properties");
        XSync(display_, False);
    }
    std::string Report(TestProcess& program) override {
        program.WaitForExit();
        return program.Output();
    }

    // Waits until the area shows clocks: many colours, none the magenta of a host window.
    bool Drawn(Window window, int width, int height) {
        return WaitUntil([&] {
            XImage* image = XGetImage(display_, window, 0, 0, width, height, AllPlanes, ZPixmap);
            std::set<unsigned long> colours;
            for (int y = 0; image && y < height; y += 4)
                for (int x = 0; x < width; x += 4) colours.insert(XGetPixel(image, x, y));
            if (image) XDestroyImage(image);
            return colours.size() >= 8 && !colours.count(0xff00ff);
        });
    }

    Display* display_ = XOpenDisplay(nullptr);
    TempFolder home_{"saver"};
    std::map<unsigned long, std::set<Window>> before_;  // by program
    Window host_ = 0, focus_ = 0;
    int revert_ = 0;
};

}  // namespace

std::unique_ptr<SaverProgramDriver> MakeSaverProgramDriver() {
    return std::make_unique<X11SaverDriver>();
}

// xscreensaver gives its hacks a window (-window-id, or -root with $XSCREENSAVER_WINDOW) and
// ends them with a signal; pointer and keys are its own business.
TEST(XScreenSaverHack, DrawsIntoTheGivenWindowUntilSignalled) {
    X11SaverDriver saver;
    // (-root with $XSCREENSAVER_WINDOW, as the daemon starts it: xscreensaver_test.sh.)
    auto hack = saver.Start("-window-id " + saver.OpenHost());
    EXPECT_TRUE(saver.Drawn(saver.host_, 320, 240));
    for (int move = 1; move <= 6; ++move) saver.MovePointer(40 * move, 30 * move);
    saver.PressKey(*hack, 'a');
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_TRUE(hack->Running());
    kill(static_cast<pid_t>(hack->Id()), SIGTERM);
    EXPECT_EQ(hack->WaitForExit(), 0);
    // Not a number, a window that does not exist, and the settings where GTK finds no display:
    // an error on standard error, not a crash.
    for (const auto& [arguments, error] : {std::pair{"-window-id nonsense", "nonsense"},
                                           {"-window-id 0x7ffffff", "134217727"},
                                           {"/c", "Run-time error '440'"}}) {
        auto program = saver.Start(arguments);
        EXPECT_EQ(program->WaitForExit(), 1) << arguments;
        EXPECT_NE(program->Output().find(error), std::string::npos) << program->Output();
    }
}

// Another client holds the keyboard while the saver shows and gives it up just after: the
// saver's next attempt takes it, and a grab tried from here then fails.
TEST(XScreenSaverGrabs, AGrabGivenUpWhileTheSaverTriesIsTaken) {
    X11SaverDriver saver;
    Display* other = XOpenDisplay(nullptr);
    const auto grab = [&] {
        return XGrabKeyboard(other, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync,
                             CurrentTime) == GrabSuccess;
    };
    const auto ungrab = [&] {
        XUngrabKeyboard(other, CurrentTime);
        return XSync(other, False) < 0;  // false
    };
    XSelectInput(other, DefaultRootWindow(other), SubstructureNotifyMask);
    ASSERT_TRUE(grab());
    auto program = saver.Start("/s");
    XEvent event{};
    while (event.type != MapNotify) XMaskEvent(other, SubstructureNotifyMask, &event);
    ungrab();
    EXPECT_TRUE(WaitUntil([&] { return !grab() || ungrab(); }));
    saver.PressKey(*program, 'a');
    EXPECT_EQ(program->WaitForExit(), 0);
    XCloseDisplay(other);
}
