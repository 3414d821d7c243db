// Loads pelloxss-settings.so by its full path: from the program's own folder (the build tree),
// then from the installed library folder, given relative to the installed program. No search
// path is consulted.
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/linux/SettingsModule.h"

#ifndef PELLOX_SETTINGS_MODULE_FROM_PROGRAM
#define PELLOX_SETTINGS_MODULE_FROM_PROGRAM "pelloxss-settings.so"
#endif

namespace {

constexpr const char* kModuleName = "pelloxss-settings.so";

std::string ProgramFolder() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return {};
    const std::string program(path.data(), static_cast<std::size_t>(length));
    return program.substr(0, program.find_last_of('/'));
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

SettingsModule* Load() {
    const std::string folder = ProgramFolder();
    for (const std::string& path :
         {folder + "/" + kModuleName, folder + "/" + PELLOX_SETTINGS_MODULE_FROM_PROGRAM}) {
        if (folder.empty() || !IsFile(path)) continue;
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            std::fprintf(stderr, "pelloxss: %s\n", dlerror());
            continue;
        }
        using Entry = SettingsModule* (*)();
        if (const auto entry = reinterpret_cast<Entry>(dlsym(handle, kSettingsModuleEntry)))
            return entry();
        std::fprintf(stderr, "pelloxss: %s has no entry %s\n", path.c_str(), kSettingsModuleEntry);
    }
    std::fprintf(stderr, "pelloxss: the settings module %s cannot be found beside %s\n",
                 kModuleName, folder.c_str());
    return nullptr;
}

}  // namespace

SettingsModule* LoadSettingsModule() {
    static SettingsModule* const module = Load();
    return module;
}
