#include "shell/frmMain.h"

#include "shell/mGlobals.h"

void frmMain::Form_Load() {
    std::wstring folder = window_.AppPath();
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    swf_.SetMovie(folder + kMovieFileName);
}

void frmMain::Form_Resize() {
    if (window_.IsMinimized()) return;
    swf_.SetTop(0);
    swf_.SetLeft(0);
    swf_.SetWidth(window_.Width());
    swf_.SetHeight(window_.Height());
}

void frmMain::swf_FSCommand(const std::wstring& command, const std::wstring&) {
    if (command == L"KEYDOWN" || command == L"KEYUP") {
        EndSaver();
    } else if (command == L"MOUSEMOVE") {
        if (MouseMoveCount > 2) {
            EndSaver();
        } else {
            ++MouseMoveCount;
        }
    }
}

void frmMain::Form_KeyPress(int) {
    EndSaver();
}

bool frmMain::Form_Unload() {
    if (runMode_ == run_mode::FullScreen) screenSaver_.ShowCursor(true);
    window_.ClearPointerOverride();
    return false;
}

void frmMain::EndSaver() {
    screenSaver_.ShowCursor(true);
    screenSaver_.SetWindowPos(window_.Handle(), ss::HwndNoTopmost, 0, 0, 0, 0, ss::SwpNoSize);
    std::int32_t scratch = 0;
    screenSaver_.SystemParametersInfoA(ss::SpiSetScreenSaverRunning, 0, &scratch, 0);
    window_.TerminateProcess();
}
