#pragma once
// The settings dialog's logic: filling the five zone lists from the catalogue, restoring and
// saving the rows, Update, Cancel and the maker label. The window itself lives in the platform
// folder and shows the controls through SettingsView.

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "config/ClockFile.h"
#include "platform/ProgramPorts.h"
#include "platform/SystemVersion.h"
#include "platform/TextCompare.h"
#include "platform/TextEncoding.h"
#include "platform/mRegistry.h"
#include "timezones/DaylightRules.h"
#include "timezones/MTimeZone.h"

// The dialog's controls, per zone row 0 to 4: the caption box (txtLabel), the zone list
// (lstTimeZone) and the DST check box (chkDST).
class SettingsView {
  public:
    virtual ~SettingsView() = default;
    virtual std::wstring CaptionText(int row) const = 0;
    virtual void SetCaptionText(int row, const std::wstring& text) = 0;
    virtual void AddListEntry(int row, const std::wstring& text) = 0;
    virtual int ListCount(int row) const = 0;
    // The selected position, -1 when nothing is selected.
    virtual int ListIndex(int row) const = 0;
    virtual void SetListIndex(int row, int index) = 0;
    // The selected entry's text, empty when nothing is selected.
    virtual std::wstring ListText(int row) const = 0;
    // 0 unchecked, 1 checked, 2 greyed.
    virtual int CheckState(int row) const = 0;
    virtual void SetCheckState(int row, int state) = 0;
    // The text beside the row's DST box; shown marked when it disagrees with the box.
    virtual void SetHint(int row, const RowHint& hint) = 0;
    // Closes the dialog.
    virtual void Close() = 0;
};

// What the dialog reaches outside itself.
struct SettingsPorts {
    mRegistry& registry;
    SystemVersion& version;
    const TextCompare& textCompare;
    const CodePage& ansi;  // of the registry's and the shell's "A" calls
    ProgramFolder& folder;
    MessageBoxPort& messages;
    PointerOverride& pointer;
    ShellPort& shell;
    SettingsStore& store;
    FileReplacer& files;
    LocalZone& localZone;
    ClockFileSource& clockFiles;
};

// The platform's adapters behind those ports, owned together for the life of the dialog.
struct SettingsAdapters {
    std::unique_ptr<mRegistry> registry;
    std::unique_ptr<SystemVersion> version;
    std::unique_ptr<TextCompare> textCompare;
    const CodePage* ansi = nullptr;  // lives as long as the program
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<MessageBoxPort> messages;
    std::unique_ptr<PointerOverride> pointer;
    std::unique_ptr<ShellPort> shell;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<FileReplacer> files;
    std::unique_ptr<LocalZone> localZone;
    std::unique_ptr<ClockFileSource> clockFiles;

    SettingsPorts Ports() const {
        return SettingsPorts{*registry, *version, *textCompare, *ansi,  *folder,    *messages,
                             *pointer,  *shell,   *store,       *files, *localZone, *clockFiles};
    }
};

namespace settings {
inline constexpr const wchar_t* kAppName = L"PELLOXSS";
inline constexpr const wchar_t* kSection = L"Config";
// Beside each row's Zone position: the zone's key name ("ZoneKey0" to "ZoneKey4"), which
// survives a change of the catalogue's order.
inline constexpr const wchar_t* kZoneKey = L"ZoneKey";
// Default zones by key name; the Local row takes the system's current zone.
inline constexpr std::array<const wchar_t*, 4> kDefaultZoneKeys = {
    L"GMT Standard Time", L"Eastern Standard Time", L"Pacific Standard Time",
    L"China Standard Time"};
// Positions used when a default zone's name is not in the catalogue.
inline constexpr std::array<int, kZoneRows> kDefaultPositions = {1, 61, 69, 31, 42};
inline constexpr std::array<const wchar_t*, kZoneRows> kDefaultCaptions = {
    L"LONDON", L"NEW YORK", L"SAN FRANCISCO", L"HONG KONG", L"Local Time"};
// The dialog's texts, the same on every platform.
inline constexpr const wchar_t* kDialogCaption = L"Pellox Screensaver Properties";
inline constexpr const wchar_t* kHelpText =
    L"Check the DST boxes to adjust Zone & Local clocks to reflect Daylight Savings Time "
    L"(Summer). Uncheck them to revert to non-Daylight Savings Time (Winter). ";
inline constexpr const wchar_t* kMakerText = L"Developed by Ovanta";
// The row's name: "Zone 1" to "Zone 4", then "Local".
inline std::wstring RowName(int row) {
    return row < kZoneRows - 1 ? L"Zone " + std::to_wstring(row + 1) : L"Local";
}
inline constexpr const wchar_t* kCatalogueFailure =
    L"Unable to locate Time Zones information in Registry under the key: ";
}  // namespace settings

// A stored integer: an optional minus sign and decimal digits that fit 32 bits; anything else
// has no value.
std::optional<int> ParseStoredInteger(const std::wstring& text);

class frmSettings {
  public:
    frmSettings(SettingsView& view, const SettingsPorts& ports);

    // Runs FillTimeZoneLists. False when the catalogue could not be loaded: the failure was
    // reported and the dialog must not be shown.
    bool Form_Load();
    bool FillTimeZoneLists();
    void LoadSettings();
    // Writes the fifteen values, then the five zones' key names; failures (AppError) go to
    // the caller.
    void SaveSettings();

    // Writes the clock file, then the store, then closes. A failure stops the sequence at the
    // failing step and goes to the caller.
    void cmdUpdate_Click();
    void cmdCancel_Click();
    void lblOvanta_Click();
    // Choosing a zone or clicking a DST box shows the row's hint afresh.
    void lstTimeZone_Click(int row);
    void chkDST_Click(int row);
    // Sets each DST box that disagrees with its zone's rule for today; the others stay as
    // they are (a greyed box, which counts as on, stays greyed).
    void cmdDaylight_Click();

    const TimeZoneList& TimeZones() const { return catalogue_.TimeZones; }
    // The position a row falls back to when nothing is selected; -1 for an empty list.
    int DefaultPosition(int row);

  private:
    // The first catalogue position in the row's list of the zone keyed keyName (compared
    // without case); -1 when there is none.
    int PositionOfKey(int row, const std::wstring& keyName) const;
    // Today's status of the row's zone; no daylight time when nothing is selected.
    DaylightStatus TodaysStatus(int row);
    void ShowHint(int row);

    SettingsView& view_;
    SettingsPorts ports_;
    MTimeZone catalogue_;
    std::string catalogueKey_;
    std::map<int, ZoneRules> rules_;  // by catalogue position, read when first needed
};
