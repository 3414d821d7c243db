#pragma once
// A failure passed to the caller: an error number and a description, as the message box
// that reports an uncaught failure shows them.

#include <stdexcept>
#include <string>

#include "platform/TextEncoding.h"

class AppError : public std::runtime_error {
  public:
    AppError(long number, std::wstring description)
        : std::runtime_error(utf8::FromWide(description)),
          Number(number),
          Description(std::move(description)) {}

    long Number;
    std::wstring Description;
};

// Error numbers, in the ranges the old runtime used, so that reports read alike.
namespace errnum {
inline constexpr long InvalidProcedureCall = 5;  // invalid argument
inline constexpr long Overflow = 6;
inline constexpr long TypeMismatch = 13;
inline constexpr long FileNotFound = 53;
inline constexpr long PermissionDenied = 70;
inline constexpr long PathFileAccess = 75;
inline constexpr long PathNotFound = 76;
inline constexpr long DiskFull = 61;
inline constexpr long ObjectRequired = 424;   // a step that needs a node found none
inline constexpr long AutomationError = 440;  // a failed call into a component
}  // namespace errnum

// The kinds of file and store failure that reports tell apart.
enum class FileFault { PermissionDenied, PathNotFound, DiskFull, Other };

// The failure with its number and name: "Permission denied: <what> (<detail>)" is 70,
// "Path not found" 76, "Disk full" 61, anything else "Path/File access error" 75.
AppError FileError(FileFault fault, const std::wstring& what, const std::wstring& detail);
