// The clock file as the player and the settings dialog read it through vbXML: pugixml natively,
// MSXML under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/ClockFile.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"

namespace {

std::string Document(const std::string& values) {
    return "<?xml version=\"1.0\"?><serie>" + values + "</serie>";
}

std::string Value(const std::string& name, const std::string& offset) {
    return "<value name=\"" + name + "\">" + offset + "</value>";
}

class ClockFileReading : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ =
            std::filesystem::temp_directory_path() / (std::string("pellox-player-") + info->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::wstring Write(const std::string& bytes) {
        const auto path = folder_ / "pellox2.xml";
        std::ofstream(path, std::ios::binary) << bytes;
        return Path();
    }
    std::wstring Path() const {
        const auto path = folder_ / "pellox2.xml";
        if constexpr (sizeof(wchar_t) == 2) {
            return path.wstring();
        } else {
            return utf8::ToWide(path.string());
        }
    }

    std::filesystem::path folder_;
    XmlClockFileSource source_{PlatformFileStamps(), PlatformXmlComponent()};
};

TEST_F(ClockFileReading, EveryCaptionReadsBackAsWrittenWithoutItsCommas) {
    const RowTexts captions = {L"R&D, <Lab>", L"\"Quoted\" 'single'", L"Z\u00fcrich \u6771\u4eac",
                               L"  tab\there  ", L""};
    const RowTexts offsets = {L"GMT+00:00", L"GMT-05:00", L"GMT+01:00", L"GMT+09:00", L"GMT+05:30"};
    const RowTexts read = source_.Read(Write(BuildClockDocument(captions, offsets))).Captions();
    for (int row = 0; row < kZoneRows; ++row) {
        EXPECT_EQ(read[row], RemoveCommas(captions[row])) << row;
    }
}

TEST_F(ClockFileReading, FiveRowsAsTheDialogWritesThem) {
    const std::wstring path = Write(Document(
        Value("LONDON", "GMT+00:00") + Value("NEW YORK", "GMT-05:00") + Value("", "GMT+05:30") +
        Value("HONG KONG", "GMT+08:00") + Value("Local Time", "GMT-00:30")));
    const ClockFile file = source_.Read(path);
    EXPECT_EQ(file.state, ClockFileState::Ok);
    ASSERT_EQ(file.rows.size(), 5u);
    EXPECT_EQ(file.rows[0], (ClockRow{L"LONDON", L"GMT+00:00"}));
    EXPECT_EQ(file.rows[1], (ClockRow{L"NEW YORK", L"GMT-05:00"}));
    EXPECT_EQ(file.rows[2], (ClockRow{L"", L"GMT+05:30"}));
    EXPECT_EQ(file.rows[4], (ClockRow{L"Local Time", L"GMT-00:30"}));

    const auto stamp = source_.Stamp(path);
    ASSERT_TRUE(stamp.has_value());
    EXPECT_GT(stamp->size, 150);
}

TEST_F(ClockFileReading, BrokenFiles) {
    // Missing.
    EXPECT_FALSE(source_.Stamp(Path()).has_value());
    EXPECT_EQ(source_.Read(Path()).state, ClockFileState::Missing);

    // Not well-formed: a caption with an unescaped quote, or a cut-off file.
    EXPECT_EQ(source_.Read(Write(Document(Value("A \"B\"", "GMT")))).state,
              ClockFileState::Malformed);
    EXPECT_EQ(source_.Read(Write("<?xml version=\"1.0\"?><serie><value name=\"A\">GMT")).state,
              ClockFileState::Malformed);
    EXPECT_EQ(source_.Read(Write("")).state, ClockFileState::Malformed);

    // Fewer rows: the rows that are there.
    ClockFile file =
        source_.Read(Write(Document(Value("A", "GMT+01:00") + Value("B", "nonsense"))));
    EXPECT_EQ(file.state, ClockFileState::FewerRows);
    ASSERT_EQ(file.rows.size(), 2u);
    EXPECT_EQ(file.rows[1], (ClockRow{L"B", L"nonsense"}));
    file = source_.Read(Write(Document("")));
    EXPECT_EQ(file.state, ClockFileState::FewerRows);
    EXPECT_TRUE(file.rows.empty());
    file = source_.Read(Write("<?xml version=\"1.0\"?><other/>"));
    EXPECT_EQ(file.state, ClockFileState::FewerRows);

    // More than five rows, and a row without a name: five rows, the caption empty.
    std::string values = "<value>GMT+02:00</value>";
    for (int i = 1; i < 7; ++i)
        values += Value("R" + std::to_string(i), "GMT+0" + std::to_string(i) + ":00");
    file = source_.Read(Write(Document(values)));
    EXPECT_EQ(file.state, ClockFileState::Ok);
    ASSERT_EQ(file.rows.size(), 5u);
    EXPECT_EQ(file.rows[0], (ClockRow{L"", L"GMT+02:00"}));
    EXPECT_EQ(file.rows[4], (ClockRow{L"R4", L"GMT+04:00"}));
}

}  // namespace
