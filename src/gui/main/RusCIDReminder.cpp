// The main window's side of the reminders: the 30-second tick with the daily port and sound
// schedules, the reminder list and form commands, and the alerts at closing.
#include "gui/main/RusCID.h"

#include "core/platform/Clock.h"
#include "gui/desktop/Sound.h"
#include "gui/reminders/ReminderWindows.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace zrk {

void TRusCID::wireReminders() {
    connect(tReminder, &QTimer::timeout, this, [this] { safely([this] { tReminderTimer(); }); });
    connect(mPReminder, &QAction::triggered, this, [this] {
        // The item has flipped its own check mark already.
        mPReminder->setChecked(!mPReminder->isChecked());
        safely([this] { mPReminderClick(); });
    });
    connect(sbOpti, &QToolButton::clicked, this, [this] { safely([this] { mPReminderClick(); }); });
    connect(N9, &QAction::triggered, this, [this] { safely([this] { mPReminClick(); }); });
    enableReminderCommands();
}

void TRusCID::enableReminderCommands() {
    const bool on = windows_.reminders != nullptr;
    mPReminder->setEnabled(on);
    sbOpti->setEnabled(on);
    N9->setEnabled(on);
}

void TRusCID::tReminderTimer() {
    if (windows_.reminders)
        windows_.reminders->tReminderTimer();
    else
        runSchedules();
}

void TRusCID::mPReminderClick() {
    if (!windows_.reminders) return;
    mPReminder->setChecked(!mPReminder->isChecked());
    if (mPReminder->isChecked()) {
        windows_.reminders->show();
        windows_.reminders->raise();
    } else {
        windows_.reminders->close();
    }
}

void TRusCID::mPReminClick() {
    if (windows_.reminders) windows_.reminders->addForNumber(pNumber->text());
}

void TRusCID::setReminderTimer(bool on) {
    tReminder->setInterval(30000);
    if (!on)
        tReminder->stop();
    else if (!tReminder->isActive())
        tReminder->start();  // a refresh must not put off the tick
}

void TRusCID::takeScheduleState() { schedules_.take(ini(), now().time()); }

void TRusCID::runSchedules() {
    if (closed_) return;
    const QTime t = now().time();
    safely([&] {
        switch (schedules_.portChange(ini(), t)) {
            case ScheduleRules::TurnOff:
                if (PortActive) ClosePortClick();
                break;
            case ScheduleRules::TurnOn:
                if (!PortActive) OpenPortClick();
                break;
            case ScheduleRules::None:
                break;
        }
    });
    const ScheduleRules::Change sound = schedules_.soundChange(ini(), t);
    if (sound == ScheduleRules::None) return;
    const bool on = sound == ScheduleRules::TurnOn;
    changeSettings(SettingsChange::Switched, [on](TIni& s) { s.Sound = on; });
}

void TRusCID::reminderListClosed() {
    mPReminder->setChecked(false);
}

void TRusCID::playReminderSound(const QString& fileName) {
    if (!sound_) return;
    sound_->stop();
    sound_->play(fileName);
}

void TRusCID::closeReminders(QStringList& failures) {
    tReminder->stop();
    if (!windows_.reminders) return;
    // What the list cannot save is told with the rest of the closing's failures, never in
    // a box of its own that a signal would wait on.
    try {
        windows_.reminders->closeForExit(failures);
    } catch (const std::exception& e) {
        failures.append(QString::fromUtf8(e.what()));
    }
}

}  // namespace zrk
