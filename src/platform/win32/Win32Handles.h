#pragma once
// Owners of the Win32 handles the adapters and windows use.
#include <windows.h>

#include <utility>

// A kernel handle (file), closed once.
class UniqueHandle {
  public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~UniqueHandle() { Close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // True when the handle was closed without error.
    bool Close() {
        if (!Valid()) return true;
        const BOOL closed = CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
        return closed != FALSE;
    }

  private:
    HANDLE handle_;
};

// The owner of one handle that a single function releases (DeleteObject, DeleteDC,
// RegCloseKey ...); a null handle owns nothing.
template <typename Handle, auto Release>
class UniqueOwner {
  public:
    UniqueOwner() = default;
    explicit UniqueOwner(Handle handle) : handle_(handle) {}
    ~UniqueOwner() { Reset(); }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    // For functions that return a new handle through a pointer.
    Handle* Put() {
        Reset();
        return &handle_;
    }
    void Reset() {
        if (handle_) Release(handle_);
        handle_ = nullptr;
    }

  private:
    Handle handle_ = nullptr;
};

using UniqueHkey = UniqueOwner<HKEY, &::RegCloseKey>;
template <typename GdiHandle>
using UniqueGdiObject = UniqueOwner<GdiHandle, &::DeleteObject>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueMemoryDc = UniqueOwner<HDC, &::DeleteDC>;
