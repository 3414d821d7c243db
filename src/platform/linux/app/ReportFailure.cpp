// The platform's end of the failure report: the settings module's message box (standard error
// when the module or a display is missing), then the end of the process.
#include <cstdio>
#include <cstdlib>

#include "platform/Platform.h"
#include "platform/TextEncoding.h"
#include "platform/linux/SettingsModule.h"

void ReportRunTimeError(const RunTimeError& error) {
    if (SettingsModule* module = LoadSettingsModule()) {
        ShowRunTimeError(module->Messages(), error);
    } else {
        std::fprintf(stderr, "%s: %s\n", utf8::FromWide(kProgramTitle).c_str(),
                     utf8::FromWide(RunTimeErrorText(error)).c_str());
    }
    std::exit(1);
}
