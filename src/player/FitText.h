#pragma once
// Fitting one line of text into its box: a text too wide is drawn smaller, down to a floor; what
// is still too wide at the floor is cut at the end and closed with an ellipsis. Never wider than
// the box, so a long caption stays in its clock's column.

#include <functional>
#include <string>

struct FittedText {
    std::wstring text;
    float pixelHeight;
};

// The smallest size a text is shrunk to, as a share of its own size.
inline constexpr float kShrinkFloor = 0.6f;

// `measure` gives a text's width in pixels at a pixel height (the canvas's own text layer).
FittedText FitText(const std::wstring& text, float boxWidth, float pixelHeight,
                   const std::function<float(const std::wstring&, float)>& measure);
