// vbXML's loading and reading on the platform's XML component (libxml2 natively, MSXML under
// Wine): the clock file, broken and hostile documents, query forms, any-value parameters.
#include "ReadEverything.h"
#include "XmlFixture.h"
#include "config/ClockFile.h"
#include "support/Expect.h"

#include <filesystem>
#include <fstream>
#include <set>

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
    // (Rows by position and beyond the last: ClockFileRowsAsFarAsTheValuesGo.)
    EXPECT_EQ(xml.GetChildAttribute(L"/serie", L"name", 3), L"SYDNEY");
    EXPECT_THROW(xml.GetChildName(L"/serie", 5), AppError);
    // Indexes take any value: rounded to the nearest whole number, halves to the even one; one
    // without a number form, or beyond 32 bits, is a failing step.
    const std::pair<XmlValue, const wchar_t*> children[] = {
        {2, L"GMT+09:00"},    {5, L""},        {-1, L""},  {1.5, L"GMT+09:00"}, {2.5, L"GMT+09:00"},
        {L"3", L"GMT+10:00"}, {L"three", L""}, {1e12, L""}};
    for (const auto& [index, text] : children)
        EXPECT_EQ(xml.GetChildValue(L"/serie", index), text) << utf8::FromWide(index.ToText());
    // Multibyte UTF-8, up to a character beyond the basic plane, reads as its characters.
    ASSERT_TRUE(xml.OpenXML(Write("utf8.xml", "<a>\xE2\x82\xAC\xEF\xBF\xBD\xF0\x9F\x8C\x8D</a>")));
    EXPECT_EQ(xml.ReadNode(L"/a"), L"\u20ac\ufffd\U0001F30D");
}

TEST_F(ReadingTest, BrokenDocumentsReadAsNothing) {
    vbXML xml{PlatformXmlComponent()};
    ExpectNothingReadable(xml);  // before any document
    EXPECT_FALSE(xml.OpenXML(PathOf("absent.xml")));
    // A document cut short leaves no part of itself readable (other refusals: the corpus test).
    EXPECT_FALSE(xml.OpenXML(Write("broken.xml", "<?xml version=\"1.0\"?><serie><value>")));
    ExpectNothingReadable(xml);

    ASSERT_TRUE(xml.OpenXML(L"<serie><value name=\"A\"/><value name=\"B\"/></serie>", 1));
    EXPECT_EQ(xml.NodeCount(L"/serie"), 2);
    // Any other type loads nothing, and the document open before is gone.
    EXPECT_FALSE(xml.OpenXML(L"<a/>", 2));
    EXPECT_EQ(xml.NodeCount(L"/serie"), -1);
}

// Each file of not-well-formed/ breaks a well-formedness rule of XML 1.0 or of namespaces (one
// or more files per rule): the component refuses it from a file, and as text when its bytes are
// UTF-8 text that declares no encoding. What Wine's MSXML loads is in wine-msxml-loads.txt.
TEST_F(ReadingTest, NotWellFormedDocumentsAreRefused) {
    std::set<std::string> wineLoads;
    std::ifstream list(std::string(PELLOX_XML_CORPUS) + "/../wine-msxml-loads.txt");
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line[0] != '#') wineLoads.insert(line);
    int checked = 0;
    const auto expectRefused = [&](const std::string& label, const std::wstring& source, int type) {
        vbXML xml{PlatformXmlComponent()};
        const bool loaded = xml.OpenXML(source, type);
        if (loaded && sizeof(wchar_t) == 2 && wineLoads.count(label)) {
            std::printf("known Wine difference, its MSXML loads %s\n", label.c_str());
        } else {
            EXPECT_FALSE(loaded) << label;
        }
        ++checked;
    };
    for (const auto& entry : std::filesystem::directory_iterator(PELLOX_XML_CORPUS)) {
        const std::string name = entry.path().filename().string(), bytes = ReadBytes(entry.path());
        expectRefused(name, Write("corpus.xml", bytes), 0);
        const std::wstring text = utf8::ToWide(bytes);
        if (utf8::FromWide(text) == bytes && bytes.find("encoding") == std::string::npos)
            expectRefused(name + " as text", text, 1);
    }
    EXPECT_GE(checked, 100);
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

std::string Values(const std::string& values) {
    return "<?xml version=\"1.0\"?><serie>" + values + "</serie>";
}
std::string Value(const std::string& name, const std::string& offset) {
    return "<value name=\"" + name + "\">" + offset + "</value>";
}

// The clock file as the player and the settings dialog read it.
TEST_F(ReadingTest, ClockFileRowsAsFarAsTheValuesGo) {
    XmlClockFileSource source(PlatformFileStamps(), PlatformXmlComponent());
    const std::wstring path = PathOf("pellox2.xml");
    EXPECT_EQ(source.Read(path), ClockFile{});  // missing

    // Written by the writer: every caption reads back without its commas.
    const RowTexts captions = {L"R&D, <Lab>", L"\"Quoted\" 'single'", L"Z\u00fcrich \u6771\u4eac",
                               L"  tab\there  ", L""};
    const RowTexts offsets = {L"GMT+00:00", L"GMT-05:00", L"GMT+01:00", L"GMT+09:00", L"GMT-00:30"};
    Write("pellox2.xml", BuildClockDocument(captions, offsets));
    ClockFile written{ClockFileState::Ok, {}};
    for (int row = 0; row < kZoneRows; ++row)
        written.rows.push_back({RemoveCommas(captions[row]), offsets[row]});
    EXPECT_EQ(source.Read(path), written);
    EXPECT_GT(source.Stamp(path)->size, 150);

    const std::pair<std::string, ClockFile> cases[] = {
        {Values(Value("A \"B\"", "GMT")), {ClockFileState::Malformed, {}}},
        {"", {ClockFileState::Malformed, {}}},
        {Values(Value("A", "GMT+01:00") + Value("B", "nonsense")),
         {ClockFileState::FewerRows, {{L"A", L"GMT+01:00"}, {L"B", L"nonsense"}}}},
        {Values(""), {ClockFileState::FewerRows, {}}},
        // More than five rows, and a row without a name: five rows, that caption empty.
        {Values("<value>GMT+02:00</value>" + Value("1", "a") + Value("2", "b") + Value("3", "c") +
                Value("4", "d") + Value("5", "e")),
         {ClockFileState::Ok,
          {{L"", L"GMT+02:00"}, {L"1", L"a"}, {L"2", L"b"}, {L"3", L"c"}, {L"4", L"d"}}}},
    };
    for (const auto& [bytes, expected] : cases) {
        Write("pellox2.xml", bytes);
        EXPECT_EQ(source.Read(path), expected) << bytes;
    }
}

// Every query form the wrapper accepts selects the same node on each platform's component; any
// other form is a failing step everywhere.
TEST(QueryFormsTest, AcceptedFormsSelectTheSameNodes) {
    vbXML xml{PlatformXmlComponent()};
    ASSERT_TRUE(
        xml.OpenXML(L"<serie id=\"s\"><value name=\"A\" zone=\"z1\">GMT+01:00</value>"
                    L"<value name=\"B\">GMT+02:00<note>n1</note></value>"
                    L"<group><value name=\"C\">GMT+03:00</value></group>"
                    L"<!--remark--></serie>",
                    1));
    // A query and the text of the node it selects; nullptr: it selects nothing.
    // clang-format off
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"/serie/value[1]", L"GMT+02:00n1"}, {L"value[0]", L"GMT+01:00"},
        {L"/serie/*[2]", L"GMT+03:00"}, {L"//value[2]", nullptr},
        {L"//value[@name='C']", L"GMT+03:00"}, {L"/serie/value[@name=\"B\"]", L"GMT+02:00n1"},
        {L"value[ @zone ]", L"GMT+01:00"}, {L"value[note='n1']", L"GMT+02:00n1"},
        {L"value[@name='B'][0]", L"GMT+02:00n1"}, {L"/serie/@id", L"s"}, {L"value[0]/@zone", L"z1"},
        {L"group/value/../value", L"GMT+03:00"}, {L"/serie/value[0]/text()", L"GMT+01:00"},
        {L"/serie/comment()", L"remark"}, {L"group//value", L"GMT+03:00"}};
    // clang-format on
    for (const auto& [query, text] : cases)
        EXPECT_EQ(xml.ReadNode(query).value_or(L"<none>"), text ? text : L"<none>")
            << utf8::FromWide(query);
    // Forms the component would take fail in the wrapper too (every form: XPathQueryTest).
    for (const wchar_t* query : {L"value[last()]", L"value | group"}) {
        EXPECT_FALSE(xml.ReadNode(query).has_value()) << utf8::FromWide(query);
        EXPECT_THROW(xml.ReadNodeXML(query), AppError) << utf8::FromWide(query);
    }
}

// Parameters that take any value: their text and whole-number forms (number formatting differs
// between C libraries).
TEST(XmlValueTest, TextAndWholeNumberForms) {
    // clang-format off
    const std::pair<XmlValue, const wchar_t*> texts[] = {
        {XmlValue(), L""}, {L"as is ", L"as is "}, {42, L"42"}, {-7LL, L"-7"}, {1.5, L"1.5"},
        {0.1, L"0.1"}, {-2.0, L"-2"}, {1.0 / 3, L"0.333333333333333"}, {1e20, L"1E+20"},
        {123456789012345.0, L"123456789012345"}, {-1.5e-7, L"-1.5E-07"}, {1e300, L"1E+300"}};
    const std::pair<XmlValue, std::int32_t> numbers[] = {
        {XmlValue(), 0}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.51, 3}, {L" 12 ", 12}, {L"+4.5", 4},
        {L"-1e3", -1000}, {L"1e+3", 1000}, {2147483647LL, 2147483647}, {-2147483648.4, -2147483647 - 1}};
    const std::pair<XmlValue, long> failures[] = {
        {L"abc", errnum::TypeMismatch}, {L"", errnum::TypeMismatch},
        {L"12abc", errnum::TypeMismatch}, {L"1,5", errnum::TypeMismatch},
        {2147483648LL, errnum::Overflow}, {3e9, errnum::Overflow}, {L"1e400", errnum::Overflow},
        {2147483647.5, errnum::Overflow}};
    // clang-format on
    for (const auto& [value, text] : texts) EXPECT_EQ(value.ToText(), text);
    for (const auto& [value, number] : numbers)
        EXPECT_EQ(value.ToInt32(), number) << utf8::FromWide(value.ToText());
    for (const auto& [value, number] : failures) ExpectAppError([&] { value.ToInt32(); }, number);
    ExpectAppError([] { XmlValue(std::numeric_limits<double>::quiet_NaN()).ToText(); }, 13);
}

// Hostile documents: nothing outside the document is read, and deep or odd input either loads or
// is refused, with every read still answering.
using HostileInputTest = XmlFiles;

TEST_F(HostileInputTest, ExternalEntitiesAndDtdsAreNeverRead) {
    Write("secret.txt", "TOPSECRET");
    Write("defaults.dtd", "<!ATTLIST value name CDATA \"TOPSECRET\"><!ENTITY leak \"TOPSECRET\">");
    const std::string url = "file:///" + (folder_ / "secret.txt").generic_string();
    // An external general entity, by relative path and by URL; an external DTD whose attribute
    // default and entity would leak; an external parameter entity.
    const std::string documents[] = {
        "<!DOCTYPE serie [<!ENTITY e SYSTEM \"secret.txt\">]><serie><value name=\"&e;\">&e;"
        "</value></serie>",
        "<!DOCTYPE serie [<!ENTITY e SYSTEM \"" + url + "\">]><serie><value>&e;</value></serie>",
        "<!DOCTYPE serie SYSTEM \"defaults.dtd\"><serie><value>&leak;</value><value/></serie>",
        "<!DOCTYPE serie [<!ENTITY % p SYSTEM \"defaults.dtd\">%p;]><serie/>"};
    for (const std::string& document : documents) {
        vbXML xml{PlatformXmlComponent()}, text{PlatformXmlComponent()};
        if (xml.OpenXML(Write("crafted.xml", "<?xml version=\"1.0\"?>" + document))) {
            EXPECT_EQ(xml.XML().find(L"TOPSECRET"), std::wstring::npos) << document;
            EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name").find(L"TOPSECRET"),
                      std::wstring::npos);
            EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"");
        }
        const bool loaded = text.OpenXML(std::wstring(document.begin(), document.end()), 1);
        EXPECT_FALSE(loaded && text.XML().find(L"TOPSECRET") != std::wstring::npos) << document;
    }
}

TEST_F(HostileInputTest, DeepAndOddDocumentsLoadOrAreRefused) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    deep += "deep";
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    vbXML xml{PlatformXmlComponent()};
    if (xml.OpenXML(Write("deep.xml", deep))) {
        EXPECT_EQ(xml.NodeCount(L"/a"), 1);
        EXPECT_EQ(xml.ReadNode(L"//a[a='deep']"), L"deep");
    }
    ReadEverything(xml, L"//a");

    // (Bad UTF-8, NULs and control characters: the not-well-formed corpus.) UTF-16 with its
    // byte order mark; an unpaired surrogate and a non-character given as text.
    xml.OpenXML(Write("bytes.xml", std::string("\xFF\xFE<\0s\0/\0>\0", 10)));
    ReadEverything(xml, L"/s");
    xml.OpenXML(L"<a b=\"\xD800\">\xFFFF</a>", 1);
    ReadEverything(xml, L"/a");
}

}  // namespace
