// Colours kept as text, and node texts scrambled by a shift of 13 character codes.
#include "XmlFixture.h"

namespace {

TEST(ColourTest, ColourTextAndPackedValue) {
    vbXML xml{PlatformXmlComponent()}, empty{PlatformXmlComponent()};
    ASSERT_TRUE(xml.OpenXML(L"<colours><c>abc</c></colours>", 1));
    xml.SetColorValue(L"/colours/c", 255, 128, 0);
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"(255, 128, 0)");
    EXPECT_EQ(xml.GetColorValue(L"/colours/c"), 33023);
    xml.SetColorValue(L"c", -1, 300, 7);  // written unchanged, no range check
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"(-1, 300, 7)");
    const std::pair<const wchar_t*, std::int32_t> colours[] = {
        {L"(0, 0, 255)", 16711680},
        {L"(300, 0, 0)", 255},
        {L"(x, 0, 0)", 0},
        {L"(1, 2, 3, 4)", 513},
        {L"(1 2, 0, 0)", 12},
        {L"(-5, 0, 0)", 0},
        {L"(2.5, 3.5, 1e1)", 2 + 4 * 256 + 10 * 65536}};  // blanks in a number are skipped
    for (const auto& [text, value] : colours) {
        xml.WriteNode(L"/colours/c", text);
        EXPECT_EQ(xml.GetColorValue(L"/colours/c"), value) << utf8::FromWide(text);
    }
    // No blank after the commas, a component beyond 16 bits, nothing to drop a character from.
    for (const wchar_t* text : {L"(1,2,3)", L"(40000, 0, 0)", L", 0, "}) {
        xml.WriteNode(L"/colours/c", text);
        EXPECT_THROW(xml.GetColorValue(L"/colours/c"), AppError) << utf8::FromWide(text);
    }
    EXPECT_THROW(xml.GetColorValue(L"/colours/missing"), AppError);
    xml.SetColorValue(L"/colours/missing", 1, 2, 3);  // quietly nothing
    EXPECT_EQ(xml.NodeCount(L"/colours"), 1);
    empty.SetColorValue(L"/colours/c", 1, 2, 3);
    EXPECT_THROW(empty.GetColorValue(L"/colours/c"), AppError);
}

TEST(ColourTest, ScramblingShiftsCodesAndUndoes) {
    vbXML xml{PlatformXmlComponent()}, empty{PlatformXmlComponent()};
    ASSERT_TRUE(xml.OpenXML(L"<colours><c>abc</c><d/></colours>", 1));
    xml.EncryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"nop");
    xml.DecryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"abc");
    // Codes above 127 go through the ANSI code page: 's' + 13 is the euro sign, 't' + 13 one of
    // the code page's unassigned codes, which must survive the way back.
    xml.WriteNode(L"/colours/c", L"start test");
    xml.EncryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c")->at(0), L'\x20AC');
    xml.DecryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"start test");
    xml.EncryptNode(L"/colours/d");
    EXPECT_EQ(xml.ReadNode(L"/colours/d"), L"");
    // Code 250 cannot go up, a tab (code 9) cannot go down: an error, and the text stays.
    for (const auto& [text, encrypt] : {std::pair{L"ab\xFA", true}, std::pair{L"A\tB", false}}) {
        xml.WriteNode(L"/colours/c", text);
        EXPECT_THROW(encrypt ? xml.EncryptNode(L"/colours/c") : xml.DecryptNode(L"/colours/c"),
                     AppError);
        EXPECT_EQ(xml.ReadNode(L"/colours/c"), text);
    }
    // The query starts at the document: a relative one that works from the root element
    // selects nothing here.
    EXPECT_EQ(xml.ReadNode(L"c"), L"A\tB");
    EXPECT_THROW(xml.EncryptNode(L"c"), AppError);
    xml.EncryptNode(L"colours/d");
    EXPECT_THROW(empty.EncryptNode(L"/colours/c"), AppError);
}

}  // namespace
