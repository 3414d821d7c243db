#pragma once
// Opens a web address with the user's default handler, with the hourglass over the program's
// windows while the shell handles the request.

#include <string>

#include "platform/ProgramPorts.h"
#include "platform/TextEncoding.h"

// Every step runs whatever happened in the one before; the pointer override ends cleared.
// An empty address opens nothing. `ansi` is the code page of the shell's "A" call.
void OpenWebLink(ShellPort& shell, PointerOverride& pointer, const CodePage& ansi,
                 const std::wstring& address);
