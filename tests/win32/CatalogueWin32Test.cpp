// The catalogue against the real registry of the Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "config/frmSettings.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/win32/Win32Ports.h"
#include "timezones/GmtOffset.h"
#include "timezones/MTimeZone.h"
#include "timezones/TziOffset.h"

namespace {

// Subkey names of the catalogue key in enumeration order, read with the plain API.
std::vector<std::wstring> EnumeratedKeyNames() {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTimeZonesKeyNT, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    char name[2048];
    for (DWORD i = 0; i < count && RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        names.push_back(Win32AnsiCodePage().ToWide(name));
    RegCloseKey(key);
    return names;
}

class RealCatalogue : public ::testing::Test {
  protected:
    SettingsAdapters ports = MakeSettingsAdapters();
    MTimeZone catalogue{*ports.registry, *ports.version, *ports.textCompare, *ports.ansi};
};

TEST_F(RealCatalogue, LoadsEveryZoneOfTheNtKeySortedAndStable) {
    ASSERT_TRUE(catalogue.IsWindowsNT());
    ASSERT_EQ(catalogue.CatalogueKey(), kTimeZonesKeyNT);
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(catalogue.CatalogueKey()));

    const std::vector<std::wstring> enumerated = EnumeratedKeyNames();
    ASSERT_GT(enumerated.size(), 50u);
    ASSERT_EQ(catalogue.TimeZones.size(), enumerated.size());

    std::map<std::wstring, std::size_t> enumerationIndex;
    for (std::size_t i = 0; i < enumerated.size(); ++i) enumerationIndex[enumerated[i]] = i;

    const TextCompare& compare = *ports.textCompare;
    for (std::size_t i = 1; i < catalogue.TimeZones.size(); ++i) {
        const TimeZoneRecord& a = catalogue.TimeZones[i - 1];
        const TimeZoneRecord& b = catalogue.TimeZones[i];
        const int order = compare.CompareIgnoringCase(a.Display, b.Display);
        EXPECT_LE(order, 0) << utf8::FromWide(a.Display) << " before " << utf8::FromWide(b.Display);
        if (order == 0) {
            EXPECT_LT(enumerationIndex[a.KeyName], enumerationIndex[b.KeyName]);
        }
    }

    // Every zone was read (no blank display names) and keeps its key name.
    std::set<std::wstring> keys;
    for (const auto& zone : catalogue.TimeZones) {
        EXPECT_FALSE(zone.Display.empty()) << utf8::FromWide(zone.KeyName);
        EXPECT_NE(zone.Display[0], L' ') << utf8::FromWide(zone.KeyName);
        keys.insert(zone.KeyName);
    }
    EXPECT_EQ(keys.size(), enumerated.size());
    for (const wchar_t* name : {L"GMT Standard Time", L"Eastern Standard Time",
                                L"Pacific Standard Time", L"China Standard Time"}) {
        EXPECT_TRUE(keys.count(name)) << utf8::FromWide(name);
    }
}

TEST_F(RealCatalogue, OffsetTextAgreesWithTheStandardBias) {
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kTimeZonesKeyNT));
    std::vector<std::string> disagreeing;
    std::size_t signedCount = 0;
    for (const auto& zone : catalogue.TimeZones) {
        if (zone.Display.size() < 5 || (zone.Display[4] != L'+' && zone.Display[4] != L'-')) {
            // A zero-offset display name.
            EXPECT_EQ(GetGmtOffset(zone.Display, false), L"GMT+00:00");
            continue;
        }
        ++signedCount;
        const std::wstring offset = GetGmtOffset(zone.Display, false);
        ASSERT_EQ(offset.size(), 9u) << utf8::FromWide(zone.Display);
        if (offset.substr(3) != TziStandardOffset(zone)) {
            disagreeing.push_back(utf8::FromWide(zone.KeyName + L": " + zone.Display + L" vs TZI " +
                                                 TziStandardOffset(zone)));
        }
        // With daylight time the result is still a well-formed offset.
        const std::wstring dst = GetGmtOffset(zone.Display, true);
        EXPECT_EQ(dst.size(), 9u);
        EXPECT_EQ(dst[6], L':');
    }
    EXPECT_GT(signedCount, 50u);
    // Wine's own data disagrees with itself for a few zones; name them, and fail when they
    // are more than a handful.
    for (const auto& line : disagreeing) std::printf("disagrees: %s\n", line.c_str());
    EXPECT_LE(disagreeing.size(), 8u);
}

TEST(Win32Adapters, TextCompareAndAnsiConversion) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    EXPECT_EQ(ports.textCompare->CompareIgnoringCase(L"(UTC) Dublin", L"(utc) DUBLIN"), 0);
    EXPECT_EQ(ports.textCompare->CompareIgnoringCase(L"apple", L"Banana"), -1);
    EXPECT_EQ(ports.textCompare->CompareIgnoringCase(L"Zurich", L"amsterdam"), 1);
    const std::string bytes("abc\0def", 7);
    EXPECT_EQ(Win32AnsiCodePage().FromWide(Win32AnsiCodePage().ToWide(bytes)), bytes);
    EXPECT_EQ(utf8::FromWide(L"\u00e9"), "\xc3\xa9");
}

TEST(Win32Adapters, RegistryOpensReadOnlyAndReportsMissingKeys) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    reg::Key key = 0;
    EXPECT_EQ(
        ports.registry->RegOpenKeyExA(reg::LocalMachine, kTimeZonesKeyNT, 0, reg::KeyRead, key),
        reg::Success);
    EXPECT_NE(key, 0u);
    char name[2048];
    EXPECT_EQ(ports.registry->RegEnumKeyA(key, 0, name, sizeof name), reg::Success);
    EXPECT_EQ(ports.registry->RegEnumKeyA(key, 100000, name, sizeof name), reg::NoMoreItems);
    EXPECT_EQ(ports.registry->RegCloseKey(key), reg::Success);

    reg::Key missing = 0;
    EXPECT_NE(ports.registry->RegOpenKeyExA(reg::LocalMachine, "Software\\NoSuchKey\\Pellox", 0,
                                            reg::KeyRead, missing),
              reg::Success);
    EXPECT_EQ(missing, 0u);
    MTimeZone catalogue(*ports.registry, *ports.version, *ports.textCompare, *ports.ansi);
    EXPECT_FALSE(catalogue.LoadTimeZoneCatalogue("Software\\NoSuchKey\\Pellox"));
    EXPECT_TRUE(catalogue.TimeZones.empty());
}

}  // namespace
