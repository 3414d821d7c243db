#pragma once
// The settings road lives in a module of its own, pelloxss-settings.so, loaded only when it is
// needed: the saver then never loads GTK, GIO or ICU. The module holds the settings dialog and
// the message box that reports failures.

#include "platform/ProgramPorts.h"

class SettingsModule {
  public:
    virtual ~SettingsModule() = default;
    // Shows the settings dialog modally with the platform's adapters; returns when it has
    // closed. A failure inside is reported and ends the program.
    virtual void ShowSettingsDialog() = 0;
    // Message boxes (on standard error when no display can be opened).
    virtual MessageBoxPort& Messages() = 0;
};

// The module's entry point, looked up by name.
inline constexpr const char* kSettingsModuleEntry = "PelloxSettingsModule";
extern "C" SettingsModule* PelloxSettingsModule();

// In the program: the module, loaded on first use from the program's own folder or from the
// installed library folder; null when it cannot be loaded (the reason on standard error).
SettingsModule* LoadSettingsModule();
