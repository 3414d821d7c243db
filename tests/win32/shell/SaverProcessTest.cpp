// pelloxss.scr as Windows starts it: the full-screen and preview roads, the single-instance
// rule and bad command lines, checked from a second process under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t kSaverClass[] = L"PelloxSaverWindow";
constexpr wchar_t kPlayerClass[] = L"PelloxClockPlayer";

std::wstring ProgramPath() {
    wchar_t buffer[MAX_PATH] = {};
    GetEnvironmentVariableW(L"PELLOX_SCR", buffer, MAX_PATH);
    std::wstring path = buffer;  // "Z:/..." : the Unix root is drive Z: under Wine
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

// Handles our windows' messages while waiting: the preview's window becomes a child of ours.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds = 20000) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        Pump();
        if (condition()) return true;
        Sleep(20);
    }
    return condition();
}

class Process {
  public:
    explicit Process(const std::wstring& arguments) {
        std::wstring line = L"\"" + ProgramPath() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != FALSE;
    }
    ~Process() {
        if (!started_) return;
        if (Running()) TerminateProcess(info_.hProcess, 9);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    // True when the process ended within the time; its exit code in *code.
    bool Ended(DWORD* code = nullptr, DWORD milliseconds = 20000) const {
        if (!WaitFor([&] { return !Running(); }, milliseconds)) return false;
        if (code) GetExitCodeProcess(info_.hProcess, code);
        return true;
    }

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// The top-level windows of a class (any process, or one process).
std::vector<HWND> TopLevelWindows(const wchar_t* className, DWORD processId = 0) {
    struct Search {
        const wchar_t* className;
        DWORD processId;
        std::vector<HWND> found;
    } search{className, processId, {}};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (wcscmp(name, s->className) == 0 && (!s->processId || owner == s->processId)) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The window's text and its controls' texts, joined.
std::wstring WindowTexts(HWND window) {
    std::wstring text;
    const auto append = [](HWND control, LPARAM lParam) -> BOOL {
        wchar_t buffer[512] = {};
        SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer),
                            SMTO_ABORTIFHUNG, 1000, nullptr);
        *reinterpret_cast<std::wstring*>(lParam) += buffer;
        *reinterpret_cast<std::wstring*>(lParam) += L"|";
        return TRUE;
    };
    append(window, reinterpret_cast<LPARAM>(&text));
    EnumChildWindows(window, append, reinterpret_cast<LPARAM>(&text));
    return text;
}

// The text as ASCII, for failure messages.
std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

RECT VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A plain top-level window standing in for the display settings' preview area.
class HostWindow {
  public:
    HostWindow(int clientWidth, int clientHeight) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PelloxPreviewHost";
        RegisterClassW(&windowClass);
        RECT rect{0, 0, clientWidth, clientHeight};
        AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
        window_ = CreateWindowW(L"PelloxPreviewHost", L"Preview host", WS_OVERLAPPEDWINDOW, 40, 40,
                                rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        Pump();
    }
    ~HostWindow() {
        if (window_) DestroyWindow(window_);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Get() const { return window_; }
    void Destroy() {
        DestroyWindow(window_);
        window_ = nullptr;
    }

  private:
    HWND window_ = nullptr;
};

class SaverProcess : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(ProgramPath().empty()) << "PELLOX_SCR is not set"; }
};

TEST_F(SaverProcess, FullScreenIsATopmostBorderlessWindowOverTheWholeScreen) {
    Process saver(L"/s");
    ASSERT_TRUE(saver.Started());
    HWND window = nullptr;
    HWND player = nullptr;
    RECT rect{}, playerRect{};
    // Wait until start-up has placed the window and the window has laid out its player.
    WaitFor([&] {
        const auto found = TopLevelWindows(kSaverClass, saver.Id());
        window = found.empty() ? nullptr : found.front();
        if (!window) return false;
        player = FindWindowExW(window, nullptr, kPlayerClass, nullptr);
        GetWindowRect(window, &rect);
        if (player) GetWindowRect(player, &playerRect);
        return IsWindowVisible(window) && player && SameRect(rect, VirtualScreen()) &&
               SameRect(playerRect, rect) && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    });
    ASSERT_NE(window, nullptr);
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(SameRect(rect, VirtualScreen()))
        << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
    EXPECT_TRUE(SameRect(playerRect, rect));  // the player fills the window
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // A second full-screen instance ends at once, without a window of its own.
    Process second(L"/s");
    DWORD code = 99;
    ASSERT_TRUE(second.Ended(&code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(TopLevelWindows(kSaverClass, second.Id()).empty());
    EXPECT_TRUE(saver.Running());

    // A key pressed over the player ends the saver.
    PostMessageW(player, WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(saver.Ended(&code));
    EXPECT_EQ(code, 0u);
}

TEST_F(SaverProcess, PreviewIsASizedChildThatLeavesTheFocusAndTheFullScreenRoadAlone) {
    HostWindow host(152, 112);
    Process preview(L"/p " + std::to_wstring(reinterpret_cast<std::intptr_t>(host.Get())));
    ASSERT_TRUE(preview.Started());
    HWND child = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        child = FindWindowExW(host.Get(), nullptr, kSaverClass, nullptr);
        return child && IsWindowVisible(child);
    }));
    RECT client{}, hostClient{};
    GetClientRect(child, &client);
    GetClientRect(host.Get(), &hostClient);
    EXPECT_TRUE(SameRect(client, hostClient));
    EXPECT_EQ(hostClient.right, 152);
    EXPECT_EQ(GetAncestor(child, GA_PARENT), host.Get());
    EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
    wchar_t title[32] = {};
    GetWindowTextW(child, title, 32);
    EXPECT_STREQ(title, L"Preview");
    EXPECT_EQ(GetForegroundWindow(), host.Get());

    // A running preview does not stop the full-screen saver (the Preview button's "/s").
    {
        Process saver(L"/s");
        EXPECT_TRUE(WaitFor([&] { return !TopLevelWindows(kSaverClass, saver.Id()).empty(); }));
        EXPECT_TRUE(saver.Running());
        const auto windows = TopLevelWindows(kSaverClass, saver.Id());
        if (!windows.empty()) {
            PostMessageW(FindWindowExW(windows.front(), nullptr, kPlayerClass, nullptr), WM_KEYUP,
                         'A', 0);
        }
        EXPECT_TRUE(saver.Ended());
    }

    // Closing the settings dialog destroys the preview with its parent; the process ends.
    EXPECT_TRUE(preview.Running());
    host.Destroy();
    DWORD code = 99;
    EXPECT_TRUE(preview.Ended(&code));
    EXPECT_EQ(code, 0u);
}

TEST_F(SaverProcess, BadCommandLinesEndWithoutASaverWindow) {
    // Letters after /p: the conversion error is reported, no saver window appears.
    Process letters(L"/p abc");
    // The report's message box, once its text is in place.
    HWND box = nullptr;
    std::wstring text;
    WaitFor([&] {
        const auto boxes = TopLevelWindows(L"#32770", letters.Id());
        box = boxes.empty() ? nullptr : boxes.front();
        text = box ? WindowTexts(box) : L"";
        return text.find(L"mismatch") != std::wstring::npos;
    });
    ASSERT_NE(box, nullptr);
    EXPECT_NE(text.find(L"'13'"), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"Type mismatch"), std::wstring::npos) << Narrow(text);
    EXPECT_TRUE(TopLevelWindows(kSaverClass, letters.Id()).empty());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(letters.Ended(&code));
    EXPECT_EQ(code, 1u);

    // A handle that names no window, and keys that name no mode: ended at once, no window.
    for (const wchar_t* arguments : {L"/p 2147483600", L"/a", L"-s", L"s"}) {
        Process process(arguments);
        code = 99;
        ASSERT_TRUE(process.Ended(&code)) << arguments;
        EXPECT_EQ(code, 0u) << arguments;
        EXPECT_TRUE(TopLevelWindows(kSaverClass, process.Id()).empty()) << arguments;
    }
}

}  // namespace
