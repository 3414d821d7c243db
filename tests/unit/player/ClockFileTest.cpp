#include <gtest/gtest.h>

#include "player/OffsetText.h"

namespace {

TEST(ClockFileTest, OffsetTexts) {
    EXPECT_EQ(ParseOffsetText(L"GMT"), 0);
    EXPECT_EQ(ParseOffsetText(L"UTC"), 0);
    EXPECT_EQ(ParseOffsetText(L"GMT+00:00"), 0);
    EXPECT_EQ(ParseOffsetText(L"GMT-00:00"), 0);
    EXPECT_EQ(ParseOffsetText(L"GMT+01:00"), 60);
    EXPECT_EQ(ParseOffsetText(L"GMT-05:00"), -300);
    EXPECT_EQ(ParseOffsetText(L"GMT+05:30"), 330);
    EXPECT_EQ(ParseOffsetText(L"GMT+05:45"), 345);
    EXPECT_EQ(ParseOffsetText(L"GMT-03:30"), -210);
    EXPECT_EQ(ParseOffsetText(L"GMT-00:30"), -30);  // the sign covers the minutes too
    EXPECT_EQ(ParseOffsetText(L"UTC+14:00"), 840);
    EXPECT_EQ(ParseOffsetText(L"GMT+24:00"), 1440);  // what the writer makes of +23 with DST
    EXPECT_EQ(ParseOffsetText(L"cet+01:00"), 60);    // any three letters
    EXPECT_EQ(ParseOffsetText(L"  GMT+02:00\n"), 120);
}

TEST(ClockFileTest, UnreadableOffsetTexts) {
    for (const wchar_t* text :
         {L"", L"   ", L"GM", L"GMT+", L"GMT+1:00", L"GMT+01:60", L"GMT+01-00", L"GMT*01:00",
          L"G1T+01:00", L"GMT+0a:00", L"GMT+01:00x", L"GMT+01:000", L"+01:00", L"GMT 01:00",
          L"\u00c9ST+01:00"}) {
        EXPECT_FALSE(ParseOffsetText(text).has_value()) << "\"" << testing::PrintToString(text);
    }
}

TEST(ClockFileTest, ClockFileBesideTheMovie) {
    EXPECT_EQ(ClockFileBesideMovie(L"C:\\Saver\\PELLOXSS1.SWF"), L"C:\\Saver\\pellox2.xml");
    EXPECT_EQ(ClockFileBesideMovie(L"C:\\PELLOXSS1.SWF"), L"C:\\pellox2.xml");
    EXPECT_EQ(ClockFileBesideMovie(L"/home/u/.config/pelloxss/PELLOXSS1.SWF"),
              L"/home/u/.config/pelloxss\\pellox2.xml");
    EXPECT_EQ(ClockFileBesideMovie(L" "), L"");
    EXPECT_EQ(ClockFileBesideMovie(L"PELLOXSS1.SWF"), L"");
}

}  // namespace
