#include "platform/linux/shell/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

namespace {

constexpr const char* kLockName = "pelloxss.fullscreen.lock";

// A file descriptor, closed with its owner.
class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) close(fd_);
    }
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int Get() const { return fd_; }

  private:
    int fd_;
};

// A folder or a regular file owned by this user that nobody else may read, write or enter.
bool Private(const UniqueFd& fd, bool folder) {
    struct stat info {};
    return fd.Get() >= 0 && fstat(fd.Get(), &info) == 0 &&
           (folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode)) && info.st_uid == geteuid() &&
           (info.st_mode & 077) == 0;
}

// The folder itself, not a link to one.
UniqueFd OpenFolder(const std::string& folder) {
    return UniqueFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// The lock file in the folder (the folder made 0700 and the file 0600 when missing); an empty
// descriptor when either is not the user's alone or is a link.
UniqueFd OpenLockFile(const std::string& folder) {
    if (folder.empty() || folder[0] != '/') return UniqueFd();
    mkdir(folder.c_str(), 0700);  // an existing folder stays as it is and is checked below
    const UniqueFd directory = OpenFolder(folder);
    if (!Private(directory, true)) return UniqueFd();
    UniqueFd file(
        openat(directory.Get(), kLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    return Private(file, false) ? std::move(file) : UniqueFd();
}

// A variable that holds an absolute path, as the XDG folders must; empty otherwise.
std::string AbsolutePath(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? value : "";
}

// The user's runtime folder (see MakeFileLockInstanceGuard); empty when there is no home.
std::string PrivateRuntimeFolder() {
    const std::string runtime = AbsolutePath("XDG_RUNTIME_DIR");
    if (!runtime.empty() && Private(OpenFolder(runtime), true)) return runtime;
    std::string cache = AbsolutePath("XDG_CACHE_HOME");
    if (cache.empty()) {
        const std::string home = AbsolutePath("HOME");
        if (home.empty()) return "";
        cache = home + "/.cache";
    }
    // The cache home and its missing parents; what exists stays as it is.
    for (auto at = cache.find('/', 1);; at = cache.find('/', at + 1)) {
        mkdir(cache.substr(0, at).c_str(), 0700);
        if (at == std::string::npos) break;
    }
    return cache + "/pelloxss";
}

// A lock that only the full-screen road holds: an exclusive flock on the lock file, which
// takes the lock and tells whether another process holds it in one step. It goes with the
// process, however that ends.
class FileLockInstanceGuard final : public InstanceGuard {
  public:
    explicit FileLockInstanceGuard(std::string folder) : folder_(std::move(folder)) {}

    bool ClaimFullScreen() override {
        if (lock_.Get() >= 0) return true;
        if (folder_.empty()) folder_ = PrivateRuntimeFolder();
        UniqueFd file = OpenLockFile(folder_);
        if (file.Get() < 0 || flock(file.Get(), LOCK_EX | LOCK_NB) != 0) return false;
        lock_ = std::move(file);
        return true;
    }

  private:
    std::string folder_;
    UniqueFd lock_;
};

}  // namespace

std::unique_ptr<InstanceGuard> MakeFileLockInstanceGuard(const std::string& folder) {
    return std::make_unique<FileLockInstanceGuard>(folder);
}
