#pragma once
// A file's whole content, for tests that compare what the program wrote.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The bytes of the file, or "<missing>" when it cannot be opened.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
