#pragma once
// Paths at the Linux file-system edges. The portable code builds paths the Windows way, the
// program folder followed by "\pellox2.xml"; on Linux every backslash of such a path is a
// folder separator. The file replacer, the XML load and save, and the player's file checks pass
// their paths through NativePath before they reach the file system.

#include <string>

// The path with each '\' turned into '/', in UTF-8.
std::string NativePath(const std::wstring& path);
