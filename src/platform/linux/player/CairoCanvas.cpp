#include "platform/linux/player/CairoCanvas.h"

#include <cmath>

#include "platform/TextEncoding.h"
#include "player/FitText.h"

CairoCanvas::CairoCanvas(cairo_t* cr, bool highQuality) : cr_(cr) {
    cairo_set_antialias(cr_, highQuality ? CAIRO_ANTIALIAS_GOOD : CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
}

// Made on the first text: most frames draw only hands.
PangoLayout* CairoCanvas::Layout() {
    if (!layout_) {
        layout_.reset(pango_cairo_create_layout(cr_));
        font_.reset(pango_font_description_from_string("Liberation Sans, Arial, Sans"));
    }
    return layout_.get();
}

void CairoCanvas::SetColor(Rgb color) {
    cairo_set_source_rgb(cr_, color.r / 255.0, color.g / 255.0, color.b / 255.0);
}

void CairoCanvas::Clear(Rgb color) {
    SetColor(color);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
}

void CairoCanvas::FillCircle(PointF c, float r, Rgb color) {
    SetColor(color);
    cairo_new_path(cr_);
    cairo_arc(cr_, c.x, c.y, r, 0, 2 * M_PI);
    cairo_fill(cr_);
}

void CairoCanvas::StrokeCircle(PointF c, float r, float width, Rgb color) {
    SetColor(color);
    cairo_new_path(cr_);
    cairo_arc(cr_, c.x, c.y, r, 0, 2 * M_PI);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void CairoCanvas::DrawLine(PointF from, PointF to, float width, Rgb color) {
    SetColor(color);
    cairo_new_path(cr_);
    cairo_move_to(cr_, from.x, from.y);
    cairo_line_to(cr_, to.x, to.y);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void CairoCanvas::DrawText(const std::wstring& text, RectF box, float pixelHeight, bool bold,
                           Rgb color) {
    unknown_ = 0;
    if (text.empty() || pixelHeight <= 0) return;
    PangoLayout* layout = Layout();
    pango_font_description_set_weight(font_.get(), bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    int width = 0, height = 0;
    // Sets the layout to a text at a size; its width in pixels.
    auto set = [&](const std::wstring& t, float size) {
        pango_font_description_set_absolute_size(font_.get(), size * PANGO_SCALE);
        pango_layout_set_font_description(layout, font_.get());
        const std::string utf8Text = utf8::FromWide(t);
        pango_layout_set_text(layout, utf8Text.c_str(), static_cast<int>(utf8Text.size()));
        pango_layout_get_pixel_size(layout, &width, &height);
        return static_cast<float>(width);
    };
    const FittedText fitted = FitText(text, box.width, pixelHeight, set);
    if (fitted.text.empty()) return;
    set(fitted.text, fitted.pixelHeight);
    unknown_ = pango_layout_get_unknown_glyphs_count(layout);
    SetColor(color);
    cairo_move_to(cr_, box.left + (box.width - width) / 2.0, box.top + (box.height - height) / 2.0);
    pango_cairo_show_layout(cr_, layout);
}
