// The platform's end of the failure report: the message box, then the end of the process.
#include <windows.h>

#include "platform/Platform.h"
#include "platform/win32/app/Win32ProgramPorts.h"

void ReportRunTimeError(const RunTimeError& error) {
    ShowRunTimeError(*MakeWin32Messages(), error);
    ExitProcess(1);
}
