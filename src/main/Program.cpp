#include "main/Program.h"

#include "platform/SafeFile.h"
#include "platform/Sound.h"
#include "platform/StartTrace.h"
#include "reminders/ReminderStore.h"
#include "settings/ItemOptions.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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

ProgramWindows::ProgramWindows(std::shared_ptr<SerialDevice> device, std::shared_ptr<Sound> sound)
    : sound_(std::move(sound)), mainWindow(std::move(device)) {
    traceStart("other windows made");
    reminders.setBook(&book.store());
    book.setReminderForm([this](const QString& phone) { reminders.addForNumber(phone); });
    book.setColumnChooser([](QWidget* parent) { return TItemOptions::choose(parent); });
    mainWindow.setRunWindows(
        {&book, &alertReminder, &reminders, &alert, &calls, &allScreen, &itemInfo});
    // The end of the desktop session: saved as a close of the main window saves, before
    // the toolkit closes the windows one by one, and without a box that nobody would click.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { closeQuietly(); });
    qApp->installEventFilter(this);
}

TRusCID* ProgramWindows::sounded() {
    mainWindow.setSound(sound_);
    return &mainWindow;
}

ProgramWindows::~ProgramWindows() {
    qApp->removeEventFilter(this);
}

bool ProgramWindows::eventFilter(QObject* watched, QEvent* event) {
    // A quit asked of the application (the session manager's, or any other) closes the
    // main window first, quietly; a close the user started has run by then.
    if (watched == qApp && event->type() == QEvent::Quit) closeQuietly();
    return QObject::eventFilter(watched, event);
}

}  // namespace zrk
