#include "platform/win32/config/SettingsDialog.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <array>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/app/Win32ProgramPorts.h"
#include "resources/resource.h"

namespace {

namespace ids = settings_ids;

constexpr int kTwipsPerInch = 1440;
constexpr std::array<int, kZoneRows> kRowTops = {120, 600, 1080, 1560, 2040};
// The rows' table, widened by a column for the daylight hints and their button.
constexpr int kClientWidth = 12240, kClientHeight = 3990;
constexpr int kHintLeft = 7680, kHintWidth = 4440;

// A control's place in twips.
struct Place {
    int left, top, width, height;
};

struct ControlSpec {
    int id;
    const wchar_t* windowClass;
    std::wstring text;
    DWORD style;
    DWORD exStyle;
    Place place;
    SettingsFont font;
};

// Controls in tab order: the two buttons first, then each row's list, caption and DST box.
std::vector<ControlSpec> DialogControls() {
    std::vector<ControlSpec> specs;
    // Labels reach under their neighbours (as in the table): siblings clip each other, and the
    // controls made first lie on top.
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD label = child | SS_NOPREFIX;
    specs.push_back({ids::cmdUpdate,
                     WC_BUTTONW,
                     L"Update",
                     child | WS_TABSTOP | BS_PUSHBUTTON,
                     0,
                     {4680, 3360, 2055, 495},
                     SettingsFont::Button});
    specs.push_back({ids::cmdCancel,
                     WC_BUTTONW,
                     L"Cancel",
                     child | WS_TABSTOP | BS_PUSHBUTTON,
                     0,
                     {2520, 3360, 2055, 495},
                     SettingsFont::Button});
    for (int row = 0; row < kZoneRows; ++row) {
        const int top = kRowTops[row];
        specs.push_back({ids::lstTimeZone + row,
                         WC_COMBOBOXW,
                         L"",
                         child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                         0,
                         {840, top, 3315, 315},
                         SettingsFont::List});
        specs.push_back({ids::txtLabel + row,
                         WC_EDITW,
                         L"",
                         child | WS_TABSTOP | ES_AUTOHSCROLL,
                         WS_EX_CLIENTEDGE,
                         {4920, top, 1575, 285},
                         SettingsFont::Dialog});
        specs.push_back({ids::chkDST + row,
                         WC_BUTTONW,
                         L"",
                         child | WS_TABSTOP | BS_3STATE,
                         0,
                         {7320, top, 255, 255},
                         SettingsFont::Dialog});
    }
    for (int row = 0; row < kZoneRows; ++row) {
        const int top = kRowTops[row];
        const int nameIndex = row < 4 ? row : 9;
        specs.push_back({ids::Label1 + nameIndex,
                         WC_STATICW,
                         settings::RowName(row),
                         label | SS_LEFT,
                         0,
                         {120, top, 1335, 255},
                         SettingsFont::Dialog});
        specs.push_back({ids::Label1 + 4 + row,
                         WC_STATICW,
                         L"Label",
                         label | SS_LEFT,
                         0,
                         {4320, top, 615, 255},
                         SettingsFont::Dialog});
        specs.push_back({ids::Label1 + 10 + row,
                         WC_STATICW,
                         L"DST",
                         label | SS_LEFT,
                         0,
                         {6720, top, 615, 255},
                         SettingsFont::Dialog});
    }
    specs.push_back({ids::Label2,
                     WC_STATICW,
                     settings::kHelpText,
                     label | SS_LEFT,
                     0,
                     {360, 2640, 7095, 495},
                     SettingsFont::Dialog});
    specs.push_back({ids::lblOvanta,
                     WC_STATICW,
                     settings::kMakerText,
                     label | SS_CENTER | SS_NOTIFY,
                     0,
                     {480, 3360, 1575, 495},
                     SettingsFont::Maker});
    // The hints are laid out for the longest text a row can show.
    for (int row = 0; row < kZoneRows; ++row) {
        specs.push_back({ids::lblHint + row,
                         WC_STATICW,
                         WidestDaylightHint(),
                         label | SS_LEFT,
                         0,
                         {kHintLeft, kRowTops[row] + 30, kHintWidth, 255},
                         SettingsFont::List});
    }
    specs.push_back({ids::cmdDaylight,
                     WC_BUTTONW,
                     L"Set DST boxes for today",
                     child | WS_TABSTOP | BS_PUSHBUTTON,
                     0,
                     {kHintLeft, 3360, 3000, 495},
                     SettingsFont::Dialog});
    return specs;
}

int Scale(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

// A font of the given size in hundredths of a point.
HFONT MakeFont(const wchar_t* face, int centiPoints, bool bold, bool underline, UINT dpi) {
    return CreateFontW(-MulDiv(centiPoints, static_cast<int>(dpi), 7200), 0, 0, 0,
                       bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face);
}

}  // namespace

UniqueFont MakeSettingsFont(SettingsFont kind, UINT dpi) {
    switch (kind) {
        case SettingsFont::List:
            return UniqueFont(MakeFont(L"MS Sans Serif", 825, false, false, dpi));
        case SettingsFont::Maker:
            return UniqueFont(MakeFont(L"MS Sans Serif", 975, true, true, dpi));
        case SettingsFont::Button:
            return UniqueFont(MakeFont(L"Arial", 1200, true, false, dpi));
        case SettingsFont::Dialog:
            break;
    }
    return UniqueFont(MakeFont(L"MS Sans Serif", 825, true, false, dpi));
}

std::vector<SettingsControl> SettingsLayout(UINT dpi) {
    std::vector<SettingsControl> controls;
    for (const ControlSpec& spec : DialogControls()) {
        controls.push_back({spec.id, spec.text, spec.windowClass,
                            RECT{Scale(spec.place.left, dpi), Scale(spec.place.top, dpi),
                                 Scale(spec.place.left + spec.place.width, dpi),
                                 Scale(spec.place.top + spec.place.height, dpi)},
                            spec.font});
    }
    return controls;
}

namespace {

// The dialog's controls as the portable logic sees them.
class Win32SettingsView final : public SettingsView {
  public:
    explicit Win32SettingsView(HWND dialog) : dialog_(dialog) {}

    std::wstring CaptionText(int row) const override {
        const HWND box = Item(ids::txtLabel + row);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    void SetCaptionText(int row, const std::wstring& text) override {
        SetWindowTextW(Item(ids::txtLabel + row), text.c_str());
    }
    void AddListEntry(int row, const std::wstring& text) override {
        SendMessageW(Item(ids::lstTimeZone + row), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
    int ListCount(int row) const override {
        return static_cast<int>(SendMessageW(Item(ids::lstTimeZone + row), CB_GETCOUNT, 0, 0));
    }
    int ListIndex(int row) const override {
        return static_cast<int>(SendMessageW(Item(ids::lstTimeZone + row), CB_GETCURSEL, 0, 0));
    }
    void SetListIndex(int row, int index) override {
        SendMessageW(Item(ids::lstTimeZone + row), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    std::wstring ListText(int row) const override {
        const HWND list = Item(ids::lstTimeZone + row);
        const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (index < 0) return {};
        const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
        if (length < 0) return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied =
            SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
        return text;
    }
    int CheckState(int row) const override {
        const LRESULT state = SendMessageW(Item(ids::chkDST + row), BM_GETCHECK, 0, 0);
        return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
    }
    void SetCheckState(int row, int state) override {
        const WPARAM check = state == 1   ? BST_CHECKED
                             : state == 2 ? BST_INDETERMINATE
                                          : BST_UNCHECKED;
        SendMessageW(Item(ids::chkDST + row), BM_SETCHECK, check, 0);
    }
    void SetHint(int row, const RowHint& hint) override {
        disagrees_[row] = hint.disagrees;
        SetWindowTextW(Item(ids::lblHint + row), hint.text.c_str());
        InvalidateRect(Item(ids::lblHint + row), nullptr, TRUE);
    }
    void Close() override { EndDialog(dialog_, 1); }

    bool Disagrees(int row) const { return disagrees_[row]; }

  private:
    std::array<bool, kZoneRows> disagrees_{};
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    HWND dialog_;
};

// Everything the dialog window owns while it is open.
struct DialogState {
    const SettingsPorts& ports;
    std::unique_ptr<Win32SettingsView> view;
    std::unique_ptr<frmSettings> form;
    UniqueFont dialogFont, listFont, makerFont, buttonFont;
    HCURSOR hand = nullptr;  // a shared resource cursor: not destroyed
    UINT dpi = 96;
};

HFONT FontFor(const DialogState& state, SettingsFont kind) {
    switch (kind) {
        case SettingsFont::List:
            return state.listFont.Get();
        case SettingsFont::Maker:
            return state.makerFont.Get();
        case SettingsFont::Button:
            return state.buttonFont.Get();
        case SettingsFont::Dialog:
            break;
    }
    return state.dialogFont.Get();
}

// Places every control and sizes the dialog for the given DPI.
void Layout(HWND dialog, DialogState& state, UINT dpi) {
    state.dpi = dpi;
    state.dialogFont = MakeSettingsFont(SettingsFont::Dialog, dpi);
    state.listFont = MakeSettingsFont(SettingsFont::List, dpi);
    state.makerFont = MakeSettingsFont(SettingsFont::Maker, dpi);
    state.buttonFont = MakeSettingsFont(SettingsFont::Button, dpi);
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state.dialogFont.Get()), FALSE);

    for (const ControlSpec& spec : DialogControls()) {
        const HWND control = GetDlgItem(dialog, spec.id);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(state, spec.font)),
                     TRUE);
        int height = Scale(spec.place.height, dpi);
        if (spec.windowClass == std::wstring(WC_COMBOBOXW)) {
            // The closed list keeps its table height; the open one shows about a dozen zones.
            SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         Scale(spec.place.height, dpi) - 6);
            height += Scale(3000, dpi);
        }
        SetWindowPos(control, nullptr, Scale(spec.place.left, dpi), Scale(spec.place.top, dpi),
                     Scale(spec.place.width, dpi), height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The window size whose client area is the table's, for the given DPI.
SIZE WindowSizeFor(HWND dialog, UINT dpi) {
    RECT rect{0, 0, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&rect, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), dpi);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void CentreOnScreen(HWND dialog, UINT dpi) {
    const SIZE size = WindowSizeFor(dialog, dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - size.cx) / 2,
                 area.top + (area.bottom - area.top - size.cy) / 2, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL OnInitDialog(HWND dialog, DialogState& state) {
    SetWindowTextW(dialog, kSettingsCaption);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlSpec& spec : DialogControls()) {
        // The hints get their texts from the form.
        const bool hint = spec.id >= ids::lblHint && spec.id < ids::lblHint + kZoneRows;
        CreateWindowExW(spec.exStyle, spec.windowClass, hint ? L"" : spec.text.c_str(), spec.style,
                        0, 0, 0, 0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                        instance, nullptr);
    }
    state.hand = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_OVANTA_HAND));
    if (!state.hand) state.hand = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    const UINT dpi = GetDpiForWindow(dialog);
    Layout(dialog, state, dpi ? dpi : 96);
    CentreOnScreen(dialog, state.dpi);

    state.view = std::make_unique<Win32SettingsView>(dialog);
    state.form = std::make_unique<frmSettings>(*state.view, state.ports);
    if (!state.form->Form_Load()) {
        // The catalogue failure was reported; the dialog is not shown.
        EndDialog(dialog, 0);
        return FALSE;
    }
    SetFocus(GetDlgItem(dialog, ids::cmdUpdate));
    return FALSE;  // the focus is set
}

void OnCommand(HWND dialog, DialogState& state, int id, int code) {
    if (id == ids::cmdUpdate && code == BN_CLICKED) {
        state.form->cmdUpdate_Click();
    } else if (id == ids::cmdCancel && code == BN_CLICKED) {
        state.form->cmdCancel_Click();
    } else if (id == ids::lblOvanta && code == STN_CLICKED) {
        state.form->lblOvanta_Click();
    } else if (id >= ids::chkDST && id < ids::chkDST + kZoneRows && code == BN_CLICKED) {
        // Greyed comes only from a stored value; a click toggles between checked and
        // unchecked (greyed, which counts as checked, becomes unchecked).
        const HWND box = GetDlgItem(dialog, id);
        const bool checked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
        SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        state.form->chkDST_Click(id - ids::chkDST);
    } else if (id == ids::cmdDaylight && code == BN_CLICKED) {
        state.form->cmdDaylight_Click();
    } else if (id >= ids::lstTimeZone && id < ids::lstTimeZone + kZoneRows &&
               code == CBN_SELCHANGE) {
        state.form->lstTimeZone_Click(id - ids::lstTimeZone);
    }
    // IDOK and IDCANCEL (Enter and Esc): neither button is the default or cancel button.
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            state = reinterpret_cast<DialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return OnInitDialog(dialog, *state);
        case WM_COMMAND:
            if (state && state->form) OnCommand(dialog, *state, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            // The close button: as Cancel, nothing is written.
            if (state && state->form) state->form->cmdCancel_Click();
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            // The maker label in blue, a hint that disagrees with its box in red.
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            const bool hint = id >= ids::lblHint && id < ids::lblHint + kZoneRows;
            if (id == ids::lblOvanta ||
                (hint && state && state->view && state->view->Disagrees(id - ids::lblHint))) {
                const HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, hint ? RGB(204, 0, 0) : RGB(0, 0, 255));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        }
        case WM_SETCURSOR:
            if (PointerOverrideActive()) {
                SetCursor(OverrideCursor());
            } else if (state &&
                       reinterpret_cast<HWND>(wParam) == GetDlgItem(dialog, ids::lblOvanta)) {
                SetCursor(state->hand);
            } else {
                return FALSE;
            }
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_DPICHANGED:
            if (state) {
                Layout(dialog, *state, HIWORD(wParam));
                const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(dialog, nullptr, suggested->left, suggested->top,
                             suggested->right - suggested->left, suggested->bottom - suggested->top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (ReportOnScreen()) return FALSE;
    try {
        return HandleMessage(dialog, message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
    }
}

// An empty popup dialog with a caption and a close button; the controls are made in
// WM_INITDIALOG so that they can be placed in twips for any DPI.
struct alignas(4) EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu = 0, windowClass = 0, title = 0;
};

}  // namespace

void ShowSettingsDialog(const SettingsPorts& ports) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    EmptyDialogTemplate dialogTemplate{};
    dialogTemplate.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
    DialogState state{ports, {}, {}, {}, {}, {}, {}, nullptr, 96};
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.header, nullptr,
                            SettingsDialogProc, reinterpret_cast<LPARAM>(&state));
}

void ShowSettingsDialog() {
    const SettingsAdapters adapters = MakeSettingsAdapters();
    ShowSettingsDialog(adapters.Ports());
}
