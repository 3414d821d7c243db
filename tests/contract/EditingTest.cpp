// Editing and saving: the guarded writes end quietly, the others throw and change nothing.
#include "XmlFixture.h"

namespace {

class EditingTest : public XmlFiles {
  protected:
    void SetUp() override { ASSERT_TRUE(xml.OpenXML(Write("pellox2.xml", kClockXml))); }
    // Runs the steps; the document must be as it was.
    void ExpectNoChange(const std::function<void()>& steps) {
        const std::wstring before = xml.XML();
        steps();
        EXPECT_EQ(xml.XML(), before);
    }
    vbXML xml{PlatformXmlComponent()};
    vbXML empty{PlatformXmlComponent()};
    const std::vector<std::wstring> tooMany = std::vector<std::wstring>(32768, L"a");
};

TEST_F(EditingTest, WriteNodeReplacesTextQuietly) {
    xml.WriteNode(L"/serie/value[1]", L"GMT-04:00");
    EXPECT_EQ(xml.ReadNode(L"/serie/value[1]"), L"GMT-04:00");
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"NEW YORK");
    // Numbers are written as text; an attribute node takes the text as its value.
    xml.WriteNode(L"/serie/value[3]/@name", 42);
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[3]", L"name"), L"42");
    // An element with children loses them all to the one text.
    xml.WriteNode(L"/serie", L"flat");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 1);
    EXPECT_EQ(xml.ReadNode(L"/serie"), L"flat");
    ExpectNoChange([&] { xml.WriteNode(L"/serie/value[0]", L"x"); });  // selects nothing any more
    empty.WriteNode(L"/serie", L"x");  // no document: nothing happens
    EXPECT_THROW(empty.XML(), AppError);
}

TEST_F(EditingTest, WriteAttributeStopsAtTheFirstFailingPosition) {
    // clang-format off
    const struct {
        const wchar_t* query;
        std::vector<std::wstring> names, values, read;  // read: the values of `names` afterwards
    } cases[] = {
        {L"/serie/value[0]", {L"", L"zone"}, {L"a", L"b"}, {L"", L""}},
        {L"/serie/value[0]", {L"name", L"zone", L"dst"}, {L"PARIS", L"CET"},
         {L"PARIS", L"CET", L""}},
        {L"/serie/value[2]", {L"ok", L"bad name"}, {L"1", L"2"}, {L"1", L""}}};
    // clang-format on
    for (const auto& c : cases) {
        xml.WriteAttribute(c.query, c.names, c.values);
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            if (c.names[i].empty()) continue;
            EXPECT_EQ(xml.ReadAttribute(c.query, c.names[i]), c.read[i])
                << utf8::FromWide(c.names[i]);
        }
    }
    // Not an element, nothing selected, no names, too many names for the walk: nothing.
    ExpectNoChange([&] {
        xml.WriteAttribute(L"/serie/value[2]/text()", {L"a"}, {L"1"});
        xml.WriteAttribute(L"/serie/value[9]", {L"a"}, {L"1"});
        xml.WriteAttribute(L"/serie/value[2]", {}, {});
        xml.WriteAttribute(L"/serie/value[3]", tooMany, tooMany);
    });
}

TEST_F(EditingTest, MakeNodeAppendsOrThrowsWithoutChange) {
    xml.MakeNode(L"/serie", L"value", {L"name"}, {L"PARIS"}, L"GMT+01:00");
    EXPECT_EQ(xml.NodeCount(L"/serie"), 6);
    EXPECT_EQ(xml.GetChildValue(L"/serie", 5), L"GMT+01:00");
    EXPECT_EQ(xml.GetChildName(L"/serie", 5), L"value");
    EXPECT_EQ(xml.GetChildAttribute(L"/serie", L"name", 5), L"");  // attributes are not written
    for (const wchar_t* name : {L"v9", L"\u00C0"})  // the ends of name characters' ranges
        EXPECT_NO_THROW(xml.MakeNode(L"/serie/value[1]", name, {}, {})) << utf8::FromWide(name);
    xml.MakeNode(L"value[0]", L"note", {}, {});
    EXPECT_EQ(xml.GetChildName(L"/serie/value[0]", 1), L"note");
    EXPECT_EQ(xml.ReadNode(L"/serie/value[0]/note"), L"");
    ExpectNoChange([&] {
        EXPECT_THROW(xml.MakeNode(L"/serie/missing", L"value", {}, {}), AppError);
        EXPECT_THROW(xml.MakeNode(L"/serie", L"1bad", {}, {}), AppError);
        EXPECT_THROW(xml.MakeNode(L"/serie", L"", {}, {}), AppError);
        EXPECT_THROW(xml.MakeNode(L"/serie", L"value", tooMany, {}), AppError);
    });
}

TEST_F(EditingTest, DeletingAndWriteChildAttr) {
    xml.DeleteNode(L"/serie/value[0]");
    xml.DeleteNode(L"/serie/value[7]");  // nothing selected: quietly nothing
    EXPECT_EQ(xml.NodeCount(L"/serie"), 4);
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name"), L"NEW YORK");
    xml.DeleteAttribute(L"/serie/value[0]", L"name");
    EXPECT_EQ(xml.ReadNodeXML(L"/serie/value[0]").find(L"name="), std::wstring::npos);
    EXPECT_NO_THROW(xml.DeleteAttribute(L"/serie/value[0]", L"absent"));
    EXPECT_THROW(xml.DeleteAttribute(L"/serie/value[9]", L"name"), AppError);
    EXPECT_THROW(xml.DeleteAttribute(L"/serie/value[1]/text()", L"name"), AppError);

    // WriteChildAttr writes nothing, whatever the selection, but refuses too many names.
    ExpectNoChange([&] {
        xml.WriteChildAttr(L"/serie", 0, {L"name"}, {L"PARIS"});
        xml.WriteChildAttr(L"/serie/value[9]", 0, {L"name"}, {L"PARIS"});
        EXPECT_THROW(xml.WriteChildAttr(L"/serie", 0, tooMany, {}), AppError);
    });
    // The root element itself can go; the document is then without one.
    xml.DeleteNode(L"/serie");
    EXPECT_EQ(xml.NodeCount(L"/serie"), -1);
    EXPECT_THROW(xml.WriteChildAttr(L"/serie", 0, {}, {}), AppError);
}

TEST_F(EditingTest, SaveThenOpenGivesTheSameDocument) {
    xml.WriteNode(L"/serie/value[4]", L"GMT+02:00");
    xml.MakeNode(L"/serie", L"value", {}, {}, L"GMT+03:00");
    xml.WriteAttribute(L"/serie/value[5]", {L"name"}, {L"A & B <\"quoted\">"});
    xml.Save(PathOf("saved.xml"));
    xml.Save(PathOf("saved.xml"));  // replaces the file
    vbXML reopened{PlatformXmlComponent()};
    ASSERT_TRUE(reopened.OpenXML(PathOf("saved.xml")));
    EXPECT_EQ(Canonical(reopened.XML()), Canonical(xml.XML()));
    EXPECT_EQ(reopened.XMLDocumentInfo(0), L"1.0");
    EXPECT_THROW(xml.Save(PathOf("no-such-folder/saved.xml")), AppError);
    EXPECT_THROW(empty.Save(PathOf("empty.xml")), AppError);
}

TEST_F(EditingTest, DocumentInfoReadsTheDeclaration) {
    for (int field : {1, 2, 3}) EXPECT_THROW(xml.XMLDocumentInfo(field), AppError);
    ASSERT_TRUE(xml.OpenXML(
        Write("full.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><a/>")));
    EXPECT_EQ(xml.XMLDocumentInfo(1), L"UTF-8");
    EXPECT_EQ(xml.XMLDocumentInfo(2), L"yes");
    // Without a declaration the first node is the root element, whose attributes count.
    ASSERT_TRUE(xml.OpenXML(L"<a version=\"2\"/>", 1));
    EXPECT_EQ(xml.XMLDocumentInfo(0), L"2");
    ASSERT_TRUE(xml.OpenXML(L"<!-- first --><a version=\"2\"/>", 1));
    EXPECT_THROW(xml.XMLDocumentInfo(0), AppError);
    // The markup opens again as the same document.
    ASSERT_TRUE(xml.OpenXML(L"<a><b>one</b></a>", 1));
    ASSERT_TRUE(empty.OpenXML(xml.XML(), 1));
    EXPECT_EQ(empty.ReadNode(L"/a/b"), L"one");
    EXPECT_NE(xml.ReadNodeXML(L"/a/b").find(L"<b>one</b>"), std::wstring::npos);
}

// Colours kept as text, and node texts scrambled by a shift of 13 character codes.
TEST_F(EditingTest, ColourTextAndPackedValue) {
    ASSERT_TRUE(xml.OpenXML(L"<colours><c>abc</c></colours>", 1));
    xml.SetColorValue(L"/colours/c", 255, 128, 0);
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"(255, 128, 0)");
    xml.SetColorValue(L"c", -1, 300, 7);  // written unchanged, no range check
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"(-1, 300, 7)");
    const std::pair<const wchar_t*, std::int32_t> colours[] = {
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
}

TEST_F(EditingTest, ScramblingShiftsCodesAndUndoes) {
    ASSERT_TRUE(xml.OpenXML(L"<colours><c>abc</c><d/></colours>", 1));
    xml.EncryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"nop");
    // Codes above 127 go through the ANSI code page: 's' + 13 is the euro sign, 't' + 13 one of
    // the code page's unassigned codes, which must survive the way back.
    xml.WriteNode(L"/colours/c", L"start test");
    xml.EncryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c")->at(0), L'\x20AC');
    xml.DecryptNode(L"/colours/c");
    EXPECT_EQ(xml.ReadNode(L"/colours/c"), L"start test");
    // Code 250 cannot go up, a tab (code 9) cannot go down: an error, and the text stays.
    for (const auto& [text, encrypt] : {std::pair{L"ab\xFA", true}, std::pair{L"A\tB", false}}) {
        xml.WriteNode(L"/colours/c", text);
        EXPECT_THROW(encrypt ? xml.EncryptNode(L"/colours/c") : xml.DecryptNode(L"/colours/c"),
                     AppError);
        EXPECT_EQ(xml.ReadNode(L"/colours/c"), text);
    }
    // The query starts at the document: a relative one that works from the root element
    // selects nothing here.
    EXPECT_THROW(xml.EncryptNode(L"c"), AppError);
    xml.EncryptNode(L"colours/d");  // an empty text
}

}  // namespace
