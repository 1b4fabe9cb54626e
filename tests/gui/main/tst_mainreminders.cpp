// The main window's side of the reminders: the sound schedule as the window shows it, a
// caller's number reminder, the list and form commands, and the alerts at closing.
#include "gui/desktop/ColorRef.h"
#include "MainFixture.h"
#include "gui/reminders/ReminderFixture.h"

#include "gui/main/ClickLabel.h"
#include "gui/reminders/ReMind.h"

#include <QAction>
#include <QMessageBox>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace zrk;

namespace {

// A main window with the reminder windows of a run.
struct Run {
    explicit Run(const QList<ReminderRecord>& file = {},
                 const std::function<void(BookStore&)>& book = {})
        : m({}, true, book) {
        setClockForTesting([this] { return now; });
        if (!file.isEmpty()) SaveReminders(file);
        alert = std::make_unique<TAlertReminder>();
        list = std::make_unique<TReminder>(m.reminderDocument(), *m.window, *alert);
        list->setBook(&m.bookDocument->store());  // as the program wires them
        m.reminders = list.get();
        m.window->setRunWindows({m.phoneBook.get(), alert.get(), list.get(), m.alert.get(),
                                 m.calls.get(), m.allScreen.get(), nullptr});
    }
    ~Run() {
        m.window->FormClose();
        m.reminders = nullptr;
        list.reset();
        alert.reset();
        setClockForTesting({});
    }
    void tick(int h, int mi) {
        now = QDateTime(now.date(), QTime(h, mi));
        m.desk->scheduleTick();
    }

    MainFixture m;
    QDateTime now{QDate(2026, 1, 31), QTime(12, 0)};
    std::unique_ptr<TAlertReminder> alert;
    std::unique_ptr<TReminder> list;
};

}  // namespace

class TestMainReminders : public QObject {
    Q_OBJECT
private slots:
    // A close (a signal, the end of the session) under the list's delete question: the
    // alerts put back as due reminders stay saved, and the answer that comes after changes
    // nothing: no tick, no raise, no deletion.
    void closeUnderTheDeleteQuestion() {
        Run r({byDate(QDateTime(QDate(2026, 1, 31), QTime(11, 0)), "в одиннадцать\r"),
               byDate(QDateTime(QDate(2026, 2, 1), QTime(9, 0)), "завтра\r")});
        QCOMPARE(r.alert->count(), 1);
        r.m.child<QToolButton>("sbOpti")->click();
        r.list->lvNotes->selectionModel()->select(
            r.list->lvNotes->model()->index(0, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        onNextModal([&r](QWidget* w) {
            r.m.window->closeQuietly();
            answer(w, QMessageBox::Yes);
        });
        r.list->sbDelClick();
        QVERIFY(!r.list->document().ownTimerActive());
        QCOMPARE(r.alert->count(), 0);
        QVERIFY(!r.alert->isVisible());
        QCOMPARE(notesOf(LoadReminders()), (QStringList{"завтра\r", "в одиннадцать\r"}));
        QCOMPARE(r.list->rows().count(), 2);
        r.list->document().tick();
        r.list->ED();
        QCOMPARE(r.alert->count(), 0);
        QVERIFY(!r.list->document().ownTimerActive());
        QCOMPARE(notesOf(LoadReminders()), (QStringList{"завтра\r", "в одиннадцать\r"}));
    }

    // The sound schedule switches "Sound" and greys and restores the sound indicator.
    void soundSchedule() {
        Run r;
        ini().SoundOnOff = true;
        ini().SoundOff = timeValue(QTime(22, 0));
        ini().SoundOn = timeValue(QTime(6, 0));
        ini().Sound = true;
        const auto colour = [&] {
            return toColorRef(r.m.child<ClickLabel>("stSound")->palette().color(QPalette::WindowText));
        };
        r.tick(21, 59);
        r.tick(22, 1);
        QVERIFY(!ini().Sound);
        QCOMPARE(colour(), ini().NotActiveColor);
        r.tick(6, 0);
        QVERIFY(ini().Sound);
        QCOMPARE(colour(), ini().InfoColor);
    }

    // A caller with a number reminder raises it with the reminder sound.
    void callerRaisesNumberReminder() {
        Run r({byNumber("(34)56-78", "перезвонить\r"), byNumber("765432", "другой\r")});
        ini().ReminderSound = "remind.wav";
        const QByteArray call = "CallerID: 4952345678:1\r\n";  // cut to its last 6 digits
        r.m.desk->processBatch(call.constData(), qint32(call.size()));
        QCOMPARE(r.alert->count(), 1);
        QVERIFY(r.alert->isVisible());
        QCOMPARE(r.alert->alert(0).Note.text(), QString("перезвонить\r"));
        QCOMPARE(r.m.sound->played.last(), QString("remind.wav"));
        QVERIFY(r.m.sound->stops > 0);
        r.list->finishSaves();
        QCOMPARE(notesOf(LoadReminders()), QStringList{"другой\r"});
    }

    // "Напоминания" shows and hides the list with the check mark; the list's own close
    // clears it. "Добавить в напоминание..." opens the form for the number shown.
    void listAndFormCommands() {
        Run r({}, [](BookStore& b) {
            b.AddItem(entry("Петров", "11-22-33", 0), true);
            b.AddItem(entry("Сидоров", "44-55-66", 0), true);
        });
        QVERIFY(r.m.child<QToolButton>("sbOpti")->isEnabled() && r.m.child<QAction>("N9")->isEnabled());
        r.m.child<QToolButton>("sbOpti")->click();
        QVERIFY(r.list->isVisible());
        QVERIFY(r.m.child<QAction>("mPReminder")->isChecked());
        r.m.child<QAction>("mPReminder")->trigger();
        QVERIFY(!r.list->isVisible());
        QVERIFY(!r.m.child<QAction>("mPReminder")->isChecked());
        r.m.child<QAction>("mPReminder")->trigger();
        QVERIFY(r.list->isVisible() && r.m.child<QAction>("mPReminder")->isChecked());
        r.list->sbHide->click();
        QVERIFY(!r.m.child<QAction>("mPReminder")->isChecked());

        r.m.window->ViewNumber("2345678", true);
        bool byNumber = false;
        QStringList offered;
        onNextModal([&](QWidget* w) {
            byNumber = w->findChild<QRadioButton*>("rbNumber")->isChecked() &&
                       !w->findChild<QComboBox*>("dtTime")->isEnabled();
            auto* numbers = w->findChild<QComboBox*>("cbNumber");
            for (int i = 0; i < numbers->count(); ++i) offered << numbers->itemText(i);
            w->findChild<QPlainTextEdit*>("mNote")->setPlainText("позвонить");
            w->findChild<QPushButton*>("bOK")->click();
        });
        r.m.child<QAction>("N9")->trigger();
        QVERIFY(byNumber);
        QCOMPARE(offered, (QStringList{"11-22-33", "44-55-66"}));  // the book, in book order
        QCOMPARE(r.list->rows().count(), 1);
        QCOMPARE(r.list->rows().record(0).Number.text(), r.m.number());
        QVERIFY(numberMatches(r.list->rows().record(0), "2345678"));
        RegKey reg(RegistryFile::user());
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\NewReminder"));
    }

    // Closing the main window puts the alerts still shown back among the reminders.
    void closingKeepsRaisedAlerts() {
        Run r({byDate(QDateTime(QDate(2026, 1, 31), QTime(11, 0)), "в одиннадцать\r")});
        QCOMPARE(r.alert->count(), 1);
        r.m.window->FormClose();
        QVERIFY(!r.list->document().ownTimerActive());
        const QList<ReminderRecord> saved = LoadReminders();
        QCOMPARE(notesOf(saved), QStringList{"в одиннадцать\r"});
        QCOMPARE(dueKey(saved.first()), minuteKey(r.now));
    }
};

QTEST_MAIN(TestMainReminders)
#include "tst_mainreminders.moc"
