#pragma once
// What every fuzz target shares: a Qt application object, a private directory that is the
// current directory and holds the settings store (nothing of the user's is touched), and a
// file to hand the input to loaders that read files.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace zrkfuzz {

inline QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// Call from LLVMFuzzerInitialize before any Qt object is made.
inline void enterWorkDir() {
    if (!workDir().isValid()) std::abort();
    qputenv("XDG_CONFIG_HOME", workDir().filePath(QStringLiteral("config")).toLocal8Bit());
    QDir::setCurrent(workDir().path());
}

inline void startCoreApp(int* argc, char*** argv) {
    enterWorkDir();
    static QCoreApplication app(*argc, *argv);
}

// Writes the input as `name` in the work directory and returns its path.
inline QString inputFile(const char* name, const uint8_t* data, size_t size) {
    const QString path = workDir().filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
    return path;
}

}  // namespace zrkfuzz
