// libFuzzer target: OpenXML on libxml2, of the input's bytes as a file and as text, then every
// reading operation; a document that loads must load again from its own markup. The input is
// the document; text after a 0x01 byte, when there is one, is used as one more query.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "../contract/ReadEverything.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string file = "/tmp/pellox-xml-fuzz-" + std::to_string(getpid()) + ".xml";
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.rfind('\x01');
    std::ofstream(file, std::ios::binary | std::ios::trunc) << input.substr(0, split);
    vbXML xml{PlatformXmlComponent()}, again{PlatformXmlComponent()};
    for (int road = 0; road < 2; ++road) {
        if ((road == 0 ? xml.OpenXML(utf8::ToWide(file))
                       : xml.OpenXML(utf8::ToWide(input.substr(0, split)), 1)) &&
            !again.OpenXML(xml.XML(), 1)) {
            std::abort();
        }
        for (const wchar_t* query : {L"/serie/value[0]", L"/serie/value[4]", L"/serie", L"*",
                                     L"//value[@name='x']", L"/*/*[1]/text()", L"/"})
            ReadEverything(xml, query);
        if (split != std::string::npos) ReadEverything(xml, utf8::ToWide(input.substr(split + 1)));
    }
    return 0;
}
