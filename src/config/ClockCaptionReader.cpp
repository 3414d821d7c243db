#include "config/ClockCaptionReader.h"

#include "xml/vbXML.h"

RowTexts VbXmlCaptionReader::ReadCaptions(const std::wstring& clockFilePath) {
    RowTexts captions;
    vbXML document;
    // A missing or malformed file leaves every caption empty: ReadAttribute is guarded.
    document.OpenXML(clockFilePath, 0);
    for (int row = 0; row < kZoneRows; ++row) {
        captions[row] = document.ReadAttribute(
            XmlValue(L"/serie/value[" + std::to_wstring(row) + L"]"), L"name");
    }
    return captions;
}
