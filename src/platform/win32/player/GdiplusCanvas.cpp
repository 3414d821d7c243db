#include "platform/win32/player/GdiplusCanvas.h"

#include <algorithm>

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

Gdiplus::Font& FontCache::Get(float pixelHeight, bool bold) {
    if (!family_) {
        // Arial: on every Windows, and mapped under Wine. Looking for a family that is missing
        // (Segoe UI under Wine) costs up to half a second at start.
        family_ = std::make_unique<Gdiplus::FontFamily>(L"Arial");
        if (family_->GetLastStatus() != Gdiplus::Ok)
            family_.reset(Gdiplus::FontFamily::GenericSansSerif()->Clone());
    }
    // Sizes in quarter pixels: a few distinct keys for a whole run.
    const int key = std::max(1, static_cast<int>(pixelHeight * 4));
    auto& font = fonts_[{key, bold}];
    if (!font) {
        font = std::make_unique<Gdiplus::Font>(
            family_.get(), key / 4.0f, bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
            Gdiplus::UnitPixel);
    }
    return *font;
}

GdiplusCanvas::GdiplusCanvas(Gdiplus::Graphics& graphics, FontCache& fonts, bool highQuality)
    : g_(graphics), fonts_(fonts) {
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
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoClip);
    format.SetTrimming(Gdiplus::StringTrimmingNone);
    const Gdiplus::RectF rect(box.left, box.top, box.width, box.height);
    const INT length = static_cast<INT>(text.size());
    // A text wider than its box is drawn smaller, never cut.
    Gdiplus::Font* font = &fonts_.Get(pixelHeight, bold);
    Gdiplus::RectF needed;
    const Gdiplus::RectF unbounded(0, 0, 100000, 100000);
    if (g_.MeasureString(text.c_str(), length, font, unbounded, &format, &needed) == Gdiplus::Ok &&
        needed.Width > box.width && needed.Width > 0) {
        font = &fonts_.Get(pixelHeight * box.width / needed.Width * 0.97f, bold);
    }
    Gdiplus::SolidBrush brush(ToColor(color));
    g_.DrawString(text.c_str(), length, font, rect, &format, &brush);
}
