// The GTK settings dialog driven through its widgets, with the real catalogue, store and
// clock file in a folder of the test's own.
#include <gtest/gtest.h>

#include "TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "config/MakerAddress.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/settings/GtkSettingsDialog.h"
#include "platform/linux/settings/LinuxProgramPorts.h"
#include "timezones/GmtOffset.h"
#include "timezones/MTimeZone.h"
// After gtkmm: Xlib's macros clash with its names.
#include "X11TestDisplay.h"

// GTK keeps caches for the life of the process that LeakSanitizer would report.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "detect_leaks=0";
}

namespace {

namespace fs = std::filesystem;

void Pump() {
    while (Gtk::Main::events_pending()) Gtk::Main::iteration(false);
}

class RecordingMessages final : public MessageBoxPort {
  public:
    int MsgBox(const std::wstring& prompt, int, const std::wstring&) override {
        shown.push_back(prompt);
        return mb::Ok;
    }
    std::vector<std::wstring> shown;
};

// Records what the maker label asks the shell to open and the maker label's pointer meanwhile.
class RecordingShell final : public ShellPort {
  public:
    std::intptr_t ShellExecuteA(std::uintptr_t, const std::string& verb, const std::string& file,
                                const std::string&, const std::optional<std::string>&,
                                int) override {
        opened.push_back(verb + " " + file);
        if (watched) {
            const auto cursor = watched->get_cursor();
            watchWhileOpening = cursor && cursor->get_cursor_type() == Gdk::WATCH;
        }
        return 42;
    }
    std::vector<std::string> opened;
    Glib::RefPtr<Gdk::Window> watched;
    bool watchWhileOpening = false;
};

class SettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The Local row's default follows the system zone, read by ICU from TZ.
        setenv("TZ", "Asia/Tokyo", 1);
        // DISPLAY names the test session's Xvfb when none was set.
        if (Display* display = OpenTestDisplay()) XCloseDisplay(display);
        ASSERT_TRUE(EnsureGtk()) << "no display";
        std::string pattern = (fs::temp_directory_path() / "pellox-dialog.XXXXXX").string();
        folder = mkdtemp(pattern.data());
        program = MakeSettingsAdapters();
        program.folder = MakeConfigFolder(folder.string());
        program.store = MakeKeyFileStore(folder.string());

        MTimeZone zones(*program.registry, *program.version, *program.textCompare, *program.ansi);
        ASSERT_TRUE(zones.LoadTimeZoneCatalogue(kTimeZonesKeyNT));
        catalogue = zones.TimeZones;
        for (const wchar_t* name :
             {L"GMT Standard Time", L"Eastern Standard Time", L"Pacific Standard Time",
              L"China Standard Time", L"Tokyo Standard Time"}) {
            int found = -1;
            for (std::size_t i = 0; i < catalogue.size(); ++i) {
                if (catalogue[i].KeyName == name) found = static_cast<int>(i);
            }
            ASSERT_GE(found, 0) << utf8::FromWide(name);
            expected.push_back(found);
        }
    }
    void TearDown() override { fs::remove_all(folder); }

    std::unique_ptr<GtkSettingsDialog> Open() {
        auto dialog = std::make_unique<GtkSettingsDialog>(Ports());
        EXPECT_TRUE(dialog->Load());
        dialog->Window().show();
        Pump();
        return dialog;
    }
    SettingsPorts Ports() {
        return SettingsPorts{
            *program.registry, *program.version, *program.textCompare, *program.ansi,
            *program.folder,   messages,         *program.pointer,     shell,
            *program.store,    *program.files,   *program.localZone,   *program.clockFiles};
    }
    std::string Stored(const std::string& key) {
        return utf8::FromWide(
            program.store->GetSetting(L"PELLOXSS", L"Config", utf8::ToWide(key), L"<absent>"));
    }
    fs::path ClockFile() const { return folder / "pellox2.xml"; }

    fs::path folder;
    SettingsAdapters program;
    RecordingMessages messages;
    RecordingShell shell;
    TimeZoneList catalogue;
    std::vector<int> expected;
};

TEST_F(SettingsDialogTest, NewUserUpdateWritesTheWindowsBytesAndReopeningRestores) {
    {
        auto dialog = Open();
        EXPECT_EQ(dialog->Window().get_title(), "Pellox Screensaver Properties");
        EXPECT_TRUE(dialog->UpdateButton().has_focus());
        // Tab goes to Cancel next, as on Windows.
        dialog->Window().child_focus(Gtk::DIR_TAB_FORWARD);
        EXPECT_TRUE(dialog->CancelButton().has_focus());
        EXPECT_EQ(dialog->HelpLabel().get_text().size(), 155u);
        const char* captionsByDefault[] = {"LONDON", "NEW YORK", "SAN FRANCISCO", "HONG KONG",
                                           "Local Time"};
        for (int row = 0; row < 5; ++row) {
            EXPECT_EQ(dialog->ZoneList(row).get_active_row_number(), expected[row]) << row;
            EXPECT_EQ(dialog->ZoneList(row).get_active_text(),
                      utf8::FromWide(catalogue[expected[row]].Display));
            EXPECT_EQ(dialog->ListCount(row), static_cast<int>(catalogue.size()));
            EXPECT_EQ(dialog->Caption(row).get_text(), captionsByDefault[row]);
            EXPECT_FALSE(dialog->Daylight(row).get_active());
        }

        // A DST click toggles between checked and unchecked.
        dialog->Daylight(0).clicked();
        EXPECT_EQ(dialog->CheckState(0), 1);
        dialog->Daylight(0).clicked();
        EXPECT_EQ(dialog->CheckState(0), 0);
        dialog->Daylight(0).clicked();

        dialog->Caption(1).set_text("NEW,YORK & Co");
        dialog->Caption(2).set_text("Z\u00fcrich <ZH>");
        dialog->UpdateButton().clicked();
        Pump();
        EXPECT_TRUE(dialog->IsClosed());
        EXPECT_FALSE(dialog->Window().get_visible());
    }
    EXPECT_TRUE(messages.shown.empty());
    // The bytes the Windows build writes for the same choices.
    const std::string golden = ReadBytes(PELLOX_GOLDEN_DIR "/update-new-user.xml");
    ASSERT_NE(golden, "<missing>");
    EXPECT_EQ(ReadBytes(ClockFile()), golden);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(Stored("Zone" + std::to_string(row)), std::to_string(expected[row]));
        EXPECT_EQ(Stored("DST" + std::to_string(row)), row == 0 ? "1" : "0");
    }
    EXPECT_EQ(Stored("Label1"), "NEW,YORK & Co");
    EXPECT_EQ(Stored("Label2"), "Z\u00fcrich <ZH>");

    // Reopening restores rows from the store and captions from the file; closing the window
    // then writes nothing.
    const std::string fileBefore = ReadBytes(ClockFile());
    const std::string storeBefore = ReadBytes(folder / "PELLOXSS.ini");
    {
        auto dialog = Open();
        for (int row = 0; row < 5; ++row) {
            EXPECT_EQ(dialog->ZoneList(row).get_active_row_number(), expected[row]) << row;
        }
        EXPECT_EQ(dialog->CheckState(0), 1);
        EXPECT_EQ(dialog->Caption(1).get_text(), "NEWYORK & Co");
        EXPECT_EQ(dialog->Caption(2).get_text(), "Z\u00fcrich <ZH>");
        dialog->ZoneList(3).set_active(0);
        dialog->Caption(3).set_text("CHANGED");
        GdkEventAny close{GDK_DELETE, dialog->Window().get_window()->gobj(), TRUE};
        dialog->Window().event(reinterpret_cast<GdkEvent*>(&close));
        Pump();
        EXPECT_TRUE(dialog->IsClosed());
    }
    EXPECT_EQ(ReadBytes(ClockFile()), fileBefore);
    EXPECT_EQ(ReadBytes(folder / "PELLOXSS.ini"), storeBefore);
}

TEST_F(SettingsDialogTest, CancelWritesNothingAndGreyedCountsAsDaylightTime) {
    program.store->SaveSetting(L"PELLOXSS", L"Config", L"Zone3", std::to_wstring(expected[3]));
    program.store->SaveSetting(L"PELLOXSS", L"Config", L"DST3", L"2");
    program.store->SaveSetting(L"PELLOXSS", L"Config", L"Zone1", L"not a number");
    const std::string storeBefore = ReadBytes(folder / "PELLOXSS.ini");
    {
        auto dialog = Open();
        EXPECT_EQ(dialog->CheckState(3), 2);
        EXPECT_TRUE(dialog->Daylight(3).get_inconsistent());
        EXPECT_EQ(dialog->ZoneList(1).get_active_row_number(), expected[1]);
        dialog->ZoneList(0).set_active(3);
        dialog->CancelButton().clicked();
        Pump();
        EXPECT_TRUE(dialog->IsClosed());
    }
    EXPECT_EQ(ReadBytes(ClockFile()), "<missing>");
    EXPECT_EQ(ReadBytes(folder / "PELLOXSS.ini"), storeBefore);

    {
        auto dialog = Open();
        dialog->UpdateButton().clicked();
        Pump();
    }
    const std::string china = utf8::FromWide(GetGmtOffset(catalogue[expected[3]].Display, true));
    EXPECT_NE(ReadBytes(ClockFile()).find("<value name=\"HONG KONG\">" + china + "</value>"),
              std::string::npos);
    EXPECT_EQ(Stored("DST3"), "2");

    // A click on a greyed box unchecks it.
    auto dialog = Open();
    dialog->Daylight(3).clicked();
    EXPECT_EQ(dialog->CheckState(3), 0);
}

TEST_F(SettingsDialogTest, TheMakerLabelOpensTheAddressUnderTheWatchAndLeavesTheDialog) {
    auto dialog = Open();
    const Glib::RefPtr<Gdk::Window> maker = dialog->MakerLabel().get_window();
    ASSERT_TRUE(maker);
    const auto hand = maker->get_cursor();
    ASSERT_TRUE(hand);
    shell.watched = maker;

    GdkEventButton release{};
    release.type = GDK_BUTTON_RELEASE;
    release.window = maker->gobj();
    release.send_event = TRUE;
    release.button = 1;
    dialog->MakerLabel().event(reinterpret_cast<GdkEvent*>(&release));
    Pump();

    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], "open " + utf8::FromWide(kMakerAddress));
    EXPECT_TRUE(shell.watchWhileOpening);
    // The hand is back, the dialog still open, nothing written.
    EXPECT_EQ(maker->get_cursor(), hand);
    EXPECT_EQ(program.pointer->MousePointer(), PointerShape::Default);
    EXPECT_FALSE(dialog->IsClosed());
    EXPECT_EQ(ReadBytes(ClockFile()), "<missing>");
}

}  // namespace
