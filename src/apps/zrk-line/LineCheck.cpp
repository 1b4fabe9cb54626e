#include "apps/zrk-line/LineCheck.h"

#include "core/book/BookStore.h"
#include "core/net/NcidProtocol.h"
#include "core/platform/Registry.h"
#include "core/platform/SerialDevice.h"
#include "core/platform/SerialPorts.h"
#include "core/platform/SingleInstance.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTemporaryFile>

#include <cstdio>

namespace zrk {
namespace {


// One item: what it is, what is used, and whether it can be.
bool item(const QString& what, const QString& used, const QString& problem) {
    const QString verdict = problem.isEmpty() ? QCoreApplication::translate("zrk::LineCheck", "в порядке") : problem;
    std::printf("%s: %s — %s\n", what.toLocal8Bit().constData(), used.toLocal8Bit().constData(),
                verdict.toLocal8Bit().constData());
    return problem.isEmpty();
}

QString settingsProblem() {
    const QString path = RegistryFile::userPath();
    if (!QFileInfo::exists(path)) return QCoreApplication::translate("zrk::LineCheck", "нет файла: всё по умолчанию, модем Com1");
    if (!QFileInfo(path).isReadable()) return QCoreApplication::translate("zrk::LineCheck", "нельзя прочитать");
    try {
        LoadSettings(ini());
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
    return RegistryFile::user().loadError();
}

QString directoryProblem() {
    QTemporaryFile probe(QDir::current().filePath(QStringLiteral(".zrk-line-check-XXXXXX")));
    if (!probe.open()) return QCoreApplication::translate("zrk::LineCheck", "нельзя писать: %1").arg(probe.errorString());
    SingleInstance lock(QDir::currentPath(), QStringLiteral("zrk-line --check"));
    if (lock.state() == SingleInstance::AnotherRuns)
        return QCoreApplication::translate("zrk::LineCheck", "занят программой %1").arg(lock.holder().isEmpty() ? QStringLiteral("?") : lock.holder());
    return {};
}

QString bookProblem(int* entries) {
    const QString file = ini().PhoneBookFile;
    if (!QFileInfo::exists(file)) return {};  // an empty book: every caller a stranger
    try {
        BookStore book;
        book.load(file);
        *entries = book.count();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
    return {};
}

QString serverProblem(const QString& text) {
    const std::optional<ncid::ServerAddress> address = ncid::parseServerAddress(text);
    if (!address) return QCoreApplication::translate("zrk::LineCheck", "не адрес: нужно «узел» или «узел:порт»");
    QTcpSocket socket;
    socket.connectToHost(address->host, address->port);
    if (!socket.waitForConnected(3000)) return QCoreApplication::translate("zrk::LineCheck", "не отвечает: %1").arg(socket.errorString());
    // ncidd greets each client with "200 ..." before anything else.
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(3000)) return QCoreApplication::translate("zrk::LineCheck", "соединяется, но не здоровается как сервер NCID");
    if (!socket.readLine().startsWith("200")) return QCoreApplication::translate("zrk::LineCheck", "отвечает не как сервер NCID");
    return {};
}

}  // namespace

int checkLine() {
    bool ok = item(QCoreApplication::translate("zrk::LineCheck", "Файл настроек"), RegistryFile::userPath(), settingsProblem());
    ok = item(QCoreApplication::translate("zrk::LineCheck", "Каталог данных"), QDir::currentPath(), directoryProblem()) && ok;
    const TIni& s = ini();
    if (s.Port == kNoModemPort) {
        ok = item(QCoreApplication::translate("zrk::LineCheck", "Модем"), QCoreApplication::translate("zrk::LineCheck", "не выбран"), QCoreApplication::translate("zrk::LineCheck", "линии нет: выберите порт модема")) && ok;
    } else {
        const QString port = QStringLiteral("Com%1").arg(s.Port + 1);
        const QString path = locateSerialDevice(port).path;
        ok = item(QCoreApplication::translate("zrk::LineCheck", "Модем"), port + QStringLiteral(" (") + path + QLatin1Char(')'),
                  serialDeviceProblem(path)) && ok;
    }
    int entries = 0;
    const QString bookError = bookProblem(&entries);
    ok = item(QCoreApplication::translate("zrk::LineCheck", "Телефонная книга"),
              QFileInfo::exists(s.PhoneBookFile) ? QCoreApplication::translate("zrk::LineCheck", "%1, записей %2").arg(s.PhoneBookFile).arg(entries)
                                                 : QCoreApplication::translate("zrk::LineCheck", "%1 (нет файла: имён не будет)").arg(s.PhoneBookFile),
              bookError) && ok;
    if (s.NcidServer.trimmed().isEmpty() || !s.SendCalls)
        item(QCoreApplication::translate("zrk::LineCheck", "Сервер NCID"), QCoreApplication::translate("zrk::LineCheck", "не задан"), QString());  // a blocker and a log without it
    else
        ok = item(QCoreApplication::translate("zrk::LineCheck", "Сервер NCID"), s.NcidServer, serverProblem(s.NcidServer)) && ok;
    return ok ? 0 : 1;
}

}  // namespace zrk
