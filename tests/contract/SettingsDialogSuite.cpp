// The settings dialog as a user meets it, the same on both platforms: run against the Windows
// dialog under Wine and against the GTK dialog (see SettingsDialogDriver.h).
#include <gtest/gtest.h>

#include "contract/SettingsDialogDriver.h"
#include "platform/TextEncoding.h"
#include "support/TempFolder.h"
#include "timezones/GmtOffset.h"

namespace {

using Values = std::map<std::wstring, std::wstring>;
const wchar_t* const kDefaultCaptions[] = {L"LONDON", L"NEW YORK", L"SAN FRANCISCO",
                                           L"HONG KONG", L"Local Time"};

class SettingsDialog : public testing::Test {
  protected:
    void SetUp() override {
        for (const wchar_t* key : {L"GMT Standard Time", L"Eastern Standard Time",
                                   L"Pacific Standard Time", L"China Standard Time",
                                   L"Tokyo Standard Time"}) {
            const TimeZoneList& zones = dialog->Catalogue();
            int found = -1;
            for (std::size_t i = 0; i < zones.size(); ++i)
                if (zones[i].KeyName == key) found = static_cast<int>(i);
            ASSERT_GE(found, 0) << utf8::FromWide(key);
            defaults.push_back(found);
        }
    }
    std::wstring Display(int row) { return dialog->Catalogue()[defaults[row]].Display; }

    std::unique_ptr<SettingsDialogDriver> dialog = MakeSettingsDialogDriver();
    std::vector<int> defaults;  // the default zones' positions, by key name
};

TEST_F(SettingsDialog, NewUserUpdatesAndReopens) {
    ASSERT_TRUE(dialog->Open());
    EXPECT_EQ(dialog->Title(), L"Pellox Screensaver Properties");
    EXPECT_EQ(dialog->HelpText().size(), 155u);
    EXPECT_EQ(dialog->Focused(), Control::Update);
    EXPECT_EQ(dialog->NextInTabOrder(), Control::Cancel);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(dialog->Selected(row), defaults[row]) << row;
        EXPECT_EQ(dialog->ListText(row), Display(row)) << row;
        EXPECT_EQ(dialog->Count(row), static_cast<int>(dialog->Catalogue().size())) << row;
        EXPECT_EQ(dialog->Caption(row), kDefaultCaptions[row]) << row;
        EXPECT_EQ(dialog->Check(row), 0) << row;
    }
    // A click on a DST box toggles it.
    for (int expected : {1, 0, 1}) {
        dialog->ClickCheck(0);
        EXPECT_EQ(dialog->Check(0), expected);
    }
    dialog->SetCaption(1, L"NEW,YORK & Co");
    dialog->SetCaption(2, L"Z\u00fcrich <ZH>");
    dialog->Click(Control::Update);
    ASSERT_TRUE(dialog->Closed());

    EXPECT_EQ(dialog->ClockFile(), ReadBytes(PELLOX_GOLDEN_UPDATE));
    Values stored;
    for (int row = 0; row < 5; ++row) {
        const std::wstring digit = std::to_wstring(row);
        stored[L"Zone" + digit] = std::to_wstring(defaults[row]);
        stored[L"DST" + digit] = row == 0 ? L"1" : L"0";
        stored[L"Label" + digit] = kDefaultCaptions[row];
    }
    stored[L"Label1"] = L"NEW,YORK & Co";  // the store keeps the comma
    stored[L"Label2"] = L"Z\u00fcrich <ZH>";
    EXPECT_EQ(dialog->Stored(), stored);

    // Reopened: zones and DST from the store, captions from the file. Closing the window
    // writes nothing.
    const std::string file = dialog->ClockFile();
    ASSERT_TRUE(dialog->Open());
    for (int row = 0; row < 5; ++row) EXPECT_EQ(dialog->Selected(row), defaults[row]) << row;
    EXPECT_EQ(dialog->Check(0), 1);
    EXPECT_EQ(dialog->Caption(1), L"NEWYORK & Co");
    EXPECT_EQ(dialog->Caption(2), L"Z\u00fcrich <ZH>");
    dialog->Select(3, 0);
    dialog->SetCaption(3, L"CHANGED");
    dialog->CloseWindow();
    ASSERT_TRUE(dialog->Closed());
    EXPECT_EQ(dialog->ClockFile(), file);
    EXPECT_EQ(dialog->Stored(), stored);
}

TEST_F(SettingsDialog, CancelWritesNothingAndGreyedCountsAsDaylightTime) {
    dialog->Store(L"Zone3", std::to_wstring(defaults[3]));
    dialog->Store(L"DST3", L"2");
    const Values before = dialog->Stored();
    ASSERT_TRUE(dialog->Open());
    EXPECT_EQ(dialog->Check(3), 2);
    dialog->Select(0, 3);
    dialog->SetCaption(0, L"CHANGED");
    dialog->Click(Control::Cancel);
    ASSERT_TRUE(dialog->Closed());
    EXPECT_EQ(dialog->ClockFile(), "<missing>");
    EXPECT_EQ(dialog->Stored(), before);

    ASSERT_TRUE(dialog->Open());
    dialog->Click(Control::Update);
    ASSERT_TRUE(dialog->Closed());
    const std::string offset = utf8::FromWide(GetGmtOffset(Display(3), true));
    EXPECT_NE(dialog->ClockFile().find("\"HONG KONG\">" + offset + "<"), std::string::npos)
        << dialog->ClockFile();
    EXPECT_EQ(dialog->Stored()[L"DST3"], L"2");

    // A click turns a greyed box off.
    ASSERT_TRUE(dialog->Open());
    dialog->ClickCheck(3);
    EXPECT_EQ(dialog->Check(3), 0);
    dialog->Click(Control::Cancel);
    EXPECT_TRUE(dialog->Closed());
}

TEST_F(SettingsDialog, TheMakerLabelOpensTheAddressAndLeavesTheRows) {
    ASSERT_TRUE(dialog->Open());
    dialog->SetCaption(0, L"EDITED");
    dialog->Select(1, 7);
    dialog->ClickMaker();
    EXPECT_EQ(dialog->OpenedAddress(), L"https://www.ovanta.com/");
    EXPECT_EQ(dialog->Caption(0), L"EDITED");
    EXPECT_EQ(dialog->Selected(1), 7);
    EXPECT_EQ(dialog->Selected(0), defaults[0]);
    dialog->Click(Control::Cancel);
    ASSERT_TRUE(dialog->Closed());
    EXPECT_EQ(dialog->ClockFile(), "<missing>");
    EXPECT_TRUE(dialog->Stored().empty());
}

// The clock file cannot be written: the failure is reported with its number and a description
// naming the file, the program ends, and neither the file nor the store changes.
TEST_F(SettingsDialog, WriteFailuresAreReportedAndChangeNothing) {
    for (Obstacle obstacle : {Obstacle::ReadOnlyFolder, Obstacle::LockedClockFile}) {
        const auto driver = MakeSettingsDialogDriver();
        if (!driver->Prepare(obstacle)) {
            std::printf("skipped: this file system cannot make obstacle %d\n",
                        static_cast<int>(obstacle));
            continue;
        }
        driver->Store(L"Zone0", L"2");
        const Values before = driver->Stored();
        const std::string file = driver->ClockFile();
        ASSERT_TRUE(driver->Open());
        driver->Click(Control::Update);
        const std::string report = utf8::FromWide(driver->Report());
        EXPECT_NE(report.find("Run-time error '70'"), std::string::npos) << report;
        EXPECT_NE(report.find("Permission denied"), std::string::npos) << report;
        EXPECT_NE(report.find("pellox2.xml"), std::string::npos) << report;
        EXPECT_EQ(driver->ClockFile(), file);
        EXPECT_EQ(driver->Stored(), before);
    }
}

TEST_F(SettingsDialog, AMissingCatalogueIsReportedAndTheDialogNeverOpens) {
    ASSERT_TRUE(dialog->Prepare(Obstacle::NoCatalogue));
    EXPECT_FALSE(dialog->Open());
    EXPECT_EQ(dialog->Report(),
              L"Unable to locate Time Zones information in Registry under the key: \r\n"
              L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
    EXPECT_EQ(dialog->ClockFile(), "<missing>");
    EXPECT_TRUE(dialog->Stored().empty());
}

}  // namespace
