// The Linux adapters of the settings road beyond what the dialog suite reaches: the key file's
// neighbours and damage, folders that are missing or cannot be made, XDG folders, GIO.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "config/frmSettings.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/settings/LinuxProgramPorts.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// The failure's number and whether its description names the file.
void ExpectFailure(const std::function<void()>& step, long number, const std::wstring& name) {
    try {
        step();
        ADD_FAILURE() << "no failure";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, number);
        EXPECT_NE(error.Description.find(name), std::wstring::npos);
    }
}

TEST(KeyFileStore, KeepsWhatElseTheFileHoldsAndSetsDamagedFilesAside) {
    TempFolder temp;
    const fs::path folder = temp / "new" / "pelloxss";
    const auto store = MakeKeyFileStore(folder.string());
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"-");
    EXPECT_FALSE(fs::exists(folder));  // reading makes nothing
    store->SaveSetting(L"PELLOXSS", L"Config", L"Label2", L"Z\u00fcrich <ZH>, \"x\" = y; #1");
    EXPECT_EQ((fs::status(folder).permissions() & fs::perms::all), fs::perms::owner_all);
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Label2", L"-"),
              L"Z\u00fcrich <ZH>, \"x\" = y; #1");
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Other", L"Label2", L"-"), L"-");
    EXPECT_EQ(store->GetSetting(L"OTHER", L"Config", L"Label2", L"-"), L"-");

    // A comment and a group of the user's survive a save; the values are in group Config.
    const fs::path file = folder / "PELLOXSS.ini";
    std::ofstream(file, std::ios::app) << "# mine\n[Mine]\nkeep=1\n";
    store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"62");
    const std::string text = ReadBytes(file);
    for (const char* part : {"# mine", "keep=1", "[Config]\n", "Zone0=62\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;

    // A file that is no key file reads as empty and is kept aside before the next save.
    const std::string broken = "this is not\x01 a key file\n[Config\nZone0=5\n";
    temp.Write("new/pelloxss/PELLOXSS.ini", broken);
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"-");
    store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"7");
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"7");
    EXPECT_EQ(ReadBytes(folder / "PELLOXSS.ini.broken"), broken);
}

TEST(FilesAndFolders, MissingFoldersAreMadeAndUnmakeableOnesReported) {
    TempFolder temp;
    // A plain file where a folder should be: even root cannot make the folder.
    temp.Write("file", "x");
    const auto store = MakeKeyFileStore((temp / "file" / "sub").string());
    ExpectFailure([&] { store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"1"); },
                  errnum::PathNotFound, L"PELLOXSS.ini");

    // The portable code appends "\pellox2.xml" the Windows way; the folder is made.
    const auto files = MakeAtomicFileReplacer();
    const std::wstring folder = temp.Path().wstring();
    files->ReplaceFile(folder + L"/made\\pellox2.xml", "1");
    files->ReplaceFile(folder + L"\\made\\pellox2.xml", "2");
    EXPECT_EQ(ReadBytes(temp / "made" / "pellox2.xml"), "2");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp / "made"), {}), 1);  // no temporary
    // A target that cannot be replaced (a folder of that name) is reported and stays.
    fs::create_directory(temp / "made" / "busy.xml");
    ExpectFailure([&] { files->ReplaceFile(folder + L"\\made\\busy.xml", "x"); },
                  errnum::PathFileAccess, L"busy.xml");
    EXPECT_TRUE(fs::is_directory(temp / "made" / "busy.xml"));

    EXPECT_EQ(MakeConfigFolder((temp / "a" / "pelloxss").string())->Path(),
              (temp / "a" / "pelloxss").wstring());
    EXPECT_TRUE(fs::is_directory(temp / "a" / "pelloxss"));
}

// GLib reads the XDG folders once per process: this is the process's first reader. The program's
// folder and store follow XDG_CONFIG_HOME, and GIO hands an address to the handler that the
// user's MIME settings name.
TEST(XdgFolders, ProgramFolderFollowsThemAndGioOpensWithTheUsersHandler) {
    TempFolder temp;
    const fs::path marker = temp / "opened";
    fs::create_directories(temp / "applications");
    temp.Write("applications/pellox-test.desktop",
               "[Desktop Entry]\nType=Application\nName=Test\nExec=sh -c 'echo \"$1\" > " +
                   marker.string() +
                   "' sh %u\nMimeType=x-scheme-handler/pelloxtest;\nNoDisplay=true\n");
    temp.Write("mimeapps.list",
               "[Default Applications]\nx-scheme-handler/pelloxtest=pellox-test.desktop\n");
    for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        setenv(name, temp.Path().c_str(), 1);

    const SettingsAdapters ports = MakeSettingsAdapters();
    EXPECT_EQ(ports.folder->Path(), (temp / "pelloxss").wstring());
    EXPECT_GT(ports.shell->ShellExecuteA(0, "open", "pelloxtest://maker/", "", std::nullopt, 1), 32);
    for (int i = 0; i < 600 && ReadBytes(marker) == "<missing>"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadBytes(marker), "pelloxtest://maker/\n");
}

}  // namespace
