#include "platform/win32/shell/Win32ScreenSaver.h"

#include <windows.h>

namespace {

HWND ToHwnd(ss::Window window) {
    return reinterpret_cast<HWND>(window);
}
ss::Window FromHwnd(HWND window) {
    return reinterpret_cast<ss::Window>(window);
}

void CopyRect(const RECT& from, ss::Rect& to) {
    to = ss::Rect{from.left, from.top, from.right, from.bottom};
}

class Win32ScreenSaver final : public mScreenSaver {
  public:
    ss::Window FindWindowA(const char* className, const char* windowName) override {
        return FromHwnd(::FindWindowA(className, windowName));
    }
    int GetClientRect(ss::Window window, ss::Rect& rect) override {
        RECT r{};
        const BOOL ok = ::GetClientRect(ToHwnd(window), &r);
        CopyRect(r, rect);
        return ok;
    }
    std::int32_t GetWindowLongA(ss::Window window, int index) override {
        return ::GetWindowLongA(ToHwnd(window), index);
    }
    std::int32_t SetWindowLongA(ss::Window window, int index, std::int32_t value) override {
        // The owner link needs the whole handle on 64-bit Windows.
        if (index == GWLP_HWNDPARENT) {
            return static_cast<std::int32_t>(
                ::SetWindowLongPtrA(ToHwnd(window), index, static_cast<LONG_PTR>(value)));
        }
        return ::SetWindowLongA(ToHwnd(window), index, value);
    }
    ss::Window SetParent(ss::Window child, ss::Window parent) override {
        return FromHwnd(::SetParent(ToHwnd(child), ToHwnd(parent)));
    }
    int SetWindowPos(ss::Window window, ss::Window insertAfter, int x, int y, int cx, int cy,
                     std::uint32_t flags) override {
        return ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, cx, cy, flags);
    }
    int SystemParametersInfoA(std::uint32_t action, std::uint32_t uiParam, std::int32_t* pvParam,
                              std::uint32_t winIni) override {
        return ::SystemParametersInfoA(action, uiParam, pvParam, winIni);
    }
    int ShowCursor(bool show) override { return ::ShowCursor(show ? TRUE : FALSE); }
    ss::Rect VirtualScreenRect() override {
        const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        return ss::Rect{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    }
    bool IsWindow(ss::Window window) override { return ::IsWindow(ToHwnd(window)) != FALSE; }
};

// Only the full-screen road holds this mutex, so a running preview does not count as
// another instance.
constexpr const char* kFullScreenMutex = "Local\\PelloxScreenSaver.FullScreen";

class Win32InstanceGuard final : public InstanceGuard {
  public:
    Win32InstanceGuard() = default;
    Win32InstanceGuard(const Win32InstanceGuard&) = delete;
    Win32InstanceGuard& operator=(const Win32InstanceGuard&) = delete;
    ~Win32InstanceGuard() override {
        if (claim_) CloseHandle(claim_);
    }

    // CreateMutexA makes the mutex or opens the one that exists, and says which: the claim
    // and the answer come in one call. A mutex that cannot be made or opened (refused for
    // access, for one) counts as another instance's. The handle stays open either way, so
    // that the mutex lives while any full-screen saver runs.
    bool ClaimFullScreen() override {
        if (claim_) return first_;
        claim_ = CreateMutexA(nullptr, FALSE, kFullScreenMutex);
        first_ = claim_ && GetLastError() != ERROR_ALREADY_EXISTS;
        return first_;
    }

  private:
    HANDLE claim_ = nullptr;
    bool first_ = false;
};

}  // namespace

std::unique_ptr<mScreenSaver> MakeWin32ScreenSaver() {
    return std::make_unique<Win32ScreenSaver>();
}
std::unique_ptr<InstanceGuard> MakeWin32InstanceGuard() {
    return std::make_unique<Win32InstanceGuard>();
}
