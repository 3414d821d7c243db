#include "shell/OpenWebLink.h"

void OpenWebLink(ShellPort& shell, PointerOverride& pointer, const CodePage& ansi,
                 const std::wstring& address) {
    // Failures of each step are ignored by design: the link is a convenience, and the pointer
    // must be restored whatever the shell did.
    try {
        pointer.SetMousePointer(PointerShape::Hourglass);
    } catch (...) {
    }
    try {
        // The shell opens the working folder for an empty file name; an empty address opens
        // nothing instead.
        if (address.find_first_not_of(L' ') != std::wstring::npos) {
            shell.ShellExecuteA(0, "open", ansi.FromWide(address), "", std::nullopt, kSwShowNormal);
        }
    } catch (...) {
    }
    try {
        pointer.SetMousePointer(PointerShape::Default);
    } catch (...) {
    }
}
