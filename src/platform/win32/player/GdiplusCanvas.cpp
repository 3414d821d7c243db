#include "platform/win32/player/GdiplusCanvas.h"

#include <algorithm>
#include <cmath>

#include "player/FitText.h"

namespace {

Gdiplus::Color ToColor(Rgb c) {
    return Gdiplus::Color(255, c.r, c.g, c.b);
}

}  // namespace

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
}

GdiplusCanvas::GdiplusCanvas(Gdiplus::Graphics& graphics, FontCache& fonts, bool highQuality)
    : g_(graphics), fonts_(fonts), smooth_(highQuality) {
    g_.SetSmoothingMode(highQuality ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
    g_.SetPixelOffsetMode(highQuality ? Gdiplus::PixelOffsetModeHalf
                                      : Gdiplus::PixelOffsetModeNone);
    g_.SetTextRenderingHint(highQuality ? Gdiplus::TextRenderingHintAntiAliasGridFit
                                        : Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
}

void GdiplusCanvas::Clear(Rgb color) {
    g_.Clear(ToColor(color));
}

void GdiplusCanvas::FillCircle(PointF c, float r, Rgb color) {
    Gdiplus::SolidBrush brush(ToColor(color));
    g_.FillEllipse(&brush, c.x - r, c.y - r, 2 * r, 2 * r);
}

void GdiplusCanvas::StrokeCircle(PointF c, float r, float width, Rgb color) {
    Gdiplus::Pen pen(ToColor(color), width);
    g_.DrawEllipse(&pen, c.x - r, c.y - r, 2 * r, 2 * r);
}

void GdiplusCanvas::DrawLine(PointF from, PointF to, float width, Rgb color) {
    Gdiplus::Pen pen(ToColor(color), width);
    pen.SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
    g_.DrawLine(&pen, from.x, from.y, to.x, to.y);
}

void GdiplusCanvas::DrawText(const std::wstring& text, RectF box, float pixelHeight, bool bold,
                             Rgb color) {
    last_ = ShapedLine();
    if (text.empty() || pixelHeight < 1) return;
    const HDC dc = g_.GetHDC();
    if (!dc) return;
    auto pixels = [](float size) { return std::max(1, static_cast<int>(std::lround(size))); };
    const FittedText fitted =
        FitText(text, box.width, pixelHeight, [&](const std::wstring& t, float size) {
            return static_cast<float>(fonts_.Shape(dc, t, pixels(size), bold, smooth_).width);
        });
    const int size = pixels(fitted.pixelHeight);
    last_ = fonts_.Shape(dc, fitted.text, size, bold, smooth_);
    const int x = static_cast<int>(std::lround(box.left + (box.width - last_.width) / 2.0));
    const int y = static_cast<int>(
        std::lround(box.top + box.height / 2.0 + (last_.ascent - last_.descent) / 2.0));
    fonts_.Draw(dc, last_, x, y, RGB(color.r, color.g, color.b), size, bold, smooth_);
    g_.ReleaseHDC(dc);
}
