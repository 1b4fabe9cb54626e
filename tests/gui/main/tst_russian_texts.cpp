// A sample of the texts the windows show, typed as the program's users know them: the
// windows speak them without a translator, and under the English translation show none.
#include "apps/console/Language.h"
#include "gui/reminders/AlertReminder.h"
#include "gui/reminders/ReMind.h"
#include "gui/reminders/Reminder.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"

#include "MainFixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTreeView>
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

// The windows of a run, made in the language installed at that moment (and gone in the
// reverse order, the reminders before their alert).
struct Windows {
    Windows() {
        host = fx.window->makeOptionsHost();
        options = std::make_unique<TOptions>(*host, fx.window.get());
        reminderAlert = std::make_unique<TAlertReminder>(fx.window.get());
        reminders = std::make_unique<TReminder>(fx.reminderDocument(), *fx.window, *reminderAlert,
                                                fx.window.get());
        texts["main"] = shownTexts(fx.window.get());
        texts["phone book"] = shownTexts(fx.phoneBook.get());
        texts["options"] = shownTexts(options.get());
        texts["call alert"] = shownTexts(fx.alert.get());
        texts["reminder alert"] = shownTexts(reminderAlert.get());
        texts["reminders"] = shownTexts(reminders.get());
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

    std::map<QString, QStringList> russian_, english_;

private slots:
    void initTestCase() {
        russian_ = Windows().texts;
        QString problem;
        QVERIFY2(installLanguage("en", {QStringLiteral(ZRK_QM_DIR)}, &problem),
                 qPrintable(problem));
        english_ = Windows().texts;
    }

    // Each row: a window and a sample of its texts, every one shown without a translator and
    // none under the English translation.
    void russianOnlyWithoutTranslator_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("texts");
        const auto row = [](const char* window, const QStringList& texts) {
            QTest::newRow(window) << QString(window) << texts;
        };
        // The main window's menu and buttons.
        row("main", {"&Поверх других окон", "Панель &кнопок", "&Телефонная книга", "Напо&минания",
                     "&Открыть порт", "&Настройки...", "О п&рограмме...", "Вы&ход",
                     "&Набрать номер", "Количество звонков", "Список звонков"});
        // The phone book's tool bar and list menu.
        row("phone book",
            {"Добавить запись", "Удалить запись", "Полная информация", "Добавить в напоминание",
             "Спрятать книжку", "&Переместить в", "П&риоритетный"});
        row("options", {"Настройка программы", "Общие", "Модем", "Расписание",
                        "&Свернуть при запуске", "Отмена"});
        row("call alert", {"Сообщение о звонке", "ФИО:", "Ответить", "Игнорировать"});
        row("reminder alert", {"Напоминание"});
        row("reminders", {"Напоминания", "Дата/Время", "&Свойства..."});
    }
    void russianOnlyWithoutTranslator() {
        QFETCH(QString, window);
        QFETCH(QStringList, texts);
        const QStringList& russian = russian_[window];
        const QStringList& english = english_[window];
        QVERIFY2(english.size() > 3, "the window says next to nothing");
        QCOMPARE(english.size(), russian.size());  // no caption left empty by the translation
        for (const QString& text : texts) {
            QVERIFY2(russian.contains(text), qPrintable(text + ": " + russian.join(" | ")));
            QVERIFY2(!english.contains(text), qPrintable(text + ": " + english.join(" | ")));
        }
    }

    // Under English the defaults the user never changed read in English, in whole words and
    // numbers; what the user typed stays as typed.
    void englishDefaultsUserTextsStay() {
        Windows w;  // English, installed by initTestCase
        ini().Notes[1] = "Склад|Позвонить на склад";
        TReMind form(*w.reminders);
        const QStringList texts = shownTexts(&form);
        for (const QString& text : QStringList{"Lunch", "Склад", "Walk the dog"})
            QVERIFY2(texts.contains(text), qPrintable(text + ": " + texts.join(" | ")));
        for (const QString& end : QStringList{" (1 hour)", " (1.5 hours)", " (21 hours)"})
            QVERIFY2(
                texts.filter(QRegularExpression(QRegularExpression::escape(end) + "$")).size() == 1,
                qPrintable(end + ": " + texts.join(" | ")));
        auto* category = w.options->findChild<QLineEdit*>("eKateg");
        QVERIFY(category);
        QVERIFY2(category->text().startsWith("[home, office]|"), qPrintable(category->text()));
        // The kind of a reminder by number, "Number" beside its picture, is not cut.
        auto* list = w.reminders->findChild<QTreeView*>("lvNotes");
        QVERIFY(list->columnWidth(0) >= list->fontMetrics().horizontalAdvance("Number") + 16 + 12);
    }
};

QTEST_MAIN(TestRussianTexts)
#include "tst_russian_texts.moc"
