// A reported caller: what is shown, done, listed and logged for it.
#include "core/book/BookStore.h"
#include "gui/book/PhoneBook.h"
#include "gui/calls/ListRing.h"
#include "core/call/CallLog.h"
#include "gui/main/CallNotifier.h"
#include "core/call/CallerReport.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/RusCID.h"
#include "core/platform/Clock.h"
#include "gui/reminders/Reminder.h"
#include "core/settings/District.h"
#include "core/settings/Settings.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/WinAlert.h"

#include <QLabel>

namespace zrk {

void TRusCID::StNumber(const QString& report) {
    if (!windows_.book && makeRunWindows_) makeRunWindows_();
    const ReportParts parts = parseReport(report, ini());
    if (parts.hasCategory) {
        setInfoCaption(parts.caption);
        if (parts.hintChanged) setInfoHint(parts.hint, parts.showHint);
    }
    const QString& number = parts.number;
    const QString district = FindRaion(number);
    if (!district.isEmpty()) {
        setInfoCaption(district);
        setInfoHint(district, true);
    }
    CallerInfo who = lookUpCaller(number);
    // Another desk's book, or the server's alias, may know a caller this book does not.
    if (who.name.isEmpty() && remoteCall_) who.name = remoteName_;
    // The same call asked about once more is shown, but not acted on, listed, counted, logged
    // or shared a second time.
    const CallerDecision call = calls_.report(number, who, remoteCall_, ini(), now());
    if (!call.again)
        performAction(call.action, who.name, call.shown, who.status, who.group.Title.text());
    if (!who.name.isEmpty()) setInfoCaption(who.name);
    ViewNumber(number, true);
    const QString shown = pNumber->text();
    const QString hint = shown + QLatin1Char(' ') + who.name;
    if (!call.again) {
        if (windows_.reminders) windows_.reminders->raiseForNumber(number);
        if (windows_.calls) windows_.calls->AddItem(shown, who.name, who.status, remoteLine_);
        CountCaller(CallCount + 1);
    }
    setTrayHint(hint);
    notifier_->callIdentified({.shown = shown,
                               .name = who.name,
                               .category = parts.hasCategory ? parts.caption : QString(),
                               .district = district,
                               .status = who.status,
                               .dialable = !CurrentNumber.isEmpty()},
                              call.again, ini().Notifications);
    if (!call.again) {
        // Said once; a log that cannot be written must not cost every later call its
        // full-screen display and its ring sound.
        if (FileError error; !WriteLog(hint, &error)) showErrorOnce(error.message);
        shareCall(number, who.name);
    }
    if (ini().Screen && windows_.allScreen) {
        // In an office of several lines the line tells who should pick up.
        const QString info = remoteLine_.isEmpty() ? who.name
                             : who.name.isEmpty()
                                 ? tr("Линия %1").arg(remoteLine_)
                                 : tr("%1 (линия %2)").arg(who.name, remoteLine_);
        windows_.allScreen->InitForm(shown, info);
        windows_.allScreen->showFullScreen();
    }
}

CallerInfo TRusCID::lookUpCaller(const QString& number) {
    if (!windows_.book && makeRunWindows_) makeRunWindows_();
    if (!windows_.book) return {};
    // A call that comes while the book is still being read waits for it: never an unknown
    // caller who is in the book.
    windows_.book->waitForBook();
    return windows_.book->store().WhoCall(number);
}

void TRusCID::performAction(int action, const QString& name, const QString& shown, int status,
                            const QString& group) {
    switch (action) {
        case ActionMessage:
            if (!ini().Screen && windows_.alert) {
                windows_.alert->InitForm(name, shown, group, status);
                windows_.alert->show();
            }
            break;
        case ActionHangUp:
            // Another desk's line cannot be hung up from here.
            if (!remoteCall_) sbAnswerClick();
            break;
        default: break;  // ignoring only keeps the call silent
    }
}

void TRusCID::ViewNumber(const QString& number, bool identified) {
    if (number == QLatin1String("Unknown") || (identified && isWordReport(number))) {
        CurrentNumber.clear();  // nothing to dial back
        pNumber->setText(number);
    } else if (identified) {
        CurrentNumber = number;
        pNumber->setText(GroupDigits(number, ini().SeparatorOfGroups, ini().DigitsInGroup));
    } else {
        CurrentNumber = DialFilter(number);
        pNumber->setText(CurrentNumber);
    }
    fitNumberFont();
}

void TRusCID::CountCaller(int count) {
    CallCount = count;
    pCountCall->setText(QString::number(count));
}

}  // namespace zrk
