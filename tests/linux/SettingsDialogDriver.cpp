// The dialog suite's driver for the GTK dialog in the test's process, with the platform's adapters
// on folders of the test's own; a failure that would end the program is caught instead.
#include <gtest/gtest.h>

#include "contract/SettingsDialogDriver.h"
#include "platform/Platform.h"
#include "platform/linux/PosixFiles.h"
#include "platform/linux/settings/GtkSettingsDialog.h"
#include "platform/linux/settings/LinuxProgramPorts.h"
#include "support/TempFolder.h"
#include "unit/Fakes.h"

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

// Notes whether the maker label shows the watch while the address is opened.
struct WatchingShell : FakeShell {
    using FakeShell::FakeShell;
    Glib::RefPtr<Gdk::Window> label;
    bool watch = false;
    std::intptr_t ShellExecuteA(std::uintptr_t owner, const std::string& verb,
                                const std::string& file, const std::string& parameters,
                                const std::optional<std::string>& directory, int show) override {
        const auto cursor = label->get_cursor();
        watch = cursor && cursor->get_cursor_type() == Gdk::WATCH;
        return FakeShell::ShellExecuteA(owner, verb, file, parameters, directory, show);
    }
};

class GtkDialogDriver final : public SettingsDialogDriver {
  public:
    GtkDialogDriver() {
        setenv("TZ", "Asia/Tokyo", 1);  // the Local row's default follows the system's zone
        EXPECT_TRUE(EnsureGtk()) << "no display";
        static const sigc::connection swallow = Glib::add_exception_handler([] {
            try {
                throw;
            } catch (const ProgramEnded&) {
            }
        });
        ports_.folder = MakeConfigFolder((folder_ / "config").string());
        ports_.store = MakeKeyFileStore((folder_ / "store").string());
    }
    ~GtkDialogDriver() override {
        dialog_.reset();
        if (std::system(("chattr -R -i " + folder_.Path().string() + " 2>/dev/null").c_str())) {
        }
    }

    std::filesystem::path Folder() override { return folder_ / "config"; }
    SettingsStore& Store() override { return *ports_.store; }
    // Files and folders that even root cannot change: immutable (chattr +i).
    bool Prepare(Obstacle obstacle) override {
        if (obstacle == Obstacle::NoCatalogue) return noCatalogue_ = true;
        folder_.Write("config/pellox2.xml", "old clock file");
        const auto target =
            obstacle == Obstacle::LockedClockFile ? Folder() / "pellox2.xml" : Folder();
        return std::system(("chattr +i " + target.string() + " 2>/dev/null").c_str()) == 0;
    }

    bool Open() override {
        g_report.reset();
        messages_.shown.clear();
        dialog_ = std::make_unique<GtkSettingsDialog>(SettingsPorts{
            noCatalogue_ ? noRegistry_ : *ports_.registry, *ports_.version, *ports_.textCompare,
            *ports_.ansi, *ports_.folder, messages_, *ports_.pointer, shell_, *ports_.store,
            *ports_.files, *ports_.localZone, *ports_.clockFiles});
        if (!dialog_->Load()) return false;
        dialog_->Window().show();
        Pump();
        return true;
    }
    int Selected(int row) override { return dialog_->ZoneList(row).get_active_row_number(); }
    int Count(int row) override {
        return static_cast<int>(dialog_->ZoneList(row).get_model()->children().size());
    }
    std::wstring Caption(int row) override {
        return utf8::ToWide(dialog_->Caption(row).get_text());
    }
    int Check(int row) override {
        const Gtk::CheckButton& box = dialog_->Daylight(row);
        return box.get_inconsistent() ? 2 : box.get_active();
    }
    std::wstring Hint(int row) override { return utf8::ToWide(dialog_->Hint(row).get_text()); }
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
        if (button == Control::Daylight) return dialog_->DaylightButton().clicked();
        (button == Control::Update ? dialog_->UpdateButton() : dialog_->CancelButton()).clicked();
        Pump();
    }
    void CloseWindow() override {
        GdkEventAny close{GDK_DELETE, dialog_->Window().get_window()->gobj(), TRUE};
        dialog_->Window().event(reinterpret_cast<GdkEvent*>(&close));
        Pump();
    }
    std::wstring ClickMaker() override {
        shell_.label = dialog_->MakerLabel().get_window();
        const auto hand = shell_.label->get_cursor();
        GdkEventButton release{};
        release.type = GDK_BUTTON_RELEASE;
        release.window = shell_.label->gobj();
        release.send_event = TRUE;
        release.button = 1;
        dialog_->MakerLabel().event(reinterpret_cast<GdkEvent*>(&release));
        Pump();
        // The watch while the address is opened, the hand again afterwards.
        EXPECT_TRUE(shell_.watch);
        EXPECT_EQ(shell_.label->get_cursor(), hand);
        return shell_.calls.empty() ? L"" : utf8::ToWide(shell_.calls.back().file);
    }

    bool Closed() override {
        Pump();
        return !g_report && dialog_->IsClosed() && !dialog_->Window().get_visible();
    }
    std::wstring Report() override {
        dialog_.reset();  // the program ends
        return g_report ? RunTimeErrorText(*g_report) : messages_.shown.at(0).prompt;
    }

  private:
    TempFolder folder_{"dialog"};
    SettingsAdapters ports_ = MakeSettingsAdapters();
    FakeMessages messages_;
    WatchingShell shell_{ports_.pointer.get()};
    FakeRegistry noRegistry_;
    bool noCatalogue_ = false;
    std::unique_ptr<GtkSettingsDialog> dialog_;
};

}  // namespace

// In place of the platform's report, which would end this process: kept for Report(), and the
// failing handler is left through an exception that glibmm's handler above swallows.
void ReportRunTimeError(const RunTimeError& error) {
    g_report = error;
    throw ProgramEnded{};
}

std::unique_ptr<SettingsDialogDriver> MakeSettingsDialogDriver() {
    return std::make_unique<GtkDialogDriver>();
}
