#pragma once
// Files for the vbXML suites: the clock file and its broken forms, in a folder of the test's
// own that is removed afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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
