// Renders every window of the program to PNG files, offscreen, with a caller on the line,
// so that a change to the look can be seen and not only read.
//   zrk-screenshots <output directory>
#include "gui/book/PhoneBook.h"
#include "gui/calls/ListRing.h"
#include "core/call/CallDesk.h"
#include "gui/main/RusCID.h"
#include "core/settings/SettingsNotifier.h"
#include "common/PtyPort.h"
#include "core/platform/Clock.h"
#include "core/platform/Registry.h"
#include "gui/reminders/ReminderWindows.h"
#include "screenshots/ReminderShots.h"
#include "core/settings/District.h"
#include "gui/settings/CallActionEditor.h"
#include "gui/settings/InRaion.h"
#include "gui/settings/ItemOptions.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"
#include "core/settings/Settings.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/CIDAbout.h"
#include "gui/windows/WinAlert.h"

#include "apps/console/Language.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <iterator>

namespace zrk::tools {
void writeSampleBook();
void saveBookShots(TPhoneBook& book, const QString& out,
                   void (*save)(QWidget*, const QString&, const char*));
void saveHistoryShots(TRusCID& main, const QString& out,
                      void (*save)(QWidget*, const QString&, const char*));
}  // namespace zrk::tools

namespace {

void save(QWidget* w, const QString& dir, const char* name) {
    w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QLatin1String(".png"));
    std::printf("%s/%s.png\n", qPrintable(dir), name);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zrk-screenshots <output directory> [en]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    // "en": the windows as an English desktop shows them.
    if (argc > 2) {
        QString problem;
        if (!zrk::installLanguage(QString::fromLocal8Bit(argv[2]),
                                  QStringList{QStringLiteral(ZRK_QM_DIR)} + zrk::translationDirs(),
                                  &problem)) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            return 1;
        }
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);

    // A pseudo-terminal stands in for the modem, so the port opens as it would with one.
    if (zrk::tools::mapPortToNewPty() < 0) return 1;
    zrk::CallDesk desk;
    zrk::TRusCID main(desk);
    zrk::tools::writeSampleBook();
    zrk::BookDocument bookDocument;
    zrk::TPhoneBook book(bookDocument, &main);
    // As the program wires it: the caller's name from the book.
    desk.setLookup(
        [&bookDocument](const QString& number) { return bookDocument.whoCalls(number); });
    zrk::TWinAlert alert(main, &main);
    zrk::TListRing calls(main, &main);
    zrk::TAllScreen allScreen(main, &main);
    // A fixed moment, so the reminder pictures do not change from run to run.
    zrk::setClockForTesting([] { return QDateTime(QDate(2026, 3, 14), QTime(13, 58)); });
    zrk::TAlertReminder alertReminder(&main);
    zrk::ReminderDocument reminderDocument;
    zrk::TReminder reminders(reminderDocument, main, alertReminder, &main);
    main.setRunWindows({&book, &alertReminder, &reminders, &alert, &calls, &allScreen, nullptr});
    main.show();
    save(&main, out, "main-idle");

    const QByteArray call = "RING\r\nCallerID: 4951234567:1\r\n";
    desk.processBatch(call.constData(), qint32(call.size()));
    // Nobody answers the first call: the list shows it missed.
    QMetaObject::invokeMethod(desk.findChild<QTimer*>(QStringLiteral("tCallOver")), "timeout");
    const QByteArray second = "CallerID: 2345678:9\r\n";
    desk.processBatch(second.constData(), qint32(second.size()));
    save(&main, out, "main-caller");

    zrk::changeSettings(zrk::SettingsChange::Switched, [](zrk::TIni& s) { s.Buttons = false; });
    save(&main, out, "main-no-buttons");
    zrk::changeSettings(zrk::SettingsChange::Switched, [](zrk::TIni& s) { s.Buttons = true; });

    calls.show();
    save(&calls, out, "call-list");
    // A call from another of the office's lines, through the NCID server.
    desk.remoteReport(QStringLiteral("4957654321"), QStringLiteral("Склад"));
    save(&calls, out, "call-list-lines");
    alert.InitForm(QStringLiteral("Иванов Иван"), QStringLiteral("23-45-67"),
                   QStringLiteral("Общая"), 2);
    alert.show();
    save(&alert, out, "call-alert");
    allScreen.resize(800, 450);
    allScreen.InitForm(QStringLiteral("23-45-67"), QStringLiteral("Иванов Иван"));
    allScreen.show();
    save(&allScreen, out, "full-screen");
    saveReminderShots(reminders, alertReminder, out, &save);
    zrk::TCIDAbout about(&main);
    about.show();
    save(&about, out, "about");

    // The options dialog, page by page, with a few districts in its list.
    zrk::SaveRaions({{QStringLiteral("2-41"), QStringLiteral("Центральный")},
                     {QStringLiteral("(34) 5"), QStringLiteral("Заречный")},
                     {QStringLiteral("7"), QStringLiteral("Северный")}});
    zrk::changeSettings(zrk::SettingsChange::Switched, [](zrk::TIni& s) {
        using namespace Qt::StringLiterals;
        const QString crm = u"https://crm.example/calls?number={digits}"_s;
        const QStringList notice{u"Пропущенный звонок"_s, u"{name} {number}"_s};
        s.CallActions = {
            {u"caller"_s, u"url"_s, crm, {}, {}, 0, {}, true},
            {u"missed"_s, u"program"_s, {}, u"/usr/bin/notify-send"_s, notice, 1 | 4, {}, true},
            {u"caller"_s, u"speak"_s, u"Звонит {name}"_s, {}, {}, 4, u"Клиенты"_s, false}};
    });
    {
        const auto host = main.makeOptionsHost();
        zrk::TOptions options(*host, &main);
        options.show();
        auto* pages = options.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        static const char* const names[] = {"options-general", "options-modem",   "options-ring",
                                            "options-font",    "options-subscriber", "options-actions",
                                            "options-schedule", "options-network",
                                            "options-addressbook", "options-callactions"};
        for (int i = 0; i < pages->count() && i < int(std::size(names)); ++i) {
            pages->setCurrentIndex(i);
            save(&options, out, names[i]);
        }
        options.reject();
    }
    zrk::CallActionEditor action(zrk::ini().CallActions.at(1), false, &main);
    action.show();
    save(&action, out, "call-action-editor");
    action.reject();
    zrk::TInRaion district(false, &main);
    district.eNumber->setText(QStringLiteral("2-41"));
    district.eRaion->setText(QStringLiteral("Центральный"));
    district.show();
    save(&district, out, "district-editor");
    district.reject();
    zrk::TItemOptions columns(&main);
    columns.show();
    save(&columns, out, "column-chooser");
    columns.reject();
    zrk::tools::saveBookShots(book, out, &save);
    zrk::tools::saveHistoryShots(main, out, &save);
    main.FormClose();
    return 0;
}
