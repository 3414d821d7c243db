// The saver suite's driver for a copy of pelloxss.scr under Wine, looked at with the window calls.
// The pointer moves for real; keys come as window messages (no window manager passes them on).
#include <windows.h>

#include <set>

#include "contract/SaverProgramDriver.h"
#include "support/TempFolder.h"
#include "support/Win32Windows.h"

namespace {

class Win32SaverDriver final : public SaverProgramDriver {
  public:
    Win32SaverDriver() {
        CopyFileW(Env(L"PELLOX_SCR").c_str(), program_.c_str(), FALSE);
        folder_.Write("pellox2.xml", kClockFile);
        WNDCLASSW host{};
        host.lpfnWndProc = DefWindowProcW;
        host.lpszClassName = L"PelloxTestHost";
        RegisterClassW(&host);
    }
    ~Win32SaverDriver() override {
        for (HWND w : {host_, displayProperties_})
            if (w) DestroyWindow(w);
    }

    std::unique_ptr<TestProcess> Start(const std::string& arguments) override {
        return std::make_unique<TestProcess>(program_, std::vector<std::string>{arguments});
    }
    bool CoversTheScreen(TestProcess& program) override {
        const RECT screen{
            GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        return WaitUntil([&] {
            const HWND window = SaverOf(program);
            RECT rect{}, player{};
            GetWindowRect(window, &rect);
            GetWindowRect(GetWindow(window, GW_CHILD), &player);
            const LONG style = GetWindowLongW(window, GWL_STYLE);
            return window && EqualRect(&rect, &screen) && EqualRect(&player, &rect) &&
                   (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
                   !(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER)) && Colours(screen) >= 8;
        });
    }
    void MovePointer(int x, int y) override { SetCursorPos(x, y); }
    void PressKey(TestProcess& program, char key) override {
        const HWND window = SaverOf(program);
        const HWND focus = FocusOf(window) ? FocusOf(window) : window;
        PostMessageW(focus, WM_KEYDOWN, key ? VkKeyScanW(key) & 0xFF : VK_SHIFT, 1);
        if (key) PostMessageW(focus, WM_CHAR, static_cast<WPARAM>(key), 1);
    }

    std::string OpenHost() override {
        host_ = CreateWindowW(L"PelloxTestHost", L"Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              40, 40, 200, 160, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(host_);
        return std::to_string(reinterpret_cast<std::intptr_t>(host_));
    }
    // A preview in another process's window is linked but not drawn under Wine: its place and
    // links are what can be checked here.
    bool FillsHost() override {
        return WaitUntil([&] {
            const HWND child = GetWindow(host_, GW_CHILD);
            RECT rect{}, hostRect{};
            GetClientRect(child, &rect);
            GetClientRect(host_, &hostRect);
            return child && IsWindowVisible(child) && EqualRect(&rect, &hostRect) &&
                   (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) && TextOf(child) == L"Preview" &&
                   GetForegroundWindow() == host_;
        });
    }
    void CloseHost() override {
        DestroyWindow(host_);
        host_ = nullptr;
    }
    void OpenDisplayProperties() override {
        displayProperties_ =
            CreateWindowW(L"PelloxTestHost", L"Display Properties", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                          100, nullptr, nullptr, nullptr, nullptr);
    }
    std::string Report(TestProcess& program) override {
        const std::wstring text = DismissMessageBox(program.Id(), L"Pellox Screensaver");
        return std::string(text.begin(), text.end());
    }

  private:
    static HWND SaverOf(TestProcess& program) {
        const auto windows = WindowsOf(program.Id());
        return windows.empty() ? nullptr : windows[0];
    }
    // Distinct colours on a grid over the screen: one for an empty window, many where clocks
    // are drawn.
    static std::size_t Colours(const RECT& screen) {
        const HDC dc = GetDC(nullptr);
        std::set<COLORREF> colours;
        for (int y = screen.top; y < screen.bottom; y += 40)
            for (int x = screen.left; x < screen.right; x += 40) colours.insert(GetPixel(dc, x, y));
        ReleaseDC(nullptr, dc);
        return colours.size();
    }

    TempFolder folder_{"saver"};
    std::filesystem::path program_ = folder_ / "pelloxss.scr";
    HWND host_ = nullptr, displayProperties_ = nullptr;
};

}  // namespace

std::unique_ptr<SaverProgramDriver> MakeSaverProgramDriver() {
    return std::make_unique<Win32SaverDriver>();
}
