#include "platform/win32/shell/Win32SaverWindow.h"

#include <utility>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/win32/app/Win32ProgramPorts.h"
#include "platform/win32/config/SettingsDialog.h"
#include "platform/win32/player/PlayerWindow.h"
#include "player/StoredSettings.h"

namespace {

constexpr wchar_t kSaverClass[] = L"PelloxSaverWindow";

}  // namespace

Win32SaverWindows::Win32SaverWindows(HINSTANCE instance, mScreenSaver& screenSaver,
                                     const std::int32_t& runMode, ProgramFolder& folder,
                                     PointerOverride& pointer)
    : instance_(instance),
      screenSaver_(screenSaver),
      folder_(folder),
      pointer_(pointer),
      form_(screenSaver, runMode, *this, *this) {}

Win32SaverWindows::~Win32SaverWindows() {
    // Only a failure unwinding start-up gets here with the window alive: it goes quietly,
    // without Form_Unload and without the quit request, and the report follows.
    player_.reset();
    if (HWND window = std::exchange(window_, nullptr)) DestroyWindow(window);
}

ss::Window Win32SaverWindows::CreateSaverWindow(std::int32_t runMode) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32SaverWindows::WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kSaverClass;
    RegisterClassExW(&windowClass);

    // Borderless and hidden until start-up places it; no task-bar button for the full screen.
    const DWORD exStyle = runMode == run_mode::FullScreen ? WS_EX_TOOLWINDOW : 0;
    window_ = CreateWindowExW(exStyle, kSaverClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0,
                              nullptr, nullptr, instance_, this);
    if (!window_) {
        throw AppError(static_cast<long>(GetLastError()), L"The saver window cannot be created.");
    }
    const std::vector<std::uint8_t> settings = BuildStoredSettings(SaverPlayerProperties());
    const RECT empty{0, 0, 0, 0};
    player_ = PlayerWindow::Create(window_, empty, settings,
                                   [this](const std::wstring& command, const std::wstring& args) {
                                       form_.swf_FSCommand(command, args);
                                   });
    form_.Form_Load();
    return reinterpret_cast<ss::Window>(window_);
}

void Win32SaverWindows::SetSaverWindowTitle(ss::Window window, const std::wstring& title) {
    SetWindowTextW(reinterpret_cast<HWND>(window), title.c_str());
}

void Win32SaverWindows::ShowSettingsDialog() {
    ::ShowSettingsDialog();
}

ss::Window Win32SaverWindows::Handle() {
    return reinterpret_cast<ss::Window>(window_);
}
bool Win32SaverWindows::IsMinimized() {
    return IsIconic(window_) != FALSE;
}

int Win32SaverWindows::Width() {
    RECT r{};
    GetWindowRect(window_, &r);
    return r.right - r.left;
}

int Win32SaverWindows::Height() {
    RECT r{};
    GetWindowRect(window_, &r);
    return r.bottom - r.top;
}

std::wstring Win32SaverWindows::AppPath() {
    return folder_.Path();
}
void Win32SaverWindows::ClearPointerOverride() {
    pointer_.SetMousePointer(PointerShape::Default);
}
void Win32SaverWindows::TerminateProcess() {
    ExitProcess(0);
}

void Win32SaverWindows::SetMovie(const std::wstring& path) {
    if (player_) player_->SetMovie(path);
}

void Win32SaverWindows::SetTop(int top) {
    playerRect_.top = top;
    MovePlayer();
}
void Win32SaverWindows::SetLeft(int left) {
    playerRect_.left = left;
    MovePlayer();
}
void Win32SaverWindows::SetWidth(int width) {
    playerRect_.right = width;
    MovePlayer();
}
void Win32SaverWindows::SetHeight(int height) {
    playerRect_.bottom = height;
    MovePlayer();
}

void Win32SaverWindows::MovePlayer() {
    if (player_) {
        player_->Move(playerRect_.left, playerRect_.top, playerRect_.right, playerRect_.bottom);
    }
}

LRESULT CALLBACK Win32SaverWindows::WindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32SaverWindows*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->window_ || ReportOnScreen())
        return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
    }
}

LRESULT Win32SaverWindows::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            form_.Form_Resize();
            return 0;
        case WM_CHAR:
            form_.Form_KeyPress(static_cast<int>(wParam));
            return 0;
        case WM_SETCURSOR:
            // The program-wide pointer override wins over the player's own pointer.
            if (PointerOverrideActive()) {
                SetCursor(OverrideCursor());
                return TRUE;
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SETFOCUS:
            // Keys go to the player, which reports them as commands.
            if (player_) SetFocus(player_->Handle());
            return 0;
        case WM_DESTROY:
            // Closed or destroyed from outside (EndSaver ends the process before this).
            form_.Form_Unload();
            player_.reset();
            window_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}
