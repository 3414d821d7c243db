#pragma once
// The scene's canvas on GDI+: antialiased shapes and text at "High" quality.

#include <windows.h>

// gdiplus.h needs the Windows and COM types first (the build is WIN32_LEAN_AND_MEAN).
#include <objidl.h>

#include <gdiplus.h>

#include <map>
#include <memory>
#include <utility>

#include "player/Scene.h"

// GdiplusStartup and GdiplusShutdown, once per owner.
class GdiplusSession {
  public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Ok() const { return token_ != 0; }

  private:
    ULONG_PTR token_ = 0;
};

// Fonts by size and weight, kept from frame to frame (cleared when the size changes).
class FontCache {
  public:
    Gdiplus::Font& Get(float pixelHeight, bool bold);
    void Clear() { fonts_.clear(); }
    std::size_t Size() const { return fonts_.size(); }

  private:
    std::unique_ptr<Gdiplus::FontFamily> family_;
    std::map<std::pair<int, bool>, std::unique_ptr<Gdiplus::Font>> fonts_;
};

class GdiplusCanvas : public Canvas {
  public:
    GdiplusCanvas(Gdiplus::Graphics& graphics, FontCache& fonts, bool highQuality);

    void Clear(Rgb color) override;
    void FillCircle(PointF centre, float radius, Rgb color) override;
    void StrokeCircle(PointF centre, float radius, float width, Rgb color) override;
    void DrawLine(PointF from, PointF to, float width, Rgb color) override;
    void DrawText(const std::wstring& text, RectF box, float pixelHeight, bool bold,
                  Rgb color) override;

  private:
    Gdiplus::Graphics& g_;
    FontCache& fonts_;
};
