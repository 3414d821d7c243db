// Loading and reading: the clock file, its broken forms, and the fixed results of the guarded
// operations against the errors of the unguarded ones.
#include "XmlFixture.h"

namespace {

using ReadingTest = XmlFiles;

// The guarded reads give their fixed results; the unguarded ones throw.
void ExpectNothingReadable(vbXML& xml) {
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name"), L"");
    EXPECT_EQ(xml.GetChildValue(L"/serie", 0), L"");
    EXPECT_EQ(xml.GetChildAttribute(L"/serie", L"name", 0), L"");
    EXPECT_EQ(xml.NodeCount(L"/serie"), -1);
    EXPECT_FALSE(xml.ReadNode(L"/serie").has_value());
    EXPECT_THROW(xml.ReadNodeXML(L"/serie"), AppError);
    EXPECT_THROW(xml.GetChildName(L"/serie", 0), AppError);
    EXPECT_THROW(xml.XMLDocumentInfo(0), AppError);
}

TEST_F(ReadingTest, ClockFileReadsByZeroBasedPosition) {
    vbXML xml{PlatformXmlComponent()};
    ASSERT_TRUE(xml.OpenXML(Write("pellox2.xml", kClockXml)));
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name"), L"LONDON");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[4]", L"name"), L"Local");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[5]", L"name"), L"");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"missing"), L"");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 5);
    EXPECT_EQ(xml.ReadNode(L"/serie/value[1]"), L"GMT-05:00");
    EXPECT_FALSE(xml.ReadNode(L"/serie/value[9]").has_value());
    EXPECT_EQ(xml.GetChildAttribute(L"/serie", L"name", 3), L"SYDNEY");
    EXPECT_EQ(xml.GetChildName(L"/serie", 4), L"value");
    EXPECT_THROW(xml.GetChildName(L"/serie", 5), AppError);
    // Multibyte UTF-8, up to a character beyond the basic plane, reads as its characters.
    ASSERT_TRUE(xml.OpenXML(Write("utf8.xml", "<a>\xE2\x82\xAC\xEF\xBF\xBD\xF0\x9F\x8C\x8D</a>")));
    EXPECT_EQ(xml.ReadNode(L"/a"), L"\u20ac\ufffd\U0001F30D");
    ASSERT_TRUE(xml.OpenXML(Write("pellox2.xml", kClockXml)));
    // A relative query starts at the root element.
    EXPECT_EQ(xml.ReadAttribute(L"value[0]", L"name"), L"LONDON");
    EXPECT_EQ(xml.ReadNodeXML(L"value[0]"), xml.ReadNodeXML(L"/serie/value[0]"));

    // Indexes take any value: rounded to the nearest whole number, halves to the even one; one
    // without a number form, or beyond 32 bits, is a failing step.
    const std::pair<XmlValue, const wchar_t*> children[] = {
        {2, L"GMT+09:00"},    {5, L""},        {-1, L""},  {1.5, L"GMT+09:00"}, {2.5, L"GMT+09:00"},
        {L"3", L"GMT+10:00"}, {L"three", L""}, {1e12, L""}};
    for (const auto& [index, text] : children)
        EXPECT_EQ(xml.GetChildValue(L"/serie", index), text) << utf8::FromWide(index.ToText());
    EXPECT_EQ(xml.GetChildAttribute(L"/serie", 42, 0), L"");
}

TEST_F(ReadingTest, BrokenDocumentsReadAsNothing) {
    vbXML xml{PlatformXmlComponent()};
    ExpectNothingReadable(xml);  // before any document
    for (const auto& [name, bytes] :
         {std::pair{"broken.xml", "<?xml version=\"1.0\"?><serie><value>"},
          std::pair{"empty.xml", ""}}) {
        EXPECT_FALSE(xml.OpenXML(Write(name, bytes)));
        ExpectNothingReadable(xml);
    }
    EXPECT_FALSE(xml.OpenXML(PathOf("absent.xml")));
    ExpectNothingReadable(xml);
    EXPECT_FALSE(xml.OpenXML(L"<a><b></a>", 1));
    ExpectNothingReadable(xml);

    ASSERT_TRUE(xml.OpenXML(L"<serie><value name=\"A\"/><value name=\"B\"/></serie>", 1));
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"B");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[2]", L"name"), L"");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 2);
    // Any other type loads nothing, and the document open before is gone; a path is no text.
    EXPECT_FALSE(xml.OpenXML(L"<a/>", 2));
    EXPECT_EQ(xml.NodeCount(L"/serie"), -1);
    EXPECT_FALSE(xml.OpenXML(Write("pellox2.xml", kClockXml), 1));
}

TEST_F(ReadingTest, WhiteSpaceBetweenElementsIsNoChild) {
    vbXML xml{PlatformXmlComponent()};
    ASSERT_TRUE(xml.OpenXML(Write("indented.xml",
                                  "<?xml version=\"1.0\"?>\r\n<serie>\r\n"
                                  "\t<value name=\"A\"> GMT+01:00 </value>\r\n"
                                  "\t<value name=\"B\">GMT+02:00</value>\r\n</serie>\r\n")));
    EXPECT_EQ(xml.NodeCount(L"/serie"), 2);
    EXPECT_EQ(xml.GetChildName(L"/serie", 1), L"value");
    // Surrounding blanks may be kept or trimmed by the component; nothing else changes.
    const std::wstring text = *xml.ReadNode(L"/serie/value[0]");
    EXPECT_EQ(text.substr(text.find_first_not_of(L' '), 9), L"GMT+01:00");
}

}  // namespace
