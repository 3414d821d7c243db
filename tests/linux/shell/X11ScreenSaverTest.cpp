// The Xlib adapter of the start-up and saver-window calls, on a real X server.
#include <gtest/gtest.h>
// Xlib after GoogleTest: its macros (None, Bool) clash with GoogleTest's names.
#include <X11/Xutil.h>
#include <unistd.h>

#include "X11TestDisplay.h"
#include "platform/linux/shell/X11ScreenSaver.h"

namespace {

class X11ScreenSaverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        display = OpenTestDisplay();
        ASSERT_NE(display, nullptr) << "no X display";
        screenSaver = MakeX11ScreenSaver(display);
    }
    void TearDown() override {
        screenSaver.reset();
        if (display) XCloseDisplay(display);
    }
    ::Window MakeWindow(::Window parent, int width, int height, const char* name = nullptr) {
        ::Window w = XCreateSimpleWindow(display, parent, 0, 0, width, height, 0, 0, 0);
        if (name) XStoreName(display, w, name);
        XSync(display, False);
        return w;
    }
    ss::Rect Geometry(::Window w) {
        XWindowAttributes a{};
        XGetWindowAttributes(display, w, &a);
        return ss::Rect{a.x, a.y, a.x + a.width, a.y + a.height};
    }

    Display* display = nullptr;
    std::unique_ptr<mScreenSaver> screenSaver;
};

TEST_F(X11ScreenSaverTest, FindsTopLevelWindowsByNameAndTellsWindowsApart) {
    const ::Window root = DefaultRootWindow(display);
    const std::string title = "Display Properties " + std::to_string(getpid());
    const ::Window named = MakeWindow(root, 50, 40, title.c_str());
    EXPECT_EQ(screenSaver->FindWindowA(nullptr, title.c_str()), static_cast<ss::Window>(named));
    EXPECT_EQ(screenSaver->FindWindowA(nullptr, "No such window title here"), 0);

    EXPECT_TRUE(screenSaver->IsWindow(static_cast<ss::Window>(named)));
    EXPECT_FALSE(screenSaver->IsWindow(0));
    EXPECT_FALSE(screenSaver->IsWindow(0x7ffffff0));
    ss::Rect rect;
    EXPECT_EQ(screenSaver->GetClientRect(0x7ffffff0, rect), 0);

    EXPECT_EQ(screenSaver->GetDesktopWindow(), static_cast<ss::Window>(root));
    const ss::Rect screen = screenSaver->VirtualScreenRect();
    EXPECT_EQ(screen.left, 0);
    EXPECT_EQ(screen.right, DisplayWidth(display, DefaultScreen(display)));
    XDestroyWindow(display, named);
}

TEST_F(X11ScreenSaverTest, PreviewCallsMakeASizedChildWithoutTakingTheFocus) {
    const ::Window root = DefaultRootWindow(display);
    const ::Window parent = MakeWindow(root, 152, 112);
    XMapWindow(display, parent);
    const ::Window saver = MakeWindow(root, 10, 10);
    const auto p = static_cast<ss::Window>(parent), s = static_cast<ss::Window>(saver);

    ss::Rect client;
    ASSERT_EQ(screenSaver->GetClientRect(p, client), 1);
    EXPECT_EQ(client, (ss::Rect{0, 0, 152, 112}));

    // The style bits the program sets are read back as it set them.
    const std::int32_t style = screenSaver->GetWindowLongA(s, ss::GwlStyle);
    screenSaver->SetWindowLongA(s, ss::GwlStyle, style | ss::WsChild);
    EXPECT_EQ(screenSaver->GetWindowLongA(s, ss::GwlStyle), style | ss::WsChild);

    ::Window focusBefore = 0;
    int revert = 0;
    XGetInputFocus(display, &focusBefore, &revert);
    screenSaver->SetParent(s, p);
    screenSaver->SetWindowLongA(s, ss::GwlHwndParent, static_cast<std::int32_t>(p));
    screenSaver->SetWindowPos(s, 0, 0, 0, client.right, client.bottom,
                              ss::SwpNoZOrder | ss::SwpNoActivate | ss::SwpShowWindow);
    XSync(display, False);

    ::Window rootOut = 0, parentOut = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, saver, &rootOut, &parentOut, &children, &count);
    if (children) XFree(children);
    EXPECT_EQ(parentOut, parent);
    EXPECT_EQ(Geometry(saver), (ss::Rect{0, 0, 152, 112}));
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, saver, &attributes);
    EXPECT_EQ(attributes.map_state, IsViewable);
    ::Window focusAfter = 0;
    XGetInputFocus(display, &focusAfter, &revert);
    EXPECT_EQ(focusAfter, focusBefore);
    XDestroyWindow(display, parent);
}

TEST_F(X11ScreenSaverTest, FullScreenCallsCoverTheScreenAndTakeTheFocus) {
    const ::Window saver = MakeWindow(DefaultRootWindow(display), 10, 10);
    const ss::Rect screen = screenSaver->VirtualScreenRect();
    screenSaver->SetWindowPos(static_cast<ss::Window>(saver), ss::HwndTopmost, screen.left,
                              screen.top, screen.right - screen.left, screen.bottom - screen.top,
                              ss::SwpShowWindow);
    XSync(display, False);
    EXPECT_EQ(Geometry(saver), screen);
    // Mapping is asynchronous; wait for it before asking for the focus owner.
    for (int i = 0; i < 100; ++i) {
        XWindowAttributes a{};
        XGetWindowAttributes(display, saver, &a);
        if (a.map_state == IsViewable) break;
        usleep(10000);
    }
    screenSaver->SetWindowPos(static_cast<ss::Window>(saver), ss::HwndTopmost, 0, 0, 0, 0,
                              ss::SwpShowWindow);
    XSync(display, False);
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    EXPECT_EQ(focus, saver);
    XDestroyWindow(display, saver);
}

TEST(FileLockInstanceGuard, OnlyTheFullScreenClaimCounts) {
    const std::string path = ::testing::TempDir() + "pellox-lock-" + std::to_string(getpid());
    auto first = MakeFileLockInstanceGuard(path);
    auto second = MakeFileLockInstanceGuard(path);
    EXPECT_FALSE(second->AnotherFullScreenInstance());  // nothing claimed yet
    first->ClaimFullScreen();
    EXPECT_TRUE(second->AnotherFullScreenInstance());
    EXPECT_FALSE(first->AnotherFullScreenInstance());
    first.reset();  // the claim ends with its holder
    EXPECT_FALSE(second->AnotherFullScreenInstance());
    unlink(path.c_str());
}

}  // namespace
