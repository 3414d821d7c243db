#pragma once
// The scene's canvas: antialiased shapes (GDI+) and text (Uniscribe and GDI, with a fallback
// font for what the primary font lacks) at "High" quality.

#include <windows.h>

// gdiplus.h needs the Windows and COM types first (the build is WIN32_LEAN_AND_MEAN).
#include <objidl.h>

#include <gdiplus.h>

#include "platform/win32/player/UniscribeText.h"
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
using FontCache = UniscribeFonts;

class GdiplusCanvas : public Canvas {
  public:
    GdiplusCanvas(Gdiplus::Graphics& graphics, FontCache& fonts, bool highQuality);

    void Clear(Rgb color) override;
    void FillCircle(PointF centre, float radius, Rgb color) override;
    void StrokeCircle(PointF centre, float radius, float width, Rgb color) override;
    void DrawLine(PointF from, PointF to, float width, Rgb color) override;
    void DrawText(const std::wstring& text, RectF box, float pixelHeight, bool bold,
                  Rgb color) override;

    // The last text drawn, as shaped: its runs, fonts and glyphs.
    const ShapedLine& LastLine() const { return last_; }

  private:
    Gdiplus::Graphics& g_;
    FontCache& fonts_;
    bool smooth_;
    ShapedLine last_;
};
