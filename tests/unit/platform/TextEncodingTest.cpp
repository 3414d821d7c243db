#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

namespace {

TEST(TextEncoding, Windows1252AndUtf8) {
    // NULs and the bytes above 127 convert one to one; a character outside the code page
    // becomes '?'.
    const Windows1252CodePage ansi;
    EXPECT_EQ(ansi.ToWide(std::string("caf\xe9\0\x80", 6)), std::wstring(L"caf\u00e9\0\u20ac", 6));
    EXPECT_EQ(ansi.FromWide(std::wstring(L"caf\u00e9\0\u20ac", 6)),
              std::string("caf\xe9\0\x80", 6));
    EXPECT_EQ(ansi.FromWide(L"\u4e2d!"), "?!");
    std::string high;  // 0x80 to 0x9F, the code page's own characters there
    for (int byte = 0x80; byte < 0xA0; ++byte) high += static_cast<char>(byte);
    const std::wstring expected =
        L"\u20ac\u0081\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\u008d"
        L"\u017d\u008f\u0090\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a"
        L"\u0153\u009d\u017e\u0178";
    EXPECT_EQ(ansi.ToWide(high), expected);
    EXPECT_EQ(ansi.FromWide(expected), high);
    EXPECT_EQ(ansi.ToWide(""), L"");

    // The last and first code point of each sequence length.
    // clang-format off
    const std::pair<std::wstring, std::string> both[] = {
        {L"\u007f", "\x7f"}, {L"\u0080", "\xc2\x80"}, {L"\u07ff", "\xdf\xbf"},
        {L"\u0800", "\xe0\xa0\x80"}, {L"\uffff", "\xef\xbf\xbf"}, {L"\U00010000", "\xf0\x90\x80\x80"},
        {L"\U0010FFFF", "\xf4\x8f\xbf\xbf"}, {std::wstring(L"\0x", 2), std::string("\0x", 2)}};
    // Bytes that are no UTF-8 become U+FFFD each: a stray continuation byte, a bad lead, an
    // overlong form, an encoded surrogate, a sequence cut short, a code point above U+10FFFF.
    const std::pair<std::string, std::wstring> broken[] = {
        {"a\x80" "b", L"a\ufffdb"}, {"a\xff", L"a\ufffd"}, {"\xc0\xaf", L"\ufffd\ufffd"},
        {"\xe0\x80\xaf", L"\ufffd"}, {"\xed\xa0\x80", L"\ufffd"}, {"\xe6\x9d", L"\ufffd"},
        {"\xe6\x9d" "A", L"\ufffdA"}, {"\xf4\x90\x80\x80", L"\ufffd"}};
    // clang-format on
    for (const auto& [wide, bytes] : both) {
        EXPECT_EQ(utf8::FromWide(wide), bytes);
        EXPECT_EQ(utf8::ToWide(bytes), wide);
    }
    for (const auto& [bytes, wide] : broken) EXPECT_EQ(utf8::ToWide(bytes), wide);
}

}  // namespace
