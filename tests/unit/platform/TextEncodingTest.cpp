#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

namespace {

TEST(TextEncoding, Windows1252) {
    const Windows1252CodePage ansi;
    // NULs and the bytes above 127 convert one to one.
    const std::string bytes("caf\xe9\0\x80", 6);
    const std::wstring wide = ansi.ToWide(bytes);
    EXPECT_EQ(wide, std::wstring(L"caf\u00e9\0\u20ac", 6));
    EXPECT_EQ(ansi.FromWide(wide), bytes);
    // A character outside the code page becomes '?'.
    EXPECT_EQ(ansi.FromWide(L"\u4e2d!"), "?!");
    EXPECT_EQ(ansi.ToWide(""), L"");
}

TEST(TextEncoding, Utf8AtEveryLengthBoundary) {
    // The last and first code point of each sequence length, and an emoji (one character,
    // whatever the width of wchar_t).
    const struct {
        std::wstring wide;
        std::string bytes;
    } cases[] = {
        {L"\u007f", "\x7f"},
        {L"\u0080", "\xc2\x80"},
        {L"\u07ff", "\xdf\xbf"},
        {L"\u0800", "\xe0\xa0\x80"},
        {L"\uffff", "\xef\xbf\xbf"},
        {L"\U00010000", "\xf0\x90\x80\x80"},
        {L"\U0010FFFF", "\xf4\x8f\xbf\xbf"},
        {L"S\u00e3o \u6771\u4eac \U0001F30D",
         "S\xc3\xa3o \xe6\x9d\xb1\xe4\xba\xac \xf0\x9f\x8c\x8d"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8::FromWide(c.wide), c.bytes);
        EXPECT_EQ(utf8::ToWide(c.bytes), c.wide);
    }
    // Bytes that are no UTF-8 become U+FFFD each: a stray continuation byte, a bad lead, an
    // overlong form, an encoded surrogate, a sequence cut short, a code point above U+10FFFF.
    EXPECT_EQ(utf8::ToWide("a\x80"
                           "b"),
              L"a\ufffdb");
    EXPECT_EQ(utf8::ToWide("a\xff"), L"a\ufffd");
    EXPECT_EQ(utf8::ToWide("\xc0\xaf"), L"\ufffd\ufffd");
    EXPECT_EQ(utf8::ToWide("\xe0\x80\xaf"), L"\ufffd");
    EXPECT_EQ(utf8::ToWide("\xed\xa0\x80"), L"\ufffd");
    EXPECT_EQ(utf8::ToWide("\xe6\x9d"), L"\ufffd");
    EXPECT_EQ(utf8::ToWide("\xe6\x9d"
                           "A"),
              L"\ufffdA");
    EXPECT_EQ(utf8::ToWide("\xf4\x90\x80\x80"), L"\ufffd");
    EXPECT_EQ(utf8::ToWide(std::string("\0x", 2)), std::wstring(L"\0x", 2));
}

}  // namespace
