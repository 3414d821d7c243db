// The catalogue's reading of the registry (which refuses write access, as HKEY_LOCAL_MACHINE does
// to a standard user), its sort and the offset text.
#include <gtest/gtest.h>

#include <algorithm>

#include "Fakes.h"
#include "timezones/GmtOffset.h"
#include "timezones/MSortRoutines.h"
#include "timezones/MTimeZone.h"

namespace {

const std::string kRoot = kTimeZonesKeyNT;

class CatalogueTest : public ::testing::Test {
  protected:
    void AddZone(const std::string& name, const std::string& display, std::int32_t bias = 0) {
        registry.AddSubkey(kRoot, name);
        const std::string path = kRoot + "\\" + name;
        std::string tzi(44, '\0');
        std::memcpy(tzi.data(), &bias, sizeof bias);
        registry.Key(path).values["TZI"] = tzi;
        registry.SetText(path, "Display", display);
        registry.SetText(path, "Std", name);
        registry.SetText(path, "Dlt", name + " (summer)");
        registry.SetText(path, "MapID", "1,2");
    }
    std::vector<std::wstring> Displays() const {
        std::vector<std::wstring> result;
        for (const auto& z : catalogue.TimeZones) result.push_back(z.Display);
        return result;
    }
    static bool Zeros(const TimeZoneRecord& zone) {
        return std::all_of(zone.TZI.begin(), zone.TZI.end(), [](auto b) { return b == 0; });
    }

    FakeRegistry registry;
    FakeVersion version;
    FoldingCompare compare;
    Utf8CodePage ansi;
    MTimeZone catalogue{registry, version, compare, ansi};
};

TEST_F(CatalogueTest, EveryZoneSortedWithItsValuesAndKeyNameAndEveryKeyClosed) {
    AddZone("Tokyo Standard Time", "(GMT+09:00) Osaka, Sapporo, Tokyo", -540);
    AddZone("GMT Standard Time", "(GMT) Greenwich Mean Time : Dublin, London", 0);
    AddZone("Eastern Standard Time", "(GMT-05:00) Eastern Time (US & Canada)", 300);
    // Without its text values: 2048 spaces each; without TZI: 44 zero bytes.
    registry.AddSubkey(kRoot, "Bare");
    registry.Key(kRoot + "\\Bare");
    // A zone key that cannot be opened: the empty record, which sorts first.
    registry.AddSubkey(kRoot, "Locked");
    registry.Key(kRoot + "\\Locked").unopenable = true;
    // A subkey name is cut at its first NUL: a second Tokyo, sorted after the first.
    registry.AddSubkey(kRoot, std::string("Tokyo Standard Time\0Ghost", 25));

    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    // "(GMT)" < "(GMT+..." < "(GMT-..." by the character after the common prefix.
    const std::wstring tokyoDisplay = L"(GMT+09:00) Osaka, Sapporo, Tokyo";
    EXPECT_EQ(Displays(),
              (std::vector<std::wstring>{
                  L"", std::wstring(2048, L' '), L"(GMT) Greenwich Mean Time : Dublin, London",
                  tokyoDisplay, tokyoDisplay, L"(GMT-05:00) Eastern Time (US & Canada)"}));
    EXPECT_EQ(catalogue.TimeZones[4].KeyName, L"Tokyo Standard Time");
    const TimeZoneRecord& tokyo = catalogue.TimeZones[3];
    EXPECT_EQ(tokyo.KeyName + L"|" + tokyo.Std + L"|" + tokyo.Dlt + L"|" + tokyo.MapID,
              L"Tokyo Standard Time|Tokyo Standard Time|Tokyo Standard Time (summer)|1,2");
    EXPECT_EQ(ParseTzi(tokyo.TZI).bias, -540);
    const TimeZoneRecord &locked = catalogue.TimeZones[0], &bare = catalogue.TimeZones[1];
    EXPECT_EQ(locked.KeyName, L"Locked");
    EXPECT_TRUE(Zeros(locked));
    EXPECT_TRUE(Zeros(bare));
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(CatalogueTest, EmptyMissingAndReloadedCatalogues) {
    // A later load holds exactly what it found, nothing left over from the one before: a key
    // that is missing (false) or has no subkeys (true) leaves the catalogue empty.
    AddZone("B", "(GMT+02:00) B");
    AddZone("A", "(GMT+01:00) A");
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    registry.Key(kRoot).subkeys.pop_back();
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    EXPECT_EQ(Displays(), std::vector<std::wstring>{L"(GMT+02:00) B"});
    EXPECT_FALSE(catalogue.LoadTimeZoneCatalogue("Software\\Nowhere"));
    EXPECT_TRUE(catalogue.TimeZones.empty());
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    registry.Key(kRoot).subkeys.clear();
    EXPECT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    EXPECT_TRUE(catalogue.TimeZones.empty());
}

TEST_F(CatalogueTest, VersionChoosesTheCatalogueKey) {
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKeyNT);
    EXPECT_EQ(version.sizeSeen, 148u);
    version.result = 0;  // a failed call counts as not NT (platform 1, 9x: SettingsTest)
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKey9x);
}

// Zones named by the letters of `displays`, keyed by their position ("0", "1", ...); after the
// sort, the keys in their new order.
std::wstring Sorted(const std::wstring& displays, bool ascending, bool caseSensitive,
                    std::size_t first = 0, std::size_t last = 0) {
    TimeZoneList list;
    for (wchar_t c : displays) {
        list.emplace_back().Display = c == L'_' ? L"" : std::wstring(1, c);
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
    EXPECT_EQ(Sorted(L"zcba0", true, false, 1, 3), L"03214");  // only its range
}

TEST(GmtOffsetTest, DisplayNameAndDaylightGiveTheOffsetText) {
    // The display name, its offset text without and with daylight time.
    // clang-format off
    const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
        {L"(GMT) Greenwich Mean Time", L"GMT+00:00", L"GMT+01:00"},
        {L"(GMT-03:30) Newfoundland", L"GMT-03:30", L"GMT-02:30"},
        {L"(GMT+09:00) Osaka", L"GMT+09:00", L"GMT+10:00"},
        {L"(GMT-10:00) Hawaii", L"GMT-10:00", L"GMT-09:00"},
        {L"(GMT-01:00) Azores", L"GMT-01:00", L"GMT-00:00"},  // keeps its minus sign
        {L"(GMT+23:00) Nowhere", L"GMT+23:00", L"GMT+24:00"},  // nothing wraps around
        {L"(GMT+99:00) odd", L"GMT+99:00", L"GMT+100:00"},  // three digits
        {L"(GMT+01:59) odd", L"GMT+01:59", L"GMT+02:59"},
        {L"", L"GMT+00:00", L"GMT+01:00"},
        // Letters are copied and only position five decides; zero offsets are fixed texts.
        {L"(UTC+10:00) Sydney", L"UTC+10:00", L"UTC+11:00"},
        {L"(UTC) Coordinated Universal Time", L"GMT+00:00", L"GMT+01:00"},
        // Without daylight time a signed text is copied through, whatever follows; unreadable
        // hours or minutes with daylight time never give a malformed text.
        {L"(GMT+ab:cd) odd", L"GMT+ab:cd", L"GMT+01:00"}, {L"(GMT+05", L"GMT+05", L"GMT+01:00"},
        {L"(GMT+", L"GMT+", L"GMT+01:00"}, {L"(GMT-ab:00) odd", L"GMT-ab:00", L"GMT+01:00"},
        {L"(GMT+5:00) odd", L"GMT+5:00)", L"GMT+01:00"}, {L"(GMT+05)", L"GMT+05)", L"GMT+01:00"},
        {L"(GMT+05:x0) odd", L"GMT+05:x0", L"GMT+01:00"},
        {L"(GMT+05:00", L"GMT+05:00", L"GMT+06:00"},  // just long enough
        {L"(GMT+01:60) odd", L"GMT+01:60", L"GMT+01:00"},
        // Negative under one hour with daylight time crosses to plus.
        {L"(GMT-00:45) odd", L"GMT-00:45", L"GMT+00:15"},
        {L"(UTC-00:00) zero", L"UTC-00:00", L"UTC+01:00"}};
    // clang-format on
    for (const auto& [display, standard, daylight] : cases) {
        EXPECT_EQ(GetGmtOffset(display, false), standard) << testing::PrintToString(display);
        EXPECT_EQ(GetGmtOffset(display, true), daylight) << testing::PrintToString(display);
    }
}

}  // namespace
