#include <gtest/gtest.h>

#include "Fakes.h"
#include "config/ClockFile.h"

namespace {

const RowTexts kOffsets = {L"GMT+00:00", L"GMT-05:00", L"GMT-08:00", L"GMT+08:00", L"GMT+09:00"};

TEST(ClockFile, FourFixedPiecesAroundTheTenTexts) {
    EXPECT_EQ(
        BuildClockDocument({L"LONDON", L"NEW YORK", L"SAN FRANCISCO", L"HONG KONG", L"Local Time"},
                           kOffsets),
        "<?xml version=\"1.0\"?><serie><value name=\"LONDON\">GMT+00:00</value>"
        "<value name=\"NEW YORK\">GMT-05:00</value><value name=\"SAN FRANCISCO\">GMT-08:00"
        "</value><value name=\"HONG KONG\">GMT+08:00</value><value name=\"Local Time\">"
        "GMT+09:00</value></serie>");
}

TEST(ClockFile, CaptionsLoseTheirCommasAndKeepEverythingElseReadable) {
    // clang-format off
    const std::pair<std::wstring, std::string> captions[] = {
        {L"HONG,KONG", "HONGKONG"}, {L"Paris, France", "Paris France"}, {L",,,", ""},
        {L"  spaced  ", "  spaced  "}, {L"a,b,c", "abc"},
        {L"R&D <HQ> \"North\" 'x'", "R&amp;D &lt;HQ> &quot;North&quot; 'x'"},
        // Beyond ASCII: references, one for a character beyond the basic plane.
        {L"Z\u00fcrich", "Z&#252;rich"}, {L"\u6771\u4eac", "&#26481;&#20140;"}, {L"\u20ac", "&#8364;"},
        {L"\U0001F600", "&#128512;"},
        // Tab and line breaks survive a reader's normalisation; other controls and a lone
        // surrogate half are not allowed in XML and go.
        {L"a\tb\nc\rd", "a&#9;b&#10;c&#13;d"}, {std::wstring(L"a\x01\x1f" L"b"), "ab"},
        {std::wstring(1, wchar_t(0xD800)) + L"x", "x"}};
    // clang-format on
    for (const auto& [caption, written] : captions) {
        const RowTexts row = {caption};
        EXPECT_EQ(BuildClockDocument(row, kOffsets).substr(41, written.size() + 2), written + "\">")
            << written;
    }
    std::wstring printable;  // printable ASCII but the reserved characters and the comma
    for (wchar_t c = 0x20; c < 0x7F; ++c)
        if (std::wstring(L"&<\",").find(c) == std::wstring::npos) printable += c;
    EXPECT_EQ(EscapeClockText(printable), std::string(printable.begin(), printable.end()));
}

TEST(ClockFile, WriteReplacesTheFileBesideTheProgram) {
    FakeFiles files;
    WriteClockFile(files, L"C:\\Saver", {L"A", L"B", L"C", L"D", L"E"}, kOffsets);
    WriteClockFile(files, L"C:\\Saver", {L"V", L"W", L"X", L"Y", L"Z"}, kOffsets);
    ASSERT_EQ(files.files.size(), 1u);
    EXPECT_EQ(files.files[L"C:\\Saver\\pellox2.xml"],
              BuildClockDocument({L"V", L"W", L"X", L"Y", L"Z"}, kOffsets));
    // The name is appended without looking at the folder's last character.
    EXPECT_EQ(ClockFilePath(L"C:\\"), L"C:\\\\pellox2.xml");
    files.refuse = L"C:";  // and the user's folder too: not lost silently
    EXPECT_THROW(WriteClockFile(files, L"C:\\Saver", {}, kOffsets, L"C:\\U"), AppError);
}

}  // namespace
