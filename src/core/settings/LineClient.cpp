#include "core/settings/LineClient.h"

#include "core/platform/Exception.h"
#include "core/platform/Registry.h"
#include "core/settings/Settings.h"

#include <QFile>
#include <QFileInfo>

namespace zrk {

LineClient lineClientPlaces(const QString& userConfig, const QString& standardDataDir) {
    return {standardDataDir + QLatin1String("-client"),
            QFileInfo(userConfig).absolutePath() + QLatin1String("/client.reg")};
}

QString prepareLineClient(const LineClient& c, const QString& userConfig) {
    if (QFileInfo::exists(c.config)) return {};  // the user's own choices since
    if (QFileInfo::exists(userConfig) && !QFile::copy(userConfig, c.config))
        return QFile(c.config).errorString();
    try {
        RegistryFile file(c.config);
        RegKey reg(file);
        const QString root = QString::fromLatin1(kSettingsRoot);
        reg.openKey(root + QLatin1String("Modem"), true);
        reg.writeInteger(QStringLiteral("Port"), kNoModemPort);
        reg.closeKey();
        reg.openKey(root + QLatin1String("Network"), true);
        if (!reg.valueExists(QStringLiteral("NCID Server")) ||
            reg.readString(QStringLiteral("NCID Server")).trimmed().isEmpty())
            reg.writeString(QStringLiteral("NCID Server"), QStringLiteral("localhost"));
        reg.writeBool(QStringLiteral("Receive Calls"), true);
        reg.writeBool(QStringLiteral("Send Calls"), false);  // the server has them already
        reg.closeKey();
    } catch (const std::exception& e) {
        QFile::remove(c.config);  // half made: made again next time
        return QString::fromLocal8Bit(e.what());
    }
    return {};
}

}  // namespace zrk
