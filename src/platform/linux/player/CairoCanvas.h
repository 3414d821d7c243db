#pragma once
// The player's canvas on cairo, text through pango. Stateless towards the scene: every call
// sets its own colour, width and font. Antialiased unless the player asks for low quality.

#include <cairo.h>

#include "platform/linux/player/CairoObjects.h"
#include "player/Scene.h"

class CairoCanvas final : public Canvas {
  public:
    CairoCanvas(cairo_t* cr, bool highQuality);
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    void Clear(Rgb color) override;
    void FillCircle(PointF centre, float radius, Rgb color) override;
    void StrokeCircle(PointF centre, float radius, float width, Rgb color) override;
    void DrawLine(PointF from, PointF to, float width, Rgb color) override;
    void DrawText(const std::wstring& text, RectF box, float pixelHeight, bool bold,
                  Rgb color) override;

    // Characters of the last text drawn that no installed font had a glyph for.
    int LastUnknownGlyphs() const { return unknown_; }

  private:
    void SetColor(Rgb color);
    PangoLayout* Layout();

    cairo_t* cr_;
    UniquePangoLayout layout_;
    UniqueFontDescription font_;
    int unknown_ = 0;
};
