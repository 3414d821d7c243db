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
    ASSERT_TRUE(xml.OpenXML(Write("pellox2.xml", ClockFile)));
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name"), L"LONDON");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[2]", L"name"), L"TOKYO");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[4]", L"name"), L"Local");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[5]", L"name"), L"");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"missing"), L"");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 5);
    EXPECT_EQ(xml.GetChildValue(L"/serie", 2), L"GMT+09:00");
    EXPECT_EQ(xml.GetChildValue(L"/serie", 5), L"");
    EXPECT_EQ(xml.GetChildValue(L"/serie", -1), L"");
    EXPECT_EQ(xml.ReadNode(L"/serie/value[1]"), L"GMT-05:00");
    EXPECT_FALSE(xml.ReadNode(L"/serie/value[9]").has_value());
    EXPECT_EQ(xml.GetChildAttribute(L"/serie", L"name", 3), L"SYDNEY");
    EXPECT_EQ(xml.GetChildName(L"/serie", 4), L"value");
    EXPECT_THROW(xml.GetChildName(L"/serie", 5), AppError);

    // A relative query starts at the root element and selects the same nodes.
    EXPECT_EQ(xml.ReadAttribute(L"value[0]", L"name"), L"LONDON");
    EXPECT_EQ(xml.ReadNode(L"value[0]"), L"GMT+00:00");
    EXPECT_EQ(xml.ReadNodeXML(L"value[0]"), xml.ReadNodeXML(L"/serie/value[0]"));
}

TEST_F(ReadingTest, AnyValueParametersConvert) {
    vbXML xml{PlatformXmlComponent()};
    ASSERT_TRUE(xml.OpenXML(Write("pellox2.xml", ClockFile)));
    // Indexes round to the nearest whole number, halves to the even one.
    EXPECT_EQ(xml.GetChildValue(L"/serie", 1.5), L"GMT+09:00");
    EXPECT_EQ(xml.GetChildValue(L"/serie", 2.5), L"GMT+09:00");
    EXPECT_EQ(xml.GetChildValue(L"/serie", L"3"), L"GMT+10:00");
    // An index without a number form, or beyond 32 bits, is a failing step.
    EXPECT_EQ(xml.GetChildValue(L"/serie", L"three"), L"");
    EXPECT_EQ(xml.GetChildValue(L"/serie", 1e12), L"");
    EXPECT_EQ(xml.GetChildAttribute(L"/serie", 42, 0), L"");
}

TEST_F(ReadingTest, BrokenClockFilesReadAsEmpty) {
    vbXML xml{PlatformXmlComponent()};
    ExpectNothingReadable(xml);  // before any document

    EXPECT_FALSE(xml.OpenXML(PathOf("absent.xml")));
    ExpectNothingReadable(xml);

    EXPECT_FALSE(xml.OpenXML(Write("broken.xml", "<?xml version=\"1.0\"?><serie><value>")));
    ExpectNothingReadable(xml);

    EXPECT_FALSE(xml.OpenXML(Write("empty.xml", "")));
    ExpectNothingReadable(xml);

    ASSERT_TRUE(
        xml.OpenXML(Write("short.xml",
                          "<?xml version=\"1.0\"?><serie><value name=\"A\">GMT+01:00</value>"
                          "<value name=\"B\">GMT+02:00</value></serie>")));
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"B");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[2]", L"name"), L"");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[4]", L"name"), L"");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 2);
}

TEST_F(ReadingTest, OpenFromTextAndOtherTypes) {
    vbXML xml{PlatformXmlComponent()};
    ASSERT_TRUE(xml.OpenXML(L"<a x=\"1\"><b>one</b><b>two</b></a>", 1));
    EXPECT_EQ(xml.ReadNode(L"/a/b[1]"), L"two");
    EXPECT_EQ(xml.ReadAttribute(L"/a", L"x"), L"1");

    EXPECT_FALSE(xml.OpenXML(L"<a><b></a>", 1));
    ExpectNothingReadable(xml);

    ASSERT_TRUE(xml.OpenXML(L"<a/>", 1));
    // Any other type loads nothing, and the document open before is gone.
    EXPECT_FALSE(xml.OpenXML(L"<a/>", 2));
    EXPECT_EQ(xml.NodeCount(L"/a"), -1);
    EXPECT_FALSE(xml.OpenXML(Write("pellox2.xml", ClockFile), 1));  // a path is no XML text
}

TEST_F(ReadingTest, WhiteSpaceBetweenElementsIsNoChild) {
    vbXML xml{PlatformXmlComponent()};
    ASSERT_TRUE(xml.OpenXML(Write("indented.xml",
                                  "<?xml version=\"1.0\"?>\r\n<serie>\r\n"
                                  "\t<value name=\"A\"> GMT+01:00 </value>\r\n"
                                  "\t<value name=\"B\">GMT+02:00</value>\r\n"
                                  "</serie>\r\n")));
    EXPECT_EQ(xml.NodeCount(L"/serie"), 2);
    EXPECT_EQ(xml.GetChildName(L"/serie", 1), L"value");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"B");
    // Surrounding blanks of a text may be kept or trimmed by the component; the text is not
    // otherwise changed.
    const std::wstring text = *xml.ReadNode(L"/serie/value[0]");
    EXPECT_EQ(text.substr(text.find_first_not_of(L' '), 9), L"GMT+01:00");
}

}  // namespace
