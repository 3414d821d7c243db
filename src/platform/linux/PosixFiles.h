#pragma once
// Paths and folders at the Linux file-system edges. The portable code builds paths the Windows
// way, the program folder followed by "\pellox2.xml"; on Linux every backslash of such a path
// is a folder separator. The file replacer, the XML load and save, and the file stamps pass
// their paths through NativePath before they reach the file system.

#include <memory>
#include <string>

#include "platform/ProgramPorts.h"

// The path with each '\' turned into '/', in UTF-8.
std::string NativePath(const std::wstring& path);

// $XDG_CONFIG_HOME/pelloxss (or ~/.config/pelloxss), in UTF-8; not created here. It stands in
// for the program's folder (the clock file) and the registry's per-user key (the store).
std::string PelloxConfigFolder();
// The program folder: the given folder, created when first asked for.
std::unique_ptr<ProgramFolder> MakeConfigFolder(const std::string& folder);
