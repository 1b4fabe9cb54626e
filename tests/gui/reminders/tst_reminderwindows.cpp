// The reminder list, the alert, the reminder form and the template editor on a test clock;
// the list's rows under Qt's model checker: loading, adding, changing and removing rows (one
// by one, and many at once), with the indexes a view holds kept across.
#include "ReminderFixture.h"
#include "SaveGate.h"
#include "ShownBoxes.h"

#include "gui/reminders/EditNotes.h"
#include "gui/reminders/ReMind.h"
#include "gui/reminders/ReminderModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeView>

using namespace zrk;

namespace {

const QDateTime k1358(QDate(2026, 1, 31), QTime(13, 58, 20));

template <class T>
T* child(QObject* w, const char* name) {
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c) qWarning("no %s", name);
    return c;
}

void selectRows(TReminder& list, const QList<int>& rows) {
    QTreeView* view = list.lvNotes;
    view->clearSelection();
    for (int r : rows)
        view->selectionModel()->select(view->model()->index(r, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// The failure presenter's box on screen, if any.
QMessageBox* errorBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "errorBox" && w->isVisible()) return qobject_cast<QMessageBox*>(w);
    return nullptr;
}


constexpr auto kFatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

ReminderRecord note(const QString& text) {
    ReminderRecord r = ReminderRecord::empty();
    r.Kind = ReminderByNumber;
    r.Number.setText(QStringLiteral("2345678"));
    r.Note.setText(text);
    return r;
}

QString textAt(const QPersistentModelIndex& i) {
    if (!i.isValid()) return QStringLiteral("gone");
    return i.sibling(i.row(), ReminderModel::ColText).data().toString();
}

}  // namespace

class TestReminderWindows : public QObject {
    Q_OBJECT
private slots:
    // Due ones are raised at creation in list order and leave the file at once; the alert
    // shows the first, counts the rest, and closes after the last is dismissed.
    void dueRemindersRaisedAndDismissed() {
        ReminderFixture f(k1358,
                          {byDate(k1358, "сейчас\r"), byDate(k1358.addDays(1), "завтра\r"),
                           byDate(k1358.addDays(-3), "давно\r"), byNumber("2345678", "по номеру\r"),
                           byDate(k1358.addSecs(-60), "минуту назад\r")});
        QCOMPARE(f.queue(), (QStringList{"сейчас\r", "давно\r", "минуту назад\r"}));
        QVERIFY(f.alert->isVisible());
        QCOMPARE(f.alert->bCansel->text(), QString("Дальше - 2"));
        QVERIFY(f.alert->srPN->isEnabled());
        QCOMPARE(f.alert->mNote->toPlainText(), QString("сейчас"));
        QVERIFY(f.alert->pInfo->text().startsWith("Напоминание по дате на: "));
        QCOMPARE(f.host.played, QStringList{QString()});  // "Reminder Sound", empty by default
        QCOMPARE(notesOf(f.fileRecords()), (QStringList{"завтра\r", "по номеру\r"}));
        QCOMPARE(f.backupRecords().size(), 5);

        // The scroll bar browses; dismissing takes the one shown and goes back to the head.
        f.alert->srPN->setValue(2);
        QCOMPARE(f.alert->mNote->toPlainText(), QString("минуту назад"));
        f.alert->cbAlarmLater->setCurrentIndex(4);
        f.alert->bCansel->click();
        QCOMPARE(f.queue(), (QStringList{"сейчас\r", "давно\r"}));
        QCOMPARE(f.alert->cbAlarmLater->currentIndex(), 0);
        QCOMPARE(f.alert->bCansel->text(), QString("Дальше - 1"));
        f.alert->bCansel->click();
        QCOMPARE(f.alert->bCansel->text(), QString("OK"));
        QVERIFY(!f.alert->srPN->isEnabled());
        f.alert->bCansel->click();
        QVERIFY(!f.alert->isVisible());
        QCOMPARE(f.alert->count(), 0);
        QCOMPARE(f.list->rows().count(), 2);

        // A reminder for the next minute waits for it.
        f.document->store(byDate(f.now.addSecs(60), "через минуту\r"), 0);
        QCOMPARE(f.alert->count(), 0);
        f.now = f.now.addSecs(60);
        f.list->document().tick();
        QCOMPARE(f.queue(), QStringList{"через минуту\r"});
    }

    // Thousands due at once are raised in one loop, not one nested call each, in order.
    void thousandsDueRaisedWithoutNesting() {
        QList<ReminderRecord> many;
        for (int i = 0; i < 20000; ++i) many << byDate(k1358.addDays(-1), QString::number(i));
        ReminderFixture f(k1358, many);
        QCOMPARE(f.alert->count(), 20000);
        QCOMPARE(f.alert->alert(0).Note.text(), QString("0"));
        QCOMPARE(f.alert->alert(19999).Note.text(), QString("19999"));
        QCOMPARE(f.alert->bCansel->text(), QString("Дальше - 19999"));
        f.list->finishSaves();
        QVERIFY(!QFile::exists(kReminderFile));  // nothing left to wait
        QCOMPARE(f.backupRecords().size(), 20000);
        QCOMPARE(f.host.played.size(), 1);
    }

    // Postponing a number reminder makes a date reminder at the end of the list, with the
    // note as edited in the alert, by the calendar.
    void postponeNumberReminder() {
        const QDateTime lateEvening(QDate(2026, 1, 31), QTime(23, 30));
        ReminderFixture f(lateEvening, {byNumber("2345678", "старый\r"),
                                        byDate(lateEvening.addDays(2), "потом\r")});
        QVERIFY(f.document->raiseForNumber("2345678"));
        QCOMPARE(f.alert->pInfo->text(), QString("Напоминание по номеру: 2345678"));
        f.alert->mNote->setPlainText("новый\nтекст");
        f.alert->cbAlarmLater->setCurrentIndex(int(alarmLaterItems().indexOf("1 час")));
        f.alert->bLater->click();
        QVERIFY(!f.alert->isVisible());
        QCOMPARE(f.list->rows().count(), 2);
        const ReminderRecord moved = f.list->rows().record(1);
        QCOMPARE(moved.Note.text(), QString("новый\rтекст\r"));
        QCOMPARE(dueKey(moved), minuteKey(QDateTime(QDate(2026, 2, 1), QTime(0, 30))));
        QCOMPARE(notesOf(f.fileRecords()), (QStringList{"потом\r", "новый\rтекст\r"}));
    }

    // One call raises at most one number reminder: the first in list order.
    void numberRemindersOneAtATime() {
        ReminderFixture f(k1358,
                          {byDate(k1358.addDays(1), "дата\r"), byNumber("(34)56-78", "первый\r"),
                           byNumber("345678", "второй\r")});
        QVERIFY(f.document->raiseForNumber("345678"));
        QCOMPARE(f.queue(), QStringList{"первый\r"});
        QVERIFY(f.document->raiseForNumber("345678"));
        QCOMPARE(f.queue(), (QStringList{"первый\r", "второй\r"}));
        QVERIFY(!f.document->raiseForNumber("345678"));
        QCOMPARE(notesOf(f.fileRecords()), QStringList{"дата\r"});
    }

    // The commands, the count and the timer follow the rows: the timer waits for dates only.
    // Focus selects the first row only where there are several.
    void commandsFollowTheRows() {
        ReminderFixture f(k1358);
        QVERIFY(!f.list->sbDel->isEnabled() && !f.list->sbProp->isEnabled());
        QVERIFY(!f.list->mPDel->isEnabled() && !f.list->mPProp->isEnabled());
        QCOMPARE(f.list->stStatus->text(), QString("Записей: 0"));
        QVERIFY(!f.list->document().ownTimerActive());
        f.document->store(byNumber("1", "x\r"), 0);
        QVERIFY(!f.list->document().ownTimerActive());
        QVERIFY(f.list->sbDel->isEnabled() && f.list->mPProp->isEnabled());
        QCOMPARE(f.list->stStatus->text(), QString("Записей: 1"));
        f.list->lvNotesEnter();
        QVERIFY(!f.list->lvNotes->selectionModel()->hasSelection());
        f.document->store(byDate(k1358.addDays(1), "завтра\r"), 0);
        QVERIFY(f.list->document().ownTimerActive());
        f.list->lvNotesEnter();
        QCOMPARE(f.list->firstSelectedId(), f.list->rows().row(0).id);
        QCOMPARE(f.list->lvNotes->currentIndex().row(), 0);
    }

    // Deleting asks first; only "Удалить" deletes; the file follows at the next save.
    void deleteAsksAndSavesOnClose() {
        ReminderFixture f(k1358,
                          {byNumber("1", "a\r"), byNumber("2", "b\r"), byNumber("3", "c\r")});
        selectRows(*f.list, {0, 2});
        QString question, asked;
        onNextModal([&](QWidget* w) {
            // Named for the action, with the action's button beside Cancel: no Yes or No.
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box && !box->button(QMessageBox::No));
            asked = box->windowTitle() + ": " + box->button(QMessageBox::Yes)->text() + ", " +
                    box->button(QMessageBox::Cancel)->text();
            answer(w, QMessageBox::Cancel, &question);
        });
        f.list->sbDelClick();
        QCOMPARE(question, QString("Вы хотите удалить эти напоминания?"));
        QCOMPARE(asked, QString("Удалить напоминания: Удалить, Отмена"));
        QCOMPARE(f.list->rows().count(), 3);
        onNextModal([&](QWidget* w) { answer(w, QMessageBox::Yes); });
        f.list->sbDelClick();
        QCOMPARE(notesOf(f.list->rows().records()), QStringList{"b\r"});
        QCOMPARE(f.fileRecords().size(), 3);  // not yet written
        f.list->show();
        f.list->close();
        QCOMPARE(notesOf(f.fileRecords()), QStringList{"b\r"});
        QCOMPARE(f.host.listClosed, 1);

        selectRows(*f.list, {0});
        onNextModal([&](QWidget* w) { answer(w, QMessageBox::Yes, &question); });
        f.list->sbDelClick();
        QCOMPARE(question, QString("Вы хотите удалить это напоминание?"));
        f.list->close();
        QVERIFY(!QFile::exists(kReminderFile));
        QCOMPARE(notesOf(f.backupRecords()), QStringList{"b\r"});
        // The place and the column widths are kept.
        RegKey reg(RegistryFile::user());
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\Reminder"));
        QVERIFY(reg.valueExists("Width") && reg.valueExists("Height"));
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\Reminder\\Section3"));
    }

    // The form's quick-pick times at 13:58 and 23:50, and the whole day after the first
    // change of the date.
    void formTimes() {
        ReminderFixture f(k1358);
        {
            TReMind form(*f.list);
            auto* time = child<QComboBox>(&form, "dtTime");
            QCOMPARE(time->currentText(), QString("14:03 (5 минут)"));
            QCOMPARE(time->count(), 50);
            auto* date = child<QDateEdit>(&form, "dtDate");
            QCOMPARE(date->date(), k1358.date());
            date->setDate(k1358.date().addDays(1));
            QCOMPARE(time->count(), 47);
            QCOMPARE(time->currentText(), QString("14:00"));
            time->setCurrentIndex(0);
            date->setDate(k1358.date().addDays(2));
            QCOMPARE(time->count(), 47);
            QCOMPARE(time->currentText(), QString("0:30 "));  // left alone
        }
        f.now = QDateTime(QDate(2026, 12, 31), QTime(23, 50));
        TReMind late(*f.list);
        QCOMPARE(child<QComboBox>(&late, "dtTime")->currentText(), QString("23:55 (5 минут)"));
        QCOMPARE(child<QDateEdit>(&late, "dtDate")->date(), QDate(2026, 12, 31));
    }

    // The form in the locale's own forms: its long date shown whole on the longest days, its
    // times written and read by the locale's 12- or 24-hour clock.
    void formInTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("typed");
        QTest::newRow("en_US, Wednesday, September")
            << "en_US" << QDate(2026, 9, 30) << "2:03 PM (5 минут)" << "9:30 PM";
        QTest::newRow("ru_RU, воскресенье, сентября")
            << "ru_RU" << QDate(2026, 9, 27) << "14:03 (5 минут)" << "21:30";
    }
    void formInTheLocale() {
        QFETCH(QString, locale);
        QFETCH(QDate, date);
        const QLocale old;
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([&old] { QLocale::setDefault(old); });
        ReminderFixture f(k1358);
        TReMind form(*f.list);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* time = child<QComboBox>(&form, "dtTime");
        QTEST(time->currentText().replace(QChar(0x202F), ' '), "first");
        auto* field = child<QDateEdit>(&form, "dtDate");
        field->setDate(date);
        const auto* edit = field->findChild<QLineEdit*>();
        QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) + 4 <= edit->width(),
                 qPrintable(edit->text()));
        QFETCH(QString, typed);
        time->setCurrentText(typed);
        child<QPlainTextEdit>(&form, "mNote")->setPlainText("x");
        form.bOKClick();
        QCOMPARE(dueKey(f.fileRecords().first()), minuteKey(date, 21, 30));
    }

    // A quick pick counts from now: one earlier in the day than now is tomorrow's, not a
    // time already past that OK would raise at once.
    void quickPickPastMidnightIsTomorrow() {
        const QDateTime late(QDate(2026, 1, 31), QTime(23, 30, 10));
        const QList<std::tuple<int, QDate, QTime>> cases = {
            {4, QDate(2026, 2, 1), QTime(0, 30)},    // "1,0 часов"
            {0, QDate(2026, 1, 31), QTime(23, 35)},  // "5 минут": still today
            {3, QDate(2026, 2, 1), QTime(0, 0)},     // "30 минут": midnight
            {49, QDate(2026, 2, 1), QTime(23, 0)}};  // "23,5 часов"
        for (const auto& [index, day, time] : cases) {
            ReminderFixture f(late);
            TReMind form(*f.list);
            child<QComboBox>(&form, "dtTime")->setCurrentIndex(index);
            form.bOKClick();
            QCOMPARE(f.alert->count(), 0);
            QCOMPARE(f.fileRecords().size(), 1);
            QCOMPARE(dueKey(f.fileRecords().first()), minuteKey(day, time.hour(), time.minute()));
        }
    }

    // The alert's count is read whole however long the queue.
    void longQueueCountFits() {
        // A desktop font that leaves the window no room to spare.
        const QFont old = QApplication::font();
        QFont big = old;
        big.setPixelSize(18);
        QApplication::setFont(big);
        const auto restore = qScopeGuard([&old] { QApplication::setFont(old); });
        ReminderFixture f(k1358);
        for (int i = 0; i < 12000; ++i) f.alert->InitForm(byDate(k1358, "x"));
        f.alert->View();
        f.alert->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.alert.get()));
        QCOMPARE(f.alert->bCansel->text(), QString("Дальше - 11999"));
        QVERIFY(f.alert->bCansel->width() >= f.alert->bCansel->sizeHint().width());
        QVERIFY(f.alert->bCansel->geometry().right() < f.alert->srPN->geometry().left());
        QVERIFY(f.alert->srPN->geometry().right() <= f.alert->width());
        f.alert->takeAll();
    }

    // A raise that fails (a sound that cannot start) leaves the tick working for the rest of
    // the run: date reminders go on.
    void failedRaiseLeavesTheTickWorking() {
        ReminderFixture f(k1358, {byNumber("345678", "по номеру\r"),
                                  byDate(k1358.addSecs(600), "через десять\r")});
        f.host.failPlay = true;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, f.document->raiseForNumber("345678"));
        // On the timer the failure is told, not thrown, and the raised reminder is shown.
        zrktest::ShownBoxes boxes;
        f.now = k1358.addSecs(660);
        f.list->document().tick();
        QTRY_COMPARE(boxes.shown.size(), 1);
        QVERIFY(boxes.shown[0].endsWith("no sound"));
        QTRY_VERIFY(!errorBox());
        QVERIFY(f.queue().contains("через десять\r"));
    }

    // OK stores what the form shows, cut to the record's fields; a time it cannot read
    // stores nothing and keeps the form open.
    void formOkStores() {
        ReminderFixture f(k1358);
        TReMind form(*f.list);
        form.show();
        child<QComboBox>(&form, "dtTime")->setCurrentText("обед");
        child<QPlainTextEdit>(&form, "mNote")->setPlainText(QString(300, QChar(u'ж')));
        form.bOKClick();
        QCOMPARE(f.list->rows().count(), 0);
        QVERIFY(form.isVisible());

        child<QComboBox>(&form, "dtTime")->setCurrentText("9:30");
        child<QRadioButton>(&form, "rbNumber")->setChecked(true);
        child<QComboBox>(&form, "cbNumber")->setCurrentText(QString(30, QLatin1Char('7')));
        // The box itself takes no more than the record holds.
        QCOMPARE(child<QComboBox>(&form, "cbNumber")->currentText().size(), 25);
        form.bOKClick();
        QVERIFY(!form.isVisible());
        QCOMPARE(f.fileRecords().size(), 1);
        const ReminderRecord r = f.fileRecords().first();
        QCOMPARE(r.Kind, quint8(ReminderByNumber));
        QCOMPARE(r.Note.text(), QString(255, QChar(u'ж')));
        QCOMPARE(r.Number.text(), QString(25, QLatin1Char('7')));
        QCOMPARE(dueKey(r), minuteKey(k1358.date(), 9, 30));
    }

    // Editing shows the stored reminder; templates fill the note without their title.
    void formEditsAndTemplates() {
        ReminderFixture f(k1358, {byDate(QDateTime(QDate(2026, 2, 3), QTime(9, 5)), "а\rб\r")});
        TReMind form(*f.list);
        form.InitForm(f.list->rows().record(0), f.list->rows().row(0).id);
        QCOMPARE(child<QComboBox>(&form, "dtTime")->currentText(), QString("9:05"));
        QCOMPARE(child<QDateEdit>(&form, "dtDate")->date(), QDate(2026, 2, 3));
        QCOMPARE(child<QPlainTextEdit>(&form, "mNote")->toPlainText(), QString("а\nб"));
        QCOMPARE(form.pmNotes()->actions().at(2)->text(), QString("Перезвонить"));
        form.pmNotes()->actions().at(2)->trigger();
        QCOMPARE(child<QPlainTextEdit>(&form, "mNote")->toPlainText(), QString("Перезвонить"));
        form.ViewNote(9);
        QCOMPARE(child<QPlainTextEdit>(&form, "mNote")->toPlainText(), QString());
    }

    // The form keeps the reminder it edits, not a row number: raised meanwhile, it comes
    // back as a new row; moved up by a raise before it, it is still the one changed.
    void formKeepsTheReminderItEdits() {
        ReminderFixture f(
            k1358, {byDate(k1358.addSecs(120), "первый\r"), byDate(k1358.addDays(1), "второй\r"),
                    byDate(k1358.addDays(2), "третий\r")});
        TReMind editFirst(*f.list);
        editFirst.InitForm(f.list->rows().record(0), f.list->rows().row(0).id);
        TReMind editThird(*f.list);
        editThird.InitForm(f.list->rows().record(2), f.list->rows().row(2).id);
        selectRows(*f.list, {1});
        f.now = f.now.addSecs(120);
        f.list->document().tick();  // "первый" is raised under the open forms
        QCOMPARE(f.queue(), QStringList{"первый\r"});

        child<QPlainTextEdit>(&editThird, "mNote")->setPlainText("третий изменён");
        editThird.bOKClick();
        child<QPlainTextEdit>(&editFirst, "mNote")->setPlainText("первый изменён");
        child<QComboBox>(&editFirst, "dtTime")->setCurrentText("18:00");
        editFirst.bOKClick();
        QCOMPARE(notesOf(f.fileRecords()),
                 (QStringList{"второй\r", "третий изменён\r", "первый изменён\r"}));
    }

    // The template editor: moving between titles keeps edits, Отмена undoes all of them,
    // an empty title keeps the template as it was.
    void templateEditor() {
        ReminderFixture f(k1358);
        const auto defaults = TIni::defaults().Notes;
        {
            TEditNotes ed;
            auto* title = child<QLineEdit>(&ed, "eTitle");
            auto* notes = child<QComboBox>(&ed, "cbNotes");
            QCOMPARE(title->text(), QString("Обед"));
            title->setText("Ужин");
            notes->setCurrentIndex(1);
            QCOMPARE(notes->itemText(0), QString("Ужин"));
            QCOMPARE(ini().Notes[0], QString("Ужин|Сходить на обед\r"));
            title->setText("Планёрка");
            notes->setCurrentIndex(2);
            child<QPushButton>(&ed, "bCansel")->click();
        }
        QCOMPARE(ini().Notes, defaults);
        {
            TEditNotes ed;
            child<QComboBox>(&ed, "cbNotes")->setCurrentIndex(3);
            child<QLineEdit>(&ed, "eTitle")->setText("Свидание");
            child<QPlainTextEdit>(&ed, "mNote")->setPlainText("в шесть\nу фонтана");
            child<QComboBox>(&ed, "cbNotes")->setCurrentIndex(4);
            child<QLineEdit>(&ed, "eTitle")->clear();
            child<QPlainTextEdit>(&ed, "mNote")->setPlainText("потеряется");
            child<QPushButton>(&ed, "bOK")->click();
        }
        QCOMPARE(ini().Notes[3], QString("Свидание|в шесть\rу фонтана\r"));
        QCOMPARE(ini().Notes[4], defaults[4]);
        RegKey reg(RegistryFile::user());
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\EditReminder"));
    }

    // A save that fails as a reminder is raised (under the modem's data, or in the tick) is
    // shown in a box that holds up nothing; at the program's end it goes to the closing.
    void failedSaveShownWithoutHoldingUp() {
        ReminderFixture f(k1358,
                          {byNumber("2345678", "номер\r"), byDate(k1358.addDays(1), "завтра\r")});
        QVERIFY(QDir().mkpath("reminder.bak/inside"));  // the old backup cannot go
        QVERIFY(f.document->raiseForNumber("2345678"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QMessageBox* box = nullptr;
        QTRY_VERIFY((box = errorBox()) && box->isVisible());
        QCOMPARE(box->windowTitle() + ": " + box->text(),
                 QString("Ошибка: Ошибка создания reminder.bak!"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->windowModality(), Qt::NonModal);
        box->close();

        f.list->show();
        QCOMPARE(failureLines(f.list->closeForExit()), QString("Ошибка создания reminder.bak!"));
        QVERIFY(!errorBox());
        QCOMPARE(notesOf(f.fileRecords()), (QStringList{"номер\r", "завтра\r"}));
    }

    // Raising goes on while the list is being written; the program's close waits for the
    // last save, the list hidden, so the file holds what is still pending.
    void closeDuringASaveWaitsForTheLastChange() {
        ReminderFixture f(k1358, {byNumber("2345678", "номер\r"), byNumber("3456789", "другой\r"),
                                  byDate(k1358.addDays(1), "завтра\r")});
        zrktest::SaveGate gate;
        QVERIFY(f.document->raiseForNumber("2345678"));
        QVERIFY(gate.held());
        QVERIFY(f.document->raiseForNumber("3456789"));
        QCOMPARE(LoadReminders().size(), 3);  // nothing written yet
        gate.openAfter(200);
        QCOMPARE(failureLines(f.list->closeForExit()), QString());
        QCOMPARE(notesOf(LoadReminders()), (QStringList{"завтра\r", "номер\r", "другой\r"}));
        QCOMPARE(gate.ran, 2);
    }

    // The close box keeps the queue; closing the program puts every queued alert back as a
    // date reminder due at once, saved, so that the next start raises it again.
    void alertsSurviveTheEnd() {
        ReminderFixture f(k1358, {byDate(k1358, "дата\r"), byNumber("2345678", "номер\r"),
                                  byDate(k1358.addDays(1), "завтра\r")});
        QVERIFY(f.document->raiseForNumber("2345678"));
        f.alert->close();
        QCOMPARE(f.alert->count(), 2);
        f.now = f.now.addSecs(600);
        QCOMPARE(failureLines(f.list->closeForExit()), QString());
        QCOMPARE(f.alert->count(), 0);
        const QList<ReminderRecord> saved = f.fileRecords();
        QCOMPARE(notesOf(saved), (QStringList{"завтра\r", "дата\r", "номер\r"}));
        for (const ReminderRecord& r : saved.mid(1)) {
            QCOMPARE(r.Kind, quint8(ReminderByDate));
            QCOMPARE(dueKey(r), minuteKey(f.now));
        }
        RegKey reg(RegistryFile::user());
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\Alert"));

        f.reopen();
        QCOMPARE(f.queue(), (QStringList{"дата\r", "номер\r"}));
    }

    // A held index never names another reminder: a removed row's is gone, the others follow
    // their reminders or (many removed at once, in one reset) are gone as well.
    void heldIndexesThroughRemoval_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("removed");
        QTest::addColumn<bool>("othersKept");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("all three") << 3 << QList<int>{0, 1, 2} << true << QStringList{};
        QTest::newRow("the first") << 3 << QList<int>{0} << true << QStringList{"1", "2"};
        QTest::newRow("middle and last")
            << 5 << QList<int>{1, 4} << true << QStringList{"0", "2", "3"};
        QList<int> many;
        for (int i = 1; i < 40; i += 2) many << i;
        QTest::newRow("twenty at once")
            << 41 << many << false << QStringList{"0", "2", "4", "6", "8"};
    }
    void heldIndexesThroughRemoval() {
        QFETCH(int, rows);
        QFETCH(QList<int>, removed);
        QFETCH(bool, othersKept);
        QFETCH(QStringList, left);
        ReminderRows pending;
        ReminderModel model(pending);
        QAbstractItemModelTester tester(&model, kFatal);
        QList<ReminderRecord> records;
        for (int i = 0; i < rows; ++i) records << note(QString::number(i));
        pending.load(records);
        QList<QPersistentModelIndex> held;
        for (int r = 0; r < rows; ++r) held << QPersistentModelIndex(model.index(r, r % 4));

        pending.remove(removed);

        QCOMPARE(model.rowCount(), rows - int(removed.size()));
        QStringList shown;
        for (int r = 0; r < model.rowCount() && r < left.size(); ++r)
            shown << textAt(model.index(r, 0));
        QCOMPARE(shown, left);
        for (int r = 0; r < rows; ++r) {
            const QString name = QString::number(r);
            if (removed.contains(r) || !othersKept) {
                QCOMPARE(textAt(held[r]), QString("gone"));
                continue;
            }
            QCOMPARE(textAt(held[r]), name);
            QCOMPARE(held[r].column(), r % 4);
            QCOMPARE(pending.list().record(held[r].row()).Note.text(), name);
        }
    }

    // Adding and changing keep what is held; a change repaints the whole row; the columns
    // and their captions are the list's four, and nothing outside them.
    void appendUpdateAndHeaders() {
        ReminderRows pending;
        ReminderModel model(pending);
        QAbstractItemModelTester tester(&model, kFatal);
        pending.load({note("a"), note("b")});
        QPersistentModelIndex b(model.index(1, ReminderModel::ColNumber));
        const quint64 id = pending.append(note("c"));
        QCOMPARE(pending.list().indexOf(id), 2);
        QCOMPARE(textAt(b), QString("b"));
        QCOMPARE(b.row(), 1);

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        ReminderRecord dated = note("b2\rдальше\r");
        dated.Kind = ReminderByDate;
        setDueTime(dated, QDateTime(QDate(2026, 1, 31), QTime(13, 58)));
        pending.update(1, dated);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), model.index(1, 0));
        QCOMPARE(changed[0][1].toModelIndex(), model.index(1, 3));
        QCOMPARE(textAt(b), QString("b2 дальше "));
        QVERIFY(!model.index(1, ReminderModel::ColKind).data(Qt::DecorationRole).isNull());

        QStringList captions;
        for (int c = 0; c < model.columnCount(); ++c)
            captions << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(captions, (QStringList{"Тип", "Дата/Время", "Номер", "Текст"}));
        QVERIFY(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).isNull());
        QVERIFY(model.headerData(-1, Qt::Horizontal, Qt::DisplayRole).isNull());
    }
};

QTEST_MAIN(TestReminderWindows)
#include "tst_reminderwindows.moc"
