// Every window and menu of a run, in Russian and under the English translation, as a desktop
// user meets them: no access key taken twice in one menu or on one dialog page, English
// titles and menu items in title case, the words the translation settled on, and a sample of
// the texts as the program's users know them, none left in Russian under English. Then the
// choice of the language among the user's setting and the desktop's languages, and what
// installing it changes.
#include "gui/book/BookEditors.h"
#include "gui/book/ImportContacts.h"
#include "gui/book/ItemInfo.h"
#include "gui/calls/HistoryWindow.h"
#include "apps/console/Language.h"
#include "core/call/CallerReport.h"
#include "core/contacts/ContactText.h"
#include "core/net/NcidLink.h"
#include "core/platform/DataDirectory.h"
#include "core/platform/SerialPorts.h"
#include "core/serial/Comm.h"
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
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <functional>
#include <map>

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
        zrktest::writeAll("contacts.csv", "Кто,Куда\nАнна,123\n");  // a header to map
        if (!file.load("contacts.csv")) qFatal("%s", qPrintable(file.error()));
        TColumnMapping mapping(*file.table());
        file.setMapping(mapping.mapping());
        texts = {{"main", shownTexts(fx.window.get())},
                 {"phone book", shownTexts(fx.phoneBook.get())},
                 {"call alert", shownTexts(fx.alert.get())},
                 {"reminder alert", shownTexts(&reminderAlert)},
                 {"reminders", shownTexts(&reminders)},
                 {"options", shownTexts(&options)}};
        fx.child<QAction>("mPHistory")->trigger();
        const std::unique_ptr<QWidget> dialogs[] = {
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
                            &mapping,        fx.window->historyWindow(), &options};
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
    const std::unique_ptr<OptionsHost> host = fx.window->makeOptionsHost();
    TOptions options{*host, fx.window.get()};
    TAlertReminder reminderAlert{fx.window.get()};
    TReminder reminders{fx.reminderDocument(), *fx.window, reminderAlert, fx.window.get()};
    std::map<QString, QStringList> texts;  // shownTexts() of the windows named
    QList<KeyGroup> groups;
    QStringList titles, menuItems;
    QString sbOptiHint, sbHideHint;
};


// A text that reaches the user from below the windows, worded in the language in force.
using Said = std::function<QString(const QString& tmp)>;

void useLanguage(const QString& language) {
    QString problem;
    if (!installLanguage(language, {QStringLiteral(ZRK_QM_DIR)}, &problem))
        qFatal("%s", qPrintable(problem));
}

}  // namespace

Q_DECLARE_METATYPE(Said)

class TestMainTexts : public QObject {
    Q_OBJECT
private slots:
    // Russian first: the English row installs the translation for the rest of the run, and
    // both rows keep the windows' texts for the cases below.
    void accessKeysOncePerMenuAndPage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("remindersHint");
        QTest::addColumn<QString>("hideHint");
        QTest::newRow("Russian") << "ru" << "Список напоминаний" << "Спрятать окно";
        QTest::newRow("English") << "en" << "Reminder list" << "Hide the window";
    }
    void accessKeysOncePerMenuAndPage() {
        QFETCH(QString, language);
        if (language == "en") useLanguage("en");
        const Windows windows;
        texts_[language] = windows.texts;
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
        QTEST(windows.sbOptiHint, "remindersHint");
        QTEST(windows.sbHideHint, "hideHint");
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
        QTEST(QCoreApplication::translate(qPrintable(context), qPrintable(russian)), "english");
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
        const QStringList& russian = texts_["ru"][window];
        const QStringList& english = texts_["en"][window];
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
        Windows w;  // English, installed by the first case
        ini().Notes[1] = "Склад|Позвонить на склад";
        TReMind form(w.reminders);
        const QStringList texts = shownTexts(&form);
        for (const QString& text : QStringList{"Lunch", "Склад", "Walk the dog"})
            QVERIFY2(texts.contains(text), qPrintable(text + ": " + texts.join(" | ")));
        for (const QString& end : QStringList{" (1 hour)", " (1.5 hours)", " (21 hours)"})
            QVERIFY2(
                texts.filter(QRegularExpression(QRegularExpression::escape(end) + "$")).size() == 1,
                qPrintable(end + ": " + texts.join(" | ")));
        auto* category = w.options.findChild<QLineEdit*>("eKateg");
        QVERIFY(category);
        QVERIFY2(category->text().startsWith("[home, office]|"), qPrintable(category->text()));
        // The kind of a reminder by number, "Number" beside its picture, is not cut.
        auto* list = w.reminders.findChild<QTreeView*>("lvNotes");
        QVERIFY(list->columnWidth(0) >= list->fontMetrics().horizontalAdvance("Number") + 16 + 12);
    }


    // uiLanguages as Qt makes them from LANGUAGE, else LC_ALL/LC_MESSAGES/LANG.
    void chooser_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("desktop");
        QTest::addColumn<QString>("expected");
        QTest::newRow("automatic, LANG=de_DE: no German, so English")
            << "" << QStringList{"de-DE", "de"} << "en";
        QTest::newRow("automatic, LANG=ru_RU") << "" << QStringList{"ru-RU", "ru"} << "ru";
        QTest::newRow("automatic, LANG=ru_UA.KOI8-U") << "" << QStringList{"ru_UA.KOI8-U"} << "ru";
        QTest::newRow("automatic, LANG=en_GB") << "" << QStringList{"en-GB", "en"} << "en";
        QTest::newRow("automatic, LANG=C") << "" << QStringList{"C"} << "en";
        QTest::newRow("automatic, nothing set") << "" << QStringList{} << "en";
        QTest::newRow("automatic, empty entry") << "" << QStringList{""} << "en";
        QTest::newRow("automatic, LANGUAGE=ru:en") << "" << QStringList{"ru", "en"} << "ru";
        QTest::newRow("automatic, LANGUAGE=en:ru") << "" << QStringList{"en", "ru"} << "en";
        // The first of the desktop's languages that we have, as gettext programs do.
        QTest::newRow("automatic, LANGUAGE=de:ru") << "" << QStringList{"de", "ru"} << "ru";
        QTest::newRow("automatic, upper case RU") << "" << QStringList{"RU_RU"} << "ru";
        QTest::newRow("automatic, sr@latin is not ru") << "" << QStringList{"sr@latin"} << "en";
        QTest::newRow("Russian chosen on an English desktop")
            << "ru" << QStringList{"en-US"} << "ru";
        QTest::newRow("English chosen on a Russian desktop")
            << "en" << QStringList{"ru-RU"} << "en";
        QTest::newRow("unknown setting means automatic") << "de" << QStringList{"ru-RU"} << "ru";
    }
    void chooser() {
        QFETCH(QString, setting);
        QFETCH(QStringList, desktop);
        QTEST(chooseLanguage(setting, desktop), "expected");
    }

    // Without its translation the program speaks Russian throughout, dates and Qt's own
    // buttons included; with it, English throughout. Each row installs its language over
    // the one before.
    void install_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("expectedLocale");
        QTest::addColumn<QString>("menuItem");
        const QString ru = "ru", en = "en";
        QTest::newRow("English, no .qm where looked") << en << false << ru << "Вы&ход";
        QTest::newRow("English") << en << true << en << "&Quit";
        QTest::newRow("Russian after English") << ru << true << ru << "Вы&ход";
    }
    void install() {
        QFETCH(QString, language);
        QFETCH(bool, found);
        QFETCH(QString, expectedLocale);
        const bool en = expectedLocale == "en";
        const QStringList dirs = found ? QStringList{"/nonexistent", QStringLiteral(ZRK_QM_DIR)}
                                       : QStringList{"/nonexistent"};
        QString problem;
        QCOMPARE(installLanguage(language, dirs, &problem), found);
        QCOMPARE(problem.isEmpty(), found);
        QCOMPARE(QLocale().name().left(2), expectedLocale);
        QTEST(QCoreApplication::translate("zrk::TRusCID", "Вы&ход"), "menuItem");
        // A date in the windows: the month's name in the same language as the labels.
        QCOMPARE(QLocale().monthName(3), en ? QString("March") : QString("марта"));
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), en ? "Cancel" : "Отмена");
    }

    // A command without a window reads the choice from the settings file and leaves the file
    // as it found it: a damaged one stays where it is for the program to report.
    void storedChoice_data() {
        QTest::addColumn<QByteArray>("file");  // null: no file
        QTest::addColumn<QString>("expected");
        const QByteArray head = "Windows Registry Editor Version 5.00\n\n",
                         ours = "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Language]\n\"Language\"=";
        QTest::newRow("damaged file: left where it is") << ours + "\"en\"\n"
                                                        << "";
        QTest::newRow("no file") << QByteArray() << "";
        QTest::newRow("another root's value is not ours")
            << head + "[HKEY_LOCAL_MACHINE\\Software\\Zrk Pro\\Language]\n\"Language\"=\"en\"\n\n"
            << "";
        QTest::newRow("a bad value elsewhere")
            << head + "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Port\"=\"COM1\"\n\n" +
                   ours + "\"en\"\n\n"
            << "en";
        QTest::newRow("Russian") << head + ours + "\"ru\"\n\n"
                                 << "ru";
    }
    void storedChoice() {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString path = dir.filePath("registry.reg");
        if (!file.isNull()) QVERIFY(zrktest::writeAll(path, file));
        QTEST(storedLanguage(path), "expected");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 file.isNull() ? QStringList{} : QStringList{"registry.reg"});
        if (!file.isNull()) QCOMPARE(zrktest::readAll(path), file);
    }

    // The errors and states that the stores, the port and the network link hand up to the
    // windows: English under the English translation, not a Russian word left in them.
    void lowerLayers_data() {
        QTest::addColumn<Said>("said");
        QTest::addColumn<QString>("expected");
        QTest::newRow("settings file damaged, read before the language is chosen")
            << Said([](const QString& tmp) {
                   const QString path = tmp + "/registry.reg";
                   if (!zrktest::writeAll(path, "[HKEY_CURRENT_USER]\n")) qFatal("cannot write");
                   useLanguage("ru");  // read under Russian, the windows' language later
                   const RegistryFile file(path);
                   useLanguage("en");
                   return file.loadError();
               })
            << "is damaged (line 1: no header)";
        QTest::newRow("serial port switched while closed") << Said([](const QString&) {
            TComm port;
            try {
                port.SetDTR(true);
            } catch (const ECommError& e) {
                return e.message();
            }
            return QString("no error");
        }) << "The port is not open or is busy (Error: -1) ";
        QTest::newRow("serial device missing")
            << Said([](const QString& tmp) { return serialDeviceProblem(tmp + "/ttyS9"); })
            << "not found. Is the modem connected?";
        QTest::newRow("NCID server address invalid") << Said([](const QString&) {
            NcidLink link;
            link.configure({"host:99999", false, true, "-"});
            return link.stateText();
        }) << "not connected: invalid server address";
        QTest::newRow("phone book saved into a missing folder") << Said([](const QString& tmp) {
            FileError error;
            if (BookStore().SaveList(tmp + "/missing/book.phn", &error)) return QString("saved");
            return error.message;
        }) << "Error creating ";
        QTest::newRow("caller not in the book: the alert's group") << Said([](const QString&) {
            return BookStore().WhoCall("5551234").group.Title.text();
        }) << "General";
        QTest::newRow("caller in no group: the alert's group") << Said([](const QString&) {
            BookStore store;
            BookEntry e = BookEntry::empty();
            e.Phone.setText("5551234");
            store.AddItem(e, true);
            return store.WhoCall("5551234").group.Title.text();
        }) << "[General]";
        QTest::newRow("data directory is a file") << Said([](const QString& tmp) {
            if (!zrktest::writeAll(tmp + "/file", {})) qFatal("cannot write %s", qPrintable(tmp));
            QString error;
            return enterDataDirectory(tmp + "/file", &error) ? QString("entered") : error;
        }) << "is not a directory";
        // The defaults the user never changed are the user's language; what the user typed
        // stays, whatever its language.
        QTest::newRow("default category of a caller") << Said([](const QString&) {
            return parseReport("654321:2", TIni::defaults()).caption;
        }) << "[hotel]";
        QTest::newRow("changed category of a caller, typed in English") << Said([](const QString&) {
            TIni s = TIni::defaults();
            s.Categories[1] = "Guest|of the house";
            return parseReport("654321:2", s).caption + " " + shownSetting(s.Categories[1]);
        }) << "Guest Guest|of the house";
        QTest::newRow("default left as shown is stored as it was") << Said([](const QString&) {
            const QString stored = defaultCategories()[1];
            const QString kept = editedSetting(stored, shownSetting(stored));
            return QString(kept == stored ? "kept" : "rewritten: " + kept);
        }) << "kept";
        QTest::newRow("imported phone's kind")
            << Said([](const QString&) { return contacts::phoneKindLabel("CELL"); }) << "Mobile";
    }
    void lowerLayers() {
        QFETCH(Said, said);
        QFETCH(QString, expected);
        useLanguage("ru");
        const QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        useLanguage("en");  // each row's text is worded after this
        const QString text = said(tmp.path());
        QVERIFY2(text.contains(expected), qPrintable(text));
        QVERIFY2(!text.contains(QRegularExpression("\\p{Cyrillic}")), qPrintable(text));
    }

private:
    std::map<QString, std::map<QString, QStringList>> texts_;  // by language, then window
};

QTEST_MAIN(TestMainTexts)
#include "tst_main_texts.moc"
