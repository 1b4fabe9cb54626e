// Every window and menu of a run, in Russian and under the English translation, as a desktop
// user meets them: no access key taken twice in one menu or on one dialog page, English
// titles and menu items in title case, and the words the translation settled on.
#include "gui/book/BookEditors.h"
#include "gui/book/ImportContacts.h"
#include "gui/book/ItemInfo.h"
#include "gui/calls/HistoryWindow.h"
#include "apps/console/Language.h"
#include "gui/reminders/AlertReminder.h"
#include "gui/reminders/EditNotes.h"
#include "gui/reminders/ReMind.h"
#include "gui/reminders/Reminder.h"
#include "gui/settings/InRaion.h"
#include "gui/settings/ItemOptions.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"
#include "gui/windows/CIDAbout.h"

#include "MainFixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace zrk;

namespace {

QChar accessKey(const QString& text) {
    for (qsizetype i = text.indexOf('&'); i >= 0 && i + 1 < text.size();
         i = text.indexOf('&', i + 2))
        if (text[i + 1] != '&') return text[i + 1].toLower();
    return {};
}

// The texts whose access keys answer together: the items of one menu, or the controls of one
// dialog page with those around the pages.
struct KeyGroup {
    QString where;
    QStringList texts;
};

QStringList controlTexts(const QList<QWidget*>& widgets) {
    QStringList out;
    for (QWidget* w : widgets) {
        if (w->isHidden()) continue;
        if (auto* t = qobject_cast<QToolButton*>(w); t && t->defaultAction()) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) out << b->text();
        if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) out << l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) out << g->title();
    }
    return out;
}

// The items of a menu that are ours to word: not the book's groups or the user's templates.
QStringList menuTexts(const QMenu* m) {
    static const QRegularExpression usersOwn(QStringLiteral("^(mPGroup|pm)\\d+$"));
    QStringList out;
    for (const QAction* a : m->actions())
        if (!a->isSeparator() && a->isVisible() && !usersOwn.match(a->objectName()).hasMatch())
            out << a->text();
    return out;
}

// The menus of `window` itself, not of the windows it owns.
QList<QMenu*> ownMenus(QWidget* window) {
    QList<QMenu*> menus = window->findChildren<QMenu*>();
    menus.removeIf([window](QMenu* m) {
        QWidget* owner = m->parentWidget();
        while (qobject_cast<QMenu*>(owner)) owner = owner->parentWidget();  // a submenu
        return !owner || owner->window() != window;
    });
    return menus;
}

QList<KeyGroup> keyGroups(QWidget* window, const QString& name) {
    QList<KeyGroup> groups;
    for (QMenu* m : ownMenus(window))
        groups << KeyGroup{name + " / menu " + m->objectName() + " " + m->title(), menuTexts(m)};
    QList<QWidget*> outside = window->findChildren<QWidget*>();
    outside.removeIf([window](QWidget* w) { return w->window() != window; });
    QList<QTabWidget*> tabs = window->findChildren<QTabWidget*>();
    QList<KeyGroup> pages;
    for (QTabWidget* t : tabs)
        for (int i = 0; i < t->count(); ++i) {
            QList<QWidget*> inside = t->widget(i)->findChildren<QWidget*>();
            for (QWidget* w : inside) outside.removeAll(w);
            pages << KeyGroup{name + " / page " + t->tabText(i), controlTexts(inside)};
        }
    const QStringList around = controlTexts(outside);
    if (pages.isEmpty()) pages << KeyGroup{name, {}};
    for (KeyGroup& p : pages) {
        p.texts << around;
        groups << p;
    }
    return groups;
}

// A title or menu item in title case: every word capitalized but the short joining words.
bool titleCase(QString text) {
    static const QStringList minor{"a",  "an", "the", "and", "or", "of", "in", "on",
                                   "at", "to", "by",  "for", "as", "from", "with"};
    text.remove('&').remove(QStringLiteral("...")).remove(QChar(0x2026));
    const QStringList words = text.split(' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QChar first = words[i][0];
        if (first.isLower() && (i == 0 || !minor.contains(words[i]))) return false;
    }
    return true;
}

// The windows of a run, made in the language installed at that moment.
struct Windows {
    Windows() {
        zrktest::writeAll("contacts.csv", "Кто,Куда\nАнна,123\n");  // a header to map
        if (!file.load("contacts.csv")) qFatal("%s", qPrintable(file.error()));
        TColumnMapping mapping(*file.table());
        file.setMapping(mapping.mapping());
        const auto host = fx.window->makeOptionsHost();
        TAlertReminder reminderAlert(fx.window.get());
        TReminder reminders(fx.reminderDocument(), *fx.window, reminderAlert, fx.window.get());
        fx.child<QAction>("mPHistory")->trigger();
        const std::unique_ptr<QWidget> dialogs[] = {
            std::make_unique<TOptions>(*host, fx.window.get()),
            std::make_unique<TReMind>(reminders),
            std::make_unique<TEditNotes>(),
            std::make_unique<TBookItem>(
                GroupSource{&fx.bookDocument->store(), [] { return 0; }, [] {}}),
            std::make_unique<TGroupItem>(),
            std::make_unique<TItemInfo>(),
            std::make_unique<TItemOptions>(),
            std::make_unique<TInRaion>(true),
            std::make_unique<TCIDAbout>(),
            std::make_unique<TImportContacts>(file, fx.bookDocument->store())};
        QList<QWidget*> all{fx.window.get(), fx.phoneBook.get(), fx.alert.get(),
                            fx.calls.get(),  &reminderAlert,    &reminders,
                            &mapping,        fx.window->historyWindow()};
        for (const auto& d : dialogs) all << d.get();
        for (QWidget* w : all) {
            groups << keyGroups(w, w->objectName());
            titles << w->windowTitle();
            for (QMenu* m : ownMenus(w)) menuItems << m->title() << menuTexts(m);
        }
        menuItems.removeAll(QString());
        fx.window->historyWindow()->close();
        sbOptiHint = fx.child<QToolButton>("sbOpti")->toolTip();
        sbHideHint = fx.child<QToolButton>("sbHide")->toolTip();
    }
    MainFixture fx;
    ContactsFile file;
    QList<KeyGroup> groups;
    QStringList titles, menuItems;
    QString sbOptiHint, sbHideHint;
};

}  // namespace

class TestMainTexts : public QObject {
    Q_OBJECT
private slots:
    // Russian first: the English row installs the translation for the rest of the run.
    void accessKeysOncePerMenuAndPage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("remindersHint");
        QTest::addColumn<QString>("hideHint");
        QTest::newRow("Russian") << "ru" << "Список напоминаний" << "Спрятать окно";
        QTest::newRow("English") << "en" << "Reminder list" << "Hide the window";
    }
    void accessKeysOncePerMenuAndPage() {
        QFETCH(QString, language);
        QFETCH(QString, remindersHint);
        QFETCH(QString, hideHint);
        QString problem;
        if (language == "en")
            QVERIFY2(installLanguage("en", {QStringLiteral(ZRK_QM_DIR)}, &problem),
                     qPrintable(problem));
        const Windows windows;
        QVERIFY(windows.groups.size() > 20);
        for (const KeyGroup& g : windows.groups) {
            QHash<QChar, QString> taken;
            for (const QString& text : g.texts) {
                const QChar key = accessKey(text);
                if (key.isNull()) continue;
                QVERIFY2(!taken.contains(key), qPrintable(g.where + ": \"" + taken.value(key) +
                                                           "\" and \"" + text + "\""));
                taken.insert(key, text);
            }
        }
        // Every menu item can be reached from the keyboard.
        for (const QString& item : windows.menuItems)
            QVERIFY2(!accessKey(item).isNull(), qPrintable(item));
        // The main window's buttons say what they do.
        QCOMPARE(windows.sbOptiHint, remindersHint);
        QCOMPARE(windows.sbHideHint, hideHint);
        // English titles and menu items in title case.
        if (language == "en")
            for (const QString& text : windows.titles + windows.menuItems)
                QVERIFY2(titleCase(text), qPrintable(text));
    }

    // The English words a native speaker uses, as typed (the case above installed English).
    void englishWording_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("russian");
        QTest::addColumn<QString>("english");
        const auto row = [](const char* context, const char* russian, const char* english) {
            QTest::newRow(english) << context << russian << english;
        };
        row("zrk::TRusCID", "Телефоны", "Phone Book");
        row("zrk::TRusCID", "&Набрать номер", "&Call");
        row("zrk::HistoryWindow", "&Звонить", "&Call");
        row("zrk::HistoryWindow", "&Добавить в книгу...", "Add to Phone &Book...");
        row("TBookItem", "&Дополнительно:", "No&tes:");
        row("TBookItem", "&Плохой", "&Unwanted");
        row("zrk::TImportContacts", "&Повторы:", "&Duplicates:");
        row("zrk::TColumnMapping", "Это", "Book Field");
        row("zrk::ImportPreview", "Уже в книге", "Existing Entry");
        row("TEditNotes", "Редактирование", "Edit Templates");
        row("TReMind", "Стандартные напоминания", "Templates");
        row("ModemPage", "Без линий модема (виртуальное устройство)",
            "No modem control lines (virtual device)");
        row("zrk::TAlertReminder", "Дальше - %1", "Next (%1 more)");
        row("zrk::TPhoneBook", "Вы хотите удалить этот телефон?", "Delete this entry?");
    }
    void englishWording() {
        QFETCH(QString, context);
        QFETCH(QString, russian);
        QFETCH(QString, english);
        QCOMPARE(QCoreApplication::translate(qPrintable(context), qPrintable(russian)), english);
    }
};

QTEST_MAIN(TestMainTexts)
#include "tst_main_texts.moc"
