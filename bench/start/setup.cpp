// Prepares a directory for a start measurement: a settings store of its own (config/) whose
// port is the given device, and, unless `entries` is 0, a generated book of that many entries.
//   bench-start-setup <directory> <device> <entries>
#include "GeneratedBook.h"
#include "core/platform/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench-start-setup <directory> <device> <entries>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir + QLatin1String("/config"));
    QDir::setCurrent(dir);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir + QLatin1String("/config")));
    const int entries = std::atoi(argv[3]);
    if (entries > 0) {
        zrk::BookStore book;
        zrk::bench::fillGeneratedBook(book, entries);
        if (!book.SaveList(QString::fromLatin1(zrk::kBookFile))) return 1;
    }
    try {
        zrk::RegKey reg;
        reg.openKey(QStringLiteral("Software\\Zrk Pro\\Devices"), true);
        reg.writeString(QStringLiteral("Com2"), QString::fromLocal8Bit(argv[2]));
        reg.writeInteger(QStringLiteral("Com2 Virtual"), 1);
        reg.openKey(QStringLiteral("Software\\Zrk Pro"), true);
        reg.writeBool(QStringLiteral("Minimized"), false);
        reg.closeKey();
    } catch (const zrk::Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
