#include "core/platform/DataDirectory.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace zrk {

const char* const kUsage = QT_TRANSLATE_NOOP(
    "zrk::Console",
    "Использование: zrk-pro [--desktop | --data-dir КАТАЛОГ] [--config ФАЙЛ] [--import-reg ФАЙЛ]\n"
    "  --data-dir КАТАЛОГ  хранить телефонную книгу, напоминания и журнал звонков в КАТАЛОГЕ\n"
    "  --desktop           хранить их в $XDG_DATA_HOME/zrk-pro (так запускает меню)\n"
    "  --config ФАЙЛ       файл настроек вместо $XDG_CONFIG_HOME/zrk-pro/registry.reg\n"
    "  --import-reg ФАЙЛ   перенести настройки из экспорта реестра Windows и выйти\n");
const char* const kUsageNote = QT_TRANSLATE_NOOP(
    "zrk::Console", "Без ключей --data-dir и --desktop данные хранятся в текущем каталоге.\n");

QString standardDataDirectory() {
    QString base = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QLatin1String("/.local/share");
    return base + QLatin1String("/zrk-pro");
}

namespace {
// Not shared with other users: a folder of ours, private, that nobody else can own.
QString privateFolderIn(const QString& base) {
    const QString dir = base + QStringLiteral("/zrk-pro-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(dir);
    ::mkdir(path.constData(), 0700);
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 077) != 0)
        return {};
    return dir;
}
}  // namespace

QString runtimeDirectory() {
    const QString xdg = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg) && QFileInfo(xdg).isDir()) return xdg;
    return privateFolderIn(QDir::tempPath());
}

QString shortSocketPath(const QString& path) {
    // sun_path holds 108 bytes with the final NUL.
    constexpr qsizetype kMax = 107;
    if (QFile::encodeName(path).size() <= kMax) return path;
    const QString name = QFileInfo(path).fileName();
    for (const QString& base : {QDir::tempPath(), QStringLiteral("/tmp")}) {
        const QString dir = privateFolderIn(base);
        const QString inDir = dir + QLatin1Char('/') + name;
        if (!dir.isEmpty() && QFile::encodeName(inDir).size() <= kMax) return inDir;
    }
    return path;  // listening will say why it failed
}

QString runtimeFileFor(const char* kind, const QString& path, const char* suffix) {
    const QFileInfo info(path);
    // The file itself may not exist yet; its folder usually does.
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        const QString folder = info.absoluteDir().canonicalPath();
        canonical = folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                                     : folder + QLatin1Char('/') + info.fileName();
    }
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString dir = runtimeDirectory();
    if (dir.isEmpty()) return {};
    return dir + QStringLiteral("/zrk-pro-%1-%2%3")
                     .arg(QLatin1String(kind), QLatin1String(digest), QLatin1String(suffix));
}

bool enterDataDirectory(const QString& dir, QString* error) {
    const auto fail = [&](const char* text) {
        *error = QCoreApplication::translate("zrk::DataDirectory", text).arg(dir);
        return false;
    };
    const QFileInfo info(dir);
    if (info.exists() && !info.isDir())
        return fail(QT_TRANSLATE_NOOP("zrk::DataDirectory",
                                      "Каталог данных %1 не является каталогом."));
    if (!QDir().mkpath(dir))
        return fail(QT_TRANSLATE_NOOP("zrk::DataDirectory", "Не удалось создать каталог данных %1."));
    if (!QDir::setCurrent(dir))
        return fail(
            QT_TRANSLATE_NOOP("zrk::DataDirectory", "Не удалось перейти в каталог данных %1."));
    return true;
}

QString takeOptions(int& argc, char** argv, std::initializer_list<CommandOption> options) {
    QString error;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const auto o = std::find_if(options.begin(), options.end(), [&](const CommandOption& o) {
            return !std::strcmp(argv[i], o.name);
        });
        if (o == options.end())
            argv[kept++] = argv[i];
        else if (o->flag)
            *o->flag = true;
        else if (i + 1 < argc)
            *o->value = QFile::decodeName(argv[++i]);
        else
            error = QCoreApplication::translate("zrk::Console", "После %1 нужно значение.")
                        .arg(QLatin1String(o->name));
    }
    argc = kept;
    argv[argc] = nullptr;
    return error;
}

StartOptions takeStartOptions(int& argc, char** argv) {
    StartOptions o;
    bool desktop = false;
    o.error = takeOptions(argc, argv,
                          {{"--data-dir", &o.dataDir},
                           {"--desktop", nullptr, &desktop},
                           {"--import-reg", &o.importFile},
                           {"--config", &o.config},
                           {"--help", nullptr, &o.help},
                           {"-h", nullptr, &o.help}});
    if (desktop && !o.dataDir.isEmpty() && o.error.isEmpty())
        o.error = QCoreApplication::translate("zrk::DataDirectory",
                                              "--desktop и --data-dir вместе не бывают.");
    if (desktop) o.dataDir = standardDataDirectory();
    return o;
}

}  // namespace zrk
