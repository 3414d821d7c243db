#include <gtest/gtest.h>

#include <sys/stat.h>
#include "TestFiles.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "config/frmSettings.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/settings/LinuxProgramPorts.h"

namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "pellox-ports.XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, ignored);
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

TEST(KeyFileStore, SavesReadsAndKeepsOtherValues) {
    TempFolder temp;
    const fs::path folder = temp.Path() / "new" / "pelloxss";
    const auto store = MakeKeyFileStore(folder.string());

    // Nothing stored yet: the defaults, and no folder made by reading.
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"-");
    EXPECT_FALSE(fs::exists(folder));

    store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"61");
    store->SaveSetting(L"PELLOXSS", L"Config", L"Label2", L"Z\u00fcrich <ZH>, \"x\" = y; #1");
    store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"62");
    EXPECT_EQ((fs::status(folder).permissions() & fs::perms::all), fs::perms::owner_all);

    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"62");
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Label2", L"-"),
              L"Z\u00fcrich <ZH>, \"x\" = y; #1");
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Other", L"Zone0", L"-"), L"-");
    EXPECT_EQ(store->GetSetting(L"OTHER", L"Config", L"Zone0", L"-"), L"-");

    // A key file that GLib and the user can read, in the named group.
    const std::string text = ReadBytes(folder / "PELLOXSS.ini");
    EXPECT_NE(text.find("[Config]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Zone0=62\n"), std::string::npos) << text;

    // A comment and a group the user added survive a save.
    WriteBytes(folder / "PELLOXSS.ini", "# mine\n[Mine]\nkeep=1\n" + text);
    store->SaveSetting(L"PELLOXSS", L"Config", L"DST0", L"1");
    const std::string after = ReadBytes(folder / "PELLOXSS.ini");
    EXPECT_NE(after.find("# mine"), std::string::npos) << after;
    EXPECT_NE(after.find("keep=1"), std::string::npos) << after;
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"62");
}

TEST(KeyFileStore, ABrokenFileGivesDefaultsAndIsKeptOnSave) {
    TempFolder temp;
    const auto store = MakeKeyFileStore(temp.Path().string());
    const std::string broken = "this is not\x01 a key file\n[Config\nZone0=5\n";
    WriteBytes(temp.Path() / "PELLOXSS.ini", broken);

    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"default"), L"default");
    store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"7");
    EXPECT_EQ(store->GetSetting(L"PELLOXSS", L"Config", L"Zone0", L"-"), L"7");
    EXPECT_EQ(ReadBytes(temp.Path() / "PELLOXSS.ini.broken"), broken);
}

TEST(KeyFileStore, AFolderThatCannotBeMadeIsReported) {
    TempFolder temp;
    // A plain file where the folder should be: even root cannot make the folder.
    WriteBytes(temp.Path() / "file", "x");
    const auto store = MakeKeyFileStore((temp.Path() / "file" / "sub").string());
    try {
        store->SaveSetting(L"PELLOXSS", L"Config", L"Zone0", L"1");
        FAIL() << "no failure";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, 76);
        EXPECT_NE(error.Description.find(L"PELLOXSS.ini"), std::wstring::npos);
    }
    EXPECT_EQ(ReadBytes(temp.Path() / "file"), "x");
}

TEST(AtomicFileReplacer, ReplacesWholeAndTakesWindowsSeparators) {
    TempFolder temp;
    const auto files = MakeAtomicFileReplacer();
    const std::wstring folder = temp.Path().wstring();

    // The portable code appends "\pellox2.xml"; the missing folder is made.
    files->ReplaceFile(folder + L"/made\\pellox2.xml", std::string("one\0two", 7));
    EXPECT_EQ(ReadBytes(temp.Path() / "made" / "pellox2.xml"), std::string("one\0two", 7));
    files->ReplaceFile(folder + L"\\made\\pellox2.xml", "2");
    EXPECT_EQ(ReadBytes(temp.Path() / "made" / "pellox2.xml"), "2");
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path() / "made"), {}), 1);

    // A target that cannot be replaced (a folder of that name) is reported with its name, and
    // what was there stays.
    fs::create_directory(temp.Path() / "made" / "busy.xml");
    try {
        files->ReplaceFile(folder + L"\\made\\busy.xml", "x");
        FAIL() << "no failure";
    } catch (const AppError& error) {
        EXPECT_NE(error.Description.find(L"busy.xml"), std::wstring::npos);
    }
    EXPECT_TRUE(fs::is_directory(temp.Path() / "made" / "busy.xml"));
    EXPECT_EQ(ReadBytes(temp.Path() / "made" / "pellox2.xml"), "2");
}

TEST(ConfigFolder, IsMadeWhenAskedForAndFollowsXdgConfigHome) {
    TempFolder temp;
    const fs::path folder = temp.Path() / "a" / "pelloxss";
    EXPECT_EQ(MakeConfigFolder(folder.string())->Path(), folder.wstring());
    EXPECT_TRUE(fs::is_directory(folder));

    // GLib reads XDG_CONFIG_HOME once per process; this test is the process's first reader.
    setenv("XDG_CONFIG_HOME", temp.Path().c_str(), 1);
    EXPECT_EQ(PelloxConfigFolder(), (temp.Path() / "pelloxss").string());
    const SettingsAdapters ports = MakeSettingsAdapters();
    EXPECT_EQ(ports.folder->Path(), (temp.Path() / "pelloxss").wstring());
}

// GIO hands the address to the handler the user's MIME settings name.
TEST(GioShell, OpensTheAddressWithTheDefaultHandler) {
    TempFolder temp;
    const fs::path data = temp.Path() / "data", config = temp.Path() / "config";
    const fs::path marker = temp.Path() / "opened";
    fs::create_directories(data / "applications");
    fs::create_directories(config);
    WriteBytes(data / "applications" / "pellox-test.desktop",
               "[Desktop Entry]\nType=Application\nName=Test\nExec=sh -c 'echo \"$1\" > " +
                   marker.string() +
                   "' sh %u\nMimeType=x-scheme-handler/pelloxtest;\nNoDisplay=true\n");
    WriteBytes(config / "mimeapps.list",
               "[Default Applications]\nx-scheme-handler/pelloxtest=pellox-test.desktop\n");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_DATA_DIRS", data.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_CONFIG_DIRS", config.c_str(), 1);

    const SettingsAdapters ports = MakeSettingsAdapters();
    EXPECT_GT(ports.shell->ShellExecuteA(0, "open", "pelloxtest://maker/", "", std::nullopt, 1),
              32);
    for (int i = 0; i < 200 && ReadBytes(marker) == "<missing>"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(ReadBytes(marker), "pelloxtest://maker/\n");

    // Nothing to open, a scheme nobody handles, another verb: the shell's failure codes.
    EXPECT_LE(ports.shell->ShellExecuteA(0, "open", "", "", std::nullopt, 1), 32);
    EXPECT_LE(ports.shell->ShellExecuteA(0, "open", "nohandler-pellox://x", "", std::nullopt, 1),
              32);
    EXPECT_LE(ports.shell->ShellExecuteA(0, "print", "pelloxtest://x", "", std::nullopt, 1), 32);
}

}  // namespace
