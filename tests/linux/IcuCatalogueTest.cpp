// The catalogue loaded from ICU's zone data through the registry view.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "config/frmSettings.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/settings/IcuTimeZones.h"
#include "timezones/GmtOffset.h"
#include "timezones/MTimeZone.h"
#include "timezones/TziOffset.h"

namespace {

struct Tzi {
    std::int32_t bias, standardBias, daylightBias;
    std::uint16_t standardDate[8], daylightDate[8];  // year, month, weekday, week, hour, ...
};

Tzi Decode(const TimeZoneRecord& record) {
    Tzi tzi{};
    std::memcpy(&tzi, record.TZI.data(), sizeof tzi);
    return tzi;
}

class IcuCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(catalogue.CatalogueKey()));
        for (const auto& zone : catalogue.TimeZones) byKey[zone.KeyName] = &zone;
    }
    SettingsAdapters ports = MakeSettingsAdapters();
    MTimeZone catalogue{*ports.registry, *ports.version, *ports.textCompare, *ports.ansi};
    std::map<std::wstring, const TimeZoneRecord*> byKey;
};

TEST_F(IcuCatalogue, HoldsTheWindowsZonesSortedWithConsistentOffsets) {
    EXPECT_EQ(catalogue.CatalogueKey(), kTimeZonesKeyNT);
    EXPECT_GE(catalogue.TimeZones.size(), 120u);
    EXPECT_LE(catalogue.TimeZones.size(), 160u);
    for (const wchar_t* key : {L"GMT Standard Time", L"Eastern Standard Time",
                               L"Pacific Standard Time", L"China Standard Time", L"UTC"}) {
        EXPECT_TRUE(byKey.count(key)) << utf8::FromWide(key);
    }
    for (std::size_t i = 0; i < catalogue.TimeZones.size(); ++i) {
        const TimeZoneRecord& zone = catalogue.TimeZones[i];
        const std::string name = utf8::FromWide(zone.KeyName + L": " + zone.Display);
        if (i > 0) {
            EXPECT_LE(ports.textCompare->CompareIgnoringCase(catalogue.TimeZones[i - 1].Display,
                                                             zone.Display),
                      0)
                << name;
        }
        ASSERT_GE(zone.Display.size(), 6u) << name;
        EXPECT_EQ(zone.Display.substr(0, 4), L"(UTC") << name;
        EXPECT_FALSE(zone.Std.empty()) << name;
        EXPECT_NE(zone.Std[0], L' ') << name;
        if (zone.KeyName == L"UTC") {
            EXPECT_EQ(zone.Display, L"(UTC) Coordinated Universal Time");
            EXPECT_EQ(GetGmtOffset(zone.Display, false), L"GMT+00:00");
        } else {
            // The display's offset is the standard offset the TZI block holds.
            EXPECT_EQ(GetGmtOffset(zone.Display, false).substr(3), TziStandardOffset(zone)) << name;
        }
    }
}

TEST_F(IcuCatalogue, TziTransitionsFollowTheCurrentRules) {
    // Pacific: daylight from the second Sunday of March at 2:00, standard from the first
    // Sunday of November at 2:00 (daylight time), one hour's saving.
    const Tzi pacific = Decode(*byKey.at(L"Pacific Standard Time"));
    EXPECT_EQ(pacific.bias, 480);
    EXPECT_EQ(pacific.daylightBias, -60);
    EXPECT_EQ(pacific.daylightDate[1], 3);
    EXPECT_EQ(pacific.daylightDate[2], 0);
    EXPECT_EQ(pacific.daylightDate[3], 2);
    EXPECT_EQ(pacific.daylightDate[4], 2);
    EXPECT_EQ(pacific.standardDate[1], 11);
    EXPECT_EQ(pacific.standardDate[3], 1);
    EXPECT_EQ(pacific.standardDate[4], 2);

    // London: the last Sunday of March at 1:00 and of October at 2:00.
    const Tzi london = Decode(*byKey.at(L"GMT Standard Time"));
    EXPECT_EQ(london.bias, 0);
    EXPECT_EQ(london.daylightDate[1], 3);
    EXPECT_EQ(london.daylightDate[3], 5);
    EXPECT_EQ(london.daylightDate[4], 1);
    EXPECT_EQ(london.standardDate[1], 10);
    EXPECT_EQ(london.standardDate[3], 5);
    EXPECT_EQ(london.standardDate[4], 2);

    // No daylight time in Tokyo: zero dates.
    const Tzi tokyo = Decode(*byKey.at(L"Tokyo Standard Time"));
    EXPECT_EQ(tokyo.bias, -540);
    EXPECT_EQ(tokyo.daylightBias, 0);
    EXPECT_EQ(tokyo.daylightDate[1], 0);
    EXPECT_EQ(tokyo.standardDate[1], 0);

    // India: half an hour.
    EXPECT_EQ(Decode(*byKey.at(L"India Standard Time")).bias, -330);
}

TEST(IcuRegistryView, IsReadOnlyAndNamesOnlyItsKeys) {
    auto registry = MakeIcuRegistry();
    reg::Key key = 0;
    EXPECT_EQ(
        registry->RegOpenKeyExA(reg::LocalMachine, kTimeZonesKeyNT, 0, reg::KeyAllAccess, key),
        reg::AccessDenied);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(registry->RegOpenKeyExA(reg::LocalMachine, kTimeZonesKey9x, 0, reg::KeyRead, key),
              reg::FileNotFound);
    EXPECT_EQ(registry->RegOpenKeyExA(reg::CurrentUser, kTimeZonesKeyNT, 0, reg::KeyRead, key),
              reg::FileNotFound);
    // Key paths compare without regard to case, as the registry's do.
    const std::string zone = std::string(kTimeZonesKeyNT) + "\\tokyo standard time";
    ASSERT_EQ(registry->RegOpenKeyExA(reg::LocalMachine, zone, 0, reg::KeyRead, key), reg::Success);
    std::uint8_t small[4];
    std::uint32_t size = sizeof small;
    EXPECT_EQ(registry->RegQueryValueExA(key, "Display", nullptr, small, &size), reg::MoreData);
    EXPECT_GT(size, 4u);
    EXPECT_EQ(registry->RegQueryValueExA(key, "Nothing", nullptr, small, &size), reg::FileNotFound);
    char name[8];
    EXPECT_NE(registry->RegEnumKeyA(key, 0, name, sizeof name), reg::Success);
    EXPECT_EQ(registry->RegCloseKey(key), reg::Success);
    EXPECT_EQ(registry->RegCloseKey(key), reg::InvalidHandle);
}

TEST(IcuLocalZone, FollowsTz) {
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    setenv("TZ", "Asia/Tokyo", 1);
    EXPECT_EQ(IcuLocalTimeZoneKeyName(), L"Tokyo Standard Time");
    setenv("TZ", "America/New_York", 1);
    EXPECT_EQ(IcuLocalTimeZoneKeyName(), L"Eastern Standard Time");
    setenv("TZ", "Europe/London", 1);
    EXPECT_EQ(IcuLocalTimeZoneKeyName(), L"GMT Standard Time");
    if (saved) {
        setenv("TZ", previous.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
}

}  // namespace
