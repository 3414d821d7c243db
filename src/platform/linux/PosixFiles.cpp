// The file system on Linux: file stamps, the per-user folder that stands in for the program's
// folder, and the paths the portable code builds the Windows way.
#include <glib.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/PosixFiles.h"

namespace {

class PosixFileStamps final : public FileStamps {
  public:
    std::optional<FileStamp> StampOf(const std::wstring& path) const override {
        struct stat info {};
        if (stat(NativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            return std::nullopt;
        return FileStamp{
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
    }
};

class ConfigFolder final : public ProgramFolder {
  public:
    explicit ConfigFolder(std::string folder) : folder_(std::move(folder)) {}
    std::wstring Path() const override {
        // The clock file goes here; a folder that cannot be made shows when the file is
        // written, with the reason.
        g_mkdir_with_parents(folder_.c_str(), 0700);
        return utf8::ToWide(folder_);
    }

  private:
    std::string folder_;
};

}  // namespace

std::string NativePath(const std::wstring& path) {
    std::wstring native = path;
    std::replace(native.begin(), native.end(), L'\\', L'/');
    return utf8::FromWide(native);
}

std::string PelloxConfigFolder() {
    return std::string(g_get_user_config_dir()) + "/pelloxss";
}

std::unique_ptr<ProgramFolder> MakeConfigFolder(const std::string& folder) {
    return std::make_unique<ConfigFolder>(folder);
}

std::unique_ptr<ProgramFolder> MakeProgramFolder() {
    return MakeConfigFolder(PelloxConfigFolder());
}

const FileStamps& PlatformFileStamps() {
    static const PosixFileStamps stamps;
    return stamps;
}
