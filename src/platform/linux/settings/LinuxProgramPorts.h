#pragma once
// The settings road's adapters on Linux: GTK shows the message boxes and the pointer override,
// GIO opens addresses, a GLib key file in the per-user folder stands in for the registry's
// per-user key, ICU supplies the time-zone catalogue, its collation and the local zone.

#include <memory>
#include <string>

#include "platform/ProgramPorts.h"
#include "platform/TextCompare.h"

// The per-user store: a key file "<folder>/<application>.ini" with one group per section,
// saved atomically. A file that cannot be parsed is kept beside it before the first save
// replaces it, as "<name>.broken", or ".broken.1", ".broken.2" ... when earlier copies are
// kept; a file that cannot be read is left alone and the save fails with the reason.
std::unique_ptr<SettingsStore> MakeKeyFileStore(const std::string& folder);
// Replaces files whole (a temporary file renamed over the target); creates the folder.
std::unique_ptr<FileReplacer> MakeAtomicFileReplacer();
// Message boxes in GTK (on standard error when no display can be opened).
std::unique_ptr<MessageBoxPort> MakeGtkMessages();
// The default locale's collation ignoring case.
std::unique_ptr<TextCompare> MakeIcuTextCompare();

// Initialises GTK once; false when no display can be opened.
bool EnsureGtk();
