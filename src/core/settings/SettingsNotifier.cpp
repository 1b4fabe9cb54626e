#include "core/settings/SettingsNotifier.h"

#include "core/settings/Settings.h"

namespace zrk {

SettingsNotifier& settingsNotifier() {
    static SettingsNotifier notifier;
    return notifier;
}

void changeSettings(SettingsChange how, const std::function<void(TIni&)>& edit) {
    const TIni before = ini();
    edit(ini());
    emit settingsNotifier().settingsChanged(before, how);
}

}  // namespace zrk
