// The written clock file read back by the program's XML wrapper, as the dialog reads it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "config/ClockCaptionReader.h"
#include "config/ClockFile.h"

namespace {

class ClockFileReadBack : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("pellox-readback-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        path = folder / "pellox2.xml";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    std::filesystem::path folder, path;
    VbXmlCaptionReader reader;
};

TEST_F(ClockFileReadBack, EveryCaptionReadsBackAsWrittenWithoutItsCommas) {
    const RowTexts captions = {L"R&D, <Lab>", L"\"Quoted\" 'single'", L"Z\u00fcrich \u6771\u4eac",
                               L"  tab\there  ", L""};
    const RowTexts offsets = {L"GMT+00:00", L"GMT-05:00", L"GMT+01:00", L"GMT+09:00", L"GMT+05:30"};
    Write(BuildClockDocument(captions, offsets));
    const RowTexts read = reader.ReadCaptions(path.wstring());
    for (int row = 0; row < kZoneRows; ++row) {
        EXPECT_EQ(read[row], RemoveCommas(captions[row])) << row;
    }
}

TEST_F(ClockFileReadBack, MissingOrBrokenFilesGiveEmptyCaptions) {
    const RowTexts empty;
    EXPECT_EQ(reader.ReadCaptions(path.wstring()), empty);

    // The old writer's output for a caption with a double quote: no parser reads it.
    Write("<?xml version=\"1.0\"?><serie><value name=\"Say \"hi\"\">GMT+00:00</value></serie>");
    EXPECT_EQ(reader.ReadCaptions(path.wstring()), empty);

    // Fewer than five elements: the missing rows read as empty.
    Write(
        "<?xml version=\"1.0\"?><serie><value name=\"ONE\">GMT+00:00</value>"
        "<value>GMT+00:00</value></serie>");
    const RowTexts partial = reader.ReadCaptions(path.wstring());
    EXPECT_EQ(partial[0], L"ONE");
    EXPECT_EQ(partial[1], L"");
    EXPECT_EQ(partial[4], L"");
}

}  // namespace
