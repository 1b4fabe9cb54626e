#pragma once
// The per-user settings branch, kept in one text file in the format of a registry export
// (see RegistryFile). RegKey is the handle the rest of the program uses: open a key, test,
// read and write values with the same type rules and errors as the registry it replaces.
#include "core/platform/Exception.h"
#include "core/platform/SafeFile.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace zrk {

struct RegistrySaves;

class ERegistryException : public Exception {
public:
    using Exception::Exception;
    Failure::Kind kind() const noexcept override { return Failure::Kind::Settings; }
};

// Registry value types by their numeric codes; other codes are kept as they are.
enum RegType : int { RegSz = 1, RegExpandSz = 2, RegBinary = 3, RegDword = 4 };

struct RegValue {
    QString name;
    int type = RegSz;
    QString text;       // RegSz
    quint32 dword = 0;  // RegDword
    QByteArray bytes;   // RegBinary, RegExpandSz (UTF-16LE with its zero) and any other type

    // The size the value's data has in the registry it comes from (texts in the 8-bit code
    // page with their terminating zero).
    qsizetype dataSize() const;
    // `bytes` as UTF-16LE text up to its first zero.
    QString bytesText() const;
};

// Names of keys and values compare without regard to case, as the registry's do.
inline bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The root of our branch; foreign roots are kept, not reachable.
inline const QString kUserRoot = QStringLiteral("HKEY_CURRENT_USER");

struct RegKeyData {
    QString path;  // without the root, e.g. "Software\Zrk Pro\Modem"
    QString root;  // kUserRoot for ours
    QList<RegValue> values;

    RegValue* find(const QString& name);
};

class RegistryFile {
public:
    // Reads `path` at once. A missing or empty file is an empty branch. A file that cannot be
    // parsed is moved aside (name + ".bad") and loadError() says so; a file that cannot be
    // read at all is left alone and never written over.
    explicit RegistryFile(QString path);

    // The user's branch: $XDG_CONFIG_HOME/zrk-pro/registry.reg, read on first use.
    static RegistryFile& user();
    // Forgets the user's branch so that the next user() reads the file again (tests).
    static void resetUser();
    static QString userPath();
    // `--config FILE`: the user's branch is read from `path` instead (empty: the standard one).
    static void setUserPath(const QString& path);

    const QString& path() const { return path_; }
    // Tells this object from another read of the same file.
    quint64 serial() const { return serial_; }
    // The one report of a damaged or unreadable file, empty when all was well. Worded when
    // asked: the user's branch is read before the language is chosen.
    QString loadError() const;

    RegKeyData* findKey(const QString& path);
    RegKeyData* createKey(const QString& path);
    bool deleteKey(const QString& path);  // the key itself, not its subkeys

    // Writes what this object changed since the file was read or last saved (values set or
    // deleted, keys deleted) onto the file as it is on disk at that moment, under a lock on
    // it, and replaces the file atomically: programs sharing the file keep each other's
    // changes. Afterwards this object holds the merged contents.
    bool save(FileError* err = nullptr);

    // From now on RegKey::closeKey() hands the changes to a worker thread and returns at
    // once: the file is read, merged and replaced there, under the same lock, in order. Reads
    // see our own values all along; once the worker has written everything handed to it,
    // this object takes up the merged file (what other programs changed) at the next turn of
    // the event loop, or in finishSaves().
    void setSavesInBackground(bool on);
    bool savesInBackground() const { return background_; }
    // Hands what changed since the last hand-over to the worker; `firstValue` names the
    // value a failure is reported by ("Failed to set data for '...'").
    void saveLater(const QString& firstValue);
    // Waits until everything handed over is written, takes up the merged file, and returns
    // the failure not yet reported.
    std::optional<QString> finishSaves();
    // Where a failed save of the worker is reported, on the thread that owns the file.
    // Without one, it goes to the standard error stream.
    static void setFailureReporter(std::function<void(const QString&)> report);

    // The value was written with what the program takes when the file lacks it: the next
    // save writes it only where the file still lacks it, never over another program's.
    void markAsDefault(const QString& path, const QString& name);

    QByteArray serialize() const;
    // Parses `text` into keys; on failure returns false with a reason naming the line.
    static bool parse(const QByteArray& raw, QList<RegKeyData>* keys, QString* reason);

private:
    enum class LoadProblem { None, Unreadable, DamagedAside, Damaged };
    struct Damage {
        qsizetype line = 0;  // 0-based
        const char* what = nullptr;
    };
    static bool parse(const QByteArray& raw, QList<RegKeyData>* keys, Damage* damage);
    static QString damageText(const Damage& damage);

    QString path_;
    quint64 serial_;
    LoadProblem problem_ = LoadProblem::None;
    QString readFailure_;  // the system's reason when the file could not be read
    Damage damage_;
    QString aside_;
    bool writable_ = true;
    QList<RegKeyData> keys_;
    QList<RegKeyData> base_;  // the file as last read or written
    QSet<QString> fills_;     // see markAsDefault()

    void adoptWritten();
    // Copies of the file are plain data: the worker stays with the original.
    struct Worker {
        Worker();
        Worker(const Worker&);
        Worker& operator=(const Worker&);
        ~Worker();
        std::unique_ptr<RegistrySaves> saves;
    };
    bool background_ = false;
    QList<RegKeyData> handed_;  // our view as last handed to the worker
    Worker worker_;             // last: it is waited for before the lists above go
};

// Who works with a settings file. Every running program holds it shared for its whole run;
// an import holds it alone, so that no program's save at exit can write over what was
// imported. The kernel drops the hold when the process ends, crashed or not.
class RegistryHold {
public:
    enum Mode { Shared, Alone };
    // Shared waits for an import under way; Alone fails at once while a program runs.
    RegistryHold(const QString& storePath, Mode mode);
    ~RegistryHold();
    RegistryHold(const RegistryHold&) = delete;
    RegistryHold& operator=(const RegistryHold&) = delete;

    bool held() const { return held_; }

    // The lock file of `storePath`, in the runtime directory: the settings folder holds only
    // the settings.
    static QString lockPath(const QString& storePath);

private:
    int fd_ = -1;
    bool held_ = false;
};

class RegKey {
public:
    explicit RegKey(RegistryFile& file = RegistryFile::user()) : file_(file) {}
    ~RegKey();  // closes without raising; call closeKey() to learn of a failed write
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens for reading and writing, creating the key and the path to it if asked.
    bool openKey(const QString& path, bool canCreate);
    // Opens an existing key for reading only; never creates it.
    bool openKeyReadOnly(const QString& path);
    bool keyExists(const QString& path) const;
    bool isOpen() const { return !path_.isEmpty(); }
    // Writes what was changed to the file; a failed write raises "Failed to set data". With
    // the file's saves in the background, it hands the changes over and returns at once.
    void closeKey();

    bool valueExists(const QString& name) const;
    QStringList valueNames() const;
    bool deleteValue(const QString& name);

    // Read rules: data larger than the field raises "Failed to get data for '%s'", another
    // type (or a time of other than 8 bytes) "Invalid data type for '%s'".
    qint32 readInteger(const QString& name) const;
    bool readBool(const QString& name) const;       // any non-zero integer is true
    QString readString(const QString& name) const;  // plain and expandable, taken literally
    double readTime(const QString& name) const;     // 8 raw bytes, little-endian double
    QByteArray readBinary(const QString& name) const;

    void writeInteger(const QString& name, qint32 v);
    void writeBool(const QString& name, bool v);  // stored as 0 or 1
    void writeString(const QString& name, const QString& v);
    void writeTime(const QString& name, double v);
    void writeBinary(const QString& name, const QByteArray& v);
    // See RegistryFile::markAsDefault(); call after writing `name`.
    void markAsDefault(const QString& name);

private:
    RegKeyData* key() const;
    const RegValue& value(const QString& name) const;
    RegValue& valueForWrite(const QString& name);

    RegistryFile& file_;
    QString path_;
    bool readOnly_ = true;
    QString firstUnsaved_;  // name of the first value written since the last save
};

}  // namespace zrk
