// The settings dialog as a user meets it, and its catalogue, the same on both platforms: run
// against the Windows dialog under Wine and the GTK dialog (see SettingsDialogDriver.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <set>

#include "config/MakerAddress.h"
#include "config/frmSettings.h"
#include "contract/SettingsDialogDriver.h"
#include "platform/Platform.h"
#include "player/OffsetText.h"
#include "support/ScriptCaptions.h"
#include "support/TempFolder.h"
#include "timezones/DaylightRules.h"
#include "timezones/GmtOffset.h"

namespace {

using Values = std::map<std::wstring, std::wstring>;
const wchar_t* const kDefaultCaptions[] = {L"LONDON", L"NEW YORK", L"SAN FRANCISCO", L"HONG KONG",
                                           L"Local Time"};

class SettingsDialog : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(catalogue.CatalogueKey(), kTimeZonesKeyNT);
        ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kTimeZonesKeyNT));
        for (const wchar_t* key :
             {L"GMT Standard Time", L"Eastern Standard Time", L"Pacific Standard Time",
              L"China Standard Time", L"Tokyo Standard Time"}) {
            defaults.push_back(Position(key));
            ASSERT_LT(defaults.back(), static_cast<int>(zones.size())) << utf8::FromWide(key);
        }
    }
    // The values under PELLOXSS\Config.
    static Values Stored(SettingsDialogDriver& driver) {
        Values values;
        for (const wchar_t* word : {L"Zone", L"DST", L"Label"})
            for (int row = 0; row < 5; ++row) {
                const std::wstring key = word + std::to_wstring(row);
                const std::wstring value =
                    driver.Store().GetSetting(L"PELLOXSS", L"Config", key, L"<absent>");
                if (value != L"<absent>") values[key] = value;
            }
        return values;
    }
    static std::string ClockFile(SettingsDialogDriver& driver) {
        return ReadBytes(driver.Folder() / "pellox2.xml");
    }
    // A write, done or failed, leaves no other file behind.
    static void ExpectNoLeftovers(SettingsDialogDriver& driver) {
        for (const auto& file : std::filesystem::directory_iterator(driver.Folder())) {
            const auto name = file.path().filename();
            EXPECT_TRUE(name == "pellox2.xml" || name == "pelloxss.scr") << file.path();
        }
    }

    // Daylight time at an instant (ms since 1970 UTC) by the zone's rules in the catalogue.
    DaylightStatus StatusAt(int position, std::int64_t at) {
        return DaylightStatusAt(catalogue.ReadZoneRules(kTimeZonesKeyNT, zones.at(position)), at);
    }
    int Position(const wchar_t* key) const {
        return static_cast<int>(std::find_if(zones.begin(), zones.end(),
                                             [&](auto& zone) { return zone.KeyName == key; }) -
                                zones.begin());
    }

    std::unique_ptr<SettingsDialogDriver> dialog = MakeSettingsDialogDriver();
    const SettingsAdapters ports = MakeSettingsAdapters();
    MTimeZone catalogue{*ports.registry, *ports.version, *ports.textCompare, *ports.ansi};
    const TimeZoneList& zones = catalogue.TimeZones;
    std::vector<int> defaults;  // the default zones' positions, found by key name
};

TEST_F(SettingsDialog, NewUserUpdatesAndReopens) {
    ASSERT_TRUE(dialog->Open());
    EXPECT_EQ(dialog->Focused(), Control::Update);
    EXPECT_EQ(dialog->NextInTabOrder(), Control::Cancel);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(dialog->Selected(row), defaults[row]) << row;
        EXPECT_EQ(dialog->Count(row), static_cast<int>(zones.size())) << row;
        EXPECT_EQ(dialog->Caption(row), kDefaultCaptions[row]) << row;
        EXPECT_EQ(dialog->Check(row), 0) << row;
    }
    for (int expected : {1, 0, 1}) {  // a click toggles a DST box
        dialog->ClickCheck(0);
        EXPECT_EQ(dialog->Check(0), expected);
    }
    dialog->SetCaption(1, L"NEW,YORK & Co");
    dialog->SetCaption(2, L"Z\u00fcrich <ZH>");
    dialog->Click(Control::Update);
    ASSERT_TRUE(dialog->Closed());

    EXPECT_EQ(ClockFile(*dialog), ReadBytes(PELLOX_GOLDEN_UPDATE));
    ExpectNoLeftovers(*dialog);
    Values stored;
    for (int row = 0; row < 5; ++row) {
        const std::wstring digit = std::to_wstring(row);
        stored[L"Zone" + digit] = std::to_wstring(defaults[row]);
        stored[L"DST" + digit] = row == 0 ? L"1" : L"0";
        stored[L"Label" + digit] = kDefaultCaptions[row];
    }
    stored[L"Label1"] = L"NEW,YORK & Co";  // the store keeps the comma
    stored[L"Label2"] = L"Z\u00fcrich <ZH>";
    EXPECT_EQ(Stored(*dialog), stored);

    // Reopened: zones and DST from the store, captions from the file. The close button writes
    // nothing.
    ASSERT_TRUE(dialog->Open());
    for (int row = 0; row < 5; ++row) EXPECT_EQ(dialog->Selected(row), defaults[row]) << row;
    EXPECT_EQ(dialog->Check(0), 1);
    EXPECT_EQ(dialog->Caption(1), L"NEWYORK & Co");
    dialog->Select(3, 0);
    dialog->SetCaption(3, L"CHANGED");
    dialog->CloseWindow();
    ASSERT_TRUE(dialog->Closed());
    EXPECT_EQ(ClockFile(*dialog), ReadBytes(PELLOX_GOLDEN_UPDATE));
    EXPECT_EQ(Stored(*dialog), stored);
}

// Captions in any script come back the same when reopened.
TEST_F(SettingsDialog, CaptionsInEveryScriptComeBackUnchanged) {
    ASSERT_TRUE(dialog->Open());
    for (int row = 0; row < 5; ++row) dialog->SetCaption(row, kScriptCaptions[row]);
    dialog->Click(Control::Update);
    ASSERT_TRUE(dialog->Closed());
    ASSERT_TRUE(dialog->Open());
    for (int row = 0; row < 5; ++row) EXPECT_EQ(dialog->Caption(row), kScriptCaptions[row]) << row;
}

TEST_F(SettingsDialog, CancelAndTheMakerLabelWriteNothingAndGreyedCountsAsDaylightTime) {
    dialog->Store().SaveSetting(L"PELLOXSS", L"Config", L"Zone3", std::to_wstring(defaults[3]));
    dialog->Store().SaveSetting(L"PELLOXSS", L"Config", L"DST3", L"2");
    const Values before = Stored(*dialog);
    ASSERT_TRUE(dialog->Open());
    EXPECT_EQ(dialog->Check(3), 2);
    dialog->Select(0, 3);
    dialog->SetCaption(0, L"CHANGED");
    // The maker label opens the address and leaves the rows as they are.
    EXPECT_EQ(dialog->ClickMaker(), kMakerAddress);
    EXPECT_EQ(dialog->Caption(0), L"CHANGED");
    EXPECT_EQ(dialog->Selected(0), 3);
    dialog->ClickCheck(3);  // a click turns a greyed box off
    EXPECT_EQ(dialog->Check(3), 0);
    dialog->Click(Control::Cancel);
    ASSERT_TRUE(dialog->Closed());
    EXPECT_EQ(ClockFile(*dialog), "<missing>");
    EXPECT_EQ(Stored(*dialog), before);

    ASSERT_TRUE(dialog->Open());
    dialog->Click(Control::Update);
    ASSERT_TRUE(dialog->Closed());
    const std::string offset = utf8::FromWide(GetGmtOffset(zones[defaults[3]].Display, true));
    EXPECT_NE(ClockFile(*dialog).find("\"HONG KONG\">" + offset + "<"), std::string::npos);
    EXPECT_EQ(Stored(*dialog)[L"DST3"], L"2");
}

// The clock file cannot be written, nor in the user's folder where there is one (a file is in
// its way): the failure is reported with its number and a description naming the file, the
// program ends, and neither the file nor the store changes.
TEST_F(SettingsDialog, WriteFailuresAreReportedAndChangeNothing) {
    int made = 0;
    for (Obstacle obstacle : {Obstacle::ReadOnlyFolder, Obstacle::LockedClockFile}) {
        const auto driver = MakeSettingsDialogDriver();
        if (!driver->Prepare(obstacle)) continue;  // not on every file system
        ++made;
        if (!driver->UserFolder().empty()) std::ofstream(driver->UserFolder()) << "in the way";
        driver->Store().SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"2");
        const Values before = Stored(*driver);
        ASSERT_TRUE(driver->Open());
        driver->Click(Control::Update);
        const std::string report = utf8::FromWide(driver->Report());
        for (const char* part : {"Run-time error '70'", "Permission denied", "pellox2.xml"})
            EXPECT_NE(report.find(part), std::string::npos) << report;
        EXPECT_EQ(ClockFile(*driver), "old clock file");
        EXPECT_EQ(Stored(*driver), before);
        ExpectNoLeftovers(*driver);
    }
    if (!made) GTEST_SKIP() << "neither obstacle can be made on this file system";
}

// An installed saver whose folder refuses the clock file: Update sends it to the user's folder,
// which the saver then reads first; the program folder's file stays as it was.
TEST_F(SettingsDialog, AReadOnlyProgramFolderSendsTheClockFileToTheUsersFolder) {
    if (dialog->UserFolder().empty() || !dialog->Prepare(Obstacle::ReadOnlyFolder))
        GTEST_SKIP() << "no read-only program folder beside a user's folder here";
    ASSERT_TRUE(dialog->Open());
    dialog->SetCaption(0, L"ATLANTIS");
    dialog->Click(Control::Update);
    ASSERT_TRUE(dialog->Closed());
    EXPECT_EQ(ClockFile(*dialog), "old clock file");
    EXPECT_NE(ReadBytes(dialog->UserFolder() / "pellox2.xml").find("ATLANTIS"), std::string::npos);
    EXPECT_EQ(Stored(*dialog)[L"Label0"], L"ATLANTIS");
}

TEST_F(SettingsDialog, AMissingCatalogueIsReportedAndTheDialogNeverOpens) {
    ASSERT_TRUE(dialog->Prepare(Obstacle::NoCatalogue));
    EXPECT_FALSE(dialog->Open());
    EXPECT_EQ(dialog->Report(),
              L"Unable to locate Time Zones information in Registry under the key: \r\n"
              L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
    EXPECT_EQ(ClockFile(*dialog), "<missing>");
    EXPECT_TRUE(Stored(*dialog).empty());
}

// The catalogue through each platform's adapters: the registry's database on Windows, ICU's zone
// data on Linux. (Its order: CatalogueTest and SortTest, and the platform's comparison below.)
TEST_F(SettingsDialog, TheCatalogueHoldsEveryZoneOnceWithOffsetTextsAgreeingWithTheTzi) {
    ASSERT_GT(zones.size(), 100u);
    std::set<std::wstring> keys;
    std::vector<std::string> disagreeing;
    for (const TimeZoneRecord& zone : zones) {
        const std::string name = utf8::FromWide(zone.KeyName + L": " + zone.Display);
        keys.insert(zone.KeyName);
        ASSERT_GE(zone.Display.size(), 6u) << name;
        EXPECT_FALSE(zone.Std.empty() || zone.Std[0] == L' ') << name;
        const std::wstring offset = GetGmtOffset(zone.Display, false);
        const int tzi = -ParseTzi(zone.TZI).bias;  // minutes east of UTC
        if (zone.Display[4] != L'+' && zone.Display[4] != L'-') {
            EXPECT_EQ(offset, L"GMT+00:00") << name;  // "(UTC) ..."
        } else if (ParseOffsetText(offset) != tzi) {
            disagreeing.push_back(name + " vs " + std::to_string(tzi) + " minutes");
        }
    }
    EXPECT_EQ(keys.size(), zones.size());
    EXPECT_TRUE(keys.count(L"UTC"));  // the default rows' keys: SetUp
    // Wine's own data disagrees with itself for a few zones.
    for (const std::string& line : disagreeing) std::printf("disagrees: %s\n", line.c_str());
    EXPECT_LE(disagreeing.size(), sizeof(wchar_t) == 2 ? 8u : 0u);
}

// Known dates in both hemispheres, and a zone that gave daylight time up (Brazil, in 2019).
TEST_F(SettingsDialog, TheCataloguesRulesAtKnownDates) {
    using namespace std::chrono;
    const std::tuple<const wchar_t*, year_month_day, const wchar_t*> cases[] = {
        {L"GMT Standard Time", 2026y / 7 / 15, L"on daylight time until 25 Oct"},
        {L"GMT Standard Time", 2026y / 1 / 15, L"standard time; daylight from 29 Mar"},
        {L"AUS Eastern Standard Time", 2026y / 7 / 15, L"standard time; daylight from 4 Oct"},
        {L"AUS Eastern Standard Time", 2026y / 1 / 15, L"on daylight time until 5 Apr"},
        {L"E. South America Standard Time", 2026y / 1 / 15, L"no daylight time"},
        {L"E. South America Standard Time", 2018y / 12 / 15, L"on daylight time until 17 Feb"}};
    for (const auto& [key, date, hint] : cases) {
        const auto noon = duration_cast<milliseconds>(sys_days(date) + hours(12) - sys_days());
        EXPECT_EQ(DaylightHint(StatusAt(Position(key), noon.count())), hint) << utf8::FromWide(key);
    }
}

// Hints follow the zones; the button sets the boxes; Update writes the offsets they mean.
TEST_F(SettingsDialog, DaylightHintsFollowTheZonesAndTheButtonSetsTheBoxes) {
    using namespace std::chrono;
    const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    ASSERT_TRUE(dialog->Open());
    EXPECT_EQ(dialog->Hint(4), L"no daylight time");  // Tokyo
    dialog->Select(4, Position(L"AUS Eastern Standard Time"));
    EXPECT_EQ(dialog->Hint(4), DaylightRowHint(StatusAt(dialog->Selected(4), now), 0).text);
    dialog->Click(Control::Daylight);
    std::string file = "<?xml version=\"1.0\"?><serie>";
    for (int row = 0; row < 5; ++row) {
        const int zone = dialog->Selected(row), box = dialog->Check(row);
        const DaylightStatus status = StatusAt(zone, now);
        EXPECT_EQ(box, status.state == DaylightState::Daylight ? 1 : 0) << row;
        EXPECT_EQ(dialog->Hint(row), DaylightRowHint(status, box).text) << row;
        file += utf8::FromWide(L"<value name=\"" + std::wstring(kDefaultCaptions[row]) + L"\">" +
                               GetGmtOffset(zones[zone].Display, box != 0) + L"</value>");
    }
    dialog->Click(Control::Update);
    ASSERT_TRUE(dialog->Closed());
    EXPECT_EQ(ClockFile(*dialog), file + "</serie>");
}

TEST(Catalogue, TextComparisonIgnoresCaseButNotAccents) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    const std::tuple<const wchar_t*, const wchar_t*, int> cases[] = {
        {L"(UTC+01:00) Berlin", L"(utc+01:00) BERLIN", 0},
        {L"apple", L"Banana", -1},
        {L"Zurich", L"amsterdam", 1},
        {L"", L"a", -1}};
    for (const auto& [a, b, order] : cases)
        EXPECT_EQ(ports.textCompare->CompareIgnoringCase(a, b), order) << utf8::FromWide(a);
    EXPECT_NE(ports.textCompare->CompareIgnoringCase(L"cote", L"c\u00f4te"), 0);
}

}  // namespace
