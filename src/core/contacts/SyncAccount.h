#pragma once
// The address book the settings name: its URL, user and password. The password comes from
// "Password File" when one is named (a service has no keyring), else from the desktop's keyring.
#include "core/net/DavClient.h"

#include <optional>

namespace zrk {
struct TIni;
}

namespace zrk::contacts {

// Under this key the keyring holds the password of the settings' user at their address book.
QString keyringKey(const TIni& ini);

// The password in `path`: its first line. A file that others may read is refused.
std::optional<QString> readPasswordFile(const QString& path, QString* problem);

// The account of the settings, or nullopt with `problem` said. Blocking (the keyring):
// call it on the sync's worker, or in a command.
std::optional<dav::Account> syncAccount(const TIni& ini, QString* problem);

}  // namespace zrk::contacts
