#pragma once
// Owners of the GDI and GDI+ resources the player uses.

#include <windows.h>

#include <memory>
#include <utility>

// A memory device context (DeleteDC).
class UniqueMemoryDc {
  public:
    UniqueMemoryDc() = default;
    explicit UniqueMemoryDc(HDC dc) : dc_(dc) {}
    ~UniqueMemoryDc() { Reset(); }
    UniqueMemoryDc(const UniqueMemoryDc&) = delete;
    UniqueMemoryDc& operator=(const UniqueMemoryDc&) = delete;
    UniqueMemoryDc(UniqueMemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    UniqueMemoryDc& operator=(UniqueMemoryDc&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    void Reset() {
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
    }
    HDC Get() const { return dc_; }

  private:
    HDC dc_ = nullptr;
};

// A GDI object (DeleteObject).
template <typename Handle>
class UniqueGdiObject {
  public:
    UniqueGdiObject() = default;
    explicit UniqueGdiObject(Handle h) : h_(h) {}
    ~UniqueGdiObject() { Reset(); }
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
    UniqueGdiObject(UniqueGdiObject&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            h_ = std::exchange(other.h_, nullptr);
        }
        return *this;
    }
    void Reset() {
        if (h_) DeleteObject(h_);
        h_ = nullptr;
    }
    Handle Get() const { return h_; }

  private:
    Handle h_ = nullptr;
};

// A window DC from GetDC (ReleaseDC).
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC, put back on leaving the scope.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// A bitmap compatible with a window, selected into a memory DC of its own. (Under Wine GDI+
// draws into a DIB section several times slower than into a compatible bitmap.)
class MemoryBitmap {
  public:
    MemoryBitmap() = default;
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;

    bool Create(HWND window, int width, int height) {
        Reset();
        WindowDc screen(window);
        UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        UniqueGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
        if (!dc.Get() || !bitmap.Get()) return false;
        dc_ = std::move(dc);
        bitmap_ = std::move(bitmap);
        selection_ = std::make_unique<SelectedObject>(dc_.Get(), bitmap_.Get());
        width_ = width;
        height_ = height;
        return true;
    }
    void Reset() {
        selection_.reset();
        bitmap_.Reset();
        dc_.Reset();
        width_ = height_ = 0;
    }
    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    // Declared in this order so that the selection is undone before the bitmap goes.
    UniqueMemoryDc dc_;
    UniqueGdiObject<HBITMAP> bitmap_;
    std::unique_ptr<SelectedObject> selection_;
    int width_ = 0, height_ = 0;
};
