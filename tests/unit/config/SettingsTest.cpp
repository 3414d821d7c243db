#include <gtest/gtest.h>

#include <map>

#include "config/MakerAddress.h"
#include "config/frmSettings.h"
#include "fakes/FakeClockFiles.h"
#include "fakes/FakeProgramPorts.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeSystem.h"

namespace {

// The dialog's controls in memory.
class FakeView : public SettingsView {
  public:
    struct Row {
        std::wstring caption;
        std::vector<std::wstring> entries;
        int index = -1;
        int check = 0;
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
        // As a real list: a position outside it is refused.
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

// Display names sort in creation order: "(GMT+hh:mm) Zone nnn" with hh:mm = i minutes.
std::wstring DisplayOf(int i) {
    wchar_t text[64];
    std::swprintf(text, 64, L"(GMT+%02d:%02d) Zone %03d", i / 60, i % 60, i);
    return text;
}

class SettingsDialog : public ::testing::Test {
  protected:
    // A catalogue of count zones; named[i] gives zone i a real key name.
    void MakeCatalogue(int count, const std::map<int, std::string>& named = {}) {
        registry.Key(kTimeZonesKeyNT);
        for (int i = 0; i < count; ++i) {
            auto it = named.find(i);
            const std::string key =
                it != named.end() ? it->second : "Zone Key " + std::to_string(i);
            registry.AddSubkey(kTimeZonesKeyNT, key);
            const std::string path = std::string(kTimeZonesKeyNT) + "\\" + key;
            registry.SetText(path, "Display", utf8::FromWide(DisplayOf(i)));
        }
    }
    std::vector<int> Indexes() const {
        std::vector<int> result;
        for (const auto& row : view.rows) result.push_back(row.index);
        return result;
    }
    std::vector<std::wstring> Captions() const {
        std::vector<std::wstring> result;
        for (const auto& row : view.rows) result.push_back(row.caption);
        return result;
    }

    FakeRegistry registry;
    FakeVersion version;
    FoldingCompare compare;
    FakeFolder folder;
    FakeMessages messages;
    FakePointer pointer;
    FakeShell shell{&pointer};
    FakeStore store;
    FakeFiles files;
    FakeLocalZone localZone;
    FakeClockFileSource clockFiles;
    Utf8CodePage ansi;
    SettingsPorts ports{registry, version, compare, ansi,  folder,    messages,
                        pointer,  shell,   store,   files, localZone, clockFiles};
    FakeView view;
    frmSettings form{view, ports};
    const std::vector<std::wstring> defaultCaptions = {L"LONDON", L"NEW YORK", L"SAN FRANCISCO",
                                                       L"HONG KONG", L"Local Time"};
};

TEST_F(SettingsDialog, NewUserGetsTheDefaultZonesByKeyNameAndTheDefaultCaptions) {
    MakeCatalogue(80, {{5, "GMT Standard Time"},
                       {10, "Eastern Standard Time"},
                       {20, "Pacific Standard Time"},
                       {30, "China Standard Time"},
                       {40, "Tokyo Standard Time"}});
    localZone.keyName = L"tokyo standard time";  // key names compare without case

    ASSERT_TRUE(form.Form_Load());
    EXPECT_EQ(Indexes(), (std::vector<int>{5, 10, 20, 30, 40}));
    EXPECT_EQ(Captions(), defaultCaptions);
    for (const auto& row : view.rows) {
        EXPECT_EQ(row.check, 0);
        ASSERT_EQ(row.entries.size(), 80u);
        EXPECT_EQ(row.entries, view.rows[0].entries);
    }
    EXPECT_EQ(view.rows[0].entries[7], DisplayOf(7));
    EXPECT_EQ(clockFiles.readPaths,
              (std::vector<std::wstring>{L"C:\\Program Files\\Pellox\\pellox2.xml"}));
    // Opening writes nothing.
    EXPECT_TRUE(store.puts.empty());
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(view.closed, 0);
}

TEST_F(SettingsDialog, DefaultZonesFallBackToPositionsAndThenToTheFirstEntry) {
    // No zone carries the names: the old positions.
    MakeCatalogue(80);
    localZone.keyName = L"Nowhere Standard Time";
    ASSERT_TRUE(form.Form_Load());
    EXPECT_EQ(Indexes(), (std::vector<int>{1, 61, 69, 31, 42}));

    // A short catalogue: positions beyond it become the first entry; a name found still wins.
    FakeRegistry shortRegistry;
    registry.calls.clear();
    SettingsPorts shortPorts{shortRegistry, version, compare, ansi,  folder,    messages,
                             pointer,       shell,   store,   files, localZone, clockFiles};
    FakeView shortView;
    frmSettings shortForm(shortView, shortPorts);
    shortRegistry.Key(kTimeZonesKeyNT);
    for (int i = 0; i < 40; ++i) {
        const std::string key = i == 35 ? "Nowhere Standard Time" : "K" + std::to_string(i);
        shortRegistry.AddSubkey(kTimeZonesKeyNT, key);
        shortRegistry.SetText(std::string(kTimeZonesKeyNT) + "\\" + key, "Display",
                              utf8::FromWide(DisplayOf(i)));
    }
    ASSERT_TRUE(shortForm.Form_Load());
    std::vector<int> indexes;
    for (const auto& row : shortView.rows) indexes.push_back(row.index);
    EXPECT_EQ(indexes, (std::vector<int>{1, 0, 0, 31, 35}));

    // Without a local zone name the Local row takes position 42, or the first entry.
    localZone.keyName.clear();
    EXPECT_EQ(form.DefaultPosition(4), 42);
    EXPECT_EQ(shortForm.DefaultPosition(4), 0);
}

TEST_F(SettingsDialog, StoredRowsAreRestoredAndUnusableValuesCountAsAbsent) {
    MakeCatalogue(80);
    store.Set(L"Zone0", L"3");
    store.Set(L"DST0", L"1");
    store.Set(L"Zone1", L"-1");  // no selection: the default
    store.Set(L"DST1", L"2");
    store.Set(L"Zone2", L"79");  // the last entry
    store.Set(L"DST2", L"0");
    store.Set(L"Zone3", L"80");  // beyond the list
    store.Set(L"DST3", L"3");
    store.Set(L"Zone4", L"7x");
    store.Set(L"DST4", L"");
    ASSERT_TRUE(form.Form_Load());
    EXPECT_EQ(Indexes(), (std::vector<int>{3, 61, 79, 31, 42}));
    EXPECT_EQ(view.rows[0].check, 1);
    EXPECT_EQ(view.rows[1].check, 2);
    EXPECT_EQ(view.rows[2].check, 0);
    EXPECT_EQ(view.rows[3].check, 0);
    EXPECT_EQ(view.rows[4].check, 0);

    // Zone keys are read with the default "-1", in row order, each before its DST key.
    EXPECT_EQ(store.gets,
              (std::vector<std::wstring>{L"Zone0", L"DST0", L"Zone1", L"DST1", L"Zone2", L"DST2",
                                         L"Zone3", L"DST3", L"Zone4", L"DST4"}));

    for (const wchar_t* bad : {L"", L"-", L"+3", L" 3", L"3 ", L"1.0", L"0x10", L"-2",
                               L"99999999999999999999", L"2147483648"}) {
        const std::optional<int> value = ParseStoredInteger(bad);
        if (value) {
            EXPECT_LT(*value, -1) << utf8::FromWide(bad);
        }
    }
    EXPECT_EQ(ParseStoredInteger(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseStoredInteger(L"2147483647"), INT_MAX);
    EXPECT_EQ(ParseStoredInteger(L"042"), 42);
    EXPECT_EQ(ParseStoredInteger(L"-1"), -1);
}

TEST_F(SettingsDialog, CaptionsComeFromTheClockFileAndEmptyOnesFromTheDefaults) {
    MakeCatalogue(80);
    store.Set(L"Label0", L"NEVER READ");
    clockFiles.files[L"C:\\Program Files\\Pellox\\pellox2.xml"] = {
        {},
        {ClockFileState::FewerRows,
         {{L"PARIS", L""}, {L"", L""}, {L" ", L""}, {L"Tokyo & Co", L""}}}};
    ASSERT_TRUE(form.Form_Load());
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"PARIS", L"NEW YORK", L" ", L"Tokyo & Co",
                                                     L"Local Time"}));
}

TEST_F(SettingsDialog, SaveWritesAllFifteenValuesInRowOrder) {
    MakeCatalogue(80);
    ASSERT_TRUE(form.Form_Load());
    view.rows[0].caption = L"HONG,KONG";
    view.rows[2].check = 2;
    view.rows[3].index = -1;
    view.rows[4].caption = L"";
    form.SaveSettings();
    EXPECT_EQ(store.puts,
              (std::vector<std::pair<std::wstring, std::wstring>>{{L"Zone0", L"1"},
                                                                  {L"DST0", L"0"},
                                                                  {L"Label0", L"HONG,KONG"},
                                                                  {L"Zone1", L"61"},
                                                                  {L"DST1", L"0"},
                                                                  {L"Label1", L"NEW YORK"},
                                                                  {L"Zone2", L"69"},
                                                                  {L"DST2", L"2"},
                                                                  {L"Label2", L"SAN FRANCISCO"},
                                                                  {L"Zone3", L"-1"},
                                                                  {L"DST3", L"0"},
                                                                  {L"Label3", L"HONG KONG"},
                                                                  {L"Zone4", L"42"},
                                                                  {L"DST4", L"0"},
                                                                  {L"Label4", L""}}));
}

TEST_F(SettingsDialog, UpdateWritesTheFileThenTheStoreThenCloses) {
    MakeCatalogue(80, {{12, "GMT Standard Time"}});
    ASSERT_TRUE(form.Form_Load());
    // Row 0 with DST checked; row 1 greyed counts as daylight time.
    view.rows[0].check = 1;
    view.rows[1].check = 2;
    view.rows[2].caption = L"SAN,FRANCISCO";
    form.cmdUpdate_Click();

    ASSERT_EQ(files.files.size(), 1u);
    const RowTexts expectedCaptions = {L"LONDON", L"NEW YORK", L"SANFRANCISCO", L"HONG KONG",
                                       L"Local Time"};
    // Zones 12, 61, 69, 31 and 42 lie that many minutes east of Greenwich.
    const RowTexts expectedOffsets = {L"GMT+01:12", L"GMT+02:01", L"GMT+01:09", L"GMT+00:31",
                                      L"GMT+00:42"};
    EXPECT_EQ(files.files[L"C:\\Program Files\\Pellox\\pellox2.xml"],
              BuildClockDocument(expectedCaptions, expectedOffsets));
    EXPECT_EQ(store.puts.size(), 15u);
    EXPECT_EQ(store.Get(L"Label2"), L"SAN,FRANCISCO");  // the store keeps the comma
    EXPECT_EQ(store.Get(L"DST1"), L"2");
    EXPECT_EQ(store.Get(L"Zone0"), L"12");
    EXPECT_EQ(view.closed, 1);

    // Update again without a change: the same values once more, the file replaced whole.
    form.cmdUpdate_Click();
    EXPECT_EQ(store.puts.size(), 30u);
    EXPECT_EQ(files.writes, 2);
    EXPECT_EQ(files.files.size(), 1u);
}

TEST_F(SettingsDialog, AFailedFileWriteLeavesTheStoreAndAFailedStoreWriteLeavesTheFile) {
    MakeCatalogue(80);
    ASSERT_TRUE(form.Form_Load());
    files.fail = true;
    try {
        form.cmdUpdate_Click();
        FAIL() << "the failed write was not passed on";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, errnum::PermissionDenied);
        EXPECT_NE(error.Description.find(L"pellox2.xml"), std::wstring::npos);
    }
    EXPECT_TRUE(store.puts.empty());
    EXPECT_EQ(view.closed, 0);

    files.fail = false;
    store.failOnPut = 4;  // DST1
    EXPECT_THROW(form.cmdUpdate_Click(), AppError);
    EXPECT_EQ(files.files.size(), 1u);  // the new file stays
    EXPECT_EQ(store.puts.size(), 4u);   // values put before the failure stay
    EXPECT_EQ(view.closed, 0);
}

TEST_F(SettingsDialog, CancelAndTheMakerLabelWriteNothing) {
    MakeCatalogue(80);
    ASSERT_TRUE(form.Form_Load());
    view.rows[1].index = 5;
    view.rows[1].caption = L"CHANGED";

    form.lstTimeZone_Click(1);
    form.lblOvanta_Click();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].verb, "open");
    EXPECT_EQ(shell.calls[0].file, utf8::FromWide(kMakerAddress));
    EXPECT_EQ(pointer.current, PointerShape::Default);
    EXPECT_EQ(view.closed, 0);
    EXPECT_EQ(view.rows[1].index, 5);
    EXPECT_EQ(view.rows[1].caption, L"CHANGED");

    form.cmdCancel_Click();
    EXPECT_EQ(view.closed, 1);
    EXPECT_TRUE(store.puts.empty());
    EXPECT_EQ(files.writes, 0);
}

TEST_F(SettingsDialog, AMissingOrEmptyCatalogueKeyIsReportedAndNothingIsRestored) {
    // No catalogue key at all.
    EXPECT_FALSE(form.Form_Load());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt,
              L"Unable to locate Time Zones information in Registry under the key: \r\n"
              L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
    EXPECT_EQ(messages.shown[0].buttons, mb::OkOnly);
    EXPECT_EQ(messages.shown[0].title, kProgramTitle);
    EXPECT_TRUE(view.rows[0].entries.empty());
    EXPECT_TRUE(store.gets.empty());
    EXPECT_TRUE(clockFiles.readPaths.empty());

    // The key opens but holds no zones.
    registry.Key(kTimeZonesKeyNT);
    FakeView emptyView;
    frmSettings emptyForm(emptyView, ports);
    EXPECT_FALSE(emptyForm.Form_Load());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].prompt, messages.shown[0].prompt);

    // Not the NT family: the other key is tried and named.
    version.platformId = 1;
    MakeCatalogue(3);
    FakeView oldView;
    frmSettings oldForm(oldView, ports);
    EXPECT_FALSE(oldForm.Form_Load());
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_NE(messages.shown[2].prompt.find(
                  L"\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Time Zones"),
              std::wstring::npos);
    EXPECT_TRUE(store.gets.empty());
}

}  // namespace
