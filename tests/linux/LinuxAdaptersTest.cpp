#include <gtest/gtest.h>

#include "config/frmSettings.h"
#include "platform/Platform.h"

namespace {

TEST(LinuxTextCompare, CollatesIgnoringCase) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    const TextCompare& compare = *ports.textCompare;
    EXPECT_EQ(compare.CompareIgnoringCase(L"(UTC+01:00) Berlin", L"(utc+01:00) BERLIN"), 0);
    EXPECT_EQ(compare.CompareIgnoringCase(L"apple", L"Banana"), -1);
    EXPECT_EQ(compare.CompareIgnoringCase(L"Zurich", L"amsterdam"), 1);
    EXPECT_EQ(compare.CompareIgnoringCase(L"", L"a"), -1);
    // Accents still count at this strength.
    EXPECT_NE(compare.CompareIgnoringCase(L"cote", L"c\u00f4te"), 0);
}

}  // namespace
