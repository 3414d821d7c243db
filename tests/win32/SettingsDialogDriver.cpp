// The dialog suite's driver for a copy of pelloxss.scr /c under Wine, driven with window messages,
// in a private copy of the prefix (run-dialog-suite.sh): store, catalogue, web handler may change.
#include <windows.h>

#include <gtest/gtest.h>

#include "contract/SettingsDialogDriver.h"
#include "platform/Platform.h"
#include "platform/win32/config/SettingsDialog.h"
#include "resources/resource.h"
#include "support/Process.h"
#include "support/TempFolder.h"
#include "support/Win32Windows.h"

namespace {

namespace ids = settings_ids;
const wchar_t* kStore = L"Software\\VB and VBA Program Settings\\PELLOXSS";

class Win32DialogDriver final : public SettingsDialogDriver {
  public:
    Win32DialogDriver() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore);
        std::error_code ignored;
        std::filesystem::remove_all(UserFolder(), ignored);
        CopyFileW(Env(L"PELLOX_SCR").c_str(), program_.c_str(), FALSE);
        // Web addresses open with a command that writes them to a file.
        const std::wstring command =
            L"cmd.exe /c echo %1>\"" + (folder_ / "opened.txt").wstring() + L"\"";
        for (const wchar_t* key : {L"http\\shell\\open\\command", L"https\\shell\\open\\command"})
            RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    ~Win32DialogDriver() override {
        run_.reset();  // (the next driver empties the user's folder)
        if (lock_ != INVALID_HANDLE_VALUE) CloseHandle(lock_);
        if (hidden_) {  // Wine may have made a new, empty key meanwhile
            RegDeleteTreeW(hidden_, L"Time Zones");
            RegRenameKey(hidden_, L"Time Zones (hidden)", L"Time Zones");
            RegCloseKey(hidden_);
        }
    }

    std::filesystem::path Folder() override { return program_.parent_path(); }
    SettingsStore& Store() override { return *ports_.store; }
    std::filesystem::path UserFolder() override { return MakeProgramFolder()->UserPath(); }
    bool Prepare(Obstacle obstacle) override {
        if (obstacle == Obstacle::ReadOnlyFolder) {
            // Made by run-dialog-suite.sh when the file system allows it (chattr +i).
            program_ = std::filesystem::path(Env(L"PELLOX_READONLY_FOLDER")) / "pelloxss.scr";
            return !Env(L"PELLOX_READONLY_FOLDER").empty();
        }
        if (obstacle == Obstacle::LockedClockFile) {
            lock_ = CreateFileW(folder_.Write("pellox2.xml", "old clock file").c_str(),
                                GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            return lock_ != INVALID_HANDLE_VALUE;
        }
        return !RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                              L"Software\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_ALL_ACCESS,
                              &hidden_) &&
               !RegRenameKey(hidden_, L"Time Zones", L"Time Zones (hidden)");
    }

    bool Open() override {
        run_ = std::make_unique<TestProcess>(program_, std::vector<std::string>{"/c"});
        WaitUntil([&] {
            const auto dialogs = WindowsOf(run_->Id(), kSettingsCaption);
            dialog_ = dialogs.empty() ? nullptr : dialogs[0];
            return dialog_ || !WindowsOf(run_->Id(), kProgramTitle).empty() || !run_->Running();
        });
        return dialog_ != nullptr;
    }
    int Selected(int row) override { return Send(ids::lstTimeZone + row, CB_GETCURSEL); }
    int Count(int row) override { return Send(ids::lstTimeZone + row, CB_GETCOUNT); }
    std::wstring Caption(int row) override { return TextOf(Item(ids::txtLabel + row)); }
    int Check(int row) override { return Send(ids::chkDST + row, BM_GETCHECK); }
    std::wstring Hint(int row) override { return TextOf(Item(ids::lblHint + row)); }
    Control Focused() override { return ControlOf(FocusOf(dialog_)); }
    Control NextInTabOrder() override {
        return ControlOf(GetNextDlgTabItem(dialog_, Item(ids::cmdUpdate), FALSE));
    }

    void Select(int row, int position) override {
        Send(ids::lstTimeZone + row, CB_SETCURSEL, static_cast<WPARAM>(position));
        SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(ids::lstTimeZone + row, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Item(ids::lstTimeZone + row)));
    }
    void SetCaption(int row, const std::wstring& text) override {
        Send(ids::txtLabel + row, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void ClickCheck(int row) override { Send(ids::chkDST + row, BM_CLICK); }
    // Clicks that close the dialog or open a message box are posted.
    void Click(Control button) override {
        if (button == Control::Daylight) return static_cast<void>(Send(ids::cmdDaylight, BM_CLICK));
        PostMessageW(Item(button == Control::Update ? ids::cmdUpdate : ids::cmdCancel), BM_CLICK, 0,
                     0);
    }
    void CloseWindow() override { PostMessageW(dialog_, WM_CLOSE, 0, 0); }
    std::wstring ClickMaker() override {
        PostMessageW(Item(ids::lblOvanta), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(Item(ids::lblOvanta), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        std::string text;
        WaitUntil(
            [&] { return (text = ReadBytes(folder_ / "opened.txt")).find('\n') != text.npos; });
        std::wstring address;  // the first line, without quotes and blanks
        for (char c : text.substr(0, text.find_first_of("\r\n")))
            if (c != '"' && c != ' ') address += static_cast<wchar_t>(c);
        return address;
    }

    bool Closed() override { return run_->WaitForExit() == 0; }
    std::wstring Report() override {
        const std::wstring text = DismissMessageBox(run_->Id(), kProgramTitle);
        const bool ended = run_->WaitForExit().has_value();
        if (lock_ != INVALID_HANDLE_VALUE) CloseHandle(lock_);  // the suite reads the file
        lock_ = INVALID_HANDLE_VALUE;
        return ended ? text : text + L" (the program still runs)";
    }

    HWND Item(int id) { return GetDlgItem(dialog_, id); }
    int Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return static_cast<int>(SendMessageW(Item(id), message, wParam, lParam));
    }
    Control ControlOf(HWND window) {
        return window == Item(ids::cmdUpdate)   ? Control::Update
               : window == Item(ids::cmdCancel) ? Control::Cancel
                                                : Control::Other;
    }

    TempFolder folder_{"dialog"};
    std::filesystem::path program_ = folder_ / "pelloxss.scr";
    SettingsAdapters ports_ = MakeSettingsAdapters();
    std::unique_ptr<TestProcess> run_;
    HWND dialog_ = nullptr;
    HANDLE lock_ = INVALID_HANDLE_VALUE;
    HKEY hidden_ = nullptr;
};

}  // namespace

std::unique_ptr<SettingsDialogDriver> MakeSettingsDialogDriver() {
    return std::make_unique<Win32DialogDriver>();
}

// Only on Windows: the maker label's pointer is the program's own 32 x 32 hand with its hot spot
// on the fingertip.
TEST(SettingsDialogOnWindows, TheMakersHand) {
    const HMODULE program =
        LoadLibraryExW(Env(L"PELLOX_SCR").c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    const auto hand = static_cast<HCURSOR>(
        LoadImageW(program, MAKEINTRESOURCEW(IDC_OVANTA_HAND), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 0u);
    EXPECT_NE(info.hbmColor, nullptr);  // a colour image beside the mask
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(hand);
    FreeLibrary(program);
}
