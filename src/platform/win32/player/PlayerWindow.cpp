#include "platform/win32/player/PlayerWindow.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/win32/app/Win32ProgramPorts.h"
#include "platform/win32/player/GdiHandles.h"
#include "platform/win32/player/GdiplusCanvas.h"
#include "platform/win32/player/Win32ClockEnvironment.h"
#include "player/ClockTime.h"
#include "player/ItemSprites.h"

namespace {

constexpr UINT_PTR kSecondTimer = 1;

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

// A hook for tests only: PELLOX_TEST_FAIL=player makes the player's creation fail once its
// window exists, =tick makes every tick of its timer fail, so that the tests can watch the
// failure report of the real program. Read once; unset in every ordinary run.
void FailForTest(const wchar_t* where) {
    static const std::wstring requested = [] {
        wchar_t value[16] = {};
        const DWORD length = GetEnvironmentVariableW(L"PELLOX_TEST_FAIL", value, 16);
        return length < 16 ? std::wstring(value, length) : std::wstring();
    }();
    if (requested == where)
        throw AppError(errnum::AutomationError, std::wstring(L"Test failure: ") + where);
}

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
    return TRUE;
}

// An item's picture: a premultiplied 32-bit DIB section in a DC of its own, laid over the frame
// by GdiAlphaBlend.
struct Sprite {
    // Declared in this order so that the selection is undone before the bitmap goes.
    UniqueMemoryDc dc;
    UniqueGdiObject<HBITMAP> bitmap;
    std::unique_ptr<SelectedObject> selection;
};

}  // namespace

class PlayerWindow::Impl final : private PlayerSurface {
  public:
    Impl(PlayerProperties properties, FSCommandHandler onCommand)
        : properties_(std::move(properties)),
          player_(environment_, source_, *this, std::move(onCommand),
                  MakeProgramFolder()->UserPath()) {
        player_.SetBackground(ParseBackgroundColor(properties_.BGColor));
    }

    ~Impl() override {
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
        CollectMonitors();
        Redraw();
        Arm(MsToNextSecond(environment_.NowUtcMs()));
    }

    void SetMovie(const std::wstring& movie) {
        properties_.Movie = movie;
        player_.SetMovie(movie);
        Redraw();
    }

    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::shared_ptr<GdiplusSession> gdiplus_ = SharedGdiplus();  // outlives every GDI+ object
    HWND window_ = nullptr;
    PlayerProperties properties_;
    Win32ClockEnvironment environment_;
    XmlClockFileSource source_{PlatformFileStamps(), PlatformXmlComponent()};
    ClockPlayer player_;

  private:
    // PlayerSurface: the still layer and the frame are bitmaps compatible with the window (under
    // Wine GDI+ draws into a DIB section several times slower).
    int Width() override { return width_; }
    int Height() override { return height_; }

    bool PaintStill(Rgb background, std::span<const SceneItem> items) override {
        if (width_ != still_.Width() || height_ != still_.Height()) {
            fonts_.Clear();
            if (!still_.Create(window_, width_, height_) ||
                !frame_.Create(window_, width_, height_)) {
                still_.Reset();
                frame_.Reset();
                return false;
            }
        }
        sprites_.NextPeriod();
        {
            Gdiplus::Graphics graphics(still_.Dc());
            GdiplusCanvas(graphics, fonts_, HighQuality()).Clear(background);
        }
        Lay(items, still_.Dc(), nullptr);
        return true;
    }

    void CopyStill(std::span<const RectI> areas) override { Copy(still_.Dc(), frame_.Dc(), areas); }

    void PaintItems(std::span<const SceneItem> items, std::span<const RectI> areas) override {
        const HRGN region = RegionOf(areas);
        SelectClipRgn(frame_.Dc(), region);
        Lay(items, frame_.Dc(), region);
        SelectClipRgn(frame_.Dc(), nullptr);
    }

    void Prepare(std::span<const SceneItem> items) override { sprites_.Prepare(items); }

    // Paints items onto a bitmap's DC, inside `clip` when there is one. Each run of shapes is
    // drawn once into a sprite and then only blended: under Wine each GDI+ drawing on the DC
    // cost far more (every call saves and restores the DC). Texts are drawn.
    void Lay(std::span<const SceneItem> items, HDC dc, HRGN clip) {
        sprites_.ForEachRun(
            items, [&](std::span<const SceneItem> run, RectI box, const Sprite* sprite) {
                if (sprite) {
                    constexpr BLENDFUNCTION over{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                    GdiAlphaBlend(dc, box.left, box.top, box.Width(), box.Height(),
                                  sprite->dc.Get(), 0, 0, box.Width(), box.Height(), over);
                    return;
                }
                Gdiplus::Graphics graphics(dc);
                if (clip) graphics.SetClip(clip, Gdiplus::CombineModeReplace);
                GdiplusCanvas canvas(graphics, fonts_, HighQuality());
                ::PaintItems(run, canvas);
            });
    }

    std::unique_ptr<Sprite> MakeSprite(std::span<const SceneItem> shape, int w, int h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        auto sprite = std::make_unique<Sprite>();
        sprite->dc = UniqueMemoryDc(CreateCompatibleDC(nullptr));
        sprite->bitmap = UniqueGdiObject<HBITMAP>(
            CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!sprite->dc.Get() || !sprite->bitmap.Get() || !bits) return nullptr;
        std::memset(bits, 0, static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
        {
            Gdiplus::Bitmap bitmap(w, h, w * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
            Gdiplus::Graphics graphics(&bitmap);
            GdiplusCanvas canvas(graphics, fonts_, HighQuality());
            ::PaintItems(shape, canvas);
        }
        sprite->selection =
            std::make_unique<SelectedObject>(sprite->dc.Get(), sprite->bitmap.Get());
        return sprite;
    }

    void Present(std::span<const RectI> areas) override {
        WindowDc dc(window_);
        Copy(frame_.Dc(), dc.Get(), areas);
    }

    // One copy for all the areas: their bounding box, clipped to their union.
    void Copy(HDC from, HDC to, std::span<const RectI> areas) {
        const HRGN region = RegionOf(areas);
        RECT box{};
        GetRgnBox(region, &box);
        SelectClipRgn(to, region);
        BitBlt(to, box.left, box.top, box.right - box.left, box.bottom - box.top, from, box.left,
               box.top, SRCCOPY);
        SelectClipRgn(to, nullptr);
    }

    // The union of the areas, made in one call from their list. A frame's painting and
    // presentation name the same areas: the region is made once for them (SelectClipRgn takes a
    // copy).
    HRGN RegionOf(std::span<const RectI> areas) {
        if (region_.Get() && std::ranges::equal(areas, regionAreas_)) return region_.Get();
        RGNDATAHEADER header{sizeof header, RDH_RECTANGLES, static_cast<DWORD>(areas.size()), 0, {}};
        std::vector<std::byte> data(sizeof header + areas.size() * sizeof(RECT));
        RectI bounds;
        for (std::size_t i = 0; i < areas.size(); ++i) {
            const RectI& a = areas[i];
            const RECT r{a.left, a.top, a.right, a.bottom};
            std::memcpy(data.data() + sizeof header + i * sizeof r, &r, sizeof r);
            bounds = Union(bounds, a);
        }
        header.rcBound = {bounds.left, bounds.top, bounds.right, bounds.bottom};
        std::memcpy(data.data(), &header, sizeof header);
        region_ = UniqueGdiObject<HRGN>(ExtCreateRegion(
            nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
        regionAreas_.assign(areas.begin(), areas.end());
        return region_.Get();
    }

    bool HighQuality() const { return properties_.Quality != L"Low"; }

    // The timer aims just past each whole second. While its ticks land there, a steady
    // one-second period keeps them there without setting it again.
    void OnTimer() {
        FailForTest(L"tick");
        Arm(player_.Tick());
    }
    void Arm(int wait) {
        if (wait > 850) {
            if (!periodic_) SetTimer(window_, kSecondTimer, 1000, nullptr);
            periodic_ = true;
        } else {
            SetTimer(window_, kSecondTimer, static_cast<UINT>(wait) + 1, nullptr);
            periodic_ = false;
        }
    }

    // A change is drawn at the next paint, so that creating, sizing and pointing the player at
    // a movie draw it once.
    void Redraw() {
        if (window_) InvalidateRect(window_, nullptr, FALSE);
    }

    void Paint() {
        player_.Tick();
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        if (frame_.Dc()) {
            const RECT& r = ps.rcPaint;
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, frame_.Dc(), r.left,
                   r.top, SRCCOPY);
        }
        EndPaint(window_, &ps);
    }

    // Each monitor in client coordinates.
    void CollectMonitors() {
        std::vector<RECT> screens;
        EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&screens));
        POINT origin{0, 0};
        ClientToScreen(window_, &origin);
        std::vector<RectI> monitors;
        for (const RECT& r : screens)
            monitors.push_back(
                {r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y});
        player_.SetMonitors(std::move(monitors));
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
        return Covers({rootRect.left, rootRect.top, rootRect.right, rootRect.bottom},
                      {m.left, m.top, m.right, m.bottom});
    }

    MemoryBitmap still_;  // background, faces, captions, times
    MemoryBitmap frame_;  // the still layer with the hands of the second
    FontCache fonts_;
    // Bitmaps keep their colours: a run is all the shapes between two texts. (Wine blends every
    // pixel of a bitmap's box, so four pictures as large as the face cost four times one.)
    ItemSprites<Sprite> sprites_{
        [this](std::span<const SceneItem> shape, int w, int h) { return MakeSprite(shape, w, h); },
        RunOfShapes};
    UniqueGdiObject<HRGN> region_;
    std::vector<RectI> regionAreas_;
    bool periodic_ = false;
    int width_ = 0, height_ = 0;  // the client area
};

LRESULT PlayerWindow::Impl::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kSecondTimer) OnTimer();
            return 0;
        case WM_SIZE:
            width_ = LOWORD(lParam);
            height_ = HIWORD(lParam);
            Redraw();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the frame covers everything
        case WM_DISPLAYCHANGE:
        case WM_WINDOWPOSCHANGED:  // moved: the monitors lie elsewhere in the client area
            CollectMonitors();
            Redraw();
            break;
        case WM_SETTINGCHANGE:
            environment_.Refresh();
            player_.LocaleChanged();
            Redraw();
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
            // Bit 30: the key was down before this message, an auto-repeat.
            player_.KeyDown(static_cast<int>(wParam), (lParam & (1 << 30)) != 0);
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            player_.KeyUp(static_cast<int>(wParam));
            return 0;
        case WM_MOUSEMOVE: {
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(window, &p);
            player_.PointerAt(p.x, p.y);
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
    if (!impl || ReportOnScreen()) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return impl->Handle(window, message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();  // nothing unwinds through the window procedure
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
    // A movie stored in the settings starts at once; a blank one waits for SetMovie.
    impl->player_.SetMovie(impl->properties_.Movie);
    impl->CreateWindowIn(parent, rect);
    FailForTest(L"player");
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

const ClockPlayer& PlayerWindow::Player() const {
    return impl_->player_;
}
