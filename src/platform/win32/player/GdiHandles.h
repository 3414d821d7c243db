#pragma once
// Owners of the GDI resources the player draws with.

#include <windows.h>

#include <memory>
#include <utility>

#include "platform/win32/Win32Handles.h"

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
