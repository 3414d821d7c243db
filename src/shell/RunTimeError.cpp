#include "shell/RunTimeError.h"

#include <exception>

#include "platform/AppError.h"
#include "platform/TextEncoding.h"

RunTimeError CurrentRunTimeError() {
    try {
        throw;
    } catch (const AppError& error) {
        return {error.Number, error.Description};
    } catch (const std::exception& error) {
        return {errnum::AutomationError, utf8::ToWide(error.what())};
    } catch (...) {
        return {errnum::AutomationError, L"Unexpected failure"};
    }
}

std::wstring RunTimeErrorText(const RunTimeError& error) {
    return L"Run-time error '" + std::to_wstring(error.number) + L"':\r\n\r\n" + error.description;
}

void ShowRunTimeError(MessageBoxPort& messages, const RunTimeError& error) {
    messages.MsgBox(RunTimeErrorText(error), mb::OkOnly | mb::IconError, kProgramTitle);
}
