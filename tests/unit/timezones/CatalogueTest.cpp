#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
#include "timezones/MTimeZone.h"

namespace {

const std::string kRoot = kTimeZonesKeyNT;

std::string Tzi(std::int32_t bias) {
    std::string bytes(44, '\0');
    std::memcpy(bytes.data(), &bias, sizeof bias);
    return bytes;
}

class CatalogueTest : public ::testing::Test {
  protected:
    void AddZone(const std::string& name, const std::string& display, std::int32_t bias = 0) {
        registry.AddSubkey(kRoot, name);
        const std::string path = kRoot + "\\" + name;
        registry.SetBinary(path, "TZI", Tzi(bias));
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

    FakeRegistry registry;
    FakeVersion version;
    FoldingCompare compare;
    Utf8CodePage ansi;
    MTimeZone catalogue{registry, version, compare, ansi};
};

TEST_F(CatalogueTest, LoadsEveryZoneSortedWithItsFieldsAndKeyName) {
    registry.Key(kRoot);
    AddZone("Tokyo Standard Time", "(GMT+09:00) Osaka, Sapporo, Tokyo", -540);
    AddZone("GMT Standard Time", "(GMT) Greenwich Mean Time : Dublin, London", 0);
    AddZone("Eastern Standard Time", "(GMT-05:00) Eastern Time (US & Canada)", 300);

    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    // "(GMT)" < "(GMT+..." < "(GMT-..." by character after the common prefix.
    EXPECT_EQ(Displays(), (std::vector<std::wstring>{L"(GMT) Greenwich Mean Time : Dublin, London",
                                                     L"(GMT+09:00) Osaka, Sapporo, Tokyo",
                                                     L"(GMT-05:00) Eastern Time (US & Canada)"}));
    const TimeZoneRecord& tokyo = catalogue.TimeZones[1];
    EXPECT_EQ(tokyo.KeyName, L"Tokyo Standard Time");
    EXPECT_EQ(tokyo.Std, L"Tokyo Standard Time");
    EXPECT_EQ(tokyo.Dlt, L"Tokyo Standard Time (summer)");
    EXPECT_EQ(tokyo.MapID, L"1,2");
    std::int32_t bias = 0;
    std::memcpy(&bias, tokyo.TZI.data(), 4);
    EXPECT_EQ(bias, -540);
    // Every key opened was closed again.
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(CatalogueTest, OpensKeysForReadingOnly) {
    // The fake refuses write access as HKEY_LOCAL_MACHINE does for a standard user; a load
    // that asked for it would find nothing.
    AddZone("A", "(GMT+01:00) A");
    EXPECT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    ASSERT_EQ(catalogue.TimeZones.size(), 1u);
    EXPECT_EQ(catalogue.TimeZones[0].Display, L"(GMT+01:00) A");
}

TEST_F(CatalogueTest, MissingValuesAndUnreadableZones) {
    AddZone("Normal", "(GMT+01:00) Normal");
    // A zone without its text values: 2048 spaces each; no TZI: 44 zero bytes.
    registry.AddSubkey(kRoot, "Bare");
    registry.Key(kRoot + "\\Bare");
    // A zone key that cannot be opened: the empty record, which sorts first.
    registry.AddSubkey(kRoot, "Locked");
    registry.Key(kRoot + "\\Locked").unopenable = true;

    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    ASSERT_EQ(catalogue.TimeZones.size(), 3u);
    const TimeZoneRecord& locked = catalogue.TimeZones[0];
    EXPECT_EQ(locked.Display, L"");
    EXPECT_EQ(locked.Std, L"");
    EXPECT_EQ(locked.KeyName, L"Locked");
    EXPECT_TRUE(std::all_of(locked.TZI.begin(), locked.TZI.end(), [](auto b) { return b == 0; }));

    const TimeZoneRecord& bare = catalogue.TimeZones[1];
    EXPECT_EQ(bare.Display, std::wstring(2048, L' '));
    EXPECT_EQ(bare.Std, std::wstring(2048, L' '));
    EXPECT_EQ(bare.MapID, std::wstring(2048, L' '));
    EXPECT_TRUE(std::all_of(bare.TZI.begin(), bare.TZI.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(catalogue.TimeZones[2].Display, L"(GMT+01:00) Normal");
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(CatalogueTest, SubkeyNameIsCutAtItsFirstNul) {
    AddZone("Real", "(GMT+02:00) Real");
    registry.AddSubkey(kRoot, std::string("Real\0Ghost", 10));
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    ASSERT_EQ(catalogue.TimeZones.size(), 2u);
    for (const auto& zone : catalogue.TimeZones) {
        EXPECT_EQ(zone.KeyName, L"Real");
        EXPECT_EQ(zone.Display, L"(GMT+02:00) Real");
    }
    EXPECT_EQ(std::count(registry.calls.begin(), registry.calls.end(), "open " + kRoot + "\\Real"),
              2);
}

TEST_F(CatalogueTest, EmptyMissingAndReloadedCatalogues) {
    // A key that opens with no subkeys: true and an empty catalogue.
    registry.Key(kRoot);
    EXPECT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    EXPECT_TRUE(catalogue.TimeZones.empty());

    // A catalogue key that cannot be opened: false, nothing loaded.
    EXPECT_FALSE(catalogue.LoadTimeZoneCatalogue("Software\\Nowhere"));
    EXPECT_TRUE(catalogue.TimeZones.empty());

    // A later load holds exactly what it found, nothing left over from the one before.
    AddZone("B", "(GMT+02:00) B");
    AddZone("A", "(GMT+01:00) A");
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    EXPECT_EQ(catalogue.TimeZones.size(), 2u);
    registry.Key(kRoot).subkeys.pop_back();
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    EXPECT_EQ(Displays(), std::vector<std::wstring>{L"(GMT+02:00) B"});
    registry.Key(kRoot).subkeys.clear();
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    EXPECT_TRUE(catalogue.TimeZones.empty());
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

TEST_F(CatalogueTest, VersionChoosesTheCatalogueKey) {
    EXPECT_TRUE(catalogue.IsWindowsNT());
    EXPECT_EQ(version.sizeSeen, 148u);
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKeyNT);

    version.platformId = 1;  // Windows 9x
    EXPECT_FALSE(catalogue.IsWindowsNT());
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKey9x);

    version.platformId = kPlatformWin32Nt;
    version.result = 0;  // a failed call counts as not NT
    EXPECT_FALSE(catalogue.IsWindowsNT());
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKey9x);
}

TEST(StripNullTest, CutsAtTheFirstNulOnly) {
    EXPECT_EQ(StripNull(std::wstring(L"ab\0cd\0", 6)), L"ab");
    EXPECT_EQ(StripNull(L"  plain  "), L"  plain  ");
    EXPECT_EQ(StripNull(std::wstring(L"\0x", 2)), L"");
    EXPECT_EQ(StripNull(L""), L"");
}

}  // namespace
