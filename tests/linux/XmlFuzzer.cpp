// libFuzzer target: OpenXML from text on pugixml, then every reading operation. The input is
// the document; text after a 0x01 byte, when there is one, is used as one more query.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "xml/vbXML.h"

namespace {

template <typename Operation>
void Unguarded(Operation operation) {
    try {
        operation();
    } catch (const AppError&) {
    }
}

void ReadEverything(vbXML& xml, const std::wstring& query) {
    xml.ReadAttribute(query, L"name");
    xml.ReadNode(query);
    xml.NodeCount(query);
    xml.GetChildValue(query, 0);
    xml.GetChildValue(query, 1);
    xml.GetChildAttribute(query, L"name", 0);
    Unguarded([&] { xml.ReadNodeXML(query); });
    Unguarded([&] { xml.GetChildName(query, 0); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.rfind('\x01');
    const std::string document = input.substr(0, split);
    vbXML xml{PlatformXmlComponent()};
    xml.OpenXML(utf8::ToWide(document), 1);
    for (const wchar_t* query : {L"/serie/value[0]", L"/serie/value[4]", L"/serie", L"*",
                                 L"//value[@name='x']", L"/*/*[1]/text()", L"/"}) {
        ReadEverything(xml, query);
    }
    if (split != std::string::npos) ReadEverything(xml, utf8::ToWide(input.substr(split + 1)));
    Unguarded([&] { xml.XML(); });
    for (int field = 0; field < 3; ++field) Unguarded([&] { xml.XMLDocumentInfo(field); });
    return 0;
}
