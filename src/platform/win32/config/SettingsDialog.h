#pragma once
// The settings dialog on Windows: shows frmSettings modally and returns when it has closed.
#include <windows.h>

#include <string>
#include <vector>

#include "config/frmSettings.h"
#include "platform/win32/Win32Handles.h"

// Control identifiers, for the program's tests and tools that drive the dialog.
namespace settings_ids {
inline constexpr int cmdUpdate = 100;
inline constexpr int cmdCancel = 101;
inline constexpr int cmdDaylight = 102;  // sets the DST boxes from today's rules
inline constexpr int lstTimeZone = 110;  // + row
inline constexpr int txtLabel = 120;     // + row
inline constexpr int chkDST = 130;       // + row
inline constexpr int lblHint = 140;      // + row: today's daylight time beside the DST box
inline constexpr int Label1 = 200;       // + index 0 to 14
inline constexpr int Label2 = 220;
inline constexpr int lblOvanta = 221;
}  // namespace settings_ids

inline constexpr const wchar_t* kSettingsCaption = settings::kDialogCaption;

enum class SettingsFont { Dialog, List, Maker, Button };

// One control of the dialog: its text and place (client pixels) at a DPI.
struct SettingsControl {
    int id;
    std::wstring text;
    std::wstring windowClass;
    RECT place;
    SettingsFont font;
};

// The controls in tab order, placed for the DPI (the layout is in twips: 1440 an inch).
std::vector<SettingsControl> SettingsLayout(UINT dpi);
UniqueFont MakeSettingsFont(SettingsFont kind, UINT dpi);

// Failures that no handler catches are reported and end the program.
void ShowSettingsDialog(const SettingsPorts& ports);
// The same with the platform's own adapters.
void ShowSettingsDialog();
