// frmSettings against fakes, for what the real dialogs cannot reach cheaply: stored values that
// cannot be applied, short and empty catalogues, the other Windows family's key, and where a
// failing Update stops. The dialogs themselves: tests/contract/SettingsDialogSuite.cpp.
#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "Fakes.h"
#include "config/frmSettings.h"

namespace {

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
    void SetHint(int, const RowHint&) override {}  // hints: the dialog suite
    void Close() override { ++closed; }
};

// The form with fakes all round and a catalogue of `count` zones in creation order, zone i
// keyed named[i] or "Key i".
struct Settings {
    explicit Settings(int count, const std::map<int, std::string>& named = {}) {
        registry.Key(kTimeZonesKeyNT);
        for (int i = 0; i < count; ++i)
            Add(named.count(i) ? named.at(i) : "Key " + std::to_string(i),
                std::to_string(1000 + i));
    }
    void Add(const std::string& key, const std::string& display) {
        registry.AddSubkey(kTimeZonesKeyNT, key);
        registry.SetText(kTimeZonesKeyNT + ("\\" + key), "Display", display);
    }
    std::vector<int> Indexes() const {
        std::vector<int> result;
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
    // clang-format off
    const std::map<int, std::string> named = {
        {5, "GMT Standard Time"}, {10, "Eastern Standard Time"}, {20, "Pacific Standard Time"},
        {30, "China Standard Time"}, {35, "Tokyo Standard Time"}};
    const std::tuple<int, std::map<int, std::string>, const wchar_t*, std::vector<int>> cases[] = {
        {80, named, L"tokyo STANDARD time", {5, 10, 20, 30, 35}},  // names compare without case
        {80, {}, L"Tokyo Standard Time", {1, 61, 69, 31, 42}},
        {40, {{35, "Tokyo Standard Time"}}, L"Tokyo Standard Time", {1, 0, 0, 31, 35}},
        {42, {}, L"", {1, 0, 0, 31, 0}}, {43, {}, L"", {1, 0, 0, 31, 42}}};
    // clang-format on
    for (const auto& [count, keys, localZone, expected] : cases) {
        Settings dialog(count, keys);
        dialog.localZone.keyName = localZone;
        ASSERT_TRUE(dialog.form.Form_Load());
        EXPECT_EQ(dialog.Indexes(), expected) << count << " zones";
    }
}

TEST(SettingsForm, StoredValuesThatCannotBeAppliedCountAsAbsent) {
    Settings dialog(80);
    // clang-format off
    const std::tuple<const wchar_t*, const wchar_t*, int, int> rows[] = {
        {L"79", L"2", 79, 2},   // the last entry, greyed
        {L"-1", L"1", 61, 1},   // no selection: the default
        {L"80", L"3", 69, 0},   // beyond the list, no such state
        {L"-2", L"-1", 31, 0},  // below -1
        {L"7x", L"", 42, 0}};   // not numbers
    // clang-format on
    for (int row = 0; row < kZoneRows; ++row) {
        dialog.store.Set(L"Zone" + std::to_wstring(row), std::get<0>(rows[row]));
        dialog.store.Set(L"DST" + std::to_wstring(row), std::get<1>(rows[row]));
    }
    ASSERT_TRUE(dialog.form.Form_Load());
    for (int row = 0; row < kZoneRows; ++row) {
        EXPECT_EQ(dialog.view.rows[row].index, std::get<2>(rows[row])) << row;
        EXPECT_EQ(dialog.view.rows[row].check, std::get<3>(rows[row])) << row;
    }
    for (const auto& [text, value] : std::vector<std::pair<const wchar_t*, int>>{
             {L"-2147483648", INT_MIN}, {L"2147483647", INT_MAX}, {L"042", 42}, {L"-1", -1}})
        EXPECT_EQ(ParseStoredInteger(text), value) << utf8::FromWide(text);
    for (const wchar_t* text : {L"2147483648", L"-2147483649", L"99999999999999999999", L"", L"-",
                                L"+3", L" 3", L"3 ", L"0x10"})
        EXPECT_EQ(ParseStoredInteger(text), std::nullopt) << utf8::FromWide(text);
}

TEST(SettingsForm, AFailingUpdateStopsAtTheFailingStep) {
    Settings dialog(80);
    ASSERT_TRUE(dialog.form.Form_Load());
    dialog.files.refuse = L"C:";  // the clock file: nothing stored, the dialog stays
    EXPECT_THROW(dialog.form.cmdUpdate_Click(), AppError);
    EXPECT_TRUE(dialog.store.puts.empty());
    dialog.files.refuse.clear();
    dialog.store.failOnPut = 4;  // the store, at DST1: the new file and what was put stay
    dialog.view.rows[0].index = -1;
    EXPECT_THROW(dialog.form.cmdUpdate_Click(), AppError);
    EXPECT_EQ(dialog.files.files.size(), 1u);
    EXPECT_EQ(dialog.store.puts,
              (std::vector<std::pair<std::wstring, std::wstring>>{
                  {L"Zone0", L"-1"}, {L"DST0", L"0"}, {L"Label0", L"LONDON"}, {L"Zone1", L"61"}}));
    EXPECT_EQ(dialog.view.closed, 0);
}

// A program folder that refuses the file sends the same bytes to the user's folder; one that
// takes it keeps today's file. Once in the user's folder, the file is read and written there.
TEST(SettingsForm, UpdateTurnsToTheUsersFolderWhenTheProgramsRefuses) {
    Settings dialog(80);
    dialog.folder.user = L"C:\\Users\\u\\PELLOXSS";
    const std::wstring program = L"C:\\Program Files\\Pellox\\pellox2.xml";
    const std::wstring user = L"C:\\Users\\u\\PELLOXSS\\pellox2.xml";
    ASSERT_TRUE(dialog.form.Form_Load());
    dialog.form.cmdUpdate_Click();
    const auto today = dialog.files.files;
    ASSERT_EQ(today.size(), 1u);
    dialog.files.refuse = L"C:\\Program Files";
    dialog.form.cmdUpdate_Click();
    EXPECT_EQ(dialog.files.files[user], today.at(program));
    dialog.files.refuse.clear();
    dialog.clockFiles.files[user] = {{1, 1}, FiveClocks()};
    dialog.clockFiles.files[user].file.rows[0].caption = L"ATLANTIS";
    dialog.form.LoadSettings();
    EXPECT_EQ(dialog.view.rows[0].caption, L"ATLANTIS");
    dialog.form.cmdUpdate_Click();
    EXPECT_EQ(dialog.files.files[user].find("ATLANTIS"), 41u);
    EXPECT_EQ(dialog.files.files[program], today.at(program));
}

// A catalogue that gains a zone sorting first: each row keeps its zone by key name, and Update
// writes the same file.
TEST(SettingsForm, RowsKeepTheirZonesByNameWhenTheCatalogueGainsOneThatSortsFirst) {
    Settings before(0), after(0);
    after.Add("Azores Standard Time", "(GMT) Azores");
    for (Settings* dialog : {&before, &after}) {
        dialog->Add("GMT Standard Time", "(GMT) London");
        dialog->Add("Tokyo Standard Time", "(GMT+09:00) Tokyo");
        dialog->Add("Eastern Standard Time", "(GMT-05:00) New York");
    }
    ASSERT_TRUE(before.form.Form_Load());
    for (int row = 0; row < kZoneRows; ++row) before.view.rows[row].index = (row + 2) % 3;
    before.form.cmdUpdate_Click();
    EXPECT_EQ(before.store.puts[15].first, L"ZoneKey0");  // after the fifteen values
    after.store.values = before.store.values;
    ASSERT_TRUE(after.form.Form_Load());
    EXPECT_EQ(after.Indexes(), (std::vector<int>{3, 1, 2, 3, 1}));
    after.form.cmdUpdate_Click();
    EXPECT_EQ(after.files.files, before.files.files);
}

TEST(SettingsForm, RowNames) {
    for (const auto& [row, name] : {std::pair{0, L"Zone 1"}, {3, L"Zone 4"}, {4, L"Local"}})
        EXPECT_EQ(settings::RowName(row), name);
}

TEST(SettingsForm, AnEmptyCatalogueOrTheOtherFamilysMissingKeyIsReported) {
    Settings empty(0), old(3);
    old.version.platformId = 1;  // Windows 95, 98, ME
    for (Settings* dialog : {&empty, &old}) {
        EXPECT_FALSE(dialog->form.Form_Load());
        ASSERT_EQ(dialog->messages.shown.size(), 1u);
        EXPECT_EQ(dialog->messages.shown[0].buttons, mb::OkOnly);
        EXPECT_EQ(dialog->messages.shown[0].title, kProgramTitle);
        EXPECT_TRUE(dialog->store.gets.empty());
    }
    EXPECT_EQ(old.messages.shown[0].prompt,
              L"Unable to locate Time Zones information in Registry under the key: \r\n"
              L"Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones");
}

}  // namespace
