#include "platform/win32/player/PlayerWindow.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/win32/player/GdiHandles.h"
#include "platform/win32/player/GdiplusCanvas.h"
#include "platform/win32/player/Win32ClockEnvironment.h"
#include "player/ClockPlayer.h"

namespace {

constexpr UINT_PTR kSecondTimer = 1;
constexpr wchar_t kKeyDown[] = L"KEYDOWN";
constexpr wchar_t kKeyUp[] = L"KEYUP";
constexpr wchar_t kMouseMove[] = L"MOUSEMOVE";

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterPlayerClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PlayerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = nullptr;  // chosen on WM_SETCURSOR
        wc.hbrBackground = nullptr;
        wc.lpszClassName = PlayerWindow::kClassName;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered) throw AppError(errnum::AutomationError, L"Cannot register the player window");
}

std::shared_ptr<GdiplusSession> SharedGdiplus() {
    static std::weak_ptr<GdiplusSession> shared;
    auto session = shared.lock();
    if (!session) {
        session = std::make_shared<GdiplusSession>();
        shared = session;
    }
    return session;
}

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    auto* rects = reinterpret_cast<std::vector<RECT>*>(data);
    rects->push_back(*rect);
    return TRUE;
}

}  // namespace

class PlayerWindow::Impl {
  public:
    Impl(PlayerProperties properties, FSCommandHandler onCommand)
        : properties_(std::move(properties)),
          onCommand_(std::move(onCommand)),
          player_(environment_, source_) {}

    ~Impl() {
        if (window_) {
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            DestroyWindow(window_);
        }
    }

    void CreateWindowIn(HWND parent, const RECT& rect) {
        window_ =
            CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left,
                            rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                            nullptr, GetModuleHandleW(nullptr), this);
        if (!window_) throw AppError(errnum::AutomationError, L"Cannot create the player window");
        RECT client;  // WM_SIZE keeps it from here on
        GetClientRect(window_, &client);
        width_ = client.right;
        height_ = client.bottom;
        Render();
        ArmTimer();
    }

    void SetMovie(const std::wstring& movie) {
        properties_.Movie = movie;
        player_.SetMovie(movie);
        Render();
    }

    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::shared_ptr<GdiplusSession> gdiplus_ = SharedGdiplus();  // outlives every GDI+ object
    HWND window_ = nullptr;
    PlayerProperties properties_;
    FSCommandHandler onCommand_;
    Win32ClockEnvironment environment_;
    XmlClockFileSource source_{PlatformFileStamps(), PlatformXmlComponent()};
    ClockPlayer player_;
    PointerMotion motion_;
    Scene scene_;
    std::uint64_t frames_ = 0;
    std::int64_t lastSecond_ = -1;

  private:
    void ArmTimer() {
        // Playing clocks wake once per whole second; a stopped player draws only on demand.
        if (!properties_.Play || !window_) return;
        SetTimer(window_, kSecondTimer,
                 static_cast<UINT>(MsToNextSecond(environment_.NowUtcMs())) + 1, nullptr);
        periodic_ = false;
    }

    void OnTimer() {
        const std::int64_t now = environment_.NowUtcMs();
        const bool newSecond = now / 1000 != lastSecond_;
        if (newSecond) {  // an early tick draws nothing: only whole seconds
            const bool reread = player_.CheckClockFile(now);
            Render(now, reread);
        }
        // While ticks land just after the boundary, a steady one-second period keeps them
        // there without setting the timer again; otherwise aim at the next boundary.
        const int phase = static_cast<int>(now - WholeSecond(now));
        if (newSecond && phase < 150) {
            if (!periodic_) SetTimer(window_, kSecondTimer, 1000, nullptr);
            periodic_ = true;
        } else {
            ArmTimer();
        }
    }

    // A whole new picture is needed (new size, movie or settings): drawn at the next paint,
    // so that creating, sizing and pointing the player at a movie draw it once.
    void Render() {
        if (!window_) return;
        renderPending_ = true;
        InvalidateRect(window_, nullptr, FALSE);
    }

    // Draws the second that has begun. The still part (faces, captions, times) is drawn into
    // its own bitmap only when it changed; each second then only copies the faces from it,
    // draws the hands over them and puts those squares on the screen.
    void Render(std::int64_t now, bool full) {
        if (!window_) return;
        const int width = width_, height = height_;
        if (width <= 0 || height <= 0) return;
        if (width != frame_.Width() || height != frame_.Height()) {
            fonts_.Clear();
            if (!still_.Create(window_, width, height) || !frame_.Create(window_, width, height)) {
                still_.Reset();
                frame_.Reset();
                return;
            }
            full = true;
        }
        if (full || monitorsChanged_) CollectMonitors();

        player_.Build(width, height, monitors_, WholeSecond(now), scene_);
        const bool highQuality = properties_.Quality != L"Low";
        if (stillLayer_.Update(scene_, full)) {
            Gdiplus::Graphics graphics(still_.Dc());
            GdiplusCanvas canvas(graphics, fonts_, highQuality);
            canvas.Clear(scene_.background);
            PaintItems(stillLayer_.Items(), canvas);
            full = true;
        }

        faces_.clear();
        if (full) {
            BitBlt(frame_.Dc(), 0, 0, width, height, still_.Dc(), 0, 0, SRCCOPY);
        } else {
            // Per face: where its hands were and where they are now.
            const auto moving =
                std::span<const SceneItem>(scene_.items).subspan(scene_.firstMoving);
            for (const ClockView& v : scene_.clocks) {
                RectF dirty{};
                auto add = [&](const SceneItem& item) {
                    const RectF b = Bounds(item);
                    const float cx = b.left + b.width / 2, cy = b.top + b.height / 2;
                    if (cx >= v.faceBounds.left && cx <= v.faceBounds.Right() &&
                        cy >= v.faceBounds.top && cy <= v.faceBounds.Bottom())
                        dirty = Union(dirty, b);
                };
                for (const SceneItem& item : movingBefore_) add(item);
                for (const SceneItem& item : moving) add(item);
                if (dirty.width <= 0) continue;
                const RECT r{std::max(0L, static_cast<LONG>(dirty.left) - 1),
                             std::max(0L, static_cast<LONG>(dirty.top) - 1),
                             std::min<LONG>(width, static_cast<LONG>(dirty.Right()) + 2),
                             std::min<LONG>(height, static_cast<LONG>(dirty.Bottom()) + 2)};
                faces_.push_back(r);
                BitBlt(frame_.Dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, still_.Dc(),
                       r.left, r.top, SRCCOPY);
            }
        }
        {
            Gdiplus::Graphics graphics(frame_.Dc());
            GdiplusCanvas canvas(graphics, fonts_, highQuality);
            PaintItems(std::span<const SceneItem>(scene_.items).subspan(scene_.firstMoving),
                       canvas);
        }
        movingBefore_.assign(scene_.items.begin() + static_cast<std::ptrdiff_t>(scene_.firstMoving),
                             scene_.items.end());
        lastSecond_ = now / 1000;
        ++frames_;
        renderPending_ = false;

        if (full) {
            InvalidateRect(window_, nullptr, FALSE);
        } else {
            WindowDc dc(window_);
            for (const RECT& r : faces_)
                BitBlt(dc.Get(), r.left, r.top, r.right - r.left, r.bottom - r.top, frame_.Dc(),
                       r.left, r.top, SRCCOPY);
        }
    }

    void CollectMonitors() {
        // Each monitor in client coordinates: one composition per monitor.
        monitorsChanged_ = false;
        screenMonitors_.clear();
        EnumDisplayMonitors(nullptr, nullptr, CollectMonitor,
                            reinterpret_cast<LPARAM>(&screenMonitors_));
        POINT origin{0, 0};
        ClientToScreen(window_, &origin);
        monitors_.clear();
        for (const RECT& r : screenMonitors_)
            monitors_.push_back(
                {r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y});
    }

    void Paint() {
        if (renderPending_) Render(environment_.NowUtcMs(), true);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        if (frame_.Dc()) {
            BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                   ps.rcPaint.bottom - ps.rcPaint.top, frame_.Dc(), ps.rcPaint.left, ps.rcPaint.top,
                   SRCCOPY);
        }
        EndPaint(window_, &ps);
    }

    // The host runs full screen when its top-level window covers its whole monitor.
    bool HostIsFullScreen() const {
        HWND root = GetAncestor(window_, GA_ROOT);
        RECT rootRect;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!root || !GetWindowRect(root, &rootRect) ||
            !GetMonitorInfoW(MonitorFromWindow(root, MONITOR_DEFAULTTONEAREST), &info))
            return false;
        const RECT& m = info.rcMonitor;
        return rootRect.left <= m.left && rootRect.top <= m.top && rootRect.right >= m.right &&
               rootRect.bottom >= m.bottom;
    }

  public:
    // Raises the command; the host may destroy the player meanwhile, so nothing of this
    // object is touched afterwards.
    static void Raise(FSCommandHandler handler, const wchar_t* command) {
        if (!handler) return;
        try {
            handler(command, std::wstring());
        } catch (...) {
            // A host's failure must not unwind through the window procedure.
        }
    }

  private:
    MemoryBitmap still_;  // background, faces, captions, times
    MemoryBitmap frame_;  // the still part with the hands of the second
    StillLayer stillLayer_;
    std::vector<SceneItem> movingBefore_;  // the hands on the screen
    std::vector<RECT> faces_;
    bool monitorsChanged_ = true;
    bool renderPending_ = false;
    bool periodic_ = false;       // the timer runs on a steady one-second period
    int width_ = 0, height_ = 0;  // the client area
    FontCache fonts_;
    std::vector<RECT> screenMonitors_;
    std::vector<RectI> monitors_;
};

LRESULT PlayerWindow::Impl::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kSecondTimer) OnTimer();
            return 0;
        case WM_SIZE:
            width_ = LOWORD(lParam);
            height_ = HIWORD(lParam);
            Render();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the back buffer covers everything
        case WM_DISPLAYCHANGE:
            monitorsChanged_ = true;
            Render();
            return 0;
        case WM_WINDOWPOSCHANGED:
            monitorsChanged_ = true;  // moved: the monitors lie elsewhere in the client area
            break;
        case WM_SETTINGCHANGE:
            environment_.Refresh();
            Render();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
        case WM_MOUSEACTIVATE:
            return MA_ACTIVATE;
        case WM_LBUTTONDOWN:
            SetFocus(window);
            return 0;
        case WM_CONTEXTMENU:
            return 0;  // no right-click menu, and none from the parent either
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                // Hidden over a full-screen host; the system's display count is left alone.
                SetCursor(HostIsFullScreen()
                              ? nullptr
                              : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */));
                return TRUE;
            }
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if ((lParam & (1 << 30)) == 0) Raise(onCommand_, kKeyDown);  // not auto-repeat
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            Raise(onCommand_, kKeyUp);
            return 0;
        case WM_MOUSEMOVE: {
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(window, &p);
            if (motion_.Moved(p.x, p.y)) Raise(onCommand_, kMouseMove);
            return 0;
        }
        case WM_NCDESTROY:
            KillTimer(window, kSecondTimer);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

namespace {

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* impl = static_cast<PlayerWindow::Impl*>(create->lpCreateParams);
        impl->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl));
    }
    auto* impl = reinterpret_cast<PlayerWindow::Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!impl) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return impl->Handle(window, message, wParam, lParam);
    } catch (...) {
        // Nothing escapes the window procedure; the next second draws again.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

std::unique_ptr<PlayerWindow> PlayerWindow::Create(HWND parent, const RECT& rect,
                                                   std::span<const std::uint8_t> storedSettings,
                                                   FSCommandHandler onCommand) {
    PlayerProperties properties = ParseStoredSettings(storedSettings);
    RegisterPlayerClass();
    auto impl = std::make_unique<Impl>(std::move(properties), std::move(onCommand));
    if (!impl->gdiplus_->Ok()) throw AppError(errnum::AutomationError, L"GDI+ is not available");
    impl->player_.SetBackground(ParseBackgroundColor(impl->properties_.BGColor));
    impl->CreateWindowIn(parent, rect);
    // A movie stored in the settings starts at once; a blank one waits for SetMovie.
    const std::wstring stored = impl->properties_.Movie;
    if (stored.find_first_not_of(L' ') != std::wstring::npos)
        impl->SetMovie(stored);
    else
        impl->player_.SetMovie(stored);
    return std::unique_ptr<PlayerWindow>(new PlayerWindow(std::move(impl)));
}

PlayerWindow::PlayerWindow(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
PlayerWindow::~PlayerWindow() = default;

HWND PlayerWindow::Handle() const {
    return impl_->window_;
}

const PlayerProperties& PlayerWindow::Properties() const {
    return impl_->properties_;
}

void PlayerWindow::SetMovie(const std::wstring& movie) {
    impl_->SetMovie(movie);
}

const std::wstring& PlayerWindow::Movie() const {
    return impl_->properties_.Movie;
}

void PlayerWindow::Move(int left, int top, int width, int height) {
    if (impl_->window_) MoveWindow(impl_->window_, left, top, width, height, TRUE);
}

std::uint64_t PlayerWindow::FramesDrawn() const {
    return impl_->frames_;
}

std::wstring PlayerWindow::DescribeFrame() const {
    std::wostringstream out;
    for (const ClockView& v : impl_->scene_.clocks) {
        out << v.row << L" " << static_cast<int>(v.centre.x) << L" " << static_cast<int>(v.centre.y)
            << L" " << static_cast<int>(v.radius) << L" " << static_cast<int>(v.captionBox.left)
            << L" " << static_cast<int>(v.captionBox.top) << L" "
            << static_cast<int>(v.captionBox.width) << L" " << static_cast<int>(v.captionBox.height)
            << L" " << v.timeText << L"|" << v.caption << L"\n";
    }
    if (!impl_->scene_.note.empty()) out << L"note " << impl_->scene_.note << L"\n";
    return out.str();
}
