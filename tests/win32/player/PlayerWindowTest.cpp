// The player window under Wine: creation from the stored settings, the commands it raises,
// the clock file it follows and the pointer over a full-screen host.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/AppError.h"
#include "platform/win32/player/PlayerWindow.h"

namespace {

std::vector<UINT> parentMessages;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU) parentMessages.push_back(message);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A borderless top-level window to host the player.
class HostWindow {
  public:
    HostWindow(int x, int y, int width, int height) {
        static const bool registered = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = ParentProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"PlayerTestParent";
            return RegisterClassExW(&wc) != 0;
        }();
        EXPECT_TRUE(registered);
        window_ = CreateWindowExW(0, L"PlayerTestParent", L"", WS_POPUP | WS_VISIBLE, x, y, width,
                                  height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~HostWindow() { DestroyWindow(window_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Get() const { return window_; }

  private:
    HWND window_;
};

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

class PlayerWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ =
            std::filesystem::temp_directory_path() / (std::string("pellox-pw-") + info->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        parentMessages.clear();
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    void WriteClockFile(const std::string& firstCaption) {
        std::ofstream(folder_ / "pellox2.xml", std::ios::binary)
            << "<?xml version=\"1.0\"?><serie><value name=\"" << firstCaption
            << "\">GMT+00:00</value><value name=\"NEW YORK\">GMT-05:00</value><value "
               "name=\"SAN FRANCISCO\">GMT-08:00</value><value name=\"HONG KONG\">GMT+08:00</"
               "value><value name=\"Local Time\">GMT+01:00</value></serie>";
    }
    std::wstring Movie() const { return (folder_ / "PELLOXSS1.SWF").wstring(); }

    std::unique_ptr<PlayerWindow> Make(HWND parent, RECT rect) {
        return PlayerWindow::Create(parent, rect, BuildStoredSettings(SaverPlayerProperties()),
                                    [this](const std::wstring& command, const std::wstring& args) {
                                        commands_.push_back(command);
                                        EXPECT_TRUE(args.empty());
                                    });
    }

    std::filesystem::path folder_;
    std::vector<std::wstring> commands_;
};

TEST_F(PlayerWindowTest, CreatedFromTheStoredSettings) {
    HostWindow host(0, 0, 640, 480);
    auto player = Make(host.Get(), {10, 20, 330, 260});
    ASSERT_TRUE(player->Handle());
    EXPECT_EQ(GetParent(player->Handle()), host.Get());
    wchar_t className[64] = {};
    GetClassNameW(player->Handle(), className, 64);
    EXPECT_STREQ(className, PlayerWindow::kClassName);
    RECT r;
    GetWindowRect(player->Handle(), &r);
    MapWindowPoints(nullptr, host.Get(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 330);
    EXPECT_EQ(r.bottom, 260);
    EXPECT_EQ(player->Properties(), SaverPlayerProperties());
    Pump(300);
    EXPECT_GE(player->FramesDrawn(), 1u);  // never a blank window, even before a movie
    EXPECT_NE(player->DescribeFrame().find(L"note "), std::wstring::npos);

    player->Move(0, 0, 640, 480);
    GetClientRect(player->Handle(), &r);
    EXPECT_EQ(r.right, 640);
    EXPECT_EQ(r.bottom, 480);

    // Damaged settings: an error to the host and no window left behind.
    auto bytes = BuildStoredSettings(SaverPlayerProperties());
    bytes.resize(100);
    EXPECT_THROW(PlayerWindow::Create(host.Get(), {0, 0, 10, 10}, bytes, nullptr), AppError);
    HWND child = FindWindowExW(host.Get(), nullptr, PlayerWindow::kClassName, nullptr);
    EXPECT_EQ(child, player->Handle());
    EXPECT_EQ(FindWindowExW(host.Get(), child, PlayerWindow::kClassName, nullptr), nullptr);

    // Destroying the player removes its window.
    player.reset();
    EXPECT_EQ(FindWindowExW(host.Get(), nullptr, PlayerWindow::kClassName, nullptr), nullptr);
}

TEST_F(PlayerWindowTest, RaisesTheMovieCommands) {
    HostWindow host(0, 0, 320, 240);
    auto player = Make(host.Get(), {0, 0, 320, 240});
    HWND w = player->Handle();

    SendMessageW(w, WM_KEYDOWN, 'A', 0x001E0001);
    SendMessageW(w, WM_KEYDOWN, 'A', 0x401E0001);  // auto-repeat of the same press
    SendMessageW(w, WM_KEYUP, 'A', 0xC01E0001);
    SendMessageW(w, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
    SendMessageW(w, WM_SYSKEYUP, VK_MENU, 0xC0380001);
    EXPECT_EQ(commands_, (std::vector<std::wstring>{L"KEYDOWN", L"KEYUP", L"KEYDOWN", L"KEYUP"}));

    commands_.clear();
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(160, 120));  // sent when the window is shown
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(160, 120));  // same place: no movement
    EXPECT_TRUE(commands_.empty());
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(161, 120));
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(161, 120));
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(10, 200));
    EXPECT_EQ(commands_, (std::vector<std::wstring>{L"MOUSEMOVE", L"MOUSEMOVE"}));

    // No context menu: the right-click request goes nowhere, not even to the host.
    SendMessageW(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w), MAKELPARAM(5, 5));
    EXPECT_TRUE(parentMessages.empty());
    EXPECT_EQ(SendMessageW(w, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
}

TEST_F(PlayerWindowTest, HostFailuresAndTeardownInsideTheCallback) {
    HostWindow host(0, 0, 320, 240);
    int calls = 0;
    std::unique_ptr<PlayerWindow> player = PlayerWindow::Create(
        host.Get(), {0, 0, 320, 240}, BuildStoredSettings(SaverPlayerProperties()),
        [&](const std::wstring& command, const std::wstring&) {
            ++calls;
            if (command == L"KEYDOWN") throw AppError(errnum::AutomationError, L"host failed");
            if (command == L"KEYUP") player.reset();  // the host ends the player at once
        });
    HWND w = player->Handle();
    SendMessageW(w, WM_KEYDOWN, 'B', 1);  // the exception stays on this side of the window
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(player);
    SendMessageW(w, WM_KEYUP, 'B', 0xC0000001);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(player);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(PlayerWindowTest, FollowsTheClockFileBesideTheMovie) {
    WriteClockFile("LONDON");
    HostWindow host(0, 0, 800, 450);
    auto player = Make(host.Get(), {0, 0, 800, 450});
    player->SetMovie(Movie());
    EXPECT_EQ(player->Movie(), Movie());
    Pump(300);
    std::wstring frame = player->DescribeFrame();
    for (const wchar_t* caption :
         {L"|LONDON", L"|NEW YORK", L"|SAN FRANCISCO", L"|HONG KONG", L"|Local Time"})
        EXPECT_NE(frame.find(caption), std::wstring::npos) << caption;
    EXPECT_EQ(frame.find(L"note "), std::wstring::npos);

    // A new file shows within a few seconds (it is looked at once a second).
    const std::uint64_t framesBefore = player->FramesDrawn();
    const DWORD start = GetTickCount();
    WriteClockFile("PARIS AND BERLIN");
    // Changing the size too guarantees a new stamp even on coarse file times.
    std::ofstream(folder_ / "pellox2.xml", std::ios::app) << " ";
    while (player->DescribeFrame().find(L"|PARIS AND BERLIN") == std::wstring::npos &&
           GetTickCount() - start < 15000)
        Pump(200);
    EXPECT_NE(player->DescribeFrame().find(L"|PARIS AND BERLIN"), std::wstring::npos);
    const DWORD elapsedSeconds = (GetTickCount() - start) / 1000;
    const std::uint64_t frames = player->FramesDrawn() - framesBefore;
    EXPECT_GE(frames, 1u);
    // Whole seconds only: never more frames than seconds begun (a loaded machine may draw fewer).
    EXPECT_LE(frames, elapsedSeconds + 2u);

    // The file removed: the local clock and a line about the settings.
    std::filesystem::remove(folder_ / "pellox2.xml");
    const DWORD removed = GetTickCount();
    while (player->DescribeFrame().find(L"note ") == std::wstring::npos &&
           GetTickCount() - removed < 15000)
        Pump(200);
    frame = player->DescribeFrame();
    EXPECT_NE(frame.find(L"note "), std::wstring::npos);
    EXPECT_NE(frame.find(L"4 "), std::wstring::npos);
}

TEST_F(PlayerWindowTest, StoppedWhenTheSettingsSayNotToPlay) {
    PlayerProperties still = SaverPlayerProperties();
    still.Play = false;
    HostWindow host(0, 0, 320, 240);
    auto player =
        PlayerWindow::Create(host.Get(), {0, 0, 320, 240}, BuildStoredSettings(still), nullptr);
    EXPECT_FALSE(player->Properties().Play);
    Pump(300);
    const std::uint64_t first = player->FramesDrawn();
    EXPECT_GE(first, 1u);
    Pump(2500);  // whole seconds pass, but a stopped player draws no new frame
    EXPECT_EQ(player->FramesDrawn(), first);
    player->Move(0, 0, 200, 150);  // a new size is drawn at once
    Pump(300);
    EXPECT_GT(player->FramesDrawn(), first);
}

TEST_F(PlayerWindowTest, PointerHiddenOnlyOverAFullScreenHost) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const int countBefore = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    {
        HostWindow full(0, 0, cx, cy);
        auto player = Make(full.Get(), {0, 0, cx, cy});
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
        SendMessageW(player->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(player->Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), nullptr);
    }
    {
        HostWindow small(100, 100, 300, 200);
        auto player = Make(small.Get(), {0, 0, 300, 200});
        SetCursor(nullptr);
        SendMessageW(player->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(player->Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(GetCursor(), nullptr);
    }
    // The system's display count is the same as before.
    EXPECT_EQ(ShowCursor(TRUE) - 1, countBefore);
    ShowCursor(FALSE);
}

}  // namespace
