#include "shell/mGlobals.h"

#include <cwctype>
#include <limits>

#include "platform/AppError.h"

namespace {

constexpr const char* kDisplayPropertiesTitle = "Display Properties";

}  // namespace

std::wstring NormaliseCommandLine(const std::wstring& arguments) {
    const auto first = arguments.find_first_not_of(L' ');
    if (first == std::wstring::npos) return L"";
    const auto last = arguments.find_last_not_of(L' ');
    std::wstring line = arguments.substr(first, last - first + 1);
    for (wchar_t& c : line) c = static_cast<wchar_t>(std::towlower(c));
    return line;
}

std::int32_t ToInt32Strict(const std::wstring& text) {
    const auto first = text.find_first_not_of(L' ');
    const auto last = text.find_last_not_of(L' ');
    if (first == std::wstring::npos) throw AppError(errnum::TypeMismatch, L"Type mismatch");
    std::size_t i = first;
    bool negative = false;
    if (text[i] == L'+' || text[i] == L'-') negative = text[i++] == L'-';
    if (i > last) throw AppError(errnum::TypeMismatch, L"Type mismatch");
    long long value = 0;
    for (; i <= last; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            throw AppError(errnum::TypeMismatch, L"Type mismatch");
        value = value * 10 + (text[i] - L'0');
        if (value > 0x80000000LL) throw AppError(errnum::Overflow, L"Overflow");
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        throw AppError(errnum::Overflow, L"Overflow");
    }
    return static_cast<std::int32_t>(value);
}

StartupRoad mGlobals::Main(const std::wstring& arguments) {
    const std::wstring line = NormaliseCommandLine(arguments);
    const std::wstring key = line.substr(0, 2);

    const bool displayProperties = screenSaver_.FindWindowA(nullptr, kDisplayPropertiesTitle) != 0;
    if (key.empty() || key == L"/s") {
        // Claiming and asking are one step, so two savers started together cannot both find
        // themselves first. Only the full-screen road claims: a preview or the settings dialog
        // does not count as a running saver.
        const bool first = instances_.ClaimFullScreen();
        if (key == L"/s" && !displayProperties && !first) return StartupRoad::EndedAtOnce;
        RunFullScreen();
        return StartupRoad::FullScreen;
    }
    if (key == L"/p") return RunPreview(line);
    if (key == L"/c") {
        windows_.ShowSettingsDialog();
        return StartupRoad::Settings;
    }
    return StartupRoad::None;
}

// The saver covers the whole virtual screen, every monitor, not only the primary one.
void mGlobals::RunFullScreen() {
    RunMode = run_mode::FullScreen;
    SaverRect = screenSaver_.VirtualScreenRect();
    SaverWindow = windows_.CreateSaverWindow(RunMode);
    screenSaver_.SetWindowPos(SaverWindow, ss::HwndTopmost, SaverRect.left, SaverRect.top,
                              SaverRect.right - SaverRect.left, SaverRect.bottom - SaverRect.top,
                              ss::SwpShowWindow);
    std::int32_t previous = 0;
    screenSaver_.SystemParametersInfoA(ss::SpiSetScreenSaverRunning, 0xFFFFFFFFu, &previous, 0);
}

StartupRoad mGlobals::RunPreview(const std::wstring& line) {
    RunMode = run_mode::Preview;
    PreviewParent = ToInt32Strict(line.size() > 3 ? line.substr(3) : L"");
    // A handle that names no window: nothing to draw into, so end at once rather than
    // opening a stray top-level window.
    if (!screenSaver_.IsWindow(PreviewParent)) return StartupRoad::EndedAtOnce;

    screenSaver_.GetClientRect(PreviewParent, SaverRect);
    SaverWindow = windows_.CreateSaverWindow(RunMode);
    windows_.SetSaverWindowTitle(SaverWindow, L"Preview");
    const std::int32_t style = screenSaver_.GetWindowLongA(SaverWindow, ss::GwlStyle);
    screenSaver_.SetWindowLongA(SaverWindow, ss::GwlStyle, style | ss::WsChild);
    screenSaver_.SetParent(SaverWindow, PreviewParent);
    screenSaver_.SetWindowLongA(SaverWindow, ss::GwlHwndParent, PreviewParent);
    screenSaver_.SetWindowPos(SaverWindow, 0, 0, 0, SaverRect.right, SaverRect.bottom,
                              ss::SwpNoZOrder | ss::SwpNoActivate | ss::SwpShowWindow);
    return StartupRoad::Preview;
}
