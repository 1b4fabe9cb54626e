#include "core/contacts/SyncAccount.h"

#include "core/platform/Keyring.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>

namespace zrk::contacts {

QString keyringKey(const TIni& ini) {
    return QStringLiteral("CardDAV %1 %2").arg(ini.CardDavUser, ini.CardDavUrl);
}

std::optional<QString> readPasswordFile(const QString& path, QString* problem) {
    QFile f(path);
    struct stat st {};
    if (!f.open(QIODevice::ReadOnly) || ::fstat(f.handle(), &st) != 0) {
        *problem = QCoreApplication::translate("zrk::ContactSync",
                                               "Не удалось прочитать файл пароля %1: %2")
                       .arg(path, f.errorString());
        return std::nullopt;
    }
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        *problem = QCoreApplication::translate(
                       "zrk::ContactSync",
                       "Файл пароля %1 могут читать другие пользователи; он не используется. "
                       "Сделайте его доступным только владельцу: chmod 600 %1")
                       .arg(path);
        return std::nullopt;
    }
    QByteArray line = f.readLine();
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    return QString::fromUtf8(line);
}

std::optional<dav::Account> syncAccount(const TIni& ini, QString* problem) {
    dav::Account account;
    account.url = QUrl::fromUserInput(ini.CardDavUrl.trimmed());
    if (ini.CardDavUrl.trimmed().isEmpty() || !account.url.isValid()) {
        *problem = QCoreApplication::translate("zrk::ContactSync",
                                               "Адрес сервера адресной книги не задан.");
        return std::nullopt;
    }
    account.user = ini.CardDavUser;
    account.allowPlainHttp = ini.CardDavAllowHttp;
    if (!ini.CardDavPasswordFile.isEmpty()) {
        const std::optional<QString> password = readPasswordFile(ini.CardDavPasswordFile, problem);
        if (!password) return std::nullopt;
        account.password = *password;
    } else if (!ini.CardDavUser.isEmpty()) {
        QString why;
        const std::optional<QString> password = readSecret(keyringKey(ini), &why);
        if (!password) {
            *problem =
                QCoreApplication::translate("zrk::ContactSync",
                                            "Пароль адресной книги не найден в связке ключей: %1")
                    .arg(why);
            return std::nullopt;
        }
        account.password = *password;
    }
    return account;
}

}  // namespace zrk::contacts
