#include <gtest/gtest.h>

#include "config/ClockFile.h"
#include "fakes/FakeProgramPorts.h"

namespace {

const RowTexts kNineCharOffsets = {L"GMT+00:00", L"GMT-05:00", L"GMT-08:00", L"GMT+08:00",
                                   L"GMT+09:00"};

TEST(ClockFile, FrameIsExactlyTheFourPiecesAroundTheTenTexts) {
    const RowTexts empty;
    const std::string frame = BuildClockDocument(empty, empty);
    EXPECT_EQ(frame.size(), 151u);
    EXPECT_EQ(frame,
              "<?xml version=\"1.0\"?><serie><value name=\"\"></value><value name=\"\">"
              "</value><value name=\"\"></value><value name=\"\"></value><value name=\"\">"
              "</value></serie>");

    EXPECT_EQ(BuildClockDocument(empty, kNineCharOffsets).size(), 196u);

    const RowTexts captions = {L"LONDON", L"NEW YORK", L"SAN FRANCISCO", L"HONG KONG",
                               L"Local Time"};
    const std::string document = BuildClockDocument(captions, kNineCharOffsets);
    EXPECT_EQ(document,
              "<?xml version=\"1.0\"?><serie>"
              "<value name=\"LONDON\">GMT+00:00</value>"
              "<value name=\"NEW YORK\">GMT-05:00</value>"
              "<value name=\"SAN FRANCISCO\">GMT-08:00</value>"
              "<value name=\"HONG KONG\">GMT+08:00</value>"
              "<value name=\"Local Time\">GMT+09:00</value></serie>");
    EXPECT_EQ(document.find_first_of("\r\n"), std::string::npos);
}

TEST(ClockFile, CommasAreRemovedAndNothingElseOfPlainCaptionsChanges) {
    EXPECT_EQ(RemoveCommas(L"HONG,KONG"), L"HONGKONG");
    EXPECT_EQ(RemoveCommas(L"Paris, France"), L"Paris France");
    EXPECT_EQ(RemoveCommas(L",,,"), L"");

    const RowTexts captions = {L"HONG,KONG", L",,,", L"  spaced  ", L"", L"a,b,c"};
    const std::string document = BuildClockDocument(captions, kNineCharOffsets);
    EXPECT_NE(document.find("name=\"HONGKONG\">"), std::string::npos);
    EXPECT_NE(document.find("name=\"\">GMT-05:00"), std::string::npos);
    EXPECT_NE(document.find("name=\"  spaced  \">"), std::string::npos);
    EXPECT_NE(document.find("name=\"abc\">"), std::string::npos);

    // Every printable ASCII character except the three XML reserves in an attribute passes
    // through as it is.
    std::wstring printable;
    for (wchar_t c = 0x20; c < 0x7F; ++c) {
        if (c != L'&' && c != L'<' && c != L'"' && c != L',') printable += c;
    }
    EXPECT_EQ(EscapeClockText(printable), std::string(printable.begin(), printable.end()));
}

TEST(ClockFile, ReservedAndNonAsciiCharactersAreWrittenAsReferences) {
    EXPECT_EQ(EscapeClockText(L"R&D <HQ> \"North\" 'x'"), "R&amp;D &lt;HQ> &quot;North&quot; 'x'");
    EXPECT_EQ(EscapeClockText(L"Z\u00fcrich"), "Z&#252;rich");
    EXPECT_EQ(EscapeClockText(L"\u6771\u4eac"), "&#26481;&#20140;");
    EXPECT_EQ(EscapeClockText(L"\u20ac"), "&#8364;");
    // A character beyond the basic plane becomes one reference, not two.
    const std::wstring smile = sizeof(wchar_t) == 2 ? std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}
                                                    : std::wstring(1, wchar_t(0x1F600));
    EXPECT_EQ(EscapeClockText(smile), "&#128512;");
    // Tab and line breaks survive a reader's attribute normalisation; other controls and a
    // lone surrogate half are not allowed in XML and are dropped.
    EXPECT_EQ(EscapeClockText(L"a\tb\nc\rd"), "a&#9;b&#10;c&#13;d");
    EXPECT_EQ(EscapeClockText(std::wstring(L"a\x01\x1f"
                                           L"b")),
              "ab");
    EXPECT_EQ(EscapeClockText(std::wstring(1, wchar_t(0xD800)) + L"x"), "x");

    // The document holds ASCII bytes only.
    const RowTexts captions = {L"S\u00e3o Paulo", L"A&B", L"<", L"\"", L"\u00e9,\u00e8"};
    const std::string document = BuildClockDocument(captions, kNineCharOffsets);
    for (unsigned char byte : document) EXPECT_LT(byte, 0x80);
    EXPECT_NE(document.find("name=\"&#233;&#232;\">"), std::string::npos);
}

TEST(ClockFile, WriteReplacesTheFileBesideTheProgram) {
    FakeFiles files;
    const RowTexts first = {L"A", L"B", L"C", L"D", L"E"};
    const RowTexts second = {L"V", L"W", L"X", L"Y", L"Z"};
    WriteClockFile(files, L"C:\\Saver", first, kNineCharOffsets);
    WriteClockFile(files, L"C:\\Saver", second, kNineCharOffsets);
    ASSERT_EQ(files.files.size(), 1u);
    EXPECT_EQ(files.files.begin()->first, L"C:\\Saver\\pellox2.xml");
    EXPECT_EQ(files.files.begin()->second, BuildClockDocument(second, kNineCharOffsets));

    // The name is appended without looking at the folder's last character.
    EXPECT_EQ(ClockFilePath(L"C:\\"), L"C:\\\\pellox2.xml");

    files.fail = true;
    EXPECT_THROW(WriteClockFile(files, L"C:\\Saver", first, kNineCharOffsets), AppError);
    EXPECT_EQ(files.files.begin()->second, BuildClockDocument(second, kNineCharOffsets));
}

}  // namespace
