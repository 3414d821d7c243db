#include "platform/AppError.h"

AppError FileError(FileFault fault, const std::wstring& what, const std::wstring& detail) {
    long number = errnum::PathFileAccess;
    std::wstring name = L"Path/File access error";
    switch (fault) {
        case FileFault::PermissionDenied:
            number = errnum::PermissionDenied;
            name = L"Permission denied";
            break;
        case FileFault::PathNotFound:
            number = errnum::PathNotFound;
            name = L"Path not found";
            break;
        case FileFault::DiskFull:
            number = errnum::DiskFull;
            name = L"Disk full";
            break;
        case FileFault::Other:
            break;
    }
    return AppError(number, name + L": " + what + L" (" + detail + L")");
}
