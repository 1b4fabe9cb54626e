#include "core/platform/Keyring.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace zrk {

namespace {

constexpr auto kService = "Zrk Pro";

// Runs a keychain job to its end; its error text, or empty.
QString runJob(QKeychain::Job& job) {
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError ? QString() : job.errorString();
}

}  // namespace

std::optional<QString> readSecret(const QString& key, QString* problem) {
    QKeychain::ReadPasswordJob job{QLatin1String(kService)};
    job.setKey(key);
    const QString error = runJob(job);
    if (!error.isEmpty()) {
        if (problem) *problem = error;
        return std::nullopt;
    }
    return job.textData();
}

bool writeSecret(const QString& key, const QString& secret, QString* problem) {
    QKeychain::WritePasswordJob job{QLatin1String(kService)};
    job.setKey(key);
    job.setTextData(secret);
    const QString error = runJob(job);
    if (problem) *problem = error;
    return error.isEmpty();
}

}  // namespace zrk
