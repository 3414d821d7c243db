#pragma once
// The report of a failure that no handler caught: a message box with its number and
// description, then the end of the program.
#include <string>

[[noreturn]] void ReportUncaughtFailure(long number, const std::wstring& description);
// For use inside a catch block: reports the exception being handled.
[[noreturn]] void ReportCurrentException();
