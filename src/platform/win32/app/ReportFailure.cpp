// The platform's end of the failure report: the message box, then the end of the process.
#include <windows.h>

#include "platform/Platform.h"
#include "platform/win32/app/Win32ProgramPorts.h"

namespace {

bool g_reportOnScreen = false;

// The report's box stays until the user closes it: not covered by the full-screen saver (the
// program's topmost windows step aside; Wine does not make a box topmost), and not closed by a
// quit request that the program's windows left behind.
class ReportBox final : public MessageBoxPort {
  public:
    int MsgBox(const std::wstring& prompt, int buttons, const std::wstring& title) override {
        EnumThreadWindows(GetCurrentThreadId(), HideIfTopmost, 0);
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        return MessageBoxW(
            nullptr, prompt.c_str(), title.c_str(),
            static_cast<UINT>(buttons) | MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND);
    }

  private:
    static BOOL CALLBACK HideIfTopmost(HWND window, LPARAM) {
        if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ShowWindow(window, SW_HIDE);
        return TRUE;
    }
};

}  // namespace

bool ReportOnScreen() {
    return g_reportOnScreen;
}

void ReportRunTimeError(const RunTimeError& error) {
    g_reportOnScreen = true;
    ReportBox box;
    ShowRunTimeError(box, error);
    ExitProcess(1);
}
