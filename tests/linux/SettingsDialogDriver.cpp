// The shared dialog suite's driver for the GTK dialog, in the test's process and driven through
// its widgets, with the platform's adapters; the clock file's folder and the store are folders
// of the test's own. A failure that would end the program is caught here instead (the report's
// end below) and shown to the suite as the report's text.
#include <gtest/gtest.h>

#include <cstdlib>

#include "config/frmSettings.h"
#include "contract/SettingsDialogDriver.h"
#include "platform/Platform.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/settings/GtkSettingsDialog.h"
#include "platform/linux/settings/LinuxProgramPorts.h"
#include "support/TempFolder.h"
#include "unit/fakes/FakeRegistry.h"

// GTK keeps caches for the life of the process that LeakSanitizer would report.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "detect_leaks=0";
}

namespace {

struct ProgramEnded {};
std::optional<RunTimeError> g_report;

void Pump() {
    while (Gtk::Main::events_pending()) Gtk::Main::iteration(false);
}

class RecordingMessages final : public MessageBoxPort {
  public:
    int MsgBox(const std::wstring& prompt, int, const std::wstring&) override {
        shown = prompt;
        return mb::Ok;
    }
    std::wstring shown;
};

// Records the address and whether the maker label showed the watch meanwhile.
class RecordingShell final : public ShellPort {
  public:
    std::intptr_t ShellExecuteA(std::uintptr_t, const std::string&, const std::string& file,
                                const std::string&, const std::optional<std::string>&,
                                int) override {
        opened = utf8::ToWide(file);
        const auto cursor = watched ? watched->get_cursor() : Glib::RefPtr<Gdk::Cursor>();
        watch = cursor && cursor->get_cursor_type() == Gdk::WATCH;
        return 42;
    }
    std::wstring opened;
    Glib::RefPtr<Gdk::Window> watched;
    bool watch = false;
};

class GtkDialogDriver final : public SettingsDialogDriver {
  public:
    GtkDialogDriver() {
        setenv("TZ", "Asia/Tokyo", 1);  // the Local row's default follows the system zone
        EXPECT_TRUE(EnsureGtk()) << "no display";
        static const bool handled = [] {
            Glib::add_exception_handler([] {
                try {
                    throw;
                } catch (const ProgramEnded&) {
                }
            });
            return true;
        }();
        (void)handled;
        MTimeZone zones(*adapters_.registry, *adapters_.version, *adapters_.textCompare,
                        *adapters_.ansi);
        zones.LoadTimeZoneCatalogue(kTimeZonesKeyNT);
        catalogue_ = zones.TimeZones;
        adapters_.folder = MakeConfigFolder((folder_ / "config").string());
        adapters_.store = MakeKeyFileStore((folder_ / "store").string());
    }
    ~GtkDialogDriver() override {
        dialog_.reset();
        if (std::system(("chattr -R -i " + folder_.Path().string() + " 2>/dev/null").c_str())) {
        }
    }

    bool Open() override {
        g_report.reset();
        messages_.shown.clear();
        dialog_ = std::make_unique<GtkSettingsDialog>(SettingsPorts{
            noCatalogue_ ? static_cast<mRegistry&>(emptyRegistry_) : *adapters_.registry,
            *adapters_.version, *adapters_.textCompare, *adapters_.ansi, *adapters_.folder,
            messages_, *adapters_.pointer, shell_, *adapters_.store, *adapters_.files,
            *adapters_.localZone, *adapters_.clockFiles});
        if (!dialog_->Load()) return false;
        dialog_->Window().show();
        Pump();
        return true;
    }
    int Selected(int row) override { return dialog_->ZoneList(row).get_active_row_number(); }
    int Count(int row) override {
        return static_cast<int>(dialog_->ZoneList(row).get_model()->children().size());
    }
    std::wstring ListText(int row) override {
        return utf8::ToWide(dialog_->ZoneList(row).get_active_text());
    }
    std::wstring Caption(int row) override {
        return utf8::ToWide(dialog_->Caption(row).get_text());
    }
    int Check(int row) override {
        const Gtk::CheckButton& box = dialog_->Daylight(row);
        return box.get_inconsistent() ? 2 : box.get_active();
    }
    std::wstring Title() override { return utf8::ToWide(dialog_->Window().get_title()); }
    std::wstring HelpText() override { return utf8::ToWide(dialog_->HelpLabel().get_text()); }
    Control Focused() override {
        const Gtk::Widget* focus = dialog_->Window().get_focus();
        return focus == &dialog_->UpdateButton()   ? Control::Update
               : focus == &dialog_->CancelButton() ? Control::Cancel
                                                   : Control::Other;
    }
    Control NextInTabOrder() override {
        dialog_->Window().child_focus(Gtk::DIR_TAB_FORWARD);
        return Focused();
    }

    void Select(int row, int position) override { dialog_->ZoneList(row).set_active(position); }
    void SetCaption(int row, const std::wstring& text) override {
        dialog_->Caption(row).set_text(utf8::FromWide(text));
    }
    void ClickCheck(int row) override { dialog_->Daylight(row).clicked(); }
    void Click(Control button) override {
        (button == Control::Update ? dialog_->UpdateButton() : dialog_->CancelButton()).clicked();
        Pump();
    }
    void CloseWindow() override {
        GdkEventAny close{GDK_DELETE, dialog_->Window().get_window()->gobj(), TRUE};
        dialog_->Window().event(reinterpret_cast<GdkEvent*>(&close));
        Pump();
    }
    void ClickMaker() override {
        const Glib::RefPtr<Gdk::Window> maker = dialog_->MakerLabel().get_window();
        const auto hand = maker->get_cursor();
        shell_.watched = maker;
        GdkEventButton release{};
        release.type = GDK_BUTTON_RELEASE;
        release.window = maker->gobj();
        release.send_event = TRUE;
        release.button = 1;
        dialog_->MakerLabel().event(reinterpret_cast<GdkEvent*>(&release));
        Pump();
        // The watch while the address is opened, the hand again afterwards.
        EXPECT_TRUE(shell_.watch);
        EXPECT_EQ(maker->get_cursor(), hand);
    }
    std::wstring OpenedAddress() override { return shell_.opened; }

    bool Closed() override {
        Pump();
        return !g_report && dialog_->IsClosed() && !dialog_->Window().get_visible();
    }
    std::wstring Report() override {
        dialog_.reset();  // the program ends
        return g_report ? RunTimeErrorText(*g_report) : messages_.shown;
    }

    std::map<std::wstring, std::wstring> Stored() override {
        std::map<std::wstring, std::wstring> values;
        for (const wchar_t* word : {L"Zone", L"DST", L"Label"}) {
            for (int row = 0; row < 5; ++row) {
                const std::wstring key = word + std::to_wstring(row);
                const std::wstring value =
                    adapters_.store->GetSetting(L"PELLOXSS", L"Config", key, L"\x1F");
                if (value != L"\x1F") values[key] = value;
            }
        }
        return values;
    }
    void Store(const std::wstring& key, const std::wstring& value) override {
        adapters_.store->SaveSetting(L"PELLOXSS", L"Config", key, value);
    }
    std::string ClockFile() override { return ReadBytes(folder_ / "config" / "pellox2.xml"); }

    // Files and folders that even root cannot change: immutable (chattr +i).
    bool Prepare(Obstacle obstacle) override {
        if (obstacle == Obstacle::NoCatalogue) return noCatalogue_ = true;
        std::filesystem::create_directories(folder_ / "config");
        folder_.Write("config/pellox2.xml", "old clock file");
        const auto target = folder_ / "config" /
                            (obstacle == Obstacle::LockedClockFile ? "pellox2.xml" : "");
        return std::system(("chattr +i " + target.string() + " 2>/dev/null").c_str()) == 0;
    }
    const TimeZoneList& Catalogue() override { return catalogue_; }

  private:
    TempFolder folder_{"dialog"};
    SettingsAdapters adapters_ = MakeSettingsAdapters();
    TimeZoneList catalogue_;
    RecordingMessages messages_;
    RecordingShell shell_;
    FakeRegistry emptyRegistry_;
    bool noCatalogue_ = false;
    std::unique_ptr<GtkSettingsDialog> dialog_;
};

}  // namespace

// In place of the platform's report, which would end this process: remembered for Report(),
// and the handler that failed is left through an exception that glibmm's handler swallows.
void ReportRunTimeError(const RunTimeError& error) {
    g_report = error;
    throw ProgramEnded{};
}

std::unique_ptr<SettingsDialogDriver> MakeSettingsDialogDriver() {
    return std::make_unique<GtkDialogDriver>();
}
