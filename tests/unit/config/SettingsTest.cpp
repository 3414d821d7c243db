// frmSettings against fakes, for what the real dialogs cannot reach cheaply: stored values that
// cannot be applied, short and empty catalogues, the other Windows family's key, and where a
// failing Update stops. The dialogs themselves: tests/contract/SettingsDialogSuite.cpp.
#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "config/frmSettings.h"
#include "fakes/FakeClockFiles.h"
#include "fakes/FakeProgramPorts.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"

namespace {

using Positions = std::vector<int>;

// The dialog's controls in memory; like a real list, it refuses positions outside itself.
class FakeView : public SettingsView {
  public:
    struct Row {
        std::wstring caption;
        std::vector<std::wstring> entries;
        int index = -1, check = 0;
    };
    std::array<Row, kZoneRows> rows;
    int closed = 0;

    std::wstring CaptionText(int row) const override { return rows[row].caption; }
    void SetCaptionText(int row, const std::wstring& text) override { rows[row].caption = text; }
    void AddListEntry(int row, const std::wstring& text) override {
        rows[row].entries.push_back(text);
    }
    int ListCount(int row) const override { return static_cast<int>(rows[row].entries.size()); }
    int ListIndex(int row) const override { return rows[row].index; }
    void SetListIndex(int row, int index) override {
        if (index < -1 || index >= ListCount(row)) throw AppError(380, L"Invalid property value");
        rows[row].index = index;
    }
    std::wstring ListText(int row) const override {
        return rows[row].index < 0 ? L"" : rows[row].entries[rows[row].index];
    }
    int CheckState(int row) const override { return rows[row].check; }
    void SetCheckState(int row, int state) override { rows[row].check = state; }
    void Close() override { ++closed; }
};

// The dialog's form with fakes all round.
struct Settings {
    // count zones "(GMT+hh:mm) Zone i", i minutes east, sorted as created; named[i] is zone i's
    // key name.
    explicit Settings(int count, const std::map<int, std::string>& named = {}) {
        registry.Key(kTimeZonesKeyNT);
        for (int i = 0; i < count; ++i) {
            const auto it = named.find(i);
            const std::string key = it != named.end() ? it->second : "Key " + std::to_string(i);
            wchar_t display[64];
            std::swprintf(display, 64, L"(GMT+%02d:%02d) Zone %03d", i / 60, i % 60, i);
            registry.AddSubkey(kTimeZonesKeyNT, key);
            registry.SetText(kTimeZonesKeyNT + ("\\" + key), "Display", utf8::FromWide(display));
        }
    }
    Positions Indexes() const {
        Positions result;
        for (const auto& row : view.rows) result.push_back(row.index);
        return result;
    }

    FakeRegistry registry;
    FakeVersion version;
    FoldingCompare compare;
    FakeFolder folder;
    FakeMessages messages;
    FakePointer pointer;
    FakeShell shell;
    FakeStore store;
    FakeFiles files;
    FakeLocalZone localZone;
    FakeClockFileSource clockFiles;
    Utf8CodePage ansi;
    FakeView view;
    frmSettings form{view, SettingsPorts{registry, version, compare, ansi, folder, messages,
                                         pointer, shell, store, files, localZone, clockFiles}};
};

TEST(SettingsForm, DefaultZonesByKeyNameElseByPositionElseTheFirstEntry) {
    const std::map<int, std::string> named = {{5, "GMT Standard Time"},
                                              {10, "Eastern Standard Time"},
                                              {20, "Pacific Standard Time"},
                                              {30, "China Standard Time"},
                                              {35, "Tokyo Standard Time"}};
    const struct {
        int count;
        std::map<int, std::string> named;
        const wchar_t* localZone;
        Positions expected;
    } cases[] = {
        {80, named, L"tokyo STANDARD time", {5, 10, 20, 30, 35}},  // names compare without case
        {80, {}, L"Tokyo Standard Time", {1, 61, 69, 31, 42}},
        {40, {{35, "Tokyo Standard Time"}}, L"Tokyo Standard Time", {1, 0, 0, 31, 35}},
        {42, {}, L"", {1, 0, 0, 31, 0}},
        {43, {}, L"", {1, 0, 0, 31, 42}},
    };
    for (const auto& c : cases) {
        Settings dialog(c.count, c.named);
        dialog.localZone.keyName = c.localZone;
        ASSERT_TRUE(dialog.form.Form_Load());
        EXPECT_EQ(dialog.Indexes(), c.expected) << c.count << " zones";
        EXPECT_EQ(dialog.view.rows[4].entries.size(), static_cast<std::size_t>(c.count));
    }
}

TEST(SettingsForm, StoredValuesThatCannotBeAppliedCountAsAbsent) {
    Settings dialog(80);
    const struct {
        const wchar_t *zone, *dst;
        int position, check;
    } rows[] = {
        {L"79", L"2", 79, 2},   // the last entry, greyed
        {L"-1", L"1", 61, 1},   // no selection: the default
        {L"80", L"3", 69, 0},   // beyond the list, no such state
        {L"-2", L"-1", 31, 0},  // below -1
        {L"7x", L"", 42, 0},    // not numbers
    };
    for (int row = 0; row < kZoneRows; ++row) {
        dialog.store.Set(L"Zone" + std::to_wstring(row), rows[row].zone);
        dialog.store.Set(L"DST" + std::to_wstring(row), rows[row].dst);
    }
    ASSERT_TRUE(dialog.form.Form_Load());
    for (int row = 0; row < kZoneRows; ++row) {
        EXPECT_EQ(dialog.view.rows[row].index, rows[row].position) << row;
        EXPECT_EQ(dialog.view.rows[row].check, rows[row].check) << row;
    }

    const std::pair<const wchar_t*, std::optional<int>> numbers[] = {
        {L"-2147483648", INT_MIN}, {L"2147483647", INT_MAX}, {L"042", 42},
        {L"-1", -1},               {L"0", 0},                {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt}, {L"99999999999999999999", std::nullopt},
        {L"", std::nullopt},       {L"-", std::nullopt},     {L"+3", std::nullopt},
        {L" 3", std::nullopt},     {L"3 ", std::nullopt},    {L"0x10", std::nullopt}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseStoredInteger(text), value) << utf8::FromWide(text);
}

TEST(SettingsForm, CaptionsComeFromTheClockFileOnlyAndEmptyOnesFromTheDefaults) {
    Settings dialog(80);
    dialog.store.Set(L"Label0", L"NEVER READ");
    dialog.clockFiles.files[L"C:\\Program Files\\Pellox\\pellox2.xml"] = {
        {}, {ClockFileState::FewerRows, {{L"PARIS", L""}, {L"", L""}, {L" ", L""}}}};
    ASSERT_TRUE(dialog.form.Form_Load());
    const std::vector<std::wstring> expected = {L"PARIS", L"NEW YORK", L" ", L"HONG KONG",
                                                L"Local Time"};
    for (int row = 0; row < kZoneRows; ++row)
        EXPECT_EQ(dialog.view.rows[row].caption, expected[row]) << row;
}

TEST(SettingsForm, AFailingUpdateStopsAtTheFailingStep) {
    Settings dialog(80);
    ASSERT_TRUE(dialog.form.Form_Load());
    dialog.files.fail = true;  // the clock file: nothing stored, the dialog stays
    EXPECT_THROW(dialog.form.cmdUpdate_Click(), AppError);
    EXPECT_TRUE(dialog.store.puts.empty());
    EXPECT_EQ(dialog.view.closed, 0);

    dialog.files.fail = false;
    dialog.store.failOnPut = 4;  // the store, at DST1: the new file and what was put stay
    dialog.view.rows[0].index = -1;
    EXPECT_THROW(dialog.form.cmdUpdate_Click(), AppError);
    EXPECT_EQ(dialog.files.files.size(), 1u);
    EXPECT_EQ(dialog.store.puts, (std::vector<std::pair<std::wstring, std::wstring>>{
                                     {L"Zone0", L"-1"},
                                     {L"DST0", L"0"},
                                     {L"Label0", L"LONDON"},
                                     {L"Zone1", L"61"}}));
    EXPECT_EQ(dialog.view.closed, 0);
}

TEST(SettingsForm, AnEmptyCatalogueOrTheOtherFamilysMissingKeyIsReported) {
    Settings empty(0);
    EXPECT_FALSE(empty.form.Form_Load());
    ASSERT_EQ(empty.messages.shown.size(), 1u);
    EXPECT_EQ(empty.messages.shown[0].buttons, mb::OkOnly);
    EXPECT_EQ(empty.messages.shown[0].title, kProgramTitle);

    Settings old(3);
    old.version.platformId = 1;  // Windows 95, 98, ME
    EXPECT_FALSE(old.form.Form_Load());
    ASSERT_EQ(old.messages.shown.size(), 1u);
    EXPECT_EQ(old.messages.shown[0].prompt,
              L"Unable to locate Time Zones information in Registry under the key: \r\n"
              L"Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones");
    EXPECT_TRUE(old.store.gets.empty());
    EXPECT_TRUE(old.view.rows[0].entries.empty());
}

}  // namespace
