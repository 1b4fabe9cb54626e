#pragma once
// Secrets in the desktop's keyring (the Secret Service: GNOME Keyring, KWallet), never in the
// settings file. Blocking: each call runs a local event loop until the keyring answers, so it
// belongs on a worker thread, or in a command without a window.
#include <QString>

#include <optional>

namespace zrk {

// The secret stored under `key`; nullopt with `problem` said when there is none or no keyring.
std::optional<QString> readSecret(const QString& key, QString* problem = nullptr);
bool writeSecret(const QString& key, const QString& secret, QString* problem = nullptr);

}  // namespace zrk
