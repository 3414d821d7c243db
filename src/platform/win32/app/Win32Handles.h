#pragma once
// Owners of the Win32 handles the program-level adapters and windows use.
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

// A registry key of our own opening.
class UniqueHkey {
  public:
    UniqueHkey() = default;
    ~UniqueHkey() {
        if (key_) RegCloseKey(key_);
    }
    UniqueHkey(const UniqueHkey&) = delete;
    UniqueHkey& operator=(const UniqueHkey&) = delete;

    HKEY* Put() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

// A GDI font.
class UniqueFont {
  public:
    UniqueFont() = default;
    explicit UniqueFont(HFONT font) : font_(font) {}
    ~UniqueFont() { Reset(); }
    UniqueFont(const UniqueFont&) = delete;
    UniqueFont& operator=(const UniqueFont&) = delete;
    UniqueFont(UniqueFont&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    UniqueFont& operator=(UniqueFont&& other) noexcept {
        if (this != &other) {
            Reset();
            font_ = std::exchange(other.font_, nullptr);
        }
        return *this;
    }

    HFONT Get() const { return font_; }
    void Reset() {
        if (font_) DeleteObject(font_);
        font_ = nullptr;
    }

  private:
    HFONT font_ = nullptr;
};
