#pragma once
// The reminder list and alert in a sandbox of their own, on a clock the test sets, with a
// stand-in for the main window.
#include "core/platform/Clock.h"
#include "core/platform/Registry.h"
#include "core/reminders/ReminderRules.h"
#include "gui/reminders/ReminderWindows.h"
#include "gui/windows/FailurePresenter.h"
#include "core/settings/Settings.h"

#include "TestSupport.h"
#include "core/book/StoreTesting.h"
#include "core/reminders/ReminderRecords.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>

// What the list asked of the main window.
struct FakeHost final : zrk::ReminderHost {
    void reminderListClosed() override { ++listClosed; }
    void playReminderSound(const QString& f) override {
        if (failPlay) throw std::runtime_error("no sound");
        played << f;
    }
    bool failPlay = false;
    int listClosed = 0;
    QStringList played;
};

// Answers the next modal window (a question, a form) with `act` once it is up.
inline void onNextModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* w = nullptr;
        if (QTest::qWaitFor([&] { return (w = QApplication::activeModalWidget()) != nullptr; },
                            5000))
            act(w);
    });
}

inline void answer(QWidget* modal, QMessageBox::StandardButton button, QString* text = nullptr) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) return;
    if (text) *text = box->text();
    box->button(button)->click();
}

struct ReminderFixture {
    // `file`: the reminders in "reminder.rmd" when the list is created.
    explicit ReminderFixture(const QDateTime& start, const QList<zrk::ReminderRecord>& file = {})
        : now(start) {
        zrk::RegistryFile::resetUser();
        zrk::ini() = zrk::TIni::defaults();
        zrk::setClockForTesting([this] { return now; });
        if (!file.isEmpty()) zrk::SaveReminders(file);
        reopen();
    }
    // The reminders read from the file, and the windows that show them, as at a start.
    void reopen() {
        list.reset();
        alert.reset();
        document = std::make_unique<zrk::ReminderDocument>();
        QObject::connect(document.get(), &zrk::ReminderDocument::failed,
                         &zrk::FailurePresenter::instance(), &zrk::FailurePresenter::show);
        alert = std::make_unique<zrk::TAlertReminder>();
        list = std::make_unique<zrk::TReminder>(*document, host, *alert);
    }
    ~ReminderFixture() {  // the windows go after their clock, before their document
        zrk::setClockForTesting({});
        zrk::RegistryFile::resetUser();
    }

    // The files once the list's last save is on disk.
    QList<zrk::ReminderRecord> fileRecords() const {
        list->finishSaves();
        return zrk::LoadReminders();
    }
    QList<zrk::ReminderRecord> backupRecords() const {
        list->finishSaves();
        return zrk::LoadReminders(QString::fromLatin1(zrk::kReminderBackup));
    }
    QStringList queue() const {
        QStringList out;
        for (int i = 0; i < alert->count(); ++i) out << alert->alert(i).Note.text();
        return out;
    }

    zrktest::Sandbox box;
    QDateTime now;
    FakeHost host;
    std::unique_ptr<zrk::ReminderDocument> document;
    std::unique_ptr<zrk::TAlertReminder> alert;
    std::unique_ptr<zrk::TReminder> list;
};
