// Hostile documents: nothing outside the document is read, and deep or odd input either
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
    for (const auto& read : std::vector<std::function<void()>>{
             [&] { xml.ReadNodeXML(query); }, [&] { xml.GetChildName(query, 0); },
             [&] { xml.XML(); }, [&] { xml.XMLDocumentInfo(0); }}) {
        try {
            read();
        } catch (const AppError&) {
        }
    }
}

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

    for (const std::string& bytes :
         {std::string("<serie><value name=\"\xFF\xFE\">GMT</value></serie>"),
          std::string("<serie><value name=\"\xC0\x80\">\xED\xA0\x80</value></serie>"),
          std::string("\xFF\xFE<\0s\0/\0>\0", 10), std::string("<serie>\0</serie>", 16),
          std::string("<serie><value name=\"a\x01\">b</value></serie>")}) {
        xml.OpenXML(Write("bytes.xml", bytes));
        ReadEverything(xml, L"/serie/value[0]");
    }
    xml.OpenXML(L"<a b=\"\xD800\">\xFFFF</a>", 1);  // an unpaired surrogate, a non-character
    ReadEverything(xml, L"/a");
    // A single-byte (not UTF-8) caption under a declaration that names no encoding: not
    // well-formed, so the captions read as empty.
    EXPECT_FALSE(xml.OpenXML(Write("ansi.xml", "<serie><value name=\"Z\xFCrich\"/></serie>")));
    EXPECT_EQ(xml.ReadAttribute(L"/serie/value[0]", L"name"), L"");
}

}  // namespace
