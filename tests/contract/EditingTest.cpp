// Editing and saving: the guarded writes end quietly, the others throw and change nothing.
#include "XmlFixture.h"

namespace {

class EditingTest : public XmlFiles {
  protected:
    void SetUp() override {
        XmlFiles::SetUp();
        ASSERT_TRUE(xml.OpenXML(Write("pellox2.xml", ClockFile)));
    }
    vbXML xml{PlatformXmlComponent()};
};

TEST_F(EditingTest, WriteNodeReplacesTextQuietly) {
    xml.WriteNode(L"/serie/value[1]", L"GMT-04:00");
    EXPECT_EQ(xml.GetChildValue(L"/serie", 1), L"GMT-04:00");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"NEW YORK");
    EXPECT_EQ(xml.NodeCount(L"/serie/value[1]"), 1);  // one text node holds the whole content

    // Numbers are written as text; an attribute node takes the text as its value.
    xml.WriteNode(L"value[2]", 1.5);
    EXPECT_EQ(xml.ReadNode(L"/serie/value[2]"), L"1.5");
    xml.WriteNode(L"/serie/value[3]/@name", 42);
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[3]", L"name"), L"42");

    // An element with children loses them all to the one text.
    xml.WriteNode(L"/serie", L"flat");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 1);
    EXPECT_EQ(xml.ReadNode(L"/serie"), L"flat");

    const std::wstring before = xml.XML();
    xml.WriteNode(L"/serie/value[0]", L"x");  // selects nothing any more
    xml.WriteNode(L"/serie/[", L"x");         // a query the component rejects
    EXPECT_EQ(xml.XML(), before);

    vbXML empty{PlatformXmlComponent()};
    empty.WriteNode(L"/serie", L"x");  // no document: nothing happens
    EXPECT_THROW(empty.XML(), AppError);
}

TEST_F(EditingTest, WriteAttributeStopsAtTheFirstFailingPosition) {
    xml.WriteAttribute(L"/serie/value[0]", {L"", L"zone"}, {L"a", L"b"});
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"zone"), L"");

    xml.WriteAttribute(L"/serie/value[0]", {L"name", L"zone", L"dst"}, {L"PARIS", L"CET"});
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name"), L"PARIS");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"zone"), L"CET");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"dst"), L"");

    xml.WriteAttribute(L"/serie/value[1]", {L"name", L"", L"zone"}, {L"BOSTON", L"x", L"EST"});
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"BOSTON");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"zone"), L"");

    xml.WriteAttribute(L"/serie/value[2]", {L"ok", L"bad name"}, {L"1", L"2"});
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[2]", L"ok"), L"1");

    // Not an element, nothing selected, no names: no error and no change.
    const std::wstring before = xml.XML();
    xml.WriteAttribute(L"/serie/value[2]/text()", {L"a"}, {L"1"});
    xml.WriteAttribute(L"/serie/value[9]", {L"a"}, {L"1"});
    xml.WriteAttribute(L"/serie/value[2]", {}, {});
    // Too many names for the walk: nothing is written, not even the first.
    std::vector<std::wstring> names(32768, L"many");
    xml.WriteAttribute(L"/serie/value[3]", names, names);
    EXPECT_EQ(xml.XML(), before);
}

TEST_F(EditingTest, MakeNodeAppendsOrThrowsWithoutChange) {
    xml.MakeNode(L"/serie", L"value", {L"name"}, {L"PARIS"}, L"GMT+01:00");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 6);
    EXPECT_EQ(xml.GetChildValue(L"/serie", 5), L"GMT+01:00");
    EXPECT_EQ(xml.GetChildName(L"/serie", 5), L"value");
    // Attribute names and values are accepted but not written.
    EXPECT_EQ(xml.GetChildAttribute(L"/serie", L"name", 5), L"");

    xml.MakeNode(L"value[0]", L"note", {}, {});
    EXPECT_EQ(xml.NodeCount(L"/serie/value[0]"), 2);
    EXPECT_EQ(xml.GetChildName(L"/serie/value[0]", 1), L"note");
    EXPECT_EQ(xml.ReadNode(L"/serie/value[0]/note"), L"");

    const std::wstring before = xml.XML();
    EXPECT_THROW(xml.MakeNode(L"/serie/missing", L"value", {}, {}), AppError);
    EXPECT_THROW(xml.MakeNode(L"/serie", L"1bad", {}, {}), AppError);
    EXPECT_THROW(xml.MakeNode(L"/serie", L"", {}, {}), AppError);
    EXPECT_THROW(xml.MakeNode(L"/serie", L"value", std::vector<std::wstring>(40000, L"a"), {}),
                 AppError);
    EXPECT_EQ(xml.XML(), before);

    vbXML empty{PlatformXmlComponent()};
    EXPECT_THROW(empty.MakeNode(L"/serie", L"value", {}, {}), AppError);
}

TEST_F(EditingTest, DeleteNodeAndDeleteAttribute) {
    xml.DeleteNode(L"/serie/value[0]");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 4);
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name"), L"NEW YORK");
    xml.DeleteNode(L"/serie/value[7]");  // nothing selected: quietly nothing
    EXPECT_EQ(xml.NodeCount(L"/serie"), 4);

    xml.DeleteAttribute(L"/serie/value[0]", L"name");
    EXPECT_EQ(xml.ReadNodeXML(L"/serie/value[0]").find(L"name="), std::wstring::npos);
    EXPECT_EQ(xml.ReadNode(L"/serie/value[0]"), L"GMT-05:00");
    EXPECT_NO_THROW(xml.DeleteAttribute(L"/serie/value[0]", L"absent"));
    EXPECT_THROW(xml.DeleteAttribute(L"/serie/value[9]", L"name"), AppError);
    EXPECT_THROW(xml.DeleteAttribute(L"/serie/value[1]/text()", L"name"), AppError);
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"TOKYO");

    // The root element itself can go; the document is then without one.
    xml.DeleteNode(L"/serie");
    EXPECT_EQ(xml.NodeCount(L"/serie"), -1);
    EXPECT_THROW(xml.WriteChildAttr(L"/serie", 0, {}, {}), AppError);
}

TEST_F(EditingTest, WriteChildAttrWritesNothing) {
    const std::wstring before = xml.XML();
    xml.WriteChildAttr(L"/serie", 0, {L"name"}, {L"PARIS"});
    xml.WriteChildAttr(L"/serie/value[9]", 0, {L"name"}, {L"PARIS"});  // selection unused
    EXPECT_EQ(xml.XML(), before);
    EXPECT_THROW(xml.WriteChildAttr(L"/serie", 0, std::vector<std::wstring>(32768, L"a"), {}),
                 AppError);
    vbXML empty{PlatformXmlComponent()};
    EXPECT_THROW(empty.WriteChildAttr(L"/serie", 0, {}, {}), AppError);
}

TEST_F(EditingTest, SaveThenOpenGivesTheSameDocument) {
    xml.WriteNode(L"/serie/value[4]", L"GMT+02:00");
    xml.MakeNode(L"/serie", L"value", {}, {}, L"GMT+03:00");
    xml.WriteAttribute(L"/serie/value[5]", {L"name"}, {L"A & B <\"quoted\">"});
    const std::wstring saved = PathOf("saved.xml");
    xml.Save(saved);
    xml.Save(saved);  // replaces the file

    vbXML reopened{PlatformXmlComponent()};
    ASSERT_TRUE(reopened.OpenXML(saved));
    EXPECT_EQ(Canonical(reopened.XML()), Canonical(xml.XML()));
    EXPECT_EQ(reopened.XMLDocumentInfo(0), L"1.0");
    EXPECT_EQ(reopened.NodeCount(L"/serie"), 6);
    EXPECT_EQ(reopened.GetChildValue(L"/serie", 4), L"GMT+02:00");
    EXPECT_EQ(reopened.ReadAttribute(L"/serie/value[5]", L"name"), L"A & B <\"quoted\">");

    EXPECT_THROW(xml.Save(PathOf("no-such-folder/saved.xml")), AppError);
    vbXML empty{PlatformXmlComponent()};
    EXPECT_THROW(empty.Save(PathOf("empty.xml")), AppError);
}

TEST_F(EditingTest, DocumentInfoReadsTheDeclaration) {
    EXPECT_EQ(xml.XMLDocumentInfo(0), L"1.0");
    EXPECT_THROW(xml.XMLDocumentInfo(1), AppError);
    EXPECT_THROW(xml.XMLDocumentInfo(2), AppError);
    EXPECT_THROW(xml.XMLDocumentInfo(3), AppError);

    ASSERT_TRUE(xml.OpenXML(
        Write("full.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><a/>")));
    EXPECT_EQ(xml.XMLDocumentInfo(1), L"UTF-8");
    EXPECT_EQ(xml.XMLDocumentInfo(2), L"yes");

    // Without a declaration the first node is the root element, whose attributes count.
    ASSERT_TRUE(xml.OpenXML(L"<a version=\"2\"/>", 1));
    EXPECT_EQ(xml.XMLDocumentInfo(0), L"2");
    EXPECT_THROW(xml.XMLDocumentInfo(1), AppError);
    ASSERT_TRUE(xml.OpenXML(L"<!-- first --><a version=\"2\"/>", 1));
    EXPECT_THROW(xml.XMLDocumentInfo(0), AppError);

    ASSERT_TRUE(xml.OpenXML(L"<a><b>one</b></a>", 1));
    vbXML copy{PlatformXmlComponent()};
    ASSERT_TRUE(copy.OpenXML(xml.XML(), 1));
    EXPECT_EQ(copy.ReadNode(L"/a/b"), L"one");
    EXPECT_NE(xml.ReadNodeXML(L"/a/b").find(L"<b>one</b>"), std::wstring::npos);
}

}  // namespace
