#pragma once
// The settings dialog on Windows: shows frmSettings modally and returns when it has closed.
#include "config/frmSettings.h"

// Control identifiers, for the program's tests and tools that drive the dialog.
namespace settings_ids {
inline constexpr int cmdUpdate = 100;
inline constexpr int cmdCancel = 101;
inline constexpr int lstTimeZone = 110;  // + row
inline constexpr int txtLabel = 120;     // + row
inline constexpr int chkDST = 130;       // + row
inline constexpr int Label1 = 200;       // + index 0 to 14
inline constexpr int Label2 = 220;
inline constexpr int lblOvanta = 221;
}  // namespace settings_ids

inline constexpr const wchar_t* kSettingsCaption = L"Pellox Screensaver Properties";

// Failures that no handler catches are reported and end the program.
void ShowSettingsDialog(const SettingsPorts& ports);
