// The entry of pelloxss-settings.so.
#include "platform/linux/SettingsModule.h"

#include "platform/linux/settings/GtkSettingsDialog.h"
#include "platform/linux/settings/LinuxProgramPorts.h"

namespace {

class GtkSettingsModule final : public SettingsModule {
  public:
    void ShowSettingsDialog() override { ::ShowSettingsDialog(); }
    MessageBoxPort& Messages() override { return *messages_; }

  private:
    std::unique_ptr<MessageBoxPort> messages_ = MakeGtkMessages();
};

}  // namespace

extern "C" __attribute__((visibility("default"))) SettingsModule* PelloxSettingsModule() {
    static GtkSettingsModule module;
    return &module;
}
