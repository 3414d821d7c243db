#include "config/frmSettings.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cwctype>

#include "config/MakerAddress.h"
#include "shell/OpenWebLink.h"
#include "timezones/GmtOffset.h"

namespace {

std::wstring RowKey(const wchar_t* word, int row) {
    return word + std::to_wstring(row);
}

bool SameKeyName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<int> ParseStoredInteger(const std::wstring& text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == L'-';
    if (negative) i = 1;
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
}

frmSettings::frmSettings(SettingsView& view, const SettingsPorts& ports)
    : view_(view),
      ports_(ports),
      catalogue_(ports.registry, ports.version, ports.textCompare, ports.ansi) {}

bool frmSettings::Form_Load() {
    return FillTimeZoneLists();
}

bool frmSettings::FillTimeZoneLists() {
    const std::string key = catalogueKey_ = catalogue_.CatalogueKey();
    // A key that opens but holds no zones is as useless as a missing one.
    if (!catalogue_.LoadTimeZoneCatalogue(key) || catalogue_.TimeZones.empty()) {
        ports_.messages.MsgBox(
            settings::kCatalogueFailure + std::wstring(L"\r\n") + WidenAscii(key), mb::OkOnly,
            kProgramTitle);
        return false;
    }
    for (const TimeZoneRecord& zone : catalogue_.TimeZones) {
        for (int row = 0; row < kZoneRows; ++row) view_.AddListEntry(row, zone.Display);
    }
    LoadSettings();
    for (int row = 0; row < kZoneRows; ++row) ShowHint(row);
    return true;
}

int frmSettings::DefaultPosition(int row) {
    const int count = view_.ListCount(row);
    if (count <= 0) return -1;
    const std::wstring keyName = row < static_cast<int>(settings::kDefaultZoneKeys.size())
                                     ? std::wstring(settings::kDefaultZoneKeys[row])
                                     : ports_.localZone.CurrentZoneKeyName();
    const int named = PositionOfKey(row, keyName);
    if (named >= 0) return named;
    const int position = settings::kDefaultPositions[row];
    return position < count ? position : 0;
}

int frmSettings::PositionOfKey(int row, const std::wstring& keyName) const {
    if (keyName.empty()) return -1;
    const TimeZoneList& zones = catalogue_.TimeZones;
    const auto count = static_cast<std::size_t>(std::max(view_.ListCount(row), 0));
    for (std::size_t i = 0; i < zones.size() && i < count; ++i) {
        if (SameKeyName(zones[i].KeyName, keyName)) return static_cast<int>(i);
    }
    return -1;
}

void frmSettings::LoadSettings() {
    using namespace settings;
    SettingsStore& store = ports_.store;
    for (int row = 0; row < kZoneRows; ++row) {
        // Values that cannot be applied count as absent. The zone's key name, when today's
        // catalogue has it, wins over its position: a catalogue that gained or lost a zone
        // since the save moves the positions, not the names.
        const std::optional<int> zone =
            ParseStoredInteger(store.GetSetting(kAppName, kSection, RowKey(L"Zone", row), L"-1"));
        const bool zoneFits = zone && *zone >= -1 && *zone < view_.ListCount(row);
        const int named =
            PositionOfKey(row, store.GetSetting(kAppName, kSection, RowKey(kZoneKey, row), L""));
        view_.SetListIndex(row, named >= 0 ? named : zoneFits ? *zone : -1);

        const std::optional<int> dst =
            ParseStoredInteger(store.GetSetting(kAppName, kSection, RowKey(L"DST", row), L""));
        if (dst && *dst >= 0 && *dst <= 2) view_.SetCheckState(row, *dst);
    }

    // A missing or unreadable file gives empty captions, and so the defaults below.
    const RowTexts captions =
        ports_.clockFiles
            .Read(ClockFileInUse(ports_.clockFiles, ClockFilePath(ports_.folder.Path()),
                                 ports_.folder.UserPath()))
            .Captions();
    for (int row = 0; row < kZoneRows; ++row) view_.SetCaptionText(row, captions[row]);

    for (int row = 0; row < kZoneRows; ++row) {
        if (view_.ListIndex(row) == -1) view_.SetListIndex(row, DefaultPosition(row));
    }
    for (int row = 0; row < kZoneRows; ++row) {
        if (view_.CaptionText(row).empty()) view_.SetCaptionText(row, kDefaultCaptions[row]);
    }
}

void frmSettings::SaveSettings() {
    using namespace settings;
    SettingsStore& store = ports_.store;
    for (int row = 0; row < kZoneRows; ++row) {
        store.SaveSetting(kAppName, kSection, RowKey(L"Zone", row),
                          std::to_wstring(view_.ListIndex(row)));
        store.SaveSetting(kAppName, kSection, RowKey(L"DST", row),
                          std::to_wstring(view_.CheckState(row)));
        store.SaveSetting(kAppName, kSection, RowKey(L"Label", row), view_.CaptionText(row));
    }
    // The zones' key names come after the fifteen values that older versions read.
    const TimeZoneList& zones = catalogue_.TimeZones;
    for (int row = 0; row < kZoneRows; ++row) {
        const int index = view_.ListIndex(row);
        const bool selected = index >= 0 && index < static_cast<int>(zones.size());
        store.SaveSetting(kAppName, kSection, RowKey(kZoneKey, row),
                          selected ? zones[index].KeyName : std::wstring());
    }
}

void frmSettings::cmdUpdate_Click() {
    RowTexts offsets;
    for (int row = 0; row < kZoneRows; ++row) {
        offsets[row] = GetGmtOffset(view_.ListText(row), view_.CheckState(row) != 0);
    }
    RowTexts captions;
    for (int row = 0; row < kZoneRows; ++row) captions[row] = RemoveCommas(view_.CaptionText(row));

    // A file already in the user's folder stays there (it is the one the player reads);
    // otherwise the program's folder, and the user's when that one refuses the write.
    const std::wstring user = ports_.folder.UserPath();
    if (ClockFileInUse(ports_.clockFiles, ClockFilePath(ports_.folder.Path()), user) !=
        ClockFilePath(user)) {
        WriteClockFile(ports_.files, ports_.folder.Path(), captions, offsets, user);
    } else {
        WriteClockFile(ports_.files, user, captions, offsets);
    }
    SaveSettings();
    view_.Close();
}

void frmSettings::cmdCancel_Click() {
    view_.Close();
}

void frmSettings::lblOvanta_Click() {
    OpenWebLink(ports_.shell, ports_.pointer, ports_.ansi, kMakerAddress);
}

void frmSettings::lstTimeZone_Click(int row) {
    ShowHint(row);
}

void frmSettings::chkDST_Click(int row) {
    ShowHint(row);
}

void frmSettings::cmdDaylight_Click() {
    for (int row = 0; row < kZoneRows; ++row) {
        const DaylightStatus status = TodaysStatus(row);
        if (BoxDisagrees(status, view_.CheckState(row)))
            view_.SetCheckState(row, status.state == DaylightState::Daylight ? 1 : 0);
        view_.SetHint(row, DaylightRowHint(status, view_.CheckState(row)));
    }
}

DaylightStatus frmSettings::TodaysStatus(int row) {
    const int index = view_.ListIndex(row);
    const TimeZoneList& zones = catalogue_.TimeZones;
    if (index < 0 || index >= static_cast<int>(zones.size())) return {};
    auto rules = rules_.find(index);
    if (rules == rules_.end())
        rules = rules_.emplace(index, catalogue_.ReadZoneRules(catalogueKey_, zones[index])).first;
    // Today: the system's clock now, in milliseconds since 1970 UTC.
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return DaylightStatusAt(rules->second, now.count());
}

void frmSettings::ShowHint(int row) {
    if (view_.ListIndex(row) < 0) {
        view_.SetHint(row, {});
        return;
    }
    view_.SetHint(row, DaylightRowHint(TodaysStatus(row), view_.CheckState(row)));
}
