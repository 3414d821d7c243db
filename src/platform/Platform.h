#pragma once
// What each platform library defines: its adapters behind the ports. The program's entry, its
// tools and the tests that run against the real system use these; the portable code never
// does, it receives the ports.

#include <memory>

#include "platform/ProgramPorts.h"
#include "shell/RunTimeError.h"

class XmlComponent;
struct SettingsAdapters;

// The XML component: MSXML on Windows, libxml2 on Linux.
const XmlComponent& PlatformXmlComponent();
// File stamps from the file system.
const FileStamps& PlatformFileStamps();
// The folder of the program's clock file.
std::unique_ptr<ProgramFolder> MakeProgramFolder();
// Everything the settings dialog reaches (on Linux, from the settings module).
SettingsAdapters MakeSettingsAdapters();

// The platform's end of the failure report: shows it in a message box (on standard error where
// no box can be shown) and ends the program with exit code 1.
[[noreturn]] void ReportRunTimeError(const RunTimeError& error);

// For use inside a catch block: reports the exception being handled.
[[noreturn]] inline void ReportCurrentException() {
    ReportRunTimeError(CurrentRunTimeError());
}
