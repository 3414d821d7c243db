// Start-up of pelloxss.scr, as far as the settings road ("/c"): the real ports are built here
// and the dialog is shown. The other modes come with the saver shell.
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "config/ClockCaptionReader.h"
#include "platform/ProgramPorts.h"
#include "platform/SystemPorts.h"
#include "platform/win32/app/ReportFailure.h"
#include "platform/win32/config/SettingsDialog.h"

namespace {

// The first two characters of the arguments, without surrounding spaces, in lower case.
std::string ModeKey(const char* arguments) {
    std::string line = arguments ? arguments : "";
    line.erase(0, line.find_first_not_of(' '));
    line.erase(line.find_last_not_of(' ') + 1);
    std::transform(line.begin(), line.end(), line.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return line.substr(0, 2);
}

// The XML component runs in this thread's apartment for the life of the program.
class ComApartment {
  public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    try {
        if (ModeKey(arguments) != "/c") return 0;
        ComApartment com;
        const SystemPorts system = MakeSystemPorts();
        const ProgramPorts program = MakeProgramPorts();
        VbXmlCaptionReader captions;
        ShowSettingsDialog(SettingsPorts{*system.registry, *system.version, *system.textCompare,
                                         *program.folder, *program.messages, *program.pointer,
                                         *program.shell, *program.store, *program.files,
                                         *program.localZone, captions});
        return 0;
    } catch (...) {
        ReportCurrentException();
    }
}
