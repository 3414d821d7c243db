// Hostile documents: nothing outside the document is read, and large or odd input either
// loads or is refused, with every read still answering.
#include "XmlFixture.h"

namespace {

using HostileInputTest = XmlFiles;

// Every read answers (a result or an AppError), whatever was loaded.
void ReadEverything(vbXML& xml, const std::wstring& query) {
    xml.ReadAttribute(query, L"name");
    xml.ReadNode(query);
    xml.NodeCount(query);
    xml.GetChildValue(query, 0);
    xml.GetChildAttribute(query, L"name", 0);
    for (auto read : {+[](vbXML&x, const std::wstring&q) { x.ReadNodeXML(q); },
                      +[](vbXML&x, const std::wstring&q) { x.GetChildName(q, 0); },
                      +[](vbXML&x, const std::wstring&) { x.XML(); },
                      +[](vbXML&x, const std::wstring&) { x.XMLDocumentInfo(0); }}) {
        try {
            read(xml, query);
        } catch (const AppError&) {
        }
    }
}

TEST_F(HostileInputTest, ExternalEntitiesAndDtdsAreNeverRead) {
    Write("secret.txt", "TOPSECRET");
    Write("defaults.dtd",
          "<!ATTLIST value name CDATA \"TOPSECRET\">"
          "<!ENTITY leak \"TOPSECRET\">");
    const std::string file_url = "file:///" + (folder_ / "secret.txt").generic_string();
    const std::vector<std::string> documents = {
        // An external general entity, by relative path and by URL.
        "<?xml version=\"1.0\"?><!DOCTYPE serie [<!ENTITY e SYSTEM \"secret.txt\">]>"
        "<serie><value name=\"&e;\">&e;</value></serie>",
        "<?xml version=\"1.0\"?><!DOCTYPE serie [<!ENTITY e SYSTEM \"" + file_url +
            "\">]><serie><value name=\"x\">&e;</value></serie>",
        // An external DTD whose attribute default and entity would leak.
        "<?xml version=\"1.0\"?><!DOCTYPE serie SYSTEM \"defaults.dtd\">"
        "<serie><value>&leak;</value><value/></serie>",
        // An external parameter entity.
        "<?xml version=\"1.0\"?><!DOCTYPE serie [<!ENTITY % p SYSTEM \"defaults.dtd\">%p;]>"
        "<serie><value/></serie>",
    };
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        vbXML xml{PlatformXmlComponent()};
        if (xml.OpenXML(Write("crafted.xml", document))) {
            EXPECT_EQ(xml.XML().find(L"TOPSECRET"), std::wstring::npos);
            EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name").find(L"TOPSECRET"),
                      std::wstring::npos);
            EXPECT_EQ(xml.ReadAttribute(L"/serie/value[1]", L"name"), L"");
            EXPECT_EQ(xml.ReadNode(L"/serie")->find(L"TOPSECRET"), std::wstring::npos);
        }
        vbXML text{PlatformXmlComponent()};
        if (text.OpenXML(std::wstring(document.begin(), document.end()), 1)) {
            EXPECT_EQ(text.XML().find(L"TOPSECRET"), std::wstring::npos);
        }
    }
}

TEST_F(HostileInputTest, DeepNestingLoadsOrIsRefused) {
    constexpr int depth = 100000;
    std::string document;
    for (int i = 0; i < depth; ++i) document += "<a>";
    document += "deep";
    for (int i = 0; i < depth; ++i) document += "</a>";
    vbXML xml{PlatformXmlComponent()};
    if (xml.OpenXML(Write("deep.xml", document))) {
        EXPECT_EQ(xml.NodeCount(L"/a"), 1);
        EXPECT_EQ(xml.ReadNode(L"/a"), L"deep");
        EXPECT_EQ(xml.ReadNode(L"//a[a='deep']"), L"deep");
    }
    ReadEverything(xml, L"/a");
    ReadEverything(xml, L"//a");
    xml.OpenXML(std::wstring(document.begin(), document.end()), 1);
    ReadEverything(xml, L"//a[0]");
}

TEST_F(HostileInputTest, LargeDocumentsLoadAndRead) {
    // 100,000 rows, an attribute of a megabyte, about 10 MB in all.
    constexpr int rows = 100000;
    std::string document =
        "<?xml version=\"1.0\"?><serie big=\"" + std::string(1 << 20, 'x') + "\">";
    const std::string padding(60, 'p');
    for (int i = 0; i < rows; ++i) {
        document += "<value name=\"" + std::to_string(i) + padding + "\">GMT+01:00</value>";
    }
    document += "</serie>";
    ASSERT_GT(document.size(), 10u << 20);
    vbXML xml{PlatformXmlComponent()};
    ASSERT_TRUE(xml.OpenXML(Write("large.xml", document)));
    EXPECT_EQ(xml.NodeCount(L"/serie"), rows);
    EXPECT_EQ(xml.ReadAttribute(L"/serie", L"big").size(), 1u << 20);
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[99999]", L"name"),
              L"99999" + std::wstring(padding.begin(), padding.end()));
    EXPECT_EQ(xml.GetChildValue(L"/serie", rows - 1), L"GMT+01:00");
    EXPECT_EQ(xml.GetChildValue(L"/serie", rows), L"");
}

TEST_F(HostileInputTest, InvalidBytesAreRefusedOrRead) {
    const std::vector<std::string> documents = {
        "<serie><value name=\"\xFF\xFE\">GMT</value></serie>",
        "<serie><value name=\"\xC0\x80\">\xED\xA0\x80</value></serie>",
        "\xFF\xFE<\0s\0/\0>\0",
        std::string("<serie>\0</serie>", 16),
        "<serie><value name=\"a\x01\">b</value></serie>",
    };
    for (const std::string& document : documents) {
        vbXML xml{PlatformXmlComponent()};
        xml.OpenXML(Write("bytes.xml", document));
        ReadEverything(xml, L"/serie/value[0]");
        ReadEverything(xml, L"/*");
    }
    // A wide text with an unpaired surrogate and a non-character.
    vbXML xml{PlatformXmlComponent()};
    xml.OpenXML(L"<a b=\"\xD800\">\xFFFF</a>", 1);
    ReadEverything(xml, L"/a");

    // A clock file whose caption is a single-byte (not UTF-8) character and which declares
    // no encoding is not well-formed: its captions read as empty.
    vbXML ansi{PlatformXmlComponent()};
    EXPECT_FALSE(ansi.OpenXML(Write("ansi.xml",
                                    "<serie><value name=\"Z\xFCrich\">x</value>"
                                    "</serie>")));
    EXPECT_EQ(ansi.ReadAttribute(L"/serie/value[0]", L"name"), L"");
}

}  // namespace
