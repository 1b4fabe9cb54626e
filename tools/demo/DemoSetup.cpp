// Prepares a demo directory: a phone book with a few people, and a settings store that maps
// the port to the modem simulator's link. Never touches the user's own files: the demo runs
// with a directory and a settings store of its own.
//   zrk-demo-setup <demo directory> <device link>
#include "core/book/BookStore.h"
#include "common/DemoLog.h"
#include "core/platform/Registry.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

void person(zrk::BookStore& book, const char* name, const char* phone, int status, int group) {
    zrk::BookEntry e = zrk::BookEntry::empty();
    e.Name.setText(QString::fromUtf8(name));
    e.Phone.setText(QString::fromUtf8(phone));
    e.Status = status;
    e.Group = group;
    book.AddItem(e, true);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: zrk-demo-setup <demo directory> <device link>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir + QLatin1String("/config"));
    QDir::setCurrent(dir);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir + QLatin1String("/config")));

    if (!QFile::exists(QStringLiteral("book.phn"))) {
        zrk::BookStore book;
        zrk::BookGroup friends = zrk::BookGroup::empty();
        friends.Title.setText(QStringLiteral("Друзья"));
        book.AddGroup(friends, true);
        person(book, "Иванов Иван Иванович", "34-56-78", 0, 1);
        person(book, "Гостиница «Россия»", "234567", 2, 0);
        person(book, "Автомат на углу", "11-22-33", 1, 0);
        if (!book.SaveList()) return 1;
    }
    // A year of calls, so that the call history has something to show and search from the
    // first start.
    if (!QFile::exists(QStringLiteral("ZrkLog.txt")) &&
        !zrk::tools::writeDemoLog(QStringLiteral("ZrkLog.txt"), 5000,
                                  QDateTime::currentDateTime().addSecs(-600), 365))
        return 1;
    zrk::RegKey reg;
    reg.openKey(QStringLiteral("Software\\Zrk Pro\\Devices"), true);
    reg.writeString(QStringLiteral("Com2"), QString::fromLocal8Bit(argv[2]));
    reg.writeInteger(QStringLiteral("Com2 Virtual"), 1);
    // The demo's callers ring three times: ask for the number once, at the third ring.
    reg.openKey(QStringLiteral("Software\\Zrk Pro\\Modem"), true);
    reg.writeInteger(QStringLiteral("Answer On Ring"), 2);
    reg.openKey(QStringLiteral("Software\\Zrk Pro"), true);
    if (!reg.valueExists(QStringLiteral("Minimized")))
        reg.writeBool(QStringLiteral("Minimized"), false);  // the demo shows its window
    try {
        reg.closeKey();
    } catch (const zrk::Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
