// The options page "Действия при звонке" and its editor, driven as a user drives them: what OK
// stores, what Отмена leaves, and that a value of a newer version survives.
#include "core/settings/Settings.h"
#include "gui/settings/CallActionEditor.h"
#include "gui/settings/CallActionsPage.h"
#include "gui/settings/OptionWidgets.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"

#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

using namespace zrk;

namespace {

template <class T>
T* get(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QLatin1String(name));
    if (!c) qFatal("no control %s", name);
    return c;
}

// Runs `f` on the action editor once it is up.
void onEditor(std::function<void(CallActionEditor&)> f) {
    QTimer::singleShot(0, [f] {
        auto* d = qobject_cast<CallActionEditor*>(QApplication::activeModalWidget());
        if (!d) qFatal("no action editor");
        f(*d);
    });
}

void click(QWidget& w, const char* name) {
    QTest::mouseClick(get<QAbstractButton>(w, name), Qt::LeftButton);
}

// The options dialog on screen, at the page's tab.
QTableWidget* showPage(TOptions& dialog) {
    dialog.show();
    auto* pages = get<QTabWidget>(dialog, "PageControl1");
    pages->setCurrentIndex(pages->count() - 1);
    return get<QTableWidget>(dialog, "tvCallActions");
}

struct NoHost : OptionsHost {
    void OpenPortClick() override {}
    void ClosePortClick() override {}
    bool TimeToClose() const override { return false; }
    void reportError(std::exception_ptr) override {}
};

CallActionSpec newer() {
    return {"hangup", "webhook", "https://crm/{email}", {}, {}, 8 | 2, "Друзья", true};
}

}  // namespace

class TestCallActionsPage : public QObject {
    Q_OBJECT
private slots:
    // An action that could not run stays in the editor with the reason said.
    void editorRefuses_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("said");
        const auto row = [](const char* tag, const char* kind, const char* event,
                            const char* typed, const char* group, const char* said) {
            QTest::newRow(tag) << QString(kind) << QString(event) << QString(typed)
                               << QString(group) << QString(said);
        };
        row("no program", "program", "caller", "", "", "Выберите программу");
        row("no address", "url", "caller", "", "", "Введите адрес");
        row("no text", "speak", "caller", " ", "", "Введите текст");
        row("misspelt", "speak", "caller", "Calls {nmae}", "", "Неизвестная подстановка {nmae}");
        row("ring filtered", "speak", "ring", "Hello", "VIP", "абонент ещё не известен");
    }
    void editorRefuses() {
        QFETCH(QString, kind);
        QFETCH(QString, event);
        QFETCH(QString, typed);
        QFETCH(QString, group);
        QFETCH(QString, said);
        zrktest::Sandbox box;
        CallActionEditor editor(CallActionSpec{}, true);
        editor.show();
        for (auto [name, value] : {std::pair{"cbKind", kind}, std::pair{"cbEvent", event}}) {
            auto* choices = get<QComboBox>(editor, name);
            choices->setCurrentIndex(choices->findData(value));
        }
        QTest::keyClicks(get<QLineEdit>(editor, "eTemplate"), typed);
        QTest::keyClicks(get<QLineEdit>(editor, "eGroup"), group);
        click(editor, "bOK");
        QVERIFY(editor.isVisible());
        QVERIFY2(get<QLabel>(editor, "lProblem")->text().contains(said),
                 qPrintable(get<QLabel>(editor, "lProblem")->text()));
        QCOMPARE(get<QLineEdit>(editor, "eTemplate")->text(), typed);
    }

    // A program picked in the working directory, two arguments with blanks, a filter; each
    // argument goes back whole, the program by its whole path.
    void addsProgramWithArguments() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.filePath("notify.sh"), "#!/bin/sh\n"));
        CallActionsPage page(TIni::defaults());
        FileNameEdit::fileDialog() = [&box](QWidget*, const QString&, const QString&) {
            return box.filePath("notify.sh");
        };
        onEditor([](CallActionEditor& e) {
            auto* events = get<QComboBox>(e, "cbEvent");
            events->setCurrentIndex(events->findText("Пропущенный звонок"));
            get<FileNameEdit>(e, "feProgram")->browse();
            auto* arguments = get<QPlainTextEdit>(e, "mArguments");
            QTest::keyClicks(arguments, "--title Missed call");
            QTest::keyClick(arguments, Qt::Key_Return);
            QTest::keyClicks(arguments, "{name} {number}");
            QTest::keyClick(arguments, Qt::Key_Return);
            QTest::keyClick(arguments, Qt::Key_Return);
            click(e, "cbBad");
            QTest::keyClicks(get<QLineEdit>(e, "eGroup"), " Clients ");
            click(e, "bOK");
        });
        click(page, "bAddAction");
        TIni s = TIni::defaults();
        page.store(s);
        const CallActionSpec added{"missed", "program", "", box.filePath("notify.sh"),
                                   {"--title Missed call", "{name} {number}"}, 2, "Clients", true};
        QCOMPARE(s.CallActions, QList<CallActionSpec>{added});
        auto* table = get<QTableWidget>(page, "tvCallActions");
        QCOMPARE(table->item(0, 1)->text(), QString("Пропущенный звонок"));
        QCOMPARE(table->item(0, 3)->text(), QString("плохой, группа «Clients»"));
    }

    // Enter and a double click edit the row, not OK of the dialog; Отмена of the editor and of
    // the dialog keep the list; a newer version's event, kind and status bit survive an edit.
    void editsMovesDeletes() {
        zrktest::Sandbox box;
        const CallActionSpec speak{"ring", "speak", "Звонит {name}", {}, {}, 0, {}, false};
        ini() = TIni::defaults();
        ini().CallActions = {newer(), speak};
        NoHost host;
        {
            TOptions dialog(host);
            auto* table = showPage(dialog);
            QCOMPARE(table->item(0, 1)->text(), QString("hangup"));
            QCOMPARE(table->item(0, 2)->text(), QString("webhook: https://crm/{email}"));
            QCOMPARE(table->item(1, 3)->text(), QString("все"));
            table->setFocus();
            onEditor([](CallActionEditor& e) {
                click(e, "cbNormal");
                click(e, "bOK");
            });
            QTest::keyClick(table, Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            QCOMPARE(table->item(0, 3)->text(), QString("нормальный, плохой, 8, группа «Друзья»"));
            onEditor([](CallActionEditor& e) { click(e, "bCansel"); });
            // As a desktop sends it: a click, then the double click.
            const QPoint at = table->visualRect(table->model()->index(1, 2)).center();
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
            click(dialog, "bCansel");
            QCOMPARE(ini().CallActions, (QList<CallActionSpec>{newer(), speak}));
        }
        TOptions dialog(host);
        auto* table = showPage(dialog);
        table->setCurrentCell(1, 1);
        click(dialog, "bActionUp");
        click(dialog, "bDeleteAction");
        onEditor([](CallActionEditor& e) {
            click(e, "cbBad");
            click(e, "bOK");
        });
        click(dialog, "bEditAction");
        QTest::keyClick(table, Qt::Key_Space);
        click(dialog, "bOK");
        CallActionSpec kept = newer();
        kept.statuses = 8;
        kept.enabled = false;
        QCOMPARE(ini().CallActions, QList<CallActionSpec>{kept});
    }
};

QTEST_MAIN(TestCallActionsPage)
#include "tst_callactions_page.moc"
