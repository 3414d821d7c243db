#pragma once
// Text is wide inside the program (UTF-16 on Windows, UTF-32 on Linux); it is converted only at
// the edges:
//  - utf8: consoles, X11, GTK, pango, the XML component on Linux. Written here once, for every
//    platform.
//  - CodePage: the single-byte or multi-byte code page of an edge, a port. On Windows the
//    system's ANSI code page of the "A" calls; on Linux the locale's UTF-8 for those calls and
//    Windows-1252 where a single-byte code page is needed (node text scrambling).

#include <string>

namespace utf8 {

std::string FromWide(const std::wstring& text);
// Invalid sequences become U+FFFD.
std::wstring ToWide(const std::string& bytes);

}  // namespace utf8

class CodePage {
  public:
    virtual ~CodePage() = default;
    // Characters the code page lacks become its default character ('?').
    virtual std::string FromWide(const std::wstring& text) const = 0;
    // Converts every byte, NULs included.
    virtual std::wstring ToWide(const std::string& bytes) const = 0;
};

// UTF-8 as a code page.
class Utf8CodePage final : public CodePage {
  public:
    std::string FromWide(const std::wstring& text) const override { return utf8::FromWide(text); }
    std::wstring ToWide(const std::string& bytes) const override { return utf8::ToWide(bytes); }
};

// Windows-1252, the usual western single-byte code page.
class Windows1252CodePage final : public CodePage {
  public:
    std::string FromWide(const std::wstring& text) const override;
    std::wstring ToWide(const std::string& bytes) const override;
};

// Widens text that is known to be ASCII (constants of the program).
inline std::wstring WidenAscii(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}
