#include <filesystem>
#include <system_error>

#include "platform/TextEncoding.h"
#include "player/ClockFile.h"
#include "xml/vbXML.h"

namespace {

std::filesystem::path ToPath(const std::wstring& path) {
    if constexpr (sizeof(wchar_t) == 2) {
        return std::filesystem::path(path);  // Windows: wide paths are native
    } else {
        return std::filesystem::path(utf8::FromWide(path));
    }
}

}  // namespace

std::optional<FileStamp> XmlClockFileSource::Stamp(const std::wstring& path) {
    std::error_code error;
    const auto p = ToPath(path);
    const auto size = std::filesystem::file_size(p, error);
    if (error) return std::nullopt;
    const auto time = std::filesystem::last_write_time(p, error);
    if (error) return std::nullopt;
    return FileStamp{static_cast<std::int64_t>(size),
                     static_cast<std::int64_t>(time.time_since_epoch().count())};
}

ClockFile XmlClockFileSource::Read(const std::wstring& path) {
    ClockFile file;
    std::error_code error;
    if (!std::filesystem::is_regular_file(ToPath(path), error)) {
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
