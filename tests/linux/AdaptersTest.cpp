// The Linux adapters beyond the shared suites' reach: ICU's zones, the key file, what cannot be
// made or replaced, the XDG folders and GIO, xscreensaver's options.
#include <gtest/gtest.h>

#include <sstream>

#include "config/frmSettings.h"
#include "platform/Platform.h"
#include "platform/linux/app/XScreenSaverOptions.h"
#include "platform/linux/player/LinuxClockEnvironment.h"
#include "platform/linux/settings/IcuTimeZones.h"
#include "platform/linux/settings/LinuxProgramPorts.h"
#include "support/Expect.h"
#include "support/Process.h"
#include "support/TempFolder.h"

static bool operator==(const XScreenSaverTarget& a, const XScreenSaverTarget& b) {
    return a.root == b.root && a.window == b.window;
}

namespace {

namespace fs = std::filesystem;

// The local zone's key follows TZ.
TEST(IcuZones, TheLocalZoneFollowsTz) {
    for (const auto& [tz, key] : {std::pair{"Asia/Tokyo", L"Tokyo Standard Time"},
                                  {"America/New_York", L"Eastern Standard Time"}}) {
        setenv("TZ", tz, 1);
        EXPECT_EQ(IcuLocalTimeZoneKeyName(), key) << tz;
    }
}

// Day names, AM/PM and the 24-hour choice of LC_TIME, in its own character set (process: C).
TEST(LinuxClockEnvironmentTest, DayNamesAndTimesFollowTheLocale) {
    const std::tuple<const char*, std::wstring, std::wstring, bool> cases[] = {
        {"es_ES.UTF-8", L"mi\u00e9", L"AM", true},  // "AM" where the locale has none
        {"ja_JP.UTF-8", L"\u6c34", L"\u5348\u524d", true},
        {"ar_EG.UTF-8", L"\u0631", L"\u0635", false},
        {"en_US.UTF-8", L"Wed", L"AM", false}};
    for (const auto& [locale, wednesday, am, use24] : cases) {
        setenv("LC_ALL", locale, 1);
        LinuxClockEnvironment environment;
        EXPECT_EQ(environment.DayName(3), wednesday) << locale;
        EXPECT_EQ(environment.AmPm(false), am) << locale;
        EXPECT_EQ(environment.Use24Hour(), use24) << locale;
    }
    unsetenv("LC_ALL");
}

// The catalogue in other languages: names without loss, offset texts read from them right.
TEST(IcuZones, TheCatalogueInEveryLanguageKeepsNamesAndOffsets) {
    for (const char* locale : {"en_US.UTF-8", "ru_RU.UTF-8", "ja_JP.UTF-8", "tr_TR.UTF-8"}) {
        TestProcess tzlist(TZLIST_BINARY, {}, {std::string("LC_ALL=") + locale});
        ASSERT_EQ(tzlist.WaitForExit(), 0);
        std::istringstream lines(tzlist.Output());
        std::size_t entries = 0;
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> fields(1);
            for (char c : line) c == '\t' ? fields.emplace_back() : fields.back() += c;
            if (fields.size() < 6 || line[0] == '#') continue;
            ++entries;
            EXPECT_EQ(line.find('?'), std::string::npos) << locale << line;
            EXPECT_EQ(fields[3].substr(3), fields[5]) << locale << line;
        }
        EXPECT_GT(entries, 100u) << locale;
    }
}

TEST(KeyFileStore, KeepsWhatElseTheFileHoldsAndSetsDamagedFilesAside) {
    TempFolder temp;
    const fs::path folder = temp / "new" / "pelloxss", file = folder / "PELLOXSS.ini";
    const auto store = MakeKeyFileStore(folder.string());
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"-");
    EXPECT_FALSE(fs::exists(folder));  // reading makes nothing
    const std::wstring label = L"Z\u00fcrich <ZH>, \"x\" = y; #1";
    store->SaveSetting(L"PELLOXSS", L"Config", L"Label2", label);
    EXPECT_EQ((fs::status(folder).permissions() & fs::perms::all), fs::perms::owner_all);
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Label2", L"-"), label);
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
    ExpectAppError([&] { store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"9"); }, 75,
                   {L"PELLOXSS.ini"});
    EXPECT_TRUE(fs::is_directory(file) && !fs::exists(file.string() + ".broken.2"));
}

TEST(FilesAndFolders, WhatCannotBeMadeOrReplacedIsReportedByName) {
    TempFolder temp;
    temp.Write("file", "x");  // a plain file where a folder should be: even root cannot make it
    const auto store = MakeKeyFileStore((temp / "file" / "sub").string());
    ExpectAppError([&] { store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"1"); }, 76,
                   {L"PELLOXSS.ini"});
    // A target that cannot be replaced (a folder of that name) is reported and stays.
    fs::create_directory(temp / "busy.xml");
    ExpectAppError(
        [&] { MakeAtomicFileReplacer()->ReplaceFile((temp / "busy.xml").wstring(), "x"); }, 75,
        {L"busy.xml"});
    EXPECT_TRUE(fs::is_directory(temp / "busy.xml"));
}

// GLib reads the XDG folders once per process (each test runs in a process of its own): the
// program's folder follows XDG_CONFIG_HOME, and GIO hands an address to the user's handler.
TEST(XdgFolders, ProgramFolderFollowsThemAndGioOpensWithTheUsersHandler) {
    TempFolder temp;
    const fs::path marker = temp / "opened";
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

// xscreensaver's window ids and how the program finds the window it is to draw into.
TEST(XScreenSaverOptions, WindowIdsAndTargets) {
    const std::pair<const char*, unsigned long> ids[] = {
        {"12345", 12345}, {"0x1a00005", 0x1a00005}, {"0XFF", 255}, {"4294967295", 4294967295}};
    for (const auto& [text, id] : ids) EXPECT_EQ(ParseWindowId(text), id) << text;
    for (const char* bad :
         {"", "0", "0x", "-5", "+5", "12a", "0x1g", " 5", "4294967296", "99999999999999999999999"})
        EXPECT_EQ(ParseWindowId(bad), std::nullopt) << bad;

    using Args = std::vector<std::string>;
    // -window-id first, then -root with xscreensaver's window, then the environment alone; the
    // saver's own modes (no target) whatever the environment says.
    const std::tuple<Args, const char*, std::optional<XScreenSaverTarget>> targets[] = {
        {{"-window-id", "0x2e"}, "99", XScreenSaverTarget{false, 0x2e}},
        {{"-root"}, "4194311", XScreenSaverTarget{false, 4194311}},
        {{"-root"}, nullptr, XScreenSaverTarget{true, 0}},
        {{"--root"}, nullptr, XScreenSaverTarget{true, 0}},
        {{}, "0x10", XScreenSaverTarget{false, 16}},
        {{"/s"}, "0x400001", std::nullopt},
        {{}, nullptr, std::nullopt},
        {{}, "", std::nullopt},
        {{"-x"}, nullptr, std::nullopt}};
    for (const auto& [args, variable, target] : targets)
        EXPECT_EQ(FindXScreenSaverTarget(args, variable), target) << testing::PrintToString(args);
    // A missing or malformed id is an error with a clear text, not a guess.
    for (const Args& bad :
         {Args{"-window-id"}, Args{"-window-id", "root"}, Args{"-window-id", "0"}})
        ExpectAppError([&] { FindXScreenSaverTarget(bad, nullptr); }, 5);
    ExpectAppError([] { FindXScreenSaverTarget(Args{"-root"}, "garbage"); }, 5,
                   {L"XSCREENSAVER_WINDOW", L"garbage"});
}

}  // namespace
