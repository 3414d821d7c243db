// The catalogue's reading of the registry, against a fake registry that refuses write access as
// HKEY_LOCAL_MACHINE does to a standard user: a load that asked for it would find nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"
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
        registry.SetBinary(path, "TZI", tzi);
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

    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    // "(GMT)" < "(GMT+..." < "(GMT-..." by the character after the common prefix.
    EXPECT_EQ(Displays(), (std::vector<std::wstring>{L"", std::wstring(2048, L' '),
                                                     L"(GMT) Greenwich Mean Time : Dublin, London",
                                                     L"(GMT+09:00) Osaka, Sapporo, Tokyo",
                                                     L"(GMT-05:00) Eastern Time (US & Canada)"}));
    const TimeZoneRecord& tokyo = catalogue.TimeZones[3];
    EXPECT_EQ(tokyo.KeyName + L"|" + tokyo.Std + L"|" + tokyo.Dlt + L"|" + tokyo.MapID,
              L"Tokyo Standard Time|Tokyo Standard Time|Tokyo Standard Time (summer)|1,2");
    std::int32_t bias = 0;
    std::memcpy(&bias, tokyo.TZI.data(), 4);
    EXPECT_EQ(bias, -540);
    const TimeZoneRecord &locked = catalogue.TimeZones[0], &bare = catalogue.TimeZones[1];
    EXPECT_EQ(locked.KeyName, L"Locked");
    EXPECT_EQ(locked.Std, L"");
    EXPECT_TRUE(Zeros(locked));
    EXPECT_EQ(bare.Std, std::wstring(2048, L' '));
    EXPECT_EQ(bare.MapID, std::wstring(2048, L' '));
    EXPECT_TRUE(Zeros(bare));
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
}

TEST_F(CatalogueTest, EmptyMissingAndReloadedCatalogues) {
    registry.Key(kRoot);  // opens, with no subkeys: true and an empty catalogue
    EXPECT_TRUE(catalogue.LoadTimeZoneCatalogue(kRoot));
    EXPECT_TRUE(catalogue.TimeZones.empty());
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
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKeyNT);
    EXPECT_EQ(version.sizeSeen, 148u);
    version.platformId = 1;  // Windows 9x
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKey9x);
    version.platformId = kPlatformWin32Nt;
    version.result = 0;  // a failed call counts as not NT
    EXPECT_FALSE(catalogue.IsWindowsNT());
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKey9x);
}

}  // namespace
