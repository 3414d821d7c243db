// The clock file as the player and the settings dialog read it: pugixml natively, MSXML under
// Wine.
#include "XmlFixture.h"
#include "config/ClockFile.h"

namespace {

using ClockFileReading = XmlFiles;

std::string Values(const std::string& values) {
    return "<?xml version=\"1.0\"?><serie>" + values + "</serie>";
}
std::string Value(const std::string& name, const std::string& offset) {
    return "<value name=\"" + name + "\">" + offset + "</value>";
}

TEST_F(ClockFileReading, RowsAsFarAsTheValuesGo) {
    XmlClockFileSource source(PlatformFileStamps(), PlatformXmlComponent());
    const std::wstring path = PathOf("pellox2.xml");
    EXPECT_FALSE(source.Stamp(path).has_value());
    EXPECT_EQ(source.Read(path), ClockFile{});  // missing

    // Written by the writer: every caption reads back without its commas.
    const RowTexts captions = {L"R&D, <Lab>", L"\"Quoted\" 'single'", L"Z\u00fcrich \u6771\u4eac",
                               L"  tab\there  ", L""};
    const RowTexts offsets = {L"GMT+00:00", L"GMT-05:00", L"GMT+01:00", L"GMT+09:00", L"GMT-00:30"};
    Write("pellox2.xml", BuildClockDocument(captions, offsets));
    ClockFile file = source.Read(path);
    EXPECT_EQ(file.state, ClockFileState::Ok);
    ASSERT_EQ(file.rows.size(), 5u);
    for (int row = 0; row < kZoneRows; ++row)
        EXPECT_EQ(file.rows[row], (ClockRow{RemoveCommas(captions[row]), offsets[row]})) << row;
    EXPECT_GT(source.Stamp(path)->size, 150);

    const std::pair<std::string, ClockFile> cases[] = {
        {Values(Value("A \"B\"", "GMT")), {ClockFileState::Malformed, {}}},
        {"<?xml version=\"1.0\"?><serie><value name=\"A\">GMT", {ClockFileState::Malformed, {}}},
        {"", {ClockFileState::Malformed, {}}},
        {Values(Value("A", "GMT+01:00") + Value("B", "nonsense")),
         {ClockFileState::FewerRows, {{L"A", L"GMT+01:00"}, {L"B", L"nonsense"}}}},
        {Values(""), {ClockFileState::FewerRows, {}}},
        {"<?xml version=\"1.0\"?><other/>", {ClockFileState::FewerRows, {}}},
        // More than five rows, and a row without a name: five rows, that caption empty.
        {Values("<value>GMT+02:00</value>" + Value("1", "a") + Value("2", "b") + Value("3", "c") +
                Value("4", "d") + Value("5", "e")),
         {ClockFileState::Ok,
          {{L"", L"GMT+02:00"}, {L"1", L"a"}, {L"2", L"b"}, {L"3", L"c"}, {L"4", L"d"}}}},
    };
    for (const auto& [bytes, expected] : cases) {
        Write("pellox2.xml", bytes);
        EXPECT_EQ(source.Read(path), expected) << bytes;
    }
}

}  // namespace
