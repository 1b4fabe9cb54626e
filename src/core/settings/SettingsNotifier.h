#pragma once
// SettingsNotifier: the settings record's announcement of its changes. A window that shows a
// setting follows this one signal instead of being called by whoever changed the setting.
#include <QObject>

#include <functional>

namespace zrk {

struct TIni;

// How the record came to change.
enum class SettingsChange {
    Confirmed,  // the options confirmed: whatever shows the settings takes them all up anew
    Switched,   // a value switched at run time (a menu, the sound indicator)
};

class SettingsNotifier : public QObject {
    Q_OBJECT
signals:
    // `before`: the record until now; ini() holds the changed one.
    void settingsChanged(const zrk::TIni& before, zrk::SettingsChange how);
};
SettingsNotifier& settingsNotifier();

// Changes the record through `edit` and announces the change. Nothing is written: the store
// gets it with the next save.
void changeSettings(SettingsChange how, const std::function<void(TIni&)>& edit);

}  // namespace zrk
