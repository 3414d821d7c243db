// Colours kept as text, and node texts scrambled by a shift of 13 character codes.
#include "XmlFixture.h"

namespace {

class ColourTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(xml.OpenXML(L"<colours><c>abc</c><d/></colours>", 1)); }
    std::int32_t ColourOf(const std::wstring& text) {
        xml.WriteNode(L"/colours/c", text);
        return xml.GetColorValue(L"/colours/c");
    }
    vbXML xml{PlatformXmlComponent()};
};

TEST_F(ColourTest, ColourTextAndPackedValue) {
    xml.SetColorValue(L"/colours/c", 255, 128, 0);
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"(255, 128, 0)");
    EXPECT_EQ(xml.GetColorValue(L"/colours/c"), 33023);
    xml.SetColorValue(L"c", -1, 300, 7);  // written unchanged, no range check
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"(-1, 300, 7)");

    EXPECT_EQ(ColourOf(L"(0, 0, 255)"), 16711680);
    EXPECT_EQ(ColourOf(L"(300, 0, 0)"), 255);
    EXPECT_EQ(ColourOf(L"(x, 0, 0)"), 0);
    EXPECT_EQ(ColourOf(L"(1, 2, 3, 4)"), 513);
    EXPECT_EQ(ColourOf(L"(2.5, 3.5, 1e1)"), 2 + 4 * 256 + 10 * 65536);
    EXPECT_EQ(ColourOf(L"(1 2, 0, 0)"), 12);  // blanks inside a number are skipped
    EXPECT_EQ(ColourOf(L"(-5, 0, 0)"), 0);    // negative components count as 0

    EXPECT_THROW(ColourOf(L"(1,2,3)"), AppError);
    EXPECT_THROW(ColourOf(L"(40000, 0, 0)"), AppError);
    EXPECT_THROW(ColourOf(L", 0, "), AppError);  // nothing to drop a character from
    EXPECT_THROW(xml.GetColorValue(L"/colours/missing"), AppError);

    xml.SetColorValue(L"/colours/missing", 1, 2, 3);  // quietly nothing
    EXPECT_EQ(xml.NodeCount(L"/colours"), 2);
    vbXML empty{PlatformXmlComponent()};
    empty.SetColorValue(L"/colours/c", 1, 2, 3);
    EXPECT_THROW(empty.GetColorValue(L"/colours/c"), AppError);
}

TEST_F(ColourTest, ScramblingShiftsCodesAndUndoes) {
    xml.EncryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"nop");
    xml.DecryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"abc");

    // Codes above 127 go through the ANSI code page: 's' + 13 is the euro sign, 't' + 13 one
    // of the code page's unassigned codes, which must survive the way back.
    xml.WriteNode(L"/colours/c", L"start test");
    xml.EncryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c")->at(0), L'\x20AC');
    xml.DecryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"start test");

    xml.EncryptNode(L"/colours/d");
    EXPECT_EQ(xml.ReadNode(L"/colours/d"), L"");

    // Code 250 cannot be shifted up: an error, and the text stays as it was.
    xml.WriteNode(L"/colours/c", L"ab\xFA");
    EXPECT_THROW(xml.EncryptNode(L"/colours/c"), AppError);
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"ab\xFA");
    // A tab (code 9) cannot be shifted down.
    xml.WriteNode(L"/colours/c", L"A\tB");
    EXPECT_THROW(xml.DecryptNode(L"/colours/c"), AppError);
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"A\tB");

    // The query starts at the document: a relative one that works from the root element
    // selects nothing here.
    EXPECT_EQ(xml.ReadNode(L"c"), L"A\tB");
    EXPECT_THROW(xml.EncryptNode(L"c"), AppError);
    xml.EncryptNode(L"colours/d");
    vbXML empty{PlatformXmlComponent()};
    EXPECT_THROW(empty.EncryptNode(L"/colours/c"), AppError);
}

}  // namespace
