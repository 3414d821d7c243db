#include "player/ClockFile.h"
#include "xml/vbXML.h"

std::optional<FileStamp> XmlClockFileSource::Stamp(const std::wstring& path) {
    return FileStampOf(path);
}

ClockFile XmlClockFileSource::Read(const std::wstring& path) {
    ClockFile file;
    if (!FileStampOf(path)) {
        file.state = ClockFileState::Missing;
        return file;
    }
    vbXML xml;
    if (!xml.OpenXML(path, 0)) {
        file.state = ClockFileState::Malformed;
        return file;
    }
    // Rows 0 to 4 as far as they go; a missing value element ends the list.
    int rows = 0;
    for (; rows < kClockRows; ++rows) {
        const std::wstring query = L"/serie/value[" + std::to_wstring(rows) + L"]";
        std::optional<std::wstring> offset = xml.ReadNode(query);
        if (!offset) break;
        file.rows.push_back({xml.ReadAttribute(XmlValue(query), L"name"), std::move(*offset)});
    }
    file.state = rows == kClockRows ? ClockFileState::Ok : ClockFileState::FewerRows;
    return file;
}
