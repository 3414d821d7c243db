#pragma once
// The report of a failure that no handler caught: "Run-time error 'N':" with the error's number
// and description, shown in a message box with the program's title; then the program ends.
// Window procedures, dialog procedures and callbacks catch at their edge and come here; each
// platform only shows the box and ends the process.

#include <string>

#include "platform/ProgramPorts.h"

struct RunTimeError {
    long number = 0;
    std::wstring description;
};

// Inside a catch block: the exception being handled as a number and a description (AppError
// carries its own; anything else counts as a failed call into a component, 440).
RunTimeError CurrentRunTimeError();

// "Run-time error 'N':" CR LF CR LF "description".
std::wstring RunTimeErrorText(const RunTimeError& error);

// Shows the report as an error message box with an OK button.
void ShowRunTimeError(MessageBoxPort& messages, const RunTimeError& error);
