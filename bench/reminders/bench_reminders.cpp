// Reminder timings on a list of 10,000 reminders (by date and by number, none due): one
// tick of the reminder timer that finds nothing due, a tick that raises 1,000, and the start
// of the list window with 1,000 of them already due. Prints the best and the median of
// several runs; asserts nothing. Runs offscreen.
#include "core/platform/Clock.h"
#include "core/reminders/ReminderRules.h"
#include "gui/reminders/ReminderWindows.h"
#include "core/settings/Settings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace zrk;

namespace {

constexpr int kReminders = 10000;
constexpr int kDue = 1000;

struct QuietHost final : ReminderHost {
    void reminderListClosed() override {}
    void playReminderSound(const QString&) override {}
};

const QDateTime kNow(QDate(2026, 6, 1), QTime(12, 0));

// Every tenth by number; `due` of the date reminders are due one minute from kNow (spread
// over the list), the others in the weeks to come.
QList<ReminderRecord> reminders(int due) {
    QList<ReminderRecord> out;
    int dueLeft = due;
    for (int i = 0; i < kReminders; ++i) {
        ReminderRecord r = ReminderRecord::empty();
        r.Note.setText(QStringLiteral("Напоминание номер %1\rвторая строка\r").arg(i));
        if (i % 10 == 9) {
            r.Kind = ReminderByNumber;
            r.Number.setText(QStringLiteral("(812) 555-%1").arg(i, 4, 10, QLatin1Char('0')));
        } else {
            r.Kind = ReminderByDate;
            const bool isDue = dueLeft > 0 && i % (kReminders / qMax(1, due)) == 0;
            if (isDue) --dueLeft;
            setDueTime(r, isDue ? kNow.addSecs(60) : kNow.addDays(1 + i % 60));
        }
        out.append(r);
    }
    return out;
}

struct Figures {
    double best, median;
};

Figures measure(int runs, const std::function<double()>& once) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) t.push_back(once());
    std::sort(t.begin(), t.end());
    return {t.front(), t[t.size() / 2]};
}

void report(const char* what, const Figures& f, double target = 0) {
    std::printf("%-40s best %8.3f ms   median %8.3f ms", what, f.best, f.median);
    if (target > 0) std::printf("   target < %g ms  %s", target, f.median < target ? "ok" : "OVER");
    std::printf("\n");
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes on raising windows would drown the figures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type != QtDebugMsg && type != QtWarningMsg)
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    ini() = TIni::defaults();
    QDateTime now = kNow;
    setClockForTesting([&now] { return now; });
    QuietHost host;

    SaveReminders(reminders(kDue));
    {
        ReminderDocument document;
        TAlertReminder alert;
        TReminder list(document, host, alert);
        std::printf("reminders: %d in the list, %d of them due a minute later\n",
                    list.rows().count(), kDue);
        report("tick, nothing due",
               measure(200,
                       [&] {
                           QElapsedTimer t;
                           t.start();
                           list.document().tick();
                           return t.nsecsElapsed() / 1e6;
                       }),
               5);
    }
    // The raising tick: each run starts from the same file a minute before.
    report("tick raising 1,000 (file saved)", measure(5, [&] {
               now = kNow;
               SaveReminders(reminders(kDue));
               ReminderDocument document;
               TAlertReminder alert;
               TReminder list(document, host, alert);
               now = kNow.addSecs(60);
               QElapsedTimer t;
               t.start();
               list.document().tick();
               const double ms = t.nsecsElapsed() / 1e6;
               if (alert.count() != kDue) std::printf("raised %d, not %d\n", alert.count(), kDue);
               return ms;
           }));
    now = kNow.addSecs(60);
    report("start with 1,000 due (load and raise)", measure(5, [&] {
               SaveReminders(reminders(kDue));
               QElapsedTimer t;
               t.start();
               ReminderDocument document;
               TAlertReminder alert;
               TReminder list(document, host, alert);
               return t.nsecsElapsed() / 1e6;
           }));
    report("start with none due (load only)", measure(5, [&] {
               SaveReminders(reminders(0));
               QElapsedTimer t;
               t.start();
               ReminderDocument document;
               TAlertReminder alert;
               TReminder list(document, host, alert);
               return t.nsecsElapsed() / 1e6;
           }));
    setClockForTesting({});
    return 0;
}
