#include "gui/main/Program.h"

#include "core/platform/SafeFile.h"
#include "gui/desktop/Sound.h"
#include "core/platform/StartTrace.h"
#include "core/reminders/ReminderStore.h"
#include "gui/settings/ItemOptions.h"
#include "core/settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QTimer>

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

SideWindows::SideWindows(TRusCID& main)
    : book(&main, TPhoneBook::Loading::InBackground),
      alertReminder(&main),
      reminders(main, alertReminder, &main),
      alert(main, &main),
      calls(main, &main),
      allScreen(main, &main),
      itemInfo(&main) {}

ProgramWindows::ProgramWindows(std::shared_ptr<SerialDevice> device, std::shared_ptr<Sound> sound,
                               bool sideLater)
    : desk(std::move(device)), mainWindow(desk), sideLater_(sideLater) {
    mainWindow.setSound(std::move(sound));  // before any other window can ring
    // A reported caller needs the side windows: they are made before the book is asked.
    desk.setLookup([this](const QString& number) {
        makeSideWindows();
        if (!side) return CallerInfo{};
        // A call that comes while the book is still being read waits for it: never an
        // unknown caller who is in the book.
        side->book.waitForBook();
        return side->book.store().WhoCall(number);
    });
    desk.setNumberReminder([this](const QString& number) {
        if (side) side->reminders.raiseForNumber(number);
    });
    if (!sideLater_) makeSideWindows();
    // Whatever happens meanwhile, the side windows are there within a second.
    if (sideLater_) QTimer::singleShot(1000, this, [this] { makeSideWindows(); });
    // The end of the desktop session: saved as a close of the main window saves, before
    // the toolkit closes the windows one by one, and without a box that nobody would click.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { closeQuietly(); });
    qApp->installEventFilter(this);
}

void ProgramWindows::makeSideWindows() {
    // Making them sends events of their own, which come through the filter below.
    if (side || makingSide_) return;
    {
        const QScopedValueRollback making(makingSide_, true);
        side = std::make_unique<SideWindows>(mainWindow);
    }
    SideWindows& s = *side;
    s.reminders.setBook(&s.book.store());
    s.book.setReminderForm([this](const QString& phone) { side->reminders.addForNumber(phone); });
    s.book.setColumnChooser([](QWidget* parent) { return TItemOptions::choose(parent); });
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
}

bool ProgramWindows::eventFilter(QObject* watched, QEvent* event) {
    if (!side && sideLater_) {
        switch (event->type()) {
            // Made once the main window has painted: it is what the user waits for.
            case QEvent::Paint:
                if (watched == &mainWindow)
                    QTimer::singleShot(0, this, [this] { makeSideWindows(); });
                break;
            // Made before the user's input, which may ask for them (a reported caller asks
            // the main window itself).
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::ContextMenu:
            case QEvent::Wheel:
            case QEvent::Close:
                makeSideWindows();
                break;
            default:
                break;
        }
    }
    // A quit asked of the application (the session manager's, or any other) closes the
    // main window first, quietly; a close the user started has run by then.
    if (watched == qApp && event->type() == QEvent::Quit) closeQuietly();
    return QObject::eventFilter(watched, event);
}

}  // namespace zrk
