#include <gtest/gtest.h>

#include "timezones/GmtOffset.h"

namespace {

TEST(GmtOffsetTest, DisplayNameAndDaylightGiveTheOffsetText) {
    // clang-format off
    const std::tuple<const wchar_t*, bool, const wchar_t*> cases[] = {
        {L"(GMT+10:00) Canberra, Melbourne", false, L"GMT+10:00"},
        {L"(GMT+10:00) Canberra, Melbourne", true, L"GMT+11:00"},
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
        {L"", false, L"GMT+00:00"}, {L"", true, L"GMT+01:00"},
        // Letters are copied and only position five decides; zero offsets are fixed texts.
        {L"(UTC+10:00) Sydney", false, L"UTC+10:00"}, {L"(UTC+10:00) Sydney", true, L"UTC+11:00"},
        {L"(UTC) Coordinated Universal Time", false, L"GMT+00:00"},
        {L"(UTC) Coordinated Universal Time", true, L"GMT+01:00"},
        {L"(GMT", true, L"GMT+01:00"}, {L"Somewhere", false, L"GMT+00:00"},
        // Without daylight time a signed text is copied through, whatever follows.
        {L"(GMT+ab:cd) odd", false, L"GMT+ab:cd"}, {L"(GMT+05", false, L"GMT+05"},
        // Unreadable hours with daylight time never give a malformed text.
        {L"(GMT+", true, L"GMT+01:00"}, {L"(GMT-ab:00) odd", true, L"GMT+01:00"},
        {L"(GMT+5:00) odd", true, L"GMT+01:00"}, {L"(GMT+05)", true, L"GMT+01:00"},
        {L"(GMT+05:x0) odd", true, L"GMT+01:00"},
        // Negative under one hour with daylight time crosses to plus.
        {L"(GMT-00:30) half", true, L"GMT+00:30"}, {L"(GMT-00:45) odd", true, L"GMT+00:15"},
        {L"(UTC-00:00) zero", true, L"UTC+01:00"}, {L"(GMT-00:30) half", false, L"GMT-00:30"}};
    // clang-format on
    for (const auto& [display, daylight, offset] : cases)
        EXPECT_EQ(GetGmtOffset(display, daylight), offset)
            << testing::PrintToString(std::wstring(display)) << " daylight " << daylight;
    EXPECT_EQ(GetGmtOffset(std::wstring(2048, L' '), true), L"GMT+01:00");
    for (const auto& [hour, text] : {std::pair{0, L"00"}, {9, L"09"}, {10, L"10"}, {124, L"124"}})
        EXPECT_EQ(PadHour(hour), text);
}

}  // namespace
