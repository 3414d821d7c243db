#include <gtest/gtest.h>

#include "fakes/FakeSystem.h"
#include "timezones/MSortRoutines.h"

namespace {

// Zones named by the letters of `displays`, keyed by their position ("0", "1", ...); after the
// sort, the keys in their new order.
std::wstring Sorted(const std::wstring& displays, bool ascending, bool caseSensitive,
                    std::size_t first = 0, std::size_t last = 0) {
    TimeZoneList list;
    for (wchar_t c : displays) {
        list.push_back({});
        list.back().Display = c == L'_' ? L"" : std::wstring(1, c);
        list.back().KeyName = std::to_wstring(list.size() - 1);
    }
    if (last) {
        InsertionSortTimeZones(list, first, last, 1, CompareMode::Text, FoldingCompare());
    } else {
        SortTimeZones(list, ascending, caseSensitive, FoldingCompare());
    }
    std::wstring keys;
    for (const auto& zone : list) keys += zone.KeyName;
    return keys;
}

TEST(SortTest, StableInsertionSortInEveryMode) {
    // Equal names (ignoring case) keep their enumeration order; the empty name comes first.
    EXPECT_EQ(Sorted(L"bAB_ac", true, false), L"314025");
    EXPECT_EQ(Sorted(L"aCAb", false, false), L"1302");
    EXPECT_EQ(Sorted(L"bBaA", true, true), L"3120");  // by character code
    EXPECT_EQ(Sorted(L"x", true, false), L"0");
    EXPECT_EQ(Sorted(L"abcd", true, false), L"0123");
    EXPECT_EQ(Sorted(L"zcba0", true, false, 1, 3), L"03214");  // only its range
}

}  // namespace
