#include "platform/linux/settings/GtkSettingsDialog.h"

#include <vector>

#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/settings/LinuxProgramPorts.h"

GtkSettingsDialog::GtkSettingsDialog(const SettingsPorts& ports) {
    Build();
    form_ = std::make_unique<frmSettings>(*this, ports);
}

template <typename Handler>
void GtkSettingsDialog::Guarded(Handler handler) {
    try {
        handler();
    } catch (const Glib::Error& error) {
        // GLib's failures are no std::exception: reported as a failed call into a component.
        ReportRunTimeError({errnum::AutomationError, utf8::ToWide(error.what())});
    } catch (...) {
        ReportCurrentException();
    }
}

void GtkSettingsDialog::Build() {
    dialog_.set_title(utf8::FromWide(settings::kDialogCaption));
    dialog_.set_resizable(false);
    dialog_.set_position(Gtk::WIN_POS_CENTER);
    dialog_.set_border_width(12);

    grid_.set_row_spacing(2);
    grid_.set_column_spacing(10);
    for (int row = 0; row < kZoneRows; ++row) {
        Row& r = rows_[row];
        r.name.set_text(utf8::FromWide(settings::RowName(row)));
        r.name.set_xalign(0);
        r.captionName.set_text("Label");
        r.daylightName.set_text("DST");
        r.list.set_hexpand(true);
        r.caption.set_width_chars(14);
        r.caption.set_activates_default(false);
        // Each row's control carries its name for assistive tools and test drivers.
        r.list.set_name("lstTimeZone" + std::to_string(row));
        r.caption.set_name("txtLabel" + std::to_string(row));
        r.daylight.set_name("chkDST" + std::to_string(row));
        // Each row takes two lines of the grid: its controls, then the daylight hint, which
        // ends under the DST box (a column of its own would make the dialog too wide for a
        // screen at twice the scale).
        grid_.attach(r.name, 0, 2 * row);
        grid_.attach(r.list, 1, 2 * row);
        grid_.attach(r.captionName, 2, 2 * row);
        grid_.attach(r.caption, 3, 2 * row);
        grid_.attach(r.daylightName, 4, 2 * row);
        grid_.attach(r.daylight, 5, 2 * row);
        r.hint.set_xalign(1);
        r.hint.set_name("lblHint" + std::to_string(row));
        grid_.attach(r.hint, 1, 2 * row + 1, 5);
        r.list.signal_changed().connect([this, row] {
            if (!programmatic_) Guarded([&] { form_->lstTimeZone_Click(row); });
        });
        r.daylight.signal_toggled().connect([this, row] { OnDaylightToggled(row); });
    }

    help_.set_text(utf8::FromWide(settings::kHelpText));
    help_.set_line_wrap(true);
    help_.set_max_width_chars(60);
    help_.set_xalign(0);
    help_.set_margin_top(6);
    grid_.attach(help_, 0, 2 * kZoneRows, 6);

    setDaylight_.set_label("Set DST boxes for today");
    setDaylight_.set_name("cmdDaylight");
    setDaylight_.signal_clicked().connect([this] { Guarded([&] { form_->cmdDaylight_Click(); }); });

    // The maker's link: bold, underlined, blue, with the hand over it.
    maker_.set_markup("<span foreground=\"#0000ff\" weight=\"bold\" underline=\"single\">" +
                      Glib::Markup::escape_text(utf8::FromWide(settings::kMakerText)) + "</span>");
    makerBox_.add(maker_);
    makerBox_.set_events(Gdk::BUTTON_PRESS_MASK | Gdk::BUTTON_RELEASE_MASK);
    makerBox_.set_name("lblOvanta");
    makerBox_.signal_realize().connect([this] {
        hand_ = Gdk::Cursor::create(makerBox_.get_display(), "pointer");
        if (!hand_) hand_ = Gdk::Cursor::create(makerBox_.get_display(), Gdk::HAND2);
        makerBox_.get_window()->set_cursor(hand_);
    });
    makerBox_.signal_button_release_event().connect([this](GdkEventButton* event) {
        if (event->button == 1) Guarded([&] { form_->lblOvanta_Click(); });
        return true;
    });

    update_.set_label("Update");
    cancel_.set_label("Cancel");
    update_.set_name("cmdUpdate");
    cancel_.set_name("cmdCancel");
    update_.signal_clicked().connect([this] { Guarded([&] { form_->cmdUpdate_Click(); }); });
    cancel_.signal_clicked().connect([this] { Guarded([&] { form_->cmdCancel_Click(); }); });

    Gtk::Box* buttons = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 10);
    buttons->pack_start(makerBox_, Gtk::PACK_EXPAND_WIDGET);
    buttons->pack_start(setDaylight_, Gtk::PACK_SHRINK);
    buttons->pack_start(cancel_, Gtk::PACK_SHRINK);
    buttons->pack_start(update_, Gtk::PACK_SHRINK);
    update_.set_size_request(120, -1);
    cancel_.set_size_request(120, -1);
    buttons->set_margin_top(6);
    grid_.attach(*buttons, 0, 2 * kZoneRows + 1, 6);

    // Tab order as on Windows: Update, Cancel, then each row's list, caption and DST box.
    buttons->set_focus_chain({&update_, &cancel_, &setDaylight_});
    std::vector<Gtk::Widget*> chain{buttons};
    for (Row& r : rows_) chain.insert(chain.end(), {&r.list, &r.caption, &r.daylight});
    grid_.set_focus_chain(chain);

    dialog_.get_content_area()->pack_start(grid_, Gtk::PACK_EXPAND_WIDGET);
    // The close button acts as Cancel: nothing is written.
    dialog_.signal_delete_event().connect([this](GdkEventAny*) {
        Guarded([&] { form_->cmdCancel_Click(); });
        return true;
    });
    grid_.show_all();
}

void GtkSettingsDialog::OnDaylightToggled(int row) {
    if (programmatic_) return;
    // Greyed comes only from a stored value; a click toggles between checked and unchecked
    // (greyed, which counts as checked, becomes unchecked).
    Gtk::CheckButton& box = rows_[row].daylight;
    if (box.get_inconsistent()) {
        programmatic_ = true;
        box.set_inconsistent(false);
        box.set_active(false);
        programmatic_ = false;
    }
    Guarded([&] { form_->chkDST_Click(row); });
}

bool GtkSettingsDialog::Load() {
    bool loaded = false;
    Guarded([&] { loaded = form_->Form_Load(); });
    if (loaded) update_.grab_focus();
    return loaded;
}

void GtkSettingsDialog::Run() {
    if (closed_) return;
    dialog_.run();
}

std::wstring GtkSettingsDialog::CaptionText(int row) const {
    return utf8::ToWide(rows_[row].caption.get_text());
}

void GtkSettingsDialog::SetCaptionText(int row, const std::wstring& text) {
    rows_[row].caption.set_text(utf8::FromWide(text));
}

void GtkSettingsDialog::AddListEntry(int row, const std::wstring& text) {
    rows_[row].list.append(utf8::FromWide(text));
    ++rows_[row].count;
}

int GtkSettingsDialog::ListCount(int row) const {
    return rows_[row].count;
}

int GtkSettingsDialog::ListIndex(int row) const {
    return rows_[row].list.get_active_row_number();
}

void GtkSettingsDialog::SetListIndex(int row, int index) {
    programmatic_ = true;
    rows_[row].list.set_active(index >= 0 && index < rows_[row].count ? index : -1);
    programmatic_ = false;
}

std::wstring GtkSettingsDialog::ListText(int row) const {
    if (ListIndex(row) < 0) return {};
    return utf8::ToWide(rows_[row].list.get_active_text());
}

int GtkSettingsDialog::CheckState(int row) const {
    const Gtk::CheckButton& box = rows_[row].daylight;
    return box.get_inconsistent() ? 2 : box.get_active() ? 1 : 0;
}

void GtkSettingsDialog::SetCheckState(int row, int state) {
    programmatic_ = true;
    rows_[row].daylight.set_inconsistent(state == 2);
    rows_[row].daylight.set_active(state != 0);
    programmatic_ = false;
}

void GtkSettingsDialog::SetHint(int row, const RowHint& hint) {
    const Glib::ustring text = Glib::Markup::escape_text(utf8::FromWide(hint.text));
    rows_[row].hint.set_markup(hint.disagrees ? "<span foreground=\"#cc0000\">" + text + "</span>"
                                              : text);
}

void GtkSettingsDialog::Close() {
    closed_ = true;
    dialog_.hide();
    dialog_.response(Gtk::RESPONSE_CLOSE);
}

void ShowSettingsDialog(const SettingsPorts& ports) {
    if (!EnsureGtk()) {
        throw AppError(errnum::AutomationError,
                       L"The settings dialog needs a display: DISPLAY is not set or cannot be "
                       L"opened.");
    }
    GtkSettingsDialog dialog(ports);
    if (dialog.Load()) dialog.Run();
}

void ShowSettingsDialog() {
    const SettingsAdapters adapters = MakeSettingsAdapters();
    ShowSettingsDialog(adapters.Ports());
}
