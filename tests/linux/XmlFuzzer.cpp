// libFuzzer target: OpenXML from text on pugixml, then every reading operation. The input is
// the document; text after a 0x01 byte, when there is one, is used as one more query.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../contract/ReadEverything.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.rfind('\x01');
    vbXML xml{PlatformXmlComponent()};
    xml.OpenXML(utf8::ToWide(input.substr(0, split)), 1);
    for (const wchar_t* query : {L"/serie/value[0]", L"/serie/value[4]", L"/serie", L"*",
                                 L"//value[@name='x']", L"/*/*[1]/text()", L"/"})
        ReadEverything(xml, query);
    if (split != std::string::npos) ReadEverything(xml, utf8::ToWide(input.substr(split + 1)));
    return 0;
}
