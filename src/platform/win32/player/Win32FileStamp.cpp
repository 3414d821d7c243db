#include <windows.h>

#include "player/ClockFile.h"

// One attribute query: the clock file is looked at every second.
std::optional<FileStamp> FileStampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return FileStamp{(static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                     (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                         data.ftLastWriteTime.dwLowDateTime};
}
