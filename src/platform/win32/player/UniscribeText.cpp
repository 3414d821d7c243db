#include "platform/win32/player/UniscribeText.h"

#include <algorithm>
#include <set>

namespace {

// Families that cover many scripts, tried before the rest of the installed ones: those of
// Windows first, then those of the Debian fonts Wine sees through fontconfig.
constexpr const wchar_t* kPreferred[] = {
    L"Segoe UI",         L"Tahoma",         L"Microsoft Sans Serif", L"Yu Gothic UI",
    L"Meiryo UI",        L"MS UI Gothic",   L"Microsoft YaHei UI",   L"SimSun",
    L"Malgun Gothic",    L"Gulim",          L"Leelawadee UI",        L"Nirmala UI",
    L"Mangal",           L"Segoe UI Emoji", L"Segoe UI Symbol",      L"DejaVu Sans",
    L"Noto Sans CJK JP", L"Loma",           L"Lohit Devanagari",     L"Symbola"};

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) {
    // '@' names the vertical variant of a CJK family.
    if (font->lfFaceName[0] != L'@')
        reinterpret_cast<std::set<std::wstring>*>(list)->insert(font->lfFaceName);
    return 1;
}

// True when the first letter is of a right-to-left script (Hebrew, Arabic, Syriac, Thaana, N'Ko
// and their presentation forms).
bool StartsRightToLeft(const std::wstring& text) {
    for (wchar_t c : text) {
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
            (c >= 0xFE70 && c <= 0xFEFF))
            return true;
        if (IsCharAlphaW(c) || (c >= 0xD800 && c <= 0xDBFF)) return false;
    }
    return false;
}

}  // namespace

UniscribeFonts::Font& UniscribeFonts::Get(HDC dc, const std::wstring& face, int pixelHeight,
                                          bool bold, bool smooth) {
    Font& font = fonts_[Key{face, pixelHeight, bold, smooth}];
    if (!font.font.Get()) {
        LOGFONTW lf{};
        lf.lfHeight = -pixelHeight;  // the em height, as GDI+ sizes in pixels
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = smooth ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY;
        face.copy(lf.lfFaceName, LF_FACESIZE - 1);
        font.font = UniqueFont(CreateFontIndirectW(&lf));
    }
    if (!font.known && font.font.Get()) {
        const HGDIOBJ old = SelectObject(dc, font.font.Get());
        SCRIPT_FONTPROPERTIES props{};
        props.cBytes = sizeof props;
        if (ScriptGetFontProperties(dc, &font.cache, &props) == S_OK) {
            font.defaultGlyph = props.wgDefault;
            font.known = true;
        }
        SelectObject(dc, old);
    }
    return font;
}

const std::vector<std::wstring>& UniscribeFonts::Fallbacks(HDC dc) {
    if (!enumerated_) {
        enumerated_ = true;
        std::set<std::wstring> installed;
        LOGFONTW any{};
        any.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExW(dc, &any, AddFamily, reinterpret_cast<LPARAM>(&installed), 0);
        for (const wchar_t* face : kPreferred)
            if (installed.erase(face)) fallbacks_.push_back(face);
        fallbacks_.insert(fallbacks_.end(), installed.begin(), installed.end());
    }
    return fallbacks_;
}

// Shapes and places one run in one font; false when the font lacks the run's script.
bool UniscribeFonts::ShapeRun(HDC dc, Font& font, const wchar_t* chars, ShapedRun& run) {
    if (!font.font.Get()) return false;
    const HGDIOBJ old = SelectObject(dc, font.font.Get());
    std::vector<WORD> clusters(run.charCount);
    std::vector<SCRIPT_VISATTR> visual;
    int count = 0;
    HRESULT hr = E_OUTOFMEMORY;
    for (int room = run.charCount * 3 / 2 + 16; hr == E_OUTOFMEMORY && room < 1 << 16; room *= 2) {
        run.glyphs.resize(room);
        visual.resize(room);
        hr = ScriptShape(dc, &font.cache, chars, run.charCount, room, &run.analysis,
                         run.glyphs.data(), clusters.data(), visual.data(), &count);
    }
    bool ok = hr == S_OK;
    if (ok) {
        run.glyphs.resize(count);
        visual.resize(count);
        run.advances.assign(count, 0);
        run.offsets.assign(count, GOFFSET{});
        ABC abc{};
        ok = ScriptPlace(dc, &font.cache, run.glyphs.data(), count, visual.data(), &run.analysis,
                         run.advances.data(), run.offsets.data(), &abc) == S_OK;
        run.width = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
        run.missing = static_cast<int>(std::count_if(
            run.glyphs.begin(), run.glyphs.end(), [&](WORD g) { return g == font.defaultGlyph; }));
        // Zero-width controls (joiners, marks of direction) shape to the blank glyph, not missing.
        for (int i = 0; i < count; ++i)
            if (visual[i].fZeroWidth && run.glyphs[i] == font.defaultGlyph) --run.missing;
    }
    SelectObject(dc, old);
    return ok;
}

ShapedLine UniscribeFonts::Shape(HDC dc, const std::wstring& text, int pixelHeight, bool bold,
                                 bool smooth) {
    ShapedLine line;
    const int length = static_cast<int>(text.size());
    if (length == 0 || pixelHeight <= 0) return line;
    Font& primary = Get(dc, primary_, pixelHeight, bold, smooth);
    if (primary.font.Get()) {
        const HGDIOBJ old = SelectObject(dc, primary.font.Get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        line.ascent = metrics.tmAscent;
        line.descent = metrics.tmDescent;
        SelectObject(dc, old);
    }

    // Runs of one script and direction; the paragraph's direction is its first letter's.
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{};
    state.uBidiLevel = StartsRightToLeft(text) ? 1 : 0;
    std::vector<SCRIPT_ITEM> items(length + 2);
    int itemCount = 0;
    if (ScriptItemize(text.c_str(), length, length + 1, &control, &state, items.data(),
                      &itemCount) != S_OK)
        return line;

    std::vector<ShapedRun> logical;
    for (int i = 0; i < itemCount; ++i) {
        ShapedRun run;
        run.firstChar = items[i].iCharPos;
        run.charCount = items[i + 1].iCharPos - items[i].iCharPos;
        run.analysis = items[i].a;
        const wchar_t* chars = text.c_str() + run.firstChar;
        const std::wstring key(chars, run.charCount);
        // The primary font, then the family that served these characters before; the installed
        // families are searched once for them (a character no font has costs one search).
        std::vector<const std::wstring*> faces{&primary_};
        const auto known = chosen_.find(key);
        if (known != chosen_.end()) faces.push_back(&known->second);
        ShapedRun best;
        bool found = false;
        auto tryFaces = [&](auto&& list) {
            for (const std::wstring* face : list) {
                ShapedRun attempt = run;
                attempt.face = *face;
                if (!ShapeRun(dc, Get(dc, *face, pixelHeight, bold, smooth), chars, attempt))
                    continue;
                if (!found || attempt.missing < best.missing) {
                    best = std::move(attempt);
                    found = true;
                }
                if (best.missing == 0) return true;
            }
            return false;
        };
        if (!tryFaces(faces) && known == chosen_.end()) {
            std::vector<const std::wstring*> others;
            for (const std::wstring& face : Fallbacks(dc)) others.push_back(&face);
            tryFaces(others);
            chosen_[key] = found ? best.face : primary_;
        }
        if (!found) {  // no font shapes the script: its characters as plain glyphs
            run.analysis.eScript = SCRIPT_UNDEFINED;
            run.face = primary_;
            if (!ShapeRun(dc, primary, chars, run)) continue;
            best = std::move(run);
        }
        logical.push_back(std::move(best));
    }

    // Visual order of the runs from their embedding levels.
    std::vector<BYTE> levels;
    for (const ShapedRun& run : logical)
        levels.push_back(static_cast<BYTE>(run.analysis.s.uBidiLevel));
    std::vector<int> order(logical.size());
    if (!logical.empty())
        ScriptLayout(static_cast<int>(levels.size()), levels.data(), order.data(), nullptr);
    for (int index : order) {
        line.width += logical[index].width;
        line.runs.push_back(std::move(logical[index]));
    }
    return line;
}

void UniscribeFonts::Draw(HDC dc, const ShapedLine& line, int x, int y, COLORREF color,
                          int pixelHeight, bool bold, bool smooth) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, color);
    const UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    for (const ShapedRun& run : line.runs) {
        Font& font = Get(dc, run.face, pixelHeight, bold, smooth);
        const HGDIOBJ old = SelectObject(dc, font.font.Get());
        ScriptTextOut(dc, &font.cache, x, y, 0, nullptr, &run.analysis, nullptr, 0,
                      run.glyphs.data(), static_cast<int>(run.glyphs.size()), run.advances.data(),
                      nullptr, run.offsets.data());
        SelectObject(dc, old);
        x += run.width;
    }
    SetTextAlign(dc, oldAlign);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

void UniscribeFonts::Clear() {
    for (auto& [key, font] : fonts_) ScriptFreeCache(&font.cache);
    fonts_.clear();
}
