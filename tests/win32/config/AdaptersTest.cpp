// The program-level adapters against the real Win32 API of the Wine prefix.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

#include <fstream>
#include <sstream>

#include "config/frmSettings.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/ProgramPorts.h"
#include "platform/TextEncoding.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/app/Win32ProgramPorts.h"
#include "platform/win32/config/SettingsDialog.h"
#include "timezones/MTimeZone.h"

namespace {

std::wstring TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"pellox-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

int CountFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    int count = 0;
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

TEST(ProgramAdapters, FileReplacerWritesExactBytesAndKeepsTheOldFileOnFailure) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    const std::wstring folder = TempFolder(L"replace");
    const std::wstring path = folder + L"\\pellox2.xml";
    const std::string first("first\r\nbytes\0\xff", 14);
    ports.files->ReplaceFile(path, first);
    EXPECT_EQ(ReadBytes(path), first);
    ports.files->ReplaceFile(path, "second");
    EXPECT_EQ(ReadBytes(path), "second");
    EXPECT_EQ(CountFiles(folder), 1);  // no temporary file left

    // A file held open without sharing cannot be replaced: permission denied, naming the
    // file; the old content stays and the temporary file is removed.
    const HANDLE lock =
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    try {
        ports.files->ReplaceFile(path, "third");
        ADD_FAILURE() << "the locked file was replaced";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, errnum::PermissionDenied);
        EXPECT_NE(error.Description.find(path), std::wstring::npos);
    }
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(path), "second");
    EXPECT_EQ(CountFiles(folder), 1);

    // A folder that does not exist.
    try {
        ports.files->ReplaceFile(folder + L"\\missing\\pellox2.xml", "x");
        ADD_FAILURE() << "a file was written into a missing folder";
    } catch (const AppError& error) {
        EXPECT_NE(error.Description.find(L"missing\\pellox2.xml"), std::wstring::npos);
    }
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(ProgramAdapters, StoreKeepsStringsWhereTheOldRuntimeKeptThem) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    const std::wstring app = L"PELLOXSS-ADAPTER-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring keyPath = L"Software\\VB and VBA Program Settings\\" + app + L"\\Config";
    SettingsStore& store = *ports.store;

    EXPECT_EQ(store.GetSetting(app, L"Config", L"Zone0", L"-1"), L"-1");
    store.SaveSetting(app, L"Config", L"Zone0", L"61");
    store.SaveSetting(app, L"Config", L"Label0", L"Z\u00fcrich, CH");
    store.SaveSetting(app, L"Config", L"Empty", L"");
    EXPECT_EQ(store.GetSetting(app, L"Config", L"Zone0", L"-1"), L"61");
    EXPECT_EQ(store.GetSetting(app, L"Config", L"Label0", L""), L"Z\u00fcrich, CH");
    EXPECT_EQ(store.GetSetting(app, L"Config", L"Empty", L"default"), L"");
    store.SaveSetting(app, L"Config", L"Zone0", L"3");
    EXPECT_EQ(store.GetSetting(app, L"Config", L"Zone0", L"-1"), L"3");

    // The value is a REG_SZ under HKEY_CURRENT_USER, readable with the ANSI call the old
    // program used.
    char data[64] = {};
    DWORD size = sizeof data, type = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, std::string(keyPath.begin(), keyPath.end()).c_str(),
                           "Zone0", RRF_RT_ANY, &type, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(data, "3");

    // A value of another type counts as absent.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const DWORD number = 5;
    RegSetValueExW(key, L"DST0", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegCloseKey(key);
    EXPECT_EQ(store.GetSetting(app, L"Config", L"DST0", L"none"), L"none");

    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\VB and VBA Program Settings\\" + app).c_str());
}

TEST(ProgramAdapters, FolderPointerAndLocalZone) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expected = module;
    expected.erase(expected.find_last_of(L'\\'));
    EXPECT_EQ(ports.folder->Path(), expected);

    EXPECT_FALSE(PointerOverrideActive());
    ports.pointer->SetMousePointer(PointerShape::Hourglass);
    EXPECT_TRUE(PointerOverrideActive());
    EXPECT_EQ(ports.pointer->MousePointer(), PointerShape::Hourglass);
    ports.pointer->SetMousePointer(PointerShape::Default);
    EXPECT_FALSE(PointerOverrideActive());

    // The system's zone is one of the catalogue's keys.
    const std::wstring local = ports.localZone->CurrentZoneKeyName();
    ASSERT_FALSE(local.empty());
    const SettingsAdapters system = MakeSettingsAdapters();
    MTimeZone catalogue(*system.registry, *system.version, *system.textCompare, *system.ansi);
    ASSERT_TRUE(catalogue.LoadTimeZoneCatalogue(kTimeZonesKeyNT));
    bool found = false;
    for (const auto& zone : catalogue.TimeZones) found = found || zone.KeyName == local;
    EXPECT_TRUE(found);
}

}  // namespace

namespace {

// Every label and button of the dialog keeps its text inside its control at 100%, 150% and
// 200%: measured with the control's own font, wrapped as a static control wraps it.
TEST(SettingsLayout, TextStaysInsideItsControlAtEveryScale) {
    const HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    for (const UINT dpi : {96u, 144u, 192u}) {
        const std::vector<SettingsControl> controls = SettingsLayout(dpi);
        ASSERT_EQ(controls.size(), 2u + 3u * 5u + 15u + 2u);
        EXPECT_EQ(controls[0].id, settings_ids::cmdUpdate);
        EXPECT_EQ(controls[1].id, settings_ids::cmdCancel);
        for (const SettingsControl& control : controls) {
            if (control.text.empty()) continue;
            const UniqueFont font = MakeSettingsFont(control.font, dpi);
            const HGDIOBJ old = SelectObject(screen, font.Get());
            const bool button = control.windowClass == WC_BUTTONW;
            // A push button draws its text inside a frame of a few pixels.
            const int inset = button ? MulDiv(4, static_cast<int>(dpi), 96) : 0;
            const int width = control.place.right - control.place.left - 2 * inset;
            const int height = control.place.bottom - control.place.top - 2 * inset;
            RECT needed{0, 0, width, 0};
            DrawTextW(screen, control.text.c_str(), -1, &needed,
                      DT_CALCRECT | DT_NOPREFIX | (button ? DT_SINGLELINE : DT_WORDBREAK));
            SelectObject(screen, old);
            EXPECT_LE(needed.right, width) << utf8::FromWide(control.text) << " at " << dpi;
            EXPECT_LE(needed.bottom, height) << utf8::FromWide(control.text) << " at " << dpi;
        }
        // The layout scales with the DPI: the Update button spans 2055 twips.
        const RECT& update = controls[0].place;
        EXPECT_EQ(update.right - update.left, MulDiv(2055, static_cast<int>(dpi), 1440));
    }
    ReleaseDC(nullptr, screen);
}

}  // namespace
