#pragma once
// Conversions at the edges of the program, whose text is wide inside.
//  - ansi: the single-byte ANSI code page of the Win32 "A" calls and the clock file.
//    Windows: the system's ANSI code page. Linux: Windows-1252.
//  - utf8: for consoles, X11, GTK, pango and pugixml.

#include <string>

namespace ansi {

// Characters the code page lacks become its default character ('?').
std::string FromWide(const std::wstring& text);
// Converts every byte, NULs included.
std::wstring ToWide(const std::string& bytes);

}  // namespace ansi

namespace utf8 {

std::string FromWide(const std::wstring& text);
// Invalid sequences become U+FFFD.
std::wstring ToWide(const std::string& bytes);

}  // namespace utf8
