#include <gtest/gtest.h>

#include "platform/SystemPorts.h"
#include "platform/TextEncoding.h"

namespace {

TEST(LinuxTextCompare, CollatesIgnoringCase) {
    const SystemPorts ports = MakeSystemPorts();
    const TextCompare& compare = *ports.textCompare;
    EXPECT_EQ(compare.CompareIgnoringCase(L"(UTC+01:00) Berlin", L"(utc+01:00) BERLIN"), 0);
    EXPECT_EQ(compare.CompareIgnoringCase(L"apple", L"Banana"), -1);
    EXPECT_EQ(compare.CompareIgnoringCase(L"Zurich", L"amsterdam"), 1);
    EXPECT_EQ(compare.CompareIgnoringCase(L"", L"a"), -1);
    // Accents still count at this strength.
    EXPECT_NE(compare.CompareIgnoringCase(L"cote", L"c\u00f4te"), 0);
}

TEST(LinuxTextEncoding, AnsiIsWindows1252) {
    // NULs and the bytes above 127 convert one to one.
    const std::string bytes("caf\xe9\0\x80", 6);
    const std::wstring wide = ansi::ToWide(bytes);
    EXPECT_EQ(wide, std::wstring(L"caf\u00e9\0\u20ac", 6));
    EXPECT_EQ(ansi::FromWide(wide), bytes);
    // A character outside the code page becomes '?'.
    EXPECT_EQ(ansi::FromWide(L"\u4e2d!"), "?!");
    EXPECT_EQ(ansi::ToWide(""), L"");
}

TEST(LinuxTextEncoding, Utf8RoundTrip) {
    const std::wstring text = L"S\u00e3o Paulo \u6771\u4eac \U0001F30D";
    EXPECT_EQ(utf8::ToWide(utf8::FromWide(text)), text);
    EXPECT_EQ(utf8::FromWide(L"\u00e9"), "\xc3\xa9");
    EXPECT_EQ(utf8::ToWide("a\xff"), L"a\ufffd");
}

}  // namespace
