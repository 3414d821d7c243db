#pragma once
// One line of text through Uniscribe: itemised into runs of one script and direction, each run
// shaped in the first font that has glyphs for all of it (the primary font, then fonts known to
// cover many scripts, then any installed family), put in visual order and drawn by GDI.

#include <windows.h>

#include <usp10.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/Win32Handles.h"

// A run of the line: characters of one script and direction, shaped in one font.
struct ShapedRun {
    std::wstring face;                 // the family its glyphs come from
    int firstChar = 0, charCount = 0;  // in the text, in UTF-16 units
    SCRIPT_ANALYSIS analysis{};
    std::vector<WORD> glyphs;  // in visual order
    std::vector<int> advances;
    std::vector<GOFFSET> offsets;
    int missing = 0;  // glyphs that are the font's "no glyph" mark (no installed font had them)
    int width = 0;
    bool Rtl() const { return analysis.fRTL != 0; }
};

struct ShapedLine {
    std::vector<ShapedRun> runs;  // in visual order, left to right
    int width = 0;
    int ascent = 0, descent = 0;  // of the primary font
};

// Fonts by family, pixel height and weight, each with its Uniscribe cache; kept from frame to
// frame.
class UniscribeFonts {
  public:
    explicit UniscribeFonts(std::wstring primary = L"Arial") : primary_(std::move(primary)) {}
    ~UniscribeFonts() { Clear(); }
    UniscribeFonts(const UniscribeFonts&) = delete;
    UniscribeFonts& operator=(const UniscribeFonts&) = delete;

    ShapedLine Shape(HDC dc, const std::wstring& text, int pixelHeight, bool bold, bool smooth);
    // Draws a shaped line with its left end at x and its baseline at y.
    void Draw(HDC dc, const ShapedLine& line, int x, int y, COLORREF color, int pixelHeight,
              bool bold, bool smooth);
    void Clear();

  private:
    struct Font {
        UniqueFont font;
        SCRIPT_CACHE cache = nullptr;
        WORD defaultGlyph = 0;
        bool known = false;  // defaultGlyph read
    };
    using Key = std::tuple<std::wstring, int, bool, bool>;
    Font& Get(HDC dc, const std::wstring& face, int pixelHeight, bool bold, bool smooth);
    const std::vector<std::wstring>& Fallbacks(HDC dc);
    bool ShapeRun(HDC dc, Font& font, const wchar_t* chars, ShapedRun& run);

    std::wstring primary_;
    std::map<Key, Font> fonts_;
    std::vector<std::wstring> fallbacks_;
    bool enumerated_ = false;
    // The family that served a run's characters last time (a caption's runs repeat every minute).
    std::map<std::wstring, std::wstring> chosen_;
};
