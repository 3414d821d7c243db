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
inline constexpr long ObjectRequired = 424;   // a step that needs a node found none
inline constexpr long AutomationError = 440;  // a failed call into a component
}  // namespace errnum
