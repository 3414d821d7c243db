// The Linux adapters beyond what the shared suites reach: ICU's zone rules and local zone, the
// key file's neighbours and damage, what cannot be made or replaced, the XDG folders and GIO.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "config/frmSettings.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/settings/IcuTimeZones.h"
#include "platform/linux/settings/LinuxProgramPorts.h"
#include "support/Process.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// The failure's number, and its description naming the file.
void ExpectFailure(const std::function<void()>& step, long number, const std::wstring& name) {
    try {
        step();
        ADD_FAILURE() << "no failure";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, number);
        EXPECT_NE(error.Description.find(name), std::wstring::npos);
    }
}

TEST(IcuZones, TziBlocksFollowTheRulesAndTheLocalZoneFollowsTz) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    MTimeZone catalogue(*ports.registry, *ports.version, *ports.textCompare, *ports.ansi);
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kTimeZonesKeyNT));
    // Bias, daylight bias, then month, weekday, week and hour of the daylight and the standard
    // date: Pacific from the second Sunday of March at 2:00 to the first of November, London
    // the last Sundays of March at 1:00 and October at 2:00, none in Tokyo, India at +5:30.
    // clang-format off
    std::map<std::wstring, std::vector<int>> expected = {
        {L"Pacific Standard Time", {480, -60, 3, 0, 2, 2, 11, 0, 1, 2}},
        {L"GMT Standard Time", {0, -60, 3, 0, 5, 1, 10, 0, 5, 2}},
        {L"Tokyo Standard Time", {-540, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {L"India Standard Time", {-330, 0, 0, 0, 0, 0, 0, 0, 0, 0}}};
    // clang-format on
    for (const TimeZoneRecord& zone : catalogue.TimeZones) {
        if (!expected.count(zone.KeyName)) continue;
        std::int32_t bias[3];
        std::uint16_t standard[8], daylight[8];
        std::memcpy(bias, zone.TZI.data(), 12);
        std::memcpy(standard, zone.TZI.data() + 12, 16);
        std::memcpy(daylight, zone.TZI.data() + 28, 16);
        EXPECT_EQ(
            expected[zone.KeyName],
            (std::vector<int>{bias[0], bias[2], daylight[1], daylight[2], daylight[3], daylight[4],
                              standard[1], standard[2], standard[3], standard[4]}))
            << utf8::FromWide(zone.KeyName);
        expected.erase(zone.KeyName);
    }
    EXPECT_TRUE(expected.empty());
    for (const auto& [tz, key] : {std::pair{"Asia/Tokyo", L"Tokyo Standard Time"},
                                  {"America/New_York", L"Eastern Standard Time"},
                                  {"Europe/London", L"GMT Standard Time"}}) {
        setenv("TZ", tz, 1);
        EXPECT_EQ(IcuLocalTimeZoneKeyName(), key) << tz;
    }
}

TEST(KeyFileStore, KeepsWhatElseTheFileHoldsAndSetsDamagedFilesAside) {
    TempFolder temp;
    const fs::path folder = temp / "new" / "pelloxss", file = folder / "PELLOXSS.ini";
    const auto store = MakeKeyFileStore(folder.string());
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"-");
    EXPECT_FALSE(fs::exists(folder));  // reading makes nothing
    store->SaveSetting(L"PELLOXSS", L"Config", L"Label2", L"Z\u00fcrich <ZH>, \"x\" = y; #1");
    EXPECT_EQ((fs::status(folder).permissions() & fs::perms::all), fs::perms::owner_all);
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Label2", L"-"),
              L"Z\u00fcrich <ZH>, \"x\" = y; #1");
    // A comment and a group of the user's survive a save; the values are in group Config.
    std::ofstream(file, std::ios::app) << "# mine\n[Mine]\nkeep=1\n";
    store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"62");
    for (const char* part : {"# mine", "keep=1", "[Config]\n", "Zone0=62\n"})
        EXPECT_NE(ReadBytes(file).find(part), std::string::npos) << part;
    // A file that is no key file reads as empty and is set aside before the next save.
    const std::string broken = "this is not\x01 a key file\n[Config\nZone0=5\n";
    std::ofstream(file, std::ios::binary) << broken;
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"-");
    store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"7");
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"7");
    // A second one is kept beside the first; one that cannot be read (a folder in its place:
    // not even root can) is reported and stays.
    std::ofstream(file, std::ios::binary) << "Zone0=6\n";
    store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"8");
    EXPECT_EQ(ReadBytes(folder / "PELLOXSS.ini.broken") + ReadBytes(file.string() + ".broken.1"),
              broken + "Zone0=6\n");
    fs::remove(file);
    fs::create_directory(file);
    ExpectFailure([&] { store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"9"); },
                  errnum::PathFileAccess, L"PELLOXSS.ini");
    EXPECT_TRUE(fs::is_directory(file) && !fs::exists(file.string() + ".broken.2"));
}

TEST(FilesAndFolders, WhatCannotBeMadeOrReplacedIsReportedByName) {
    TempFolder temp;
    temp.Write("file", "x");  // a plain file where a folder should be: even root cannot make it
    const auto store = MakeKeyFileStore((temp / "file" / "sub").string());
    ExpectFailure([&] { store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"1"); },
                  errnum::PathNotFound, L"PELLOXSS.ini");
    // A target that cannot be replaced (a folder of that name) is reported and stays.
    fs::create_directory(temp / "busy.xml");
    ExpectFailure(
        [&] { MakeAtomicFileReplacer()->ReplaceFile((temp / "busy.xml").wstring(), "x"); },
        errnum::PathFileAccess, L"busy.xml");
    EXPECT_TRUE(fs::is_directory(temp / "busy.xml"));
}

// GLib reads the XDG folders once per process (each test runs in a process of its own): the
// program's folder follows XDG_CONFIG_HOME, and GIO hands an address to the user's handler.
TEST(XdgFolders, ProgramFolderFollowsThemAndGioOpensWithTheUsersHandler) {
    TempFolder temp;
    const fs::path marker = temp / "opened";
    fs::create_directories(temp / "applications");
    temp.Write("applications/pellox-test.desktop",
               "[Desktop Entry]\nType=Application\nName=Test\nExec=sh -c 'echo \"$1\" > " +
                   marker.string() + "' sh %u\nMimeType=x-scheme-handler/pelloxtest;\n");
    temp.Write("mimeapps.list",
               "[Default Applications]\nx-scheme-handler/pelloxtest=pellox-test.desktop\n");
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        setenv(name, temp.Path().c_str(), 1);
    const SettingsAdapters ports = MakeSettingsAdapters();
    EXPECT_EQ(ports.folder->Path(), (temp / "pelloxss").wstring());
    EXPECT_GT(ports.shell->ShellExecuteA(0, "open", "pelloxtest://maker/", "", std::nullopt, 1),
              32);
    WaitUntil([&] { return ReadBytes(marker).ends_with("\n"); });  // written in full
    EXPECT_EQ(ReadBytes(marker), "pelloxtest://maker/\n");
}

}  // namespace
