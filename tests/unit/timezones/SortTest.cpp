#include <gtest/gtest.h>

#include "fakes/FakeSystem.h"
#include "timezones/MSortRoutines.h"

namespace {

TimeZoneList Zones(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> entries) {
    TimeZoneList list;
    for (auto [display, key] : entries) {
        TimeZoneRecord record;
        record.Display = display;
        record.KeyName = key;
        list.push_back(record);
    }
    return list;
}

std::vector<std::wstring> Keys(const TimeZoneList& list) {
    std::vector<std::wstring> keys;
    for (const auto& z : list) keys.push_back(z.KeyName);
    return keys;
}

const FoldingCompare kCompare;

TEST(SortTest, AscendingIgnoresCaseAndIsStable) {
    auto list =
        Zones({{L"b", L"1"}, {L"A", L"2"}, {L"B", L"3"}, {L"", L"4"}, {L"a", L"5"}, {L"c", L"6"}});
    SortTimeZones(list, true, false, kCompare);
    // Equal names (ignoring case) keep their enumeration order; the empty name comes first.
    EXPECT_EQ(Keys(list), (std::vector<std::wstring>{L"4", L"2", L"5", L"1", L"3", L"6"}));
}

TEST(SortTest, DescendingKeepsEqualNamesInEnumerationOrder) {
    auto list = Zones({{L"a", L"1"}, {L"C", L"2"}, {L"A", L"3"}, {L"b", L"4"}});
    SortTimeZones(list, false, false, kCompare);
    EXPECT_EQ(Keys(list), (std::vector<std::wstring>{L"2", L"4", L"1", L"3"}));
}

TEST(SortTest, CaseSensitiveModeOrdersByCharacterCode) {
    auto list = Zones({{L"b", L"1"}, {L"B", L"2"}, {L"a", L"3"}, {L"A", L"4"}});
    SortTimeZones(list, true, true, kCompare);
    EXPECT_EQ(Keys(list), (std::vector<std::wstring>{L"4", L"2", L"3", L"1"}));
}

TEST(SortTest, OneEntryAndSortedListsAreLeftAlone) {
    auto one = Zones({{L"only", L"1"}});
    SortTimeZones(one, true, false, kCompare);
    EXPECT_EQ(Keys(one), std::vector<std::wstring>{L"1"});

    // A sorted range costs one comparison per record.
    struct CountingCompare : FoldingCompare {
        mutable int count = 0;
        int CompareIgnoringCase(const std::wstring& a, const std::wstring& b) const override {
            ++count;
            return FoldingCompare::CompareIgnoringCase(a, b);
        }
    } counting;
    auto sorted = Zones({{L"a", L"1"}, {L"b", L"2"}, {L"c", L"3"}, {L"d", L"4"}});
    SortTimeZones(sorted, true, false, counting);
    EXPECT_EQ(Keys(sorted), (std::vector<std::wstring>{L"1", L"2", L"3", L"4"}));
    EXPECT_EQ(counting.count, 3);
}

TEST(SortTest, InsertionSortTouchesOnlyItsRange) {
    auto list = Zones({{L"z", L"1"}, {L"c", L"2"}, {L"b", L"3"}, {L"a", L"4"}, {L"0", L"5"}});
    InsertionSortTimeZones(list, 1, 3, 1, CompareMode::Text, kCompare);
    EXPECT_EQ(Keys(list), (std::vector<std::wstring>{L"1", L"4", L"3", L"2", L"5"}));
}

}  // namespace
