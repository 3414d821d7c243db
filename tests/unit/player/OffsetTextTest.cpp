#include <gtest/gtest.h>

#include "player/OffsetText.h"

namespace {

TEST(OffsetTextTest, OffsetsAndTheClockFileBesideTheMovie) {
    // Any three letters; the sign covers the minutes too; +24:00 is what the writer makes of
    // +23 with daylight-saving time.
    const std::pair<const wchar_t*, int> readable[] = {
        {L"GMT", 0},          {L"UTC", 0},
        {L"GMT+00:00", 0},    {L"GMT-00:00", 0},
        {L"GMT+01:00", 60},   {L"GMT-05:00", -300},
        {L"GMT+05:30", 330},  {L"GMT+05:45", 345},
        {L"GMT-03:30", -210}, {L"UTC+14:00", 840},
        {L"cet+01:00", 60},   {L"GMT-00:30", -30},
        {L"GMT+24:00", 1440}, {L"  GMT+02:00\n", 120}};
    for (const auto& [text, minutes] : readable) EXPECT_EQ(ParseOffsetText(text), minutes) << text;
    for (const wchar_t* text :
         {L"", L"   ", L"GM", L"GMT+", L"GMT+1:00", L"GMT+01:60", L"GMT+01-00", L"GMT*01:00",
          L"G1T+01:00", L"GMT+0a:00", L"GMT+01:00x", L"GMT+01:000", L"+01:00", L"GMT 01:00",
          L"\u00c9ST+01:00", L"GMT+01:0\U0001F600"})
        EXPECT_FALSE(ParseOffsetText(text).has_value()) << testing::PrintToString(text);
    EXPECT_EQ(ClockFileBesideMovie(L"C:\\PELLOXSS1.SWF"), L"C:\\pellox2.xml");
    EXPECT_EQ(ClockFileBesideMovie(L"/home/u/.config/pelloxss/PELLOXSS1.SWF"),
              L"/home/u/.config/pelloxss\\pellox2.xml");
    EXPECT_EQ(ClockFileBesideMovie(L"PELLOXSS1.SWF"), L"");
}

}  // namespace
