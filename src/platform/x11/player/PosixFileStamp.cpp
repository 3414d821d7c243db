#include <sys/stat.h>

#include "platform/x11/NativePath.h"
#include "player/ClockFile.h"

std::optional<FileStamp> FileStampOf(const std::wstring& path) {
    struct stat info {};
    if (stat(NativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileStamp{
        static_cast<std::int64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}
