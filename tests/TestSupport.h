#pragma once
// Every test case works in a directory of its own: it is the current working directory
// (where the program keeps its relative files) and holds the settings store, so nothing
// touches the user's files and no case sees another's leftovers.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace zrktest {

class Sandbox {
public:
    Sandbox() : oldCwd_(QDir::currentPath()) {
        QVERIFY2(dir_.isValid(), "cannot make a temporary directory");
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toLocal8Bit());
        // Locks and sockets of the programs under test, private like a session's.
        QDir().mkpath(dir_.filePath(QStringLiteral("run")));
        QFile::setPermissions(dir_.filePath(QStringLiteral("run")), QFileDevice::ReadOwner |
                                                        QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir_.filePath(QStringLiteral("run")).toLocal8Bit());
        QDir::setCurrent(dir_.path());
    }
    ~Sandbox() { QDir::setCurrent(oldCwd_); }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    QString registryPath() const { return dir_.filePath(QStringLiteral("config/zrk-pro/registry.reg")); }

private:
    QString oldCwd_;
    QTemporaryDir dir_;
};

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

}  // namespace zrktest
