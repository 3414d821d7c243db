#pragma once
// Clock files in memory.

#include <map>
#include <string>
#include <vector>

#include "config/ClockFile.h"

// Files in memory; counts reads.
class FakeClockFileSource : public ClockFileSource {
  public:
    struct Entry {
        FileStamp stamp;
        ClockFile file;
    };
    std::map<std::wstring, Entry> files;
    int reads = 0;
    int stamps = 0;
    std::vector<std::wstring> readPaths;

    std::optional<FileStamp> Stamp(const std::wstring& path) override {
        ++stamps;
        const auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second.stamp;
    }
    ClockFile Read(const std::wstring& path) override {
        ++reads;
        readPaths.push_back(path);
        const auto it = files.find(path);
        return it == files.end() ? ClockFile{} : it->second.file;
    }
};
