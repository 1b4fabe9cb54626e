// The main window's side of the reminders: the 30-second tick with the daily port and sound
// schedules, the reminder list and form commands, and the alerts at closing.
#include "main/RusCID.h"

#include "platform/Clock.h"
#include "platform/Sound.h"
#include "platform/UserMessages.h"
#include "reminders/ReminderWindows.h"
#include "settings/Schedule.h"
#include "settings/Settings.h"

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

void TRusCID::takeScheduleState() {
    const QTime now = zrk::now().time();
    portEdge_.take(scheduleOff(ini().PortOnOff, ini().PortOff, ini().PortOn, now));
    soundEdge_.take(scheduleOff(ini().SoundOnOff, ini().SoundOff, ini().SoundOn, now));
}

void TRusCID::runSchedules() {
    if (closed_) return;
    const QTime now = zrk::now().time();
    // A schedule switched off (or given equal times) never acts, whatever it did before:
    // it only keeps "on" as the state the next in-force tick compares with.
    if (!scheduleInForce(ini().PortOnOff, ini().PortOff, ini().PortOn)) {
        portEdge_.take(false);
    } else {
        safely([&] {
            switch (portEdge_.step(scheduleOff(true, ini().PortOff, ini().PortOn, now))) {
                case ScheduleEdge::TurnOff:
                    if (PortActive) ClosePortClick();
                    break;
                case ScheduleEdge::TurnOn:
                    if (!PortActive) OpenPortClick();
                    break;
                case ScheduleEdge::None:
                    break;
            }
        });
    }
    if (!scheduleInForce(ini().SoundOnOff, ini().SoundOff, ini().SoundOn)) {
        soundEdge_.take(false);
        return;
    }
    switch (soundEdge_.step(scheduleOff(true, ini().SoundOff, ini().SoundOn, now))) {
        case ScheduleEdge::TurnOff:
            ini().Sound = false;
            ViewSound();
            break;
        case ScheduleEdge::TurnOn:
            ini().Sound = true;
            ViewSound();
            break;
        case ScheduleEdge::None:
            break;
    }
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
    CollectedMessages collect(failures);
    try {
        windows_.reminders->closeForExit();
    } catch (const std::exception& e) {
        failures.append(QString::fromUtf8(e.what()));
    }
}

}  // namespace zrk
