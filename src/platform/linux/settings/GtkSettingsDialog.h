#pragma once
// The settings dialog in GTK 3: the same rows, texts and behaviour as on Windows, laid out by
// a grid with GTK's own sizing. frmSettings holds the logic; this is its view.

#include <gtkmm.h>

#include <array>
#include <memory>

#include "config/frmSettings.h"

class GtkSettingsDialog final : public SettingsView {
  public:
    explicit GtkSettingsDialog(const SettingsPorts& ports);
    GtkSettingsDialog(const GtkSettingsDialog&) = delete;
    GtkSettingsDialog& operator=(const GtkSettingsDialog&) = delete;

    // Runs Form_Load; false when the catalogue failure was reported and nothing is to be shown.
    bool Load();
    // Shows the dialog modally; returns when it has closed.
    void Run();
    bool IsClosed() const { return closed_; }

    // The widgets, for tools and tests that drive the dialog.
    Gtk::Dialog& Window() { return dialog_; }
    Gtk::ComboBoxText& ZoneList(int row) { return rows_[row].list; }
    Gtk::Entry& Caption(int row) { return rows_[row].caption; }
    Gtk::CheckButton& Daylight(int row) { return rows_[row].daylight; }
    Gtk::Label& Hint(int row) { return rows_[row].hint; }
    Gtk::Button& DaylightButton() { return setDaylight_; }
    Gtk::Button& UpdateButton() { return update_; }
    Gtk::Button& CancelButton() { return cancel_; }
    Gtk::EventBox& MakerLabel() { return makerBox_; }
    Gtk::Label& HelpLabel() { return help_; }

    // SettingsView
    std::wstring CaptionText(int row) const override;
    void SetCaptionText(int row, const std::wstring& text) override;
    void AddListEntry(int row, const std::wstring& text) override;
    int ListCount(int row) const override;
    int ListIndex(int row) const override;
    void SetListIndex(int row, int index) override;
    std::wstring ListText(int row) const override;
    int CheckState(int row) const override;
    void SetCheckState(int row, int state) override;
    void SetHint(int row, const RowHint& hint) override;
    void Close() override;

  private:
    struct Row {
        Gtk::Label name, captionName, daylightName, hint;
        Gtk::ComboBoxText list;
        Gtk::Entry caption;
        Gtk::CheckButton daylight;
        int count = 0;
    };

    void Build();
    void OnDaylightToggled(int row);
    // Runs a handler of the form; a failure is reported and ends the program.
    template <typename Handler>
    void Guarded(Handler handler);

    Gtk::Dialog dialog_;
    Gtk::Grid grid_;
    std::array<Row, kZoneRows> rows_;
    Gtk::Label help_;
    Gtk::EventBox makerBox_;
    Gtk::Label maker_;
    Gtk::Button update_, cancel_, setDaylight_;
    Glib::RefPtr<Gdk::Cursor> hand_;
    bool programmatic_ = false;  // set while the form changes a control
    bool closed_ = false;
    std::unique_ptr<frmSettings> form_;
};

// Builds the dialog, loads it and shows it modally.
void ShowSettingsDialog(const SettingsPorts& ports);
// The same with the platform's own adapters.
void ShowSettingsDialog();
