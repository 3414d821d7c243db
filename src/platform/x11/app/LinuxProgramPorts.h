#pragma once
// The program-level ports on Linux: the per-user folder $XDG_CONFIG_HOME/pelloxss stands in
// for the program's folder and the registry's per-user key; GTK shows the message boxes and the
// pointer override; GIO opens addresses.

#include <memory>
#include <string>

#include "platform/ProgramPorts.h"

// $XDG_CONFIG_HOME/pelloxss (or ~/.config/pelloxss), in UTF-8; not created here.
std::string PelloxConfigFolder();

// The program folder: the given folder, created when first asked for.
std::unique_ptr<ProgramFolder> MakeConfigFolder(const std::string& folder);
// The per-user store: a key file "<folder>/<application>.ini" with one group per section,
// saved atomically. A file that cannot be parsed is kept beside it as "<name>.broken" before
// the first save replaces it.
std::unique_ptr<SettingsStore> MakeKeyFileStore(const std::string& folder);
// Replaces files whole (a temporary file renamed over the target); creates the folder.
std::unique_ptr<FileReplacer> MakeAtomicFileReplacer();

// Initialises GTK once; false when no display can be opened.
bool EnsureGtk();

// The report of a failure that no handler caught: a message box with its number and
// description (on standard error when there is no display), then the end of the program.
[[noreturn]] void ReportUncaughtFailure(long number, const std::wstring& description);
// For use inside a catch block: reports the exception being handled.
[[noreturn]] void ReportCurrentException();
