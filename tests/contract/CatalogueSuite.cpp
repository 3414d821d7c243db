// The time-zone catalogue as the settings dialog loads it through each platform's adapters: the
// registry's database on Windows, ICU's zone data on Linux.
#include <gtest/gtest.h>

#include <set>

#include "config/frmSettings.h"
#include "platform/Platform.h"
#include "timezones/GmtOffset.h"
#include "timezones/TziOffset.h"

namespace {

TEST(Catalogue, EveryZoneOnceSortedWithAnOffsetTextAgreeingWithItsTzi) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    MTimeZone catalogue(*ports.registry, *ports.version, *ports.textCompare, *ports.ansi);
    ASSERT_EQ(catalogue.CatalogueKey(), kTimeZonesKeyNT);
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kTimeZonesKeyNT));
    const TimeZoneList& zones = catalogue.TimeZones;
    ASSERT_GT(zones.size(), 100u);
    std::set<std::wstring> keys;
    std::vector<std::string> disagreeing;
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const TimeZoneRecord& zone = zones[i];
        const std::string name = utf8::FromWide(zone.KeyName + L": " + zone.Display);
        keys.insert(zone.KeyName);
        if (i > 0) {
            EXPECT_LE(ports.textCompare->CompareIgnoringCase(zones[i - 1].Display, zone.Display), 0)
                << name;
        }
        ASSERT_GE(zone.Display.size(), 6u) << name;
        EXPECT_FALSE(zone.Std.empty() || zone.Std[0] == L' ') << name;
        const std::wstring offset = GetGmtOffset(zone.Display, false);
        const std::wstring tzi = TziStandardOffset(zone);
        if (zone.Display[4] != L'+' && zone.Display[4] != L'-') {
            EXPECT_EQ(offset, L"GMT+00:00") << name;  // "(UTC) ..."
        } else if (offset.size() != 9 || offset.compare(3, 6, tzi) != 0) {
            disagreeing.push_back(name + " vs " + utf8::FromWide(tzi));
        }
    }
    EXPECT_EQ(keys.size(), zones.size());
    for (const wchar_t* key : {L"GMT Standard Time", L"Eastern Standard Time", L"UTC",
                               L"Pacific Standard Time", L"China Standard Time"})
        EXPECT_TRUE(keys.count(key)) << utf8::FromWide(key);
    // Wine's own data disagrees with itself for a few zones.
    for (const std::string& line : disagreeing) std::printf("disagrees: %s\n", line.c_str());
    EXPECT_LE(disagreeing.size(), sizeof(wchar_t) == 2 ? 8u : 0u);
}

TEST(Catalogue, TextComparisonIgnoresCaseButNotAccents) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    const struct {
        const wchar_t *a, *b;
        int order;
    } cases[] = {{L"(UTC+01:00) Berlin", L"(utc+01:00) BERLIN", 0},
                 {L"apple", L"Banana", -1},
                 {L"Zurich", L"amsterdam", 1},
                 {L"", L"a", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(ports.textCompare->CompareIgnoringCase(c.a, c.b), c.order) << utf8::FromWide(c.a);
    EXPECT_NE(ports.textCompare->CompareIgnoringCase(L"cote", L"c\u00f4te"), 0);
}

}  // namespace
