// A sample of the texts the windows show, typed as the program's users know them: the
// windows speak them without a translator, and under the English translation show none.
#include "main/Language.h"
#include "reminders/AlertReminder.h"
#include "reminders/Reminder.h"
#include "settings/Options.h"
#include "settings/OptionsHost.h"

#include "MainFixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QtTest>

#include <map>

using namespace zrk;

namespace {

// Everything a window says: its title, captions, hints, menu items, pages, list headers and
// the items of its drop-down lists.
QStringList shownTexts(QWidget* root) {
    QStringList out{root->windowTitle()};
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        out << w->toolTip();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) out << b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) out << l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) out << g->title();
        if (auto* m = qobject_cast<QMenu*>(w)) out << m->title();
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) out << t->tabText(i);
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
            for (int i = 0; i < v->model()->columnCount(); ++i)
                out << v->model()->headerData(i, Qt::Horizontal).toString();
    }
    for (QAction* a : root->findChildren<QAction*>()) out << a->text() << a->toolTip();
    out.removeAll(QString());
    return out;
}

// The windows of a run, made in the language installed at that moment.
struct Windows {
    Windows() {
        host = fx.window->makeOptionsHost();
        options = std::make_unique<TOptions>(*host, fx.window.get());
        reminderAlert = std::make_unique<TAlertReminder>(fx.window.get());
        reminders = std::make_unique<TReminder>(*fx.window, *reminderAlert, fx.window.get());
        texts["main"] = shownTexts(fx.window.get());
        texts["phone book"] = shownTexts(fx.phoneBook.get());
        texts["options"] = shownTexts(options.get());
        texts["call alert"] = shownTexts(fx.alert.get());
        texts["reminder alert"] = shownTexts(reminderAlert.get());
        texts["reminders"] = shownTexts(reminders.get());
    }
    ~Windows() {
        reminders.reset();
        reminderAlert.reset();
        options.reset();
    }
    MainFixture fx;
    std::unique_ptr<OptionsHost> host;
    std::unique_ptr<TOptions> options;
    std::unique_ptr<TAlertReminder> reminderAlert;
    std::unique_ptr<TReminder> reminders;
    std::map<QString, QStringList> texts;
};

}  // namespace

class TestRussianTexts : public QObject {
    Q_OBJECT

    void sample() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* window, const char* text) {
            QTest::addRow("%s: %s", window, text) << QString(window) << QString(text);
        };
        // The main window's menu and buttons.
        row("main", "&Поверх других окон");
        row("main", "Панель &кнопок");
        row("main", "&Телефонная книга");
        row("main", "Напо&минания");
        row("main", "&Открыть порт");
        row("main", "&Настройки...");
        row("main", "&О программе...");
        row("main", "Вы&ход");
        row("main", "&Набрать номер");
        row("main", "Количество звонков");
        row("main", "Список звонков");
        // The phone book's tool bar and list menu.
        row("phone book", "Добавить запись");
        row("phone book", "Удалить запись");
        row("phone book", "Полная информация");
        row("phone book", "Добавить в напоминание");
        row("phone book", "Спрятать книжку");
        row("phone book", "&Переместить в");
        row("phone book", "П&риоритетный");
        // The options dialog.
        row("options", "Настройка программы");
        row("options", "Общие");
        row("options", "Модем");
        row("options", "Расписание");
        row("options", "&Свернуть при запуске");
        row("options", "Отмена");
        // The call alert.
        row("call alert", "Сообщение о звонке");
        row("call alert", "ФИО:");
        row("call alert", "Ответить");
        row("call alert", "Игнорировать");
        // The reminder windows.
        row("reminder alert", "Напоминание");
        row("reminders", "Напоминания");
        row("reminders", "Дата/Время");
        row("reminders", "&Свойства...");
    }

    std::unique_ptr<Windows> windows_;
    QString language_;

    // The windows in `language`, made anew when the language changes.
    Windows& windowsIn(const QString& language) {
        if (language_ != language) {
            windows_.reset();
            if (language == "en") {
                QString problem;
                if (!installLanguage("en", {QStringLiteral(ZRK_QM_DIR)}, &problem))
                    qFatal("%s", qPrintable(problem));
            }
            windows_ = std::make_unique<Windows>();
            language_ = language;
        }
        return *windows_;
    }

private slots:
    void russian_data() { sample(); }
    void russian() {
        QFETCH(QString, window);
        QFETCH(QString, text);
        const QStringList& shown = windowsIn("ru").texts[window];
        QVERIFY2(shown.contains(text), qPrintable(shown.join(" | ")));
    }

    void english_data() { sample(); }
    void english() {
        QFETCH(QString, window);
        QFETCH(QString, text);
        const QStringList& shown = windowsIn("en").texts[window];
        QVERIFY2(shown.size() > 3, "the window says next to nothing");
        QVERIFY2(!shown.contains(text), qPrintable(shown.join(" | ")));
    }

    void cleanupTestCase() { windows_.reset(); }
};

QTEST_MAIN(TestRussianTexts)
#include "tst_russian_texts.moc"
