#include <windows.h>

#include "platform/Platform.h"

namespace {

// One attribute query: the clock file is looked at every second.
class Win32FileStamps final : public FileStamps {
  public:
    std::optional<FileStamp> StampOf(const std::wstring& path) const override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return std::nullopt;
        return FileStamp{(static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                         (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                             data.ftLastWriteTime.dwLowDateTime};
    }
};

}  // namespace

const FileStamps& PlatformFileStamps() {
    static const Win32FileStamps stamps;
    return stamps;
}
