#pragma once
// A folder of a test's own under the system's temporary folder, removed with its content when
// the test is done; and the bytes of files, for tests that compare what a program wrote.

#include <filesystem>
#include <fstream>
#include <random>
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

class TempFolder {
  public:
    explicit TempFolder(const std::string& name = "test") {
        // A random part keeps parallel test programs apart.
        path_ = std::filesystem::temp_directory_path() /
                ("pellox-" + name + "-" + std::to_string(std::random_device{}()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Writes a file of the folder, making the folders on its way; returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};
