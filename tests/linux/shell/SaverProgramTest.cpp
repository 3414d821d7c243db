// The real pelloxss under Xvfb: full screen, preview, the xscreensaver window, and the input
// that ends the saver. Pointer and keys come through XTEST, as from a user.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "config/ClockFile.h"
#include "platform/TextEncoding.h"
// After GoogleTest: Xlib's macros clash with its names.
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xinerama.h>

#include "X11TestDisplay.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The saver program, started with its own configuration and runtime folders; killed when the
// test leaves it running.
class SaverProcess {
  public:
    SaverProcess(const std::vector<std::string>& args, const fs::path& home,
                 const std::string& display, const std::string& extraEnv = "") {
        pid_ = fork();
        if (pid_ == 0) {
            setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (home / "run").c_str(), 1);
            setenv("DISPLAY", display.c_str(), 1);
            setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            unsetenv("XSCREENSAVER_WINDOW");
            if (!extraEnv.empty()) putenv(const_cast<char*>(extraEnv.c_str()));
            std::vector<char*> argv{const_cast<char*>(PELLOXSS_BINARY)};
            for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(PELLOXSS_BINARY, argv.data());
            _exit(127);
        }
    }
    ~SaverProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool Running() {
        if (exited_) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exited_ = true;
            status_ = status;
        }
        return !exited_;
    }
    // The exit status once it has ended within the wait; -1 when it still runs.
    int WaitForExit(std::chrono::seconds wait = 20s) {
        for (auto end = std::chrono::steady_clock::now() + wait;
             std::chrono::steady_clock::now() < end && Running();) {
            std::this_thread::sleep_for(20ms);
        }
        if (!exited_) return -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
    }
    void Signal(int signal) { kill(pid_, signal); }

  private:
    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = 0;
};

class TempHome {
  public:
    TempHome() {
        std::string pattern = (fs::temp_directory_path() / "pellox-saver.XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        fs::create_directories(path_ / "config" / "pelloxss");
        fs::create_directories(path_ / "run");
        fs::permissions(path_ / "run", fs::perms::owner_all);
        // A clock file as the settings dialog writes it.
        const RowTexts captions = {L"LONDON", L"NEW YORK", L"SAN FRANCISCO", L"HONG KONG",
                                   L"Local Time"};
        const RowTexts offsets = {L"GMT+00:00", L"GMT-05:00", L"GMT-08:00", L"GMT+08:00",
                                  L"GMT+09:00"};
        std::ofstream(path_ / "config" / "pelloxss" / "pellox2.xml", std::ios::binary)
            << BuildClockDocument(captions, offsets);
    }
    ~TempHome() { fs::remove_all(path_); }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

// A private Xvfb with two screens joined by Xinerama.
class TwoScreenXvfb {
  public:
    TwoScreenXvfb() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "+xinerama", "-screen", "0",
                   "1280x1024x24", "-screen", "1", "1280x1024x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char buffer[16] = {};
        const ssize_t n = read(fds[0], buffer, sizeof buffer - 1);
        close(fds[0]);
        if (n > 0) name_ = ":" + std::to_string(std::stoi(buffer));
    }
    ~TwoScreenXvfb() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    TwoScreenXvfb(const TwoScreenXvfb&) = delete;
    TwoScreenXvfb& operator=(const TwoScreenXvfb&) = delete;
    const std::string& Name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

// A mapped override-redirect top-level window of the given size, or 0.
Window FindSaverWindow(Display* display, int width, int height) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable &&
                a.override_redirect && a.x == 0 && a.y == 0 && a.width == width &&
                a.height == height) {
                found = children[i];
            }
        }
        if (children) XFree(children);
    }
    return found;
}

Window WaitForSaverWindow(Display* display, int width, int height) {
    for (int i = 0; i < 1500; ++i) {
        if (const Window w = FindSaverWindow(display, width, height)) return w;
        std::this_thread::sleep_for(20ms);
    }
    return 0;
}

// Distinct colours on a grid over a part of a window: one or two for an empty or cleared area,
// many where clocks are drawn with antialiasing.
std::size_t Colours(Display* display, Window window, int left, int top, int width, int height) {
    XImage* image = XGetImage(display, window, left, top, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return 0;
    std::set<unsigned long> colours;
    for (int y = 0; y < height; y += 2) {
        for (int x = 0; x < width; x += 2) colours.insert(XGetPixel(image, x, y));
    }
    XDestroyImage(image);
    return colours.size();
}

// Waits until the area shows clocks (the first frame may still be on its way).
std::size_t WaitForClocks(Display* display, Window window, int left, int top, int width,
                          int height) {
    std::size_t colours = 0;
    for (int i = 0; i < 1500 && colours < 8; ++i) {
        colours = Colours(display, window, left, top, width, height);
        if (colours < 8) std::this_thread::sleep_for(20ms);
    }
    return colours;
}

void MovePointer(Display* display, int x, int y) {
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
}

// A request on a window that went away must not end the test (and leave its children).
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

class SaverProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        XSetErrorHandler(IgnoreXError);
        display = OpenTestDisplay();
        ASSERT_NE(display, nullptr);
        name = DisplayString(display);
        width = DisplayWidth(display, DefaultScreen(display));
        height = DisplayHeight(display, DefaultScreen(display));
        MovePointer(display, 10, 10);
    }
    void TearDown() override {
        if (display) XCloseDisplay(display);
    }
    // Lets the saver see what was sent so far before the test looks at it again.
    void Settle() { std::this_thread::sleep_for(300ms); }

    Display* display = nullptr;
    std::string name;
    int width = 0, height = 0;
    TempHome home;
};

TEST_F(SaverProgram, FullScreenCoversTheScreenAndTheFourthPointerMoveEndsIt) {
    SaverProcess saver({"/s"}, home.Path(), name);
    const Window window = WaitForSaverWindow(display, width, height);
    ASSERT_NE(window, 0u) << "no override-redirect window over the whole screen";
    EXPECT_GE(WaitForClocks(display, DefaultRootWindow(display), 0, 0, width, height), 8u);

    // A second full-screen saver ends at once: the first holds the instance lock.
    SaverProcess second({"/s"}, home.Path(), name);
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_TRUE(saver.Running());

    for (int move = 1; move <= 3; ++move) {
        MovePointer(display, 100 * move, 80 * move);
        Settle();
        EXPECT_TRUE(saver.Running()) << "ended after move " << move;
    }
    MovePointer(display, 500, 400);
    EXPECT_EQ(saver.WaitForExit(), 0);
    XSync(display, False);
    EXPECT_EQ(FindSaverWindow(display, width, height), 0u);
}

TEST_F(SaverProgram, AKeyEndsTheFullScreenSaver) {
    SaverProcess saver({"/S"}, home.Path(), name);
    ASSERT_NE(WaitForSaverWindow(display, width, height), 0u);
    Settle();
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, shift, False, CurrentTime);
    XSync(display, False);
    EXPECT_EQ(saver.WaitForExit(), 0);
}

TEST_F(SaverProgram, ACharacterKeyEndsTheFullScreenSaver) {
    SaverProcess saver({"/s"}, home.Path(), name);
    ASSERT_NE(WaitForSaverWindow(display, width, height), 0u);
    Settle();
    const KeyCode a = XKeysymToKeycode(display, XK_a);
    XTestFakeKeyEvent(display, a, True, CurrentTime);
    XTestFakeKeyEvent(display, a, False, CurrentTime);
    XSync(display, False);
    EXPECT_EQ(saver.WaitForExit(), 0);
}

// A test window standing in for the display settings' preview area.
Window MakeTestWindow(Display* display, int x, int y, int w, int h, unsigned long background) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(w),
                            static_cast<unsigned>(h), 0, 0, background);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

TEST_F(SaverProgram, PreviewDrawsInsideTheGivenWindowAtItsSize) {
    const Window host = MakeTestWindow(display, 50, 60, 320, 240, 0xff00ff);
    SaverProcess saver({"/p", std::to_string(host)}, home.Path(), name);

    Window child = 0;
    for (int i = 0; i < 1000 && !child; ++i) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, host, &root, &parent, &children, &count) && count > 0) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(display, children[0], &a) && a.map_state == IsViewable)
                child = children[0];
        }
        if (children) XFree(children);
        if (!child) std::this_thread::sleep_for(20ms);
    }
    ASSERT_NE(child, 0u) << "no preview window inside the host";
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(display, child, &a));
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 0);
    EXPECT_EQ(a.width, 320);
    EXPECT_EQ(a.height, 240);
    EXPECT_GE(WaitForClocks(display, host, 0, 0, 320, 240), 8u);
    // Nothing of the magenta host shows: the clocks fill it.
    XImage* image = XGetImage(display, host, 0, 0, 320, 240, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    int magenta = 0;
    for (int y = 0; y < 240; y += 4)
        for (int x = 0; x < 320; x += 4) magenta += XGetPixel(image, x, y) == 0xff00ff;
    XDestroyImage(image);
    EXPECT_EQ(magenta, 0);
    EXPECT_TRUE(saver.Running());

    // The preview goes with its host.
    XDestroyWindow(display, host);
    XSync(display, False);
    EXPECT_EQ(saver.WaitForExit(), 0);
}

TEST_F(SaverProgram, AWindowIdIsDrawnIntoAndInputIsLeftToXscreensaver) {
    const Window host = MakeTestWindow(display, 0, 0, 400, 300, 0xff00ff);
    SaverProcess saver({"-window-id", "0x" +
                                          [&] {
                                              char hex[32];
                                              std::snprintf(hex, sizeof hex, "%lx", host);
                                              return std::string(hex);
                                          }()},
                       home.Path(), name);
    EXPECT_GE(WaitForClocks(display, host, 0, 0, 400, 300), 8u);

    for (int move = 1; move <= 6; ++move) MovePointer(display, 40 * move, 30 * move);
    const KeyCode a = XKeysymToKeycode(display, XK_a);
    XTestFakeKeyEvent(display, a, True, CurrentTime);
    XTestFakeKeyEvent(display, a, False, CurrentTime);
    XSync(display, False);
    Settle();
    EXPECT_TRUE(saver.Running());

    // xscreensaver ends its hacks with a signal.
    saver.Signal(SIGTERM);
    EXPECT_EQ(saver.WaitForExit(), 0);
    XDestroyWindow(display, host);
}

TEST_F(SaverProgram, XscreensaverWindowFromTheEnvironmentAndBadIdsAreReported) {
    const Window host = MakeTestWindow(display, 0, 0, 300, 200, 0xff00ff);
    const std::string variable = "XSCREENSAVER_WINDOW=" + std::to_string(host);
    SaverProcess saver({"-root"}, home.Path(), name, variable);
    EXPECT_GE(WaitForClocks(display, host, 0, 0, 300, 200), 8u);
    saver.Signal(SIGTERM);
    EXPECT_EQ(saver.WaitForExit(), 0);
    XDestroyWindow(display, host);

    // Not a number, and a window that does not exist: an error, not a crash.
    SaverProcess bad({"-window-id", "nonsense"}, home.Path(), name);
    EXPECT_EQ(bad.WaitForExit(), 1);
    SaverProcess gone({"-window-id", "0x7ffffff"}, home.Path(), name);
    EXPECT_EQ(gone.WaitForExit(), 1);
}

// Xvfb joins its screens with Xinerama into one logical screen (it places both heads at the
// origin); the saver covers that screen and draws a composition in each head.
TEST(SaverProgramTwoScreens, EachScreenOfAXineramaDisplayHasItsClocks) {
    XSetErrorHandler(IgnoreXError);
    TwoScreenXvfb xvfb;
    ASSERT_FALSE(xvfb.Name().empty()) << "Xvfb did not start";
    Display* display = XOpenDisplay(xvfb.Name().c_str());
    ASSERT_NE(display, nullptr);
    int count = 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
    ASSERT_NE(heads, nullptr);
    ASSERT_EQ(count, 2);
    TempHome home;
    {
        SaverProcess saver({"/s"}, home.Path(), xvfb.Name());
        const int width = DisplayWidth(display, 0), height = DisplayHeight(display, 0);
        EXPECT_NE(WaitForSaverWindow(display, width, height), 0u)
            << "the saver does not cover the logical screen";
        const Window root = DefaultRootWindow(display);
        for (int head = 0; head < count; ++head) {
            EXPECT_GE(WaitForClocks(display, root, heads[head].x_org, heads[head].y_org,
                                    heads[head].width, heads[head].height),
                      8u)
                << "head " << head;
        }
    }
    XFree(heads);
    XCloseDisplay(display);
}

}  // namespace
