#include "gui/main/Program.h"

#include "core/platform/SafeFile.h"
#include "core/platform/StartTrace.h"
#include "core/reminders/ReminderStore.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "gui/desktop/Sound.h"
#include "gui/desktop/Speech.h"
#include "gui/settings/ItemOptions.h"
#include "gui/windows/FailurePresenter.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QTimer>

#include <cstdio>

namespace zrk {

QStringList removeDataLeftovers() {
    QStringList names{QString::fromLatin1(kBookFile), QString::fromLatin1(kBookBackup),
                      QString::fromLatin1(kReminderFile), QString::fromLatin1(kReminderBackup)};
    // A book kept elsewhere may be another program's business: only one kept here counts.
    const QFileInfo book(ini().PhoneBookFile);
    if (QDir(book.absolutePath()) == QDir::current()) names << book.fileName();
    return removeSaveLeftovers(QDir::currentPath(), names);
}

void nameApplication() {
    QApplication::setApplicationName(QStringLiteral("Zrk Pro 2.01b"));
    // Lets the desktop match the windows with the menu entry (its icon, the launch feedback).
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.zrkpro.ZrkPro"));
}

SideWindows::SideWindows(TRusCID& main, BookDocument& bookDocument,
                         ReminderDocument& reminderDocument)
    : book(bookDocument, &main),
      alertReminder(&main),
      reminders(reminderDocument, main, alertReminder, &main),
      alert(main, &main),
      calls(main, &main),
      allScreen(main, &main),
      itemInfo(&main) {}

namespace {

// The main window reads them again and reports what it cannot read; here it only means the
// defaults.
bool readSettings() {
    try {
        LoadSettings(ini());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

ProgramWindows::ProgramWindows(std::shared_ptr<SerialDevice> device, std::shared_ptr<Sound> sound,
                               bool sideLater)
    : settingsRead_(readSettings()), desk(std::move(device)), mainWindow(desk) {
    FailurePresenter& presenter = FailurePresenter::instance();
    presenter.setOwner(&mainWindow);
    // A save that fails in the background is told whether its window is open or not.
    connect(&bookDocument, &BookDocument::failed, &presenter, &FailurePresenter::show);
    connect(&reminderDocument, &ReminderDocument::failed, &presenter, &FailurePresenter::show);
    startSync();
    callActions.setUrlOpener([](const QUrl& url) { return QDesktopServices::openUrl(url); });
    // In the language the program speaks, made default once its translation was installed.
    callActions.setSpeech([] { return makeDesktopSpeech(QLocale()); });
    connect(&callActions, &actions::CallActionRunner::failed, &presenter, &FailurePresenter::show);
    mainWindow.setSound(std::move(sound));  // before any other window can ring
    // A call that comes while the book is still being read waits for it: never an unknown
    // caller who is in the book. No window needs to exist for it.
    desk.setLookup([this](const QString& number) { return bookDocument.whoCalls(number); });
    // The raised reminder is shown by the alert window: made first, if not yet.
    desk.setNumberReminder([this](const QString& number) {
        makeSideWindows();
        reminderDocument.raiseForNumber(number);
    });
    if (sideLater) {
        // Made once the main window has painted: it is what the user waits for. Whatever
        // happens meanwhile, they are there within a second.
        mainWindow.installEventFilter(this);
        QTimer::singleShot(1000, this, [this] { makeSideWindows(); });
    } else {
        makeSideWindows();
    }
    // The end of the desktop session: saved as a close of the main window saves, before
    // the toolkit closes the windows one by one, and without a box that nobody would click.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { closeQuietly(); });
    // A quit asked of the application itself comes to no window first: the application is
    // watched for that event only.
    qApp->installEventFilter(this);
}

void ProgramWindows::startSync() {
    using contacts::ContactSyncer;
    syncer = std::make_unique<ContactSyncer>(bookDocument);
    connect(syncer.get(), &ContactSyncer::failed, &FailurePresenter::instance(),
            &FailurePresenter::show);
    syncer->configure();
    connect(&settingsNotifier(), &SettingsNotifier::settingsChanged, syncer.get(),
            [this](const TIni& before, SettingsChange how) {
                if (how != SettingsChange::Confirmed) return;
                syncer->configure();
                if (side) side->book.setAddressBookSync(syncCommand());
                // Another address book, or another part of the book: synced at once.
                const TIni& now = ini();
                if (before.CardDavUrl != now.CardDavUrl || before.CardDavUser != now.CardDavUser ||
                    before.CardDavGroup != now.CardDavGroup)
                    syncer->syncNow();
            });
    // The first sync once the book is read: a call that comes meanwhile must find the book.
    if (bookDocument.isLoaded())
        QTimer::singleShot(0, syncer.get(), &ContactSyncer::syncNow);
    else
        connect(&bookDocument, &BookDocument::loaded, syncer.get(), &ContactSyncer::syncNow,
                Qt::SingleShotConnection);
}

std::function<void()> ProgramWindows::syncCommand() {
    if (!syncer->configured()) return {};
    return [this] { syncer->syncNow(); };
}

void ProgramWindows::makeSideWindows() {
    if (side || makingSide_) return;
    mainWindow.removeEventFilter(this);
    {
        const QScopedValueRollback making(makingSide_, true);
        side = std::make_unique<SideWindows>(mainWindow, bookDocument, reminderDocument);
    }
    SideWindows& s = *side;
    s.reminders.setBook(&bookDocument.store());
    s.book.setReminderForm([this](const QString& phone) { side->reminders.addForNumber(phone); });
    s.book.setColumnChooser([](QWidget* parent) { return TItemOptions::choose(parent); });
    s.book.setAddressBookSync(syncCommand());
    connect(syncer.get(), &contacts::ContactSyncer::status, &s.book, &TPhoneBook::showSyncStatus);
    mainWindow.setRunWindows(
        {&s.book, &s.alertReminder, &s.reminders, &s.alert, &s.calls, &s.allScreen, &s.itemInfo});
    // Shown with the main window where the settings say so, as the main window's showing
    // does; that one came before the book window was there.
    if (mainWindow.isVisible() && !mainWindow.isMinimized() && ini().PhoneBook &&
        mainWindow.findChild<QAction*>(QStringLiteral("mPBook"))->isEnabled())
        s.book.show();
    traceStart("side windows made");
}

ProgramWindows::~ProgramWindows() {
    qApp->removeEventFilter(this);
    side.reset();
    // A sync in flight is cancelled and waited for: the book's last save then holds its state.
    syncer.reset();
    // The last saves on disk before the documents go; a close has told its failures already.
    const Failures left = bookDocument.close() + reminderDocument.close();
    if (!left.isEmpty()) std::fprintf(stderr, "%s\n", failureLines(left).toLocal8Bit().constData());
}

bool ProgramWindows::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &mainWindow && event->type() == QEvent::Paint)
        QTimer::singleShot(0, this, [this] { makeSideWindows(); });
    // A quit asked of the application (the session manager's, or any other) closes the
    // main window first, quietly; a close the user started has run by then.
    else if (watched == qApp && event->type() == QEvent::Quit)
        closeQuietly();
    return QObject::eventFilter(watched, event);
}

}  // namespace zrk
