// The Windows adapters beyond what the shared suites reach: the store's value types, the pointer
// override, the ANSI code page, and the dialog's texts at every scale.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/win32/Win32Ports.h"
#include "platform/win32/app/Win32ProgramPorts.h"
#include "platform/win32/config/SettingsDialog.h"

namespace {

// The store's REG_SZ values where the old runtime kept them (another type counts as absent, an
// empty one is a value); the pointer override; ANSI text with NULs and high bytes both ways.
TEST(ProgramAdapters, StorePointerAndCodePage) {
    const SettingsAdapters ports = MakeSettingsAdapters();
    const std::wstring app = L"PELLOXSS-TEST-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring key = L"Software\\VB and VBA Program Settings\\" + app;
    ports.store->SaveSetting(app, L"Config", L"Empty", L"");
    ports.store->SaveSetting(app, L"Config", L"Zone0", L"7");
    wchar_t zone[8] = {};
    DWORD size = sizeof zone;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, (key + L"\\Config").c_str(), L"Zone0", RRF_RT_REG_SZ,
                           nullptr, zone, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(zone, L"7");
    const DWORD number = 5;
    RegSetKeyValueW(HKEY_CURRENT_USER, (key + L"\\Config").c_str(), L"DST0", REG_DWORD, &number,
                    sizeof number);
    EXPECT_EQ(ports.store->GetSetting(app, L"Config", L"DST0", L"none"), L"none");
    EXPECT_EQ(ports.store->GetSetting(app, L"Config", L"Empty", L"none"), L"");
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());

    ports.pointer->SetMousePointer(PointerShape::Hourglass);
    EXPECT_TRUE(PointerOverrideActive());
    ports.pointer->SetMousePointer(PointerShape::Default);
    EXPECT_FALSE(PointerOverrideActive());
    const std::string bytes("abc\0\xe9\x80", 6);
    EXPECT_EQ(Win32AnsiCodePage().FromWide(Win32AnsiCodePage().ToWide(bytes)), bytes);
}

// Every label and button of the dialog keeps its text inside its control at 100%, 150% and
// 200%: measured with the control's own font, wrapped as a static control wraps it.
TEST(SettingsLayout, TextStaysInsideItsControlAtEveryScale) {
    const HDC screen = GetDC(nullptr);
    for (const UINT dpi : {96u, 144u, 192u}) {
        const std::vector<SettingsControl> controls = SettingsLayout(dpi);
        ASSERT_EQ(controls.size(),
                  2u + 3u * 5u + 15u + 2u + 5u + 1u);  // the hints and their button
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
        EXPECT_EQ(controls[0].place.right - controls[0].place.left,
                  MulDiv(2055, static_cast<int>(dpi), 1440));
    }
    ReleaseDC(nullptr, screen);
}

}  // namespace
