// What ICU's registry view computes itself: the TZI blocks' rules and biases, the view's
// registry manners, the local zone from TZ. The catalogue as a whole: CatalogueSuite.cpp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "config/frmSettings.h"
#include "platform/Platform.h"
#include "platform/linux/settings/IcuTimeZones.h"

namespace {

TEST(IcuRegistryView, TziBlocksFollowTheCurrentRules) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    MTimeZone catalogue(*ports.registry, *ports.version, *ports.textCompare, *ports.ansi);
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kTimeZonesKeyNT));
    // Bias, daylight bias, then month, weekday, week and hour of the daylight and of the
    // standard date: Pacific from the second Sunday of March at 2:00 to the first of November;
    // London the last Sundays of March at 1:00 and October at 2:00; none in Tokyo; India at
    // half an hour;
    // and UTC.
    const std::map<std::wstring, std::vector<int>> expected = {
        {L"Pacific Standard Time", {480, -60, 3, 0, 2, 2, 11, 0, 1, 2}},
        {L"GMT Standard Time", {0, -60, 3, 0, 5, 1, 10, 0, 5, 2}},
        {L"Tokyo Standard Time", {-540, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {L"India Standard Time", {-330, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {L"UTC", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}};
    int found = 0;
    for (const TimeZoneRecord& zone : catalogue.TimeZones) {
        const auto it = expected.find(zone.KeyName);
        if (it == expected.end()) continue;
        ++found;
        std::int32_t bias[3];
        std::uint16_t standard[8], daylight[8];
        std::memcpy(bias, zone.TZI.data(), 12);
        std::memcpy(standard, zone.TZI.data() + 12, 16);
        std::memcpy(daylight, zone.TZI.data() + 28, 16);
        EXPECT_EQ((std::vector<int>{bias[0], bias[2], daylight[1], daylight[2], daylight[3],
                                    daylight[4], standard[1], standard[2], standard[3],
                                    standard[4]}),
                  it->second)
            << utf8::FromWide(zone.KeyName);
        if (zone.KeyName == L"UTC") {
            EXPECT_EQ(zone.Display, L"(UTC) Coordinated Universal Time");
        }
    }
    EXPECT_EQ(found, 5);
}

TEST(IcuRegistryView, IsReadOnlyAndNamesOnlyItsKeysWithoutRegardToCase) {
    auto registry = MakeIcuRegistry();
    reg::Key key = 0;
    EXPECT_EQ(
        registry->RegOpenKeyExA(reg::LocalMachine, kTimeZonesKeyNT, 0, reg::KeyAllAccess, key),
        reg::AccessDenied);
    EXPECT_EQ(registry->RegOpenKeyExA(reg::LocalMachine, kTimeZonesKey9x, 0, reg::KeyRead, key),
              reg::FileNotFound);
    EXPECT_EQ(registry->RegOpenKeyExA(reg::CurrentUser, kTimeZonesKeyNT, 0, reg::KeyRead, key),
              reg::FileNotFound);
    EXPECT_EQ(key, 0u);
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
    for (const auto& [tz, key] : {std::pair{"Asia/Tokyo", L"Tokyo Standard Time"},
                                  std::pair{"America/New_York", L"Eastern Standard Time"},
                                  std::pair{"Europe/London", L"GMT Standard Time"}}) {
        setenv("TZ", tz, 1);
        EXPECT_EQ(IcuLocalTimeZoneKeyName(), key) << tz;
    }
    unsetenv("TZ");
}

}  // namespace
