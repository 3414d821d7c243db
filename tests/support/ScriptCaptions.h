#pragma once
// Captions in the scripts people write them in: Han and Hangul, Arabic, Hebrew, Thai and
// Devanagari, and a mix with Greek, Cyrillic and a character outside the BMP (an emoji).

#include <string>

inline const std::wstring kScriptCaptions[] = {
    L"\u6771\u4EAC \uC11C\uC6B8", L"\u0645\u0635\u0631", L"\u05EA\u05DC \u05D0\u05D1\u05D9\u05D1",
    L"\u0E01\u0E23\u0E38\u0E07\u0E40\u0E17\u0E1E \u0928\u0908 \u0926\u093F\u0932\u094D\u0932\u0940",
    L"Tokyo \u6771\u4EAC \u0645\u0635\u0631 \u0391\u03B8\u03AE\u03BD\u03B1 \u041C\u043E\u0441 "
    L"\U0001F389"};
