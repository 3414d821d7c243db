// pelloxss.scr /c as a user meets it: started as its own process under Wine and driven with
// window messages from this one.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestFiles.h"

#include <array>
#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "config/MakerAddress.h"
#include "config/frmSettings.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/config/SettingsDialog.h"
#include "timezones/GmtOffset.h"
#include "timezones/MTimeZone.h"

namespace {

namespace ids = settings_ids;

const wchar_t* kStoreKey = L"Software\\VB and VBA Program Settings\\PELLOXSS";
const wchar_t* kStoreConfig = L"Software\\VB and VBA Program Settings\\PELLOXSS\\Config";
const wchar_t* kCatalogueKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

std::wstring Env(const wchar_t* name) {
    wchar_t value[4096];
    const DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return length && length < 4096 ? std::wstring(value, length) : std::wstring();
}

// Every value of the store's Config key.
std::map<std::wstring, std::wstring> StoreValues() {
    std::map<std::wstring, std::wstring> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kStoreConfig, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 0;
        BYTE data[4096];
        size = sizeof data;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << utf8::FromWide(name);
        values[name] = std::wstring(reinterpret_cast<wchar_t*>(data),
                                    wcsnlen(reinterpret_cast<wchar_t*>(data), size / 2));
    }
    RegCloseKey(key);
    return values;
}

void ClearStore() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
}

void PutStore(const std::wstring& name, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kStoreConfig, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * 2));
    RegCloseKey(key);
}

// The catalogue as the dialog loads it.
struct Catalogue {
    Catalogue() { catalogue.LoadTimeZoneCatalogue(kTimeZonesKeyNT); }
    int Position(const std::wstring& keyName) const {
        for (std::size_t i = 0; i < catalogue.TimeZones.size(); ++i) {
            if (catalogue.TimeZones[i].KeyName == keyName) return static_cast<int>(i);
        }
        return -1;
    }
    const std::wstring& Display(int position) const {
        return catalogue.TimeZones.at(static_cast<std::size_t>(position)).Display;
    }
    SettingsAdapters ports = MakeSettingsAdapters();
    MTimeZone catalogue{*ports.registry, *ports.version, *ports.textCompare, *ports.ansi};
};

// A folder of its own holding a copy of pelloxss.scr, removed afterwards.
class ProgramCopy {
  public:
    explicit ProgramCopy(const std::wstring& name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ =
            std::wstring(temp) + L"pellox-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder_.c_str(), nullptr);
        CopyFileW(Env(L"PELLOX_SCR").c_str(), Program().c_str(), FALSE);
    }
    ~ProgramCopy() {
        DeleteFileW(Program().c_str());
        DeleteFileW(ClockFile().c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    std::wstring Program() const { return folder_ + L"\\pelloxss.scr"; }
    std::wstring ClockFile() const { return folder_ + L"\\pellox2.xml"; }
    const std::wstring& Folder() const { return folder_; }

  private:
    std::wstring folder_;
};

struct FindData {
    DWORD pid;
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM lParam) {
    auto* data = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (pid == data->pid && data->title == title && IsWindowVisible(window)) {
        data->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring TextOf(HWND window) {
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    return text;
}

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    *reinterpret_cast<std::wstring*>(lParam) += TextOf(child) + L"\n";
    return TRUE;
}

// One run of "pelloxss.scr /c".
class SettingsRun {
  public:
    // The program inherits TZ=Asia/Tokyo from run-dialog-tests.sh: its local zone is Tokyo.
    explicit SettingsRun(const std::wstring& program) {
        std::wstring commandLine = L"\"" + program + L"\" /c";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                                            FALSE, 0, nullptr, nullptr, &startup, &process_);
        EXPECT_TRUE(started) << GetLastError();
        if (process_.hThread) CloseHandle(process_.hThread);
    }
    ~SettingsRun() {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process_.hProcess, 99);
            CloseHandle(process_.hProcess);
        }
    }
    SettingsRun(const SettingsRun&) = delete;
    SettingsRun& operator=(const SettingsRun&) = delete;

    // Waits for a visible top-level window of the program with this title.
    HWND WaitForWindow(const std::wstring& title, int seconds = 60) {
        for (int i = 0; i < seconds * 20; ++i) {
            FindData data{process_.dwProcessId, title};
            EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&data));
            if (data.found) return data.found;
            if (WaitForSingleObject(process_.hProcess, 50) != WAIT_TIMEOUT) return nullptr;
        }
        return nullptr;
    }
    HWND WaitForDialog() { return dialog_ = WaitForWindow(kSettingsCaption); }

    // The exit code, or -1 when the program is still running after the wait.
    long WaitForExit(int seconds = 60) {
        if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(seconds) * 1000) !=
            WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    int Selected(int row) const {
        return static_cast<int>(SendMessageW(Item(ids::lstTimeZone + row), CB_GETCURSEL, 0, 0));
    }
    int Count(int row) const {
        return static_cast<int>(SendMessageW(Item(ids::lstTimeZone + row), CB_GETCOUNT, 0, 0));
    }
    void Select(int row, int position) {
        SendMessageW(Item(ids::lstTimeZone + row), CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    }
    std::wstring ListText(int row) const { return TextOf(Item(ids::lstTimeZone + row)); }
    std::wstring Caption(int row) const { return TextOf(Item(ids::txtLabel + row)); }
    void SetCaption(int row, const std::wstring& text) {
        SendMessageW(Item(ids::txtLabel + row), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
    LRESULT Check(int row) const {
        return SendMessageW(Item(ids::chkDST + row), BM_GETCHECK, 0, 0);
    }
    // A click on a DST box (it opens no window, so it can be sent and waited for).
    void ClickCheck(int row) { SendMessageW(Item(ids::chkDST + row), BM_CLICK, 0, 0); }
    // A click that closes the dialog or opens a message box: posted.
    void Click(int id) { PostMessageW(Item(id), BM_CLICK, 0, 0); }
    void CloseButton() { PostMessageW(dialog_, WM_CLOSE, 0, 0); }
    HWND Dialog() const { return dialog_; }
    DWORD ThreadId() const { return process_.dwThreadId; }
    DWORD ProcessId() const { return process_.dwProcessId; }

  private:
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
};

class SettingsDialogUnderWine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Env(L"PELLOX_SCR").empty()) << "run through run-dialog-tests.sh";
        ClearStore();
        ASSERT_GT(zones.catalogue.TimeZones.size(), 100u);
        expected = {zones.Position(L"GMT Standard Time"), zones.Position(L"Eastern Standard Time"),
                    zones.Position(L"Pacific Standard Time"),
                    zones.Position(L"China Standard Time"), zones.Position(L"Tokyo Standard Time")};
        for (int position : expected) ASSERT_GE(position, 0);
    }
    void TearDown() override { ClearStore(); }

    Catalogue zones;
    std::array<int, 5> expected{};
};

TEST_F(SettingsDialogUnderWine, NewUserUpdateAndReopen) {
    ProgramCopy copy(L"newuser");
    {
        SettingsRun run(copy.Program());
        const HWND dialog = run.WaitForDialog();
        ASSERT_NE(dialog, nullptr);

        // The default zones by name (the Local row follows TZ), default captions, no DST.
        const std::array<const wchar_t*, 5> captions = {L"LONDON", L"NEW YORK", L"SAN FRANCISCO",
                                                        L"HONG KONG", L"Local Time"};
        for (int row = 0; row < 5; ++row) {
            EXPECT_EQ(run.Selected(row), expected[row]) << row;
            EXPECT_EQ(run.ListText(row), zones.Display(expected[row])) << row;
            EXPECT_EQ(run.Count(row), static_cast<int>(zones.catalogue.TimeZones.size()));
            EXPECT_EQ(run.Caption(row), captions[row]);
            EXPECT_EQ(run.Check(row), BST_UNCHECKED);
        }

        // Update first in the tab order and focused, Cancel second; lists cannot be typed
        // into; three-state DST boxes; the maker label centred and clickable.
        EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), run.Item(ids::cmdUpdate));
        EXPECT_EQ(GetNextDlgTabItem(dialog, run.Item(ids::cmdUpdate), FALSE),
                  run.Item(ids::cmdCancel));
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        ASSERT_TRUE(GetGUIThreadInfo(run.ThreadId(), &gui));
        EXPECT_EQ(gui.hwndFocus, run.Item(ids::cmdUpdate));
        EXPECT_EQ(GetWindowLongW(run.Item(ids::lstTimeZone), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        EXPECT_EQ(GetWindowLongW(run.Item(ids::chkDST), GWL_STYLE) & 0xF, BS_3STATE);
        EXPECT_EQ(GetWindowLongW(run.Item(ids::lblOvanta), GWL_STYLE) & (SS_CENTER | SS_NOTIFY),
                  SS_CENTER | SS_NOTIFY);
        EXPECT_EQ(GetWindowLongW(run.Item(ids::cmdUpdate), GWL_STYLE) & 0xF, BS_PUSHBUTTON);
        EXPECT_EQ(TextOf(run.Item(ids::Label2)).size(), 155u);
        EXPECT_EQ(TextOf(dialog), kSettingsCaption);

        // Opened centred on the screen, with the table's client size at the window's DPI.
        RECT window, client;
        GetWindowRect(dialog, &window);
        GetClientRect(dialog, &client);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
        EXPECT_NEAR((window.left + window.right) / 2,
                    (monitor.rcWork.left + monitor.rcWork.right) / 2, 2);
        EXPECT_NEAR((window.top + window.bottom) / 2,
                    (monitor.rcWork.top + monitor.rcWork.bottom) / 2, 2);
        const UINT dpi = GetDpiForSystem();
        EXPECT_NEAR(client.right, MulDiv(7800, static_cast<int>(dpi), 1440), 1);
        EXPECT_NEAR(client.bottom, MulDiv(3990, static_cast<int>(dpi), 1440), 1);

        // A DST click toggles between checked and unchecked.
        run.ClickCheck(0);
        EXPECT_EQ(run.Check(0), BST_CHECKED);
        run.ClickCheck(0);
        EXPECT_EQ(run.Check(0), BST_UNCHECKED);
        run.ClickCheck(0);

        run.SetCaption(1, L"NEW,YORK & Co");
        run.SetCaption(2, L"Z\u00fcrich <ZH>");
        run.Click(ids::cmdUpdate);
        EXPECT_EQ(run.WaitForExit(), 0);
    }

    const std::string golden = ReadBytes(Env(L"PELLOX_GOLDEN") + L"\\update-new-user.xml");
    ASSERT_NE(golden, "<missing>");
    EXPECT_EQ(ReadBytes(copy.ClockFile()), golden);

    const std::map<std::wstring, std::wstring> stored = StoreValues();
    EXPECT_EQ(stored.size(), 15u);
    for (int row = 0; row < 5; ++row) {
        const std::wstring digit = std::to_wstring(row);
        EXPECT_EQ(stored.at(L"Zone" + digit), std::to_wstring(expected[row]));
        EXPECT_EQ(stored.at(L"DST" + digit), row == 0 ? L"1" : L"0");
    }
    EXPECT_EQ(stored.at(L"Label1"), L"NEW,YORK & Co");
    EXPECT_EQ(stored.at(L"Label2"), L"Z\u00fcrich <ZH>");
    EXPECT_EQ(stored.at(L"Label4"), L"Local Time");

    // Opening again restores the rows from the store and the captions from the file; the
    // close button then writes nothing.
    const std::string fileBefore = ReadBytes(copy.ClockFile());
    {
        SettingsRun run(copy.Program());
        ASSERT_NE(run.WaitForDialog(), nullptr);
        for (int row = 0; row < 5; ++row) EXPECT_EQ(run.Selected(row), expected[row]) << row;
        EXPECT_EQ(run.Check(0), BST_CHECKED);
        EXPECT_EQ(run.Caption(0), L"LONDON");
        EXPECT_EQ(run.Caption(1), L"NEWYORK & Co");
        EXPECT_EQ(run.Caption(2), L"Z\u00fcrich <ZH>");
        run.Select(3, 0);
        run.SetCaption(3, L"CHANGED");
        run.CloseButton();
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    EXPECT_EQ(ReadBytes(copy.ClockFile()), fileBefore);
    EXPECT_EQ(StoreValues(), stored);
}

TEST_F(SettingsDialogUnderWine, CancelWritesNothingAndGreyedCountsAsDaylightTime) {
    ProgramCopy copy(L"greyed");
    PutStore(L"Zone3", std::to_wstring(expected[3]));
    PutStore(L"DST3", L"2");
    PutStore(L"Zone1", L"not a number");
    PutStore(L"DST1", L"7");
    const std::map<std::wstring, std::wstring> before = StoreValues();
    {
        SettingsRun run(copy.Program());
        ASSERT_NE(run.WaitForDialog(), nullptr);
        EXPECT_EQ(run.Check(3), BST_INDETERMINATE);
        EXPECT_EQ(run.Selected(1), expected[1]);  // unusable values count as absent
        EXPECT_EQ(run.Check(1), BST_UNCHECKED);
        run.Select(0, 3);
        run.SetCaption(0, L"CHANGED");
        run.Click(ids::cmdCancel);
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    EXPECT_EQ(ReadBytes(copy.ClockFile()), "<missing>");
    EXPECT_EQ(StoreValues(), before);

    {
        SettingsRun run(copy.Program());
        ASSERT_NE(run.WaitForDialog(), nullptr);
        EXPECT_EQ(run.Check(3), BST_INDETERMINATE);
        run.Click(ids::cmdUpdate);
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    const std::string file = ReadBytes(copy.ClockFile());
    const std::string china = utf8::FromWide(GetGmtOffset(zones.Display(expected[3]), true));
    EXPECT_NE(file.find("<value name=\"HONG KONG\">" + china + "</value>"), std::string::npos)
        << file;
    EXPECT_EQ(StoreValues().at(L"DST3"), L"2");
}

TEST_F(SettingsDialogUnderWine, TheMakerLabelOpensTheAddressAndTheDialogStaysAsItWas) {
    ProgramCopy copy(L"maker");
    // In this private prefix web addresses open with a command that writes them to a file.
    const std::wstring opened = copy.Folder() + L"\\opened.txt";
    const std::wstring command = L"C:\\windows\\system32\\cmd.exe /c echo %1>\"" + opened + L"\"";
    for (const wchar_t* scheme : {L"http", L"https"}) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT,
                                  (std::wstring(scheme) + L"\\shell\\open\\command").c_str(),
                                  nullptr, REG_SZ, command.c_str(),
                                  static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    {
        SettingsRun run(copy.Program());
        ASSERT_NE(run.WaitForDialog(), nullptr);
        run.SetCaption(0, L"EDITED");
        run.Select(1, 7);
        PostMessageW(run.Item(ids::lblOvanta), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(run.Item(ids::lblOvanta), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        std::string text;
        for (int i = 0; i < 600; ++i) {
            text = ReadBytes(opened);
            if (text.find('\n') != std::string::npos) break;
            Sleep(50);
        }
        EXPECT_NE(text.find(utf8::FromWide(kMakerAddress)), std::string::npos) << text;

        EXPECT_TRUE(IsWindowVisible(run.Dialog()));
        EXPECT_EQ(run.Caption(0), L"EDITED");
        EXPECT_EQ(run.Selected(1), 7);
        EXPECT_EQ(run.Selected(0), expected[0]);
        run.Click(ids::cmdCancel);
        EXPECT_EQ(run.WaitForExit(), 0);
    }
    DeleteFileW(opened.c_str());
    EXPECT_EQ(ReadBytes(copy.ClockFile()), "<missing>");
    EXPECT_TRUE(StoreValues().empty());
}

// The program folder cannot be written: the failure is reported with its number and a
// description naming the file, the program ends, and nothing is changed.
void ExpectReportedWriteFailure(const std::wstring& folder, const std::wstring& program) {
    const std::wstring clockFile = folder + L"\\pellox2.xml";
    const std::string oldFile = ReadBytes(clockFile);
    PutStore(L"Zone0", L"2");
    const std::map<std::wstring, std::wstring> before = StoreValues();

    SettingsRun run(program);
    ASSERT_NE(run.WaitForDialog(), nullptr);
    run.Click(ids::cmdUpdate);
    const HWND box = run.WaitForWindow(kProgramTitle);
    ASSERT_NE(box, nullptr);
    std::wstring text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    EXPECT_NE(text.find(L"'70'"), std::wstring::npos) << utf8::FromWide(text);
    EXPECT_NE(text.find(L"Permission denied"), std::wstring::npos) << utf8::FromWide(text);
    EXPECT_NE(text.find(clockFile), std::wstring::npos) << utf8::FromWide(text);
    EXPECT_EQ(run.WaitForExit(0), -1);  // still running while the report is shown
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.WaitForExit(), 1);

    EXPECT_EQ(ReadBytes(clockFile), oldFile);
    EXPECT_EQ(StoreValues(), before);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(SettingsDialogUnderWine, AReadOnlyProgramFolderIsReportedAndChangesNothing) {
    const std::wstring folder = Env(L"PELLOX_READONLY_FOLDER");
    if (folder.empty()) GTEST_SKIP() << "no folder that cannot be written (chattr +i failed)";
    ExpectReportedWriteFailure(folder, folder + L"\\pelloxss.scr");
}

TEST_F(SettingsDialogUnderWine, ALockedClockFileIsReportedAndKeptWhole) {
    ProgramCopy copy(L"locked");
    { std::ofstream(copy.ClockFile().c_str(), std::ios::binary) << "old clock file"; }
    const HANDLE lock =
        CreateFileW(copy.ClockFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ExpectReportedWriteFailure(copy.Folder(), copy.Program());
    CloseHandle(lock);
}

TEST_F(SettingsDialogUnderWine, AMissingCatalogueKeyIsReportedAndTheDialogNeverOpens) {
    ProgramCopy copy(L"nocatalogue");
    // Hide the catalogue in this private prefix, and bring it back afterwards.
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion",
                            0, KEY_ALL_ACCESS, &root),
              ERROR_SUCCESS);
    ASSERT_EQ(RegRenameKey(root, L"Time Zones", L"Time Zones (hidden by test)"), ERROR_SUCCESS);
    struct Restore {
        HKEY root;
        ~Restore() {
            RegRenameKey(root, L"Time Zones (hidden by test)", L"Time Zones");
            RegCloseKey(root);
        }
    } restore{root};

    SettingsRun run(copy.Program());
    const HWND box = run.WaitForWindow(kProgramTitle);
    ASSERT_NE(box, nullptr);
    std::wstring text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    EXPECT_NE(text.find(L"Unable to locate Time Zones information in Registry under the key: \r\n" +
                        std::wstring(kCatalogueKey)),
              std::wstring::npos)
        << utf8::FromWide(text);
    FindData dialog{run.ProcessId(), kSettingsCaption};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&dialog));
    EXPECT_EQ(dialog.found, nullptr) << "the dialog was shown";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_EQ(ReadBytes(copy.ClockFile()), "<missing>");
    EXPECT_TRUE(StoreValues().empty());
}

}  // namespace

namespace {

// The maker label's pointer in the program's resources: 32 x 32, hot spot on the fingertip.
TEST(SettingsResources, HandCursorHasItsHotSpotAtColumnFiveOfTheTopRow) {
    const HMODULE program =
        LoadLibraryExW(Env(L"PELLOX_SCR").c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const HCURSOR hand = static_cast<HCURSOR>(
        LoadImageW(program, MAKEINTRESOURCEW(101), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    ASSERT_NE(hand, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 0u);
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_TRUE(info.hbmColor != nullptr);  // the colour image beside the mask
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(hand);
    FreeLibrary(program);
}

}  // namespace
