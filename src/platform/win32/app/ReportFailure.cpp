#include "platform/win32/app/ReportFailure.h"

#include <windows.h>

#include <exception>

#include "platform/AppError.h"
#include "platform/ProgramPorts.h"
#include "platform/TextEncoding.h"

void ReportUncaughtFailure(long number, const std::wstring& description) {
    const std::wstring text =
        L"Run-time error '" + std::to_wstring(number) + L"':\r\n\r\n" + description;
    MessageBoxW(nullptr, text.c_str(), kProgramTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(1);
}

void ReportCurrentException() {
    try {
        throw;
    } catch (const AppError& error) {
        ReportUncaughtFailure(error.Number, error.Description);
    } catch (const std::exception& error) {
        ReportUncaughtFailure(errnum::AutomationError, utf8::ToWide(error.what()));
    } catch (...) {
        ReportUncaughtFailure(errnum::AutomationError, L"Unexpected failure");
    }
}
