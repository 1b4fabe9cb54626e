// zrk-line: the line server. The modem, the phone book, the call log and the NCID server's
// feed, without a desktop: for a machine in the wiring cupboard, run by systemd.
#include "apps/console/Language.h"
#include "apps/zrk-line/LineCheck.h"
#include "apps/zrk-line/LineServer.h"
#include "core/platform/DataDirectory.h"
#include "core/platform/QuitSignals.h"
#include "core/platform/Registry.h"
#include "core/platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

const char* const kLineUsage = QT_TRANSLATE_NOOP(
    "zrk::LineServer",
    "Использование: zrk-line [--data-dir КАТАЛОГ] [--config ФАЙЛ] [--check]\n"
    "  --data-dir КАТАЛОГ  телефонная книга и журнал звонков в КАТАЛОГЕ (иначе в текущем)\n"
    "  --config ФАЙЛ       файл настроек (иначе $XDG_CONFIG_HOME/zrk-pro/registry.reg)\n"
    "  --check             сказать, что будет использовано и годится ли, и выйти\n"
    "SIGHUP перечитывает настройки и телефонную книгу; SIGTERM и SIGINT завершают работу.\n");


}  // namespace

int main(int argc, char* argv[]) {
    QString dataDir, config;
    bool check = false, help = false;
    const QString optionError = zrk::takeOptions(argc, argv,
                                                 {{"--data-dir", &dataDir},
                                                  {"--config", &config},
                                                  {"--check", nullptr, &check},
                                                  {"--help", nullptr, &help},
                                                  {"-h", nullptr, &help}});
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zrk-line"));
    // The settings file first: it holds the language the server speaks.
    zrk::RegistryFile::setUserPath(config);
    zrk::installConsoleLanguage();
    using zrk::LineServer;
    if (!optionError.isEmpty() || argc > 1 || help) {
        if (!optionError.isEmpty()) LineServer::say(optionError);
        if (optionError.isEmpty() && argc > 1)
            LineServer::say(QCoreApplication::translate("zrk::LineServer", "Непонятный ключ: %1").arg(QString::fromLocal8Bit(argv[1])));
        std::fputs(QCoreApplication::translate("zrk::LineServer", kLineUsage).toLocal8Bit().constData(), help ? stdout : stderr);
        return help && optionError.isEmpty() && argc == 1 ? 0 : 2;
    }
    if (QString error; !dataDir.isEmpty() && !zrk::enterDataDirectory(dataDir, &error)) {
        LineServer::say(error);
        return 1;
    }
    if (check) return zrk::checkLine();

    // The same lock as the desktop program's: never two programs on one modem and one book.
    zrk::SingleInstance lock(QDir::currentPath(), QStringLiteral("zrk-line"));
    if (lock.state() == zrk::SingleInstance::AnotherRuns) {
        LineServer::say(QCoreApplication::translate("zrk::LineServer", "Каталог данных %1 занят: в нём работает %2.")
                            .arg(QDir::currentPath(),
                                 lock.holder().isEmpty() ? QStringLiteral("Zrk Pro") : lock.holder()));
        return 3;
    }
    if (!lock.problem().isEmpty()) LineServer::say(lock.problem());
    lock.answerWith([](const zrk::WakeRequest&) {});  // no window to bring forward

    LineServer server;
    zrk::Failures left;
    zrk::installQuitSignals(
        [&] {
            LineServer::say(QCoreApplication::translate("zrk::LineServer", "Завершаю работу."));
            left = server.stop();
            QCoreApplication::quit();
        },
        [&server] { server.reload(); });
    LineServer::say(QCoreApplication::translate("zrk::LineServer", "Каталог данных: %1").arg(QDir::currentPath()));
    server.start();
    const int rc = app.exec();
    if (!left.isEmpty()) LineServer::say(zrk::failureLines(left));
    return rc != 0 || !left.isEmpty() ? 1 : 0;
}
