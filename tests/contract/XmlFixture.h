#pragma once
// Files for the vbXML suites: the clock file and its broken forms, in a folder of the test's
// own that is removed afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "platform/Platform.h"
#include "xml/vbXML.h"

inline const std::string ClockFile =
    "<?xml version=\"1.0\"?><serie>"
    "<value name=\"LONDON\">GMT+00:00</value>"
    "<value name=\"NEW YORK\">GMT-05:00</value>"
    "<value name=\"TOKYO\">GMT+09:00</value>"
    "<value name=\"SYDNEY\">GMT+10:00</value>"
    "<value name=\"Local\">GMT+01:00</value>"
    "</serie>";

class XmlFiles : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("pellox-xml-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Writes bytes to a file of the folder and returns its full path.
    std::wstring Write(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.wstring();
    }
    std::wstring PathOf(const std::string& name) const { return (folder_ / name).wstring(); }

    std::filesystem::path folder_;
};

// The document's markup with what serialisers legitimately vary in taken out: the XML
// declaration, and white space between tags (Wine's MSXML indents).
inline std::wstring Canonical(const std::wstring& markup) {
    const std::wstring blanks = L" \t\r\n";
    std::wstring text = markup;
    if (text.starts_with(L"<?xml")) text.erase(0, text.find(L"?>") + 2);
    const auto first = text.find_first_not_of(blanks);
    const auto last = text.find_last_not_of(blanks);
    if (first == std::wstring::npos) return {};
    text = text.substr(first, last - first + 1);
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        out += text[i];
        if (text[i++] != L'>') continue;
        const std::size_t next = text.find_first_not_of(blanks, i);
        if (next != std::wstring::npos && text[next] == L'<') i = next;
    }
    return out;
}
