#include "core/platform/SerialPorts.h"

#include "core/platform/Registry.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zrk {
namespace {

QStringList naturalOrder(QStringList names) {
    QCollator c;
    c.setNumericMode(true);
    std::sort(names.begin(), names.end(),
              [&c](const QString& a, const QString& b) { return c.compare(a, b) < 0; });
    return names;
}

// A ttyS node with no UART behind it reports type 0 (PORT_UNKNOWN).
bool uartPresent(const QString& sysRoot, const QString& name) {
    QFile f(sysRoot + QStringLiteral("/class/tty/") + name + QStringLiteral("/type"));
    if (!f.open(QIODevice::ReadOnly)) return false;
    bool ok = false;
    const int type = f.readAll().trimmed().toInt(&ok);
    return ok && type != 0;
}

}  // namespace

QList<SerialPortCandidate> listSerialPorts(const QString& devRoot, const QString& sysRoot) {
    QList<SerialPortCandidate> out;
    const QDir byId(devRoot + QStringLiteral("/serial/by-id"));
    for (const QString& name :
         naturalOrder(byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))) {
        const QFileInfo link(byId.filePath(name));
        if (!link.exists()) continue;  // a link left behind by a modem pulled out
        out.append({link.filePath(), link.isSymLink() ? link.canonicalFilePath() : QString()});
    }
    const QDir dev(devRoot);
    for (const char* pattern : {"ttyACM*", "ttyUSB*", "ttyS*"}) {
        const QStringList names =
            naturalOrder(dev.entryList({QLatin1String(pattern)}, QDir::System | QDir::Files));
        for (const QString& name : names) {
            if (name.startsWith(QLatin1String("ttyS")) && !uartPresent(sysRoot, name)) continue;
            out.append({dev.filePath(name), QString()});
        }
    }
    return out;
}

QString serialDeviceProblemText(const QString& path, int error, const QString& group) {
    switch (error) {
        case 0:
            return {};
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return QCoreApplication::translate("zrk::SerialPorts",
                                               "Устройство %1 не найдено. Модем подключен?")
                .arg(path);
        case EACCES:
        case EPERM:
            return QCoreApplication::translate(
                       "zrk::SerialPorts",
                       "Нет прав на устройство %1. Добавьте себя в группу %2 "
                       "(sudo adduser $USER %2) и войдите в систему заново.")
                .arg(path, group.isEmpty() ? QStringLiteral("dialout") : group);
        default:
            return QCoreApplication::translate("zrk::SerialPorts", "Устройство %1 недоступно: %2")
                .arg(path, QString::fromLocal8Bit(std::strerror(error)));
    }
}

QString serialDeviceProblem(const QString& path) {
    if (path.isEmpty()) return {};
    const QByteArray p = QFile::encodeName(path);
    struct stat st {};
    if (::stat(p.constData(), &st) != 0) return serialDeviceProblemText(path, errno, {});
    if (::access(p.constData(), R_OK | W_OK) == 0) return {};
    const int error = errno;
    QString group;
    if (const struct group* g = ::getgrgid(st.st_gid)) group = QString::fromLocal8Bit(g->gr_name);
    return serialDeviceProblemText(path, error, group);
}

QString defaultSerialDevicePath(int comNumber) {
    return QStringLiteral("/dev/ttyS%1").arg(comNumber - 1);
}

void saveSerialDeviceLocation(int comNumber, const SerialDeviceLocation& location) {
    RegKey reg;
    if (!reg.openKey(QStringLiteral("Software\\Zrk Pro\\Devices"), true)) return;
    const QString name = QStringLiteral("Com%1").arg(comNumber);
    reg.writeString(name, location.path);
    reg.writeInteger(name + QStringLiteral(" Virtual"), location.isVirtual ? 1 : 0);
    reg.closeKey();
}

}  // namespace zrk
