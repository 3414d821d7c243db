#include <gtest/gtest.h>

#include "timezones/GmtOffset.h"

namespace {

struct Case {
    const wchar_t* display;
    bool daylight;
    const wchar_t* offset;
};

TEST(GmtOffsetTest, WorkedExamples) {
    const Case cases[] = {
        {L"(GMT+10:00) Canberra, Melbourne, Sydney", false, L"GMT+10:00"},
        {L"(GMT+10:00) Canberra, Melbourne, Sydney", true, L"GMT+11:00"},
        {L"(GMT-05:00) Eastern Time (US & Canada)", false, L"GMT-05:00"},
        {L"(GMT-05:00) Eastern Time (US & Canada)", true, L"GMT-04:00"},
        {L"(GMT) Greenwich Mean Time", false, L"GMT+00:00"},
        {L"(GMT) Greenwich Mean Time", true, L"GMT+01:00"},
        {L"(GMT+05:30) Chennai, Kolkata", false, L"GMT+05:30"},
        {L"(GMT+05:30) Chennai, Kolkata", true, L"GMT+06:30"},
        {L"(GMT-03:30) Newfoundland", true, L"GMT-02:30"},
        {L"(GMT+09:00) Osaka", true, L"GMT+10:00"},
        {L"(GMT-10:00) Hawaii", true, L"GMT-09:00"},
        {L"(GMT-01:00) Azores", true, L"GMT-00:00"},  // keeps its minus sign
        {L"(GMT+13:00) Nuku'alofa", true, L"GMT+14:00"},
        {L"(GMT+23:00) Nowhere", true, L"GMT+24:00"},  // nothing wraps around
        {L"(GMT+05:45) Kathmandu", true, L"GMT+06:45"},
        {L"", false, L"GMT+00:00"},
        {L"", true, L"GMT+01:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetGmtOffset(c.display, c.daylight), c.offset)
            << "display " << testing::PrintToString(std::wstring(c.display)) << " daylight "
            << c.daylight;
    }
}

TEST(GmtOffsetTest, LettersAreCopiedAndOnlyPositionFiveDecides) {
    EXPECT_EQ(GetGmtOffset(L"(UTC+10:00) Sydney", false), L"UTC+10:00");
    EXPECT_EQ(GetGmtOffset(L"(UTC+10:00) Sydney", true), L"UTC+11:00");
    // Zero-offset results are fixed texts whatever the letters.
    EXPECT_EQ(GetGmtOffset(L"(UTC) Coordinated Universal Time", false), L"GMT+00:00");
    EXPECT_EQ(GetGmtOffset(L"(UTC) Coordinated Universal Time", true), L"GMT+01:00");
    // Short texts and a text with no sign at position 5.
    EXPECT_EQ(GetGmtOffset(L"(GMT", true), L"GMT+01:00");
    EXPECT_EQ(GetGmtOffset(L"Somewhere", false), L"GMT+00:00");
    EXPECT_EQ(GetGmtOffset(std::wstring(2048, L' '), true), L"GMT+01:00");
    // Without daylight time a signed text is copied through, whatever follows.
    EXPECT_EQ(GetGmtOffset(L"(GMT+ab:cd) odd", false), L"GMT+ab:cd");
    EXPECT_EQ(GetGmtOffset(L"(GMT+05", false), L"GMT+05");
}

TEST(GmtOffsetTest, UnreadableHoursWithDaylightNeverGiveAMalformedText) {
    EXPECT_EQ(GetGmtOffset(L"(GMT+", true), L"GMT+01:00");
    EXPECT_EQ(GetGmtOffset(L"(GMT-ab:00) odd", true), L"GMT+01:00");
    EXPECT_EQ(GetGmtOffset(L"(GMT+5:00) odd", true), L"GMT+01:00");
    EXPECT_EQ(GetGmtOffset(L"(GMT+05)", true), L"GMT+01:00");
    EXPECT_EQ(GetGmtOffset(L"(GMT+05:x0) odd", true), L"GMT+01:00");
}

TEST(GmtOffsetTest, NegativeUnderOneHourWithDaylightCrossesToPlus) {
    EXPECT_EQ(GetGmtOffset(L"(GMT-00:30) half", true), L"GMT+00:30");
    EXPECT_EQ(GetGmtOffset(L"(GMT-00:45) odd", true), L"GMT+00:15");
    EXPECT_EQ(GetGmtOffset(L"(UTC-00:00) zero", true), L"UTC+01:00");
    EXPECT_EQ(GetGmtOffset(L"(GMT-00:30) half", false), L"GMT-00:30");
}

TEST(GmtOffsetTest, PadHour) {
    EXPECT_EQ(PadHour(0), L"00");
    EXPECT_EQ(PadHour(9), L"09");
    EXPECT_EQ(PadHour(10), L"10");
    EXPECT_EQ(PadHour(124), L"124");
}

}  // namespace
