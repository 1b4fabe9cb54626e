#include "apps/console/Console.h"
#include "apps/console/ContactsCommand.h"
#include "apps/console/Language.h"
#include "gui/main/Program.h"
#include "core/platform/DataDirectory.h"
#include "core/platform/DesktopPlatform.h"
#include "core/platform/QuitSignals.h"
#include "core/platform/Registry.h"
#include "core/platform/SingleInstance.h"
#include "gui/desktop/Sound.h"
#include "core/platform/StartTrace.h"
#include "core/settings/LineClient.h"
#include "core/settings/Settings.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>

#include <cstdio>
#include <vector>

namespace {

// The edge of the event loop: an error that got this far is handed to the main window's
// handler and never unwinds into the toolkit.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    std::function<void(std::exception_ptr)> onError;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            if (onError) onError(std::current_exception());
            return false;
        }
    }
};

// Ends the start-up trace at the main window's first paint.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            zrk::traceStart("main window painted");
            watched->removeEventFilter(this);
        }
        return false;
    }
};

// The line server holds this directory: said, and the desk offered as its NCID client, with a
// directory and settings of its own, started as a program of its own.
int offerLineClient() {
    const QString userConfig = zrk::RegistryFile::userPath();
    const zrk::LineClient client = zrk::lineClientPlaces(userConfig, zrk::standardDataDirectory());
    const QString said =
        QCoreApplication::translate("main",
                                    "Каталог данных %1 обслуживает сервер линии zrk-line: модем, "
                                    "телефонная книга и журнал звонков у него. Zrk Pro может "
                                    "показывать его звонки как клиент NCID, без модема, с каталогом "
                                    "данных %2.")
            .arg(QDir::currentPath(), client.dataDir);
    std::printf("%s\n", said.toLocal8Bit().constData());
    // Offscreen, nobody could answer.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return 0;
    if (QMessageBox::question(nullptr, QStringLiteral("Zrk Pro 2.01b"),
                              said + QStringLiteral("\n\n") +
                                  QCoreApplication::translate("main", "Запустить Zrk Pro клиентом NCID?")) !=
        QMessageBox::Yes)
        return 0;
    if (const QString error = zrk::prepareLineClient(client, userConfig); !error.isEmpty()) {
        QMessageBox::warning(nullptr, QStringLiteral("Zrk Pro 2.01b"), error);
        return 1;
    }
    const bool started = QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                                 {QStringLiteral("--data-dir"), client.dataDir,
                                                  QStringLiteral("--config"), client.config});
    return started ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    zrk::traceStart("main");
    // The command line as given, for a command without a window to read again.
    std::vector<char*> given(argv, argv + argc + 1);
    const zrk::ContactsCommand contacts = zrk::takeContactsOptions(argc, argv);
    const zrk::StartOptions options = zrk::takeStartOptions(argc, argv);
    zrk::RegistryFile::setUserPath(options.config);  // before anything reads the settings
    if (zrk::isConsoleCommand(options, contacts))
        return zrk::runConsoleCommand(int(given.size()) - 1, given.data());

    zrk::choosePreferredQtPlatform();
    Application app(argc, argv);
    zrk::forgetPreferredQtPlatform();  // the programs started from here choose for themselves
    zrk::nameApplication();
    zrk::traceStart("application");
    // The language before the first text: the stored choice, else the desktop's. A store
    // that cannot be read is the main window's to report; here it means the desktop's.
    {
        zrk::TIni stored;
        try {
            zrk::LoadSettings(stored, zrk::RegistryFile::user());
        } catch (const zrk::ERegistryException&) {
        }
        zrk::installChosenLanguage(stored.Language);
    }
    zrk::traceStart("language");

    // The data directory becomes the working directory before any file is read.
    QString dirError;
    if (!options.dataDir.isEmpty() && !zrk::enterDataDirectory(options.dataDir, &dirError)) {
        std::fprintf(stderr, "%s\n", dirError.toLocal8Bit().constData());
        // Started from the menu, nobody reads the standard error stream; offscreen, nobody
        // could close the box.
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::critical(nullptr, QStringLiteral("Zrk Pro 2.01b"), dirError);
        return 1;
    }
    zrk::SingleInstance instance(QDir::currentPath());
    if (instance.state() == zrk::SingleInstance::AnotherRuns &&
        instance.holder() == QLatin1String("zrk-line"))
        return offerLineClient();
    if (instance.state() == zrk::SingleInstance::AnotherRuns) {
        const zrk::SingleInstance::Wake woken =
            instance.wakeFirst({qgetenv("XDG_ACTIVATION_TOKEN")});
        const QString said =
            woken == zrk::SingleInstance::Raised
                ? QCoreApplication::translate("main",
                                              "Zrk Pro уже работает с этим каталогом "
                                              "данных: его окно выведено вперёд.")
            : woken == zrk::SingleInstance::Queued
                ? QCoreApplication::translate("main",
                                              "Zrk Pro уже запускается с этим каталогом данных: "
                                              "его окно будет выведено вперёд, как только он "
                                              "запустится.")
                : QCoreApplication::translate("main",
                                              "Zrk Pro уже работает с этим каталогом данных.");
        std::printf("%s\n", said.toLocal8Bit().constData());
        return 0;
    }
    if (!instance.problem().isEmpty())
        std::fprintf(stderr, "%s\n", instance.problem().toLocal8Bit().constData());
    zrk::traceStart("single instance");
    // Held for the whole run: an import refuses while a program would save over it at exit.
    const zrk::RegistryHold settingsInUse(zrk::RegistryFile::userPath(), zrk::RegistryHold::Shared);
    // A window's place or a setting must not hold the window up on a slow disk; every close
    // waits for these saves.
    zrk::RegistryFile::user().setSavesInBackground(true);
    QApplication::setQuitOnLastWindowClosed(false);  // the tray keeps a hidden program alive
    // A signal or the end of the desktop session closes the program as the main window's
    // close does: port closed, positions and settings saved. Installed first, so that a
    // signal during start-up waits for the event loop instead of killing the program.
    zrk::ProgramWindows* runPtr = nullptr;
    zrk::installQuitSignals([&runPtr] {
        if (runPtr) runPtr->closeQuietly();
    });

    // The main window; the others once it is on the screen.
    zrk::ProgramWindows run(nullptr, zrk::makeDesktopSound(), true);
    zrk::traceStart("main window made");
    zrk::TRusCID& mainWindow = run.mainWindow;
    app.onError = [&mainWindow](std::exception_ptr e) { mainWindow.HandleException(e); };
    // Saves that a crash cut short left their temporary files; ours alone hold the lock.
    if (instance.state() == zrk::SingleInstance::First) zrk::removeDataLeftovers();

    // A second start with the same data directory brings this window forward; one that came
    // while the windows were being built is answered now.
    instance.answerWith([&mainWindow](const zrk::WakeRequest& request) {
        request.prepareActivation();
        if (!mainWindow.isVisible() || mainWindow.isMinimized()) mainWindow.mPShowClick();
        mainWindow.raise();
        mainWindow.activateWindow();
    });

    runPtr = &run;
    FirstPaint firstPaint;
    if (qEnvironmentVariableIsSet("ZRK_TRACE_START")) mainWindow.installEventFilter(&firstPaint);
    mainWindow.show();
    zrk::traceStart("main window shown");
    const int rc = app.exec();
    runPtr = nullptr;
    return rc;
}
