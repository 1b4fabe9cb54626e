#include "core/platform/Registry.h"
#include "core/platform/RegistrySaves.h"

#include "core/platform/Cp1251.h"
#include "core/platform/DataDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

namespace zrk {
namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00";

QString normalizePath(QString p) {
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (p.startsWith(QLatin1Char('\\'))) p.remove(0, 1);
    while (p.endsWith(QLatin1Char('\\'))) p.chop(1);
    return p;
}

// ---- parsing -------------------------------------------------------------------------

struct Cursor {
    const QString& s;
    qsizetype i = 0;
    bool atEnd() const { return i >= s.size(); }
    QChar peek() const { return atEnd() ? QChar() : s[i]; }
    void skipBlanks() {
        while (!atEnd() && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t'))) ++i;
    }
    bool eat(QStringView word) {
        if (s.mid(i, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
        i += word.size();
        return true;
    }
};

// A quoted text with the escapes \\ and \" of the export format, and \r and \n, which we
// write for line breaks (an export has no way to hold them otherwise).
bool parseQuoted(Cursor& c, QString* out) {
    if (c.peek() != QLatin1Char('"')) return false;
    ++c.i;
    out->clear();
    while (!c.atEnd()) {
        const QChar ch = c.s[c.i++];
        if (ch == QLatin1Char('"')) return true;
        if (ch == QLatin1Char('\\') && !c.atEnd()) {
            const QChar e = c.s[c.i++];
            if (e == QLatin1Char('r'))
                out->append(QLatin1Char('\r'));
            else if (e == QLatin1Char('n'))
                out->append(QLatin1Char('\n'));
            else
                out->append(e);
        } else {
            out->append(ch);
        }
    }
    return false;
}

bool parseHexBytes(QStringView text, QByteArray* out) {
    out->clear();
    for (QStringView part : text.split(QLatin1Char(','))) {
        part = part.trimmed();
        if (part.isEmpty()) continue;  // a trailing comma
        bool ok = false;
        const uint b = part.toUInt(&ok, 16);
        if (!ok || b > 0xFF || part.size() > 2) return false;
        out->append(char(b));
    }
    return true;
}

bool parseValueData(Cursor& c, RegValue* v) {
    c.skipBlanks();
    if (c.peek() == QLatin1Char('"')) {
        v->type = RegSz;
        return parseQuoted(c, &v->text);
    }
    if (c.eat(u"dword:")) {
        const QStringView digits = QStringView(c.s).mid(c.i).trimmed();
        bool ok = false;
        const uint d = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8) return false;
        v->type = RegDword;
        v->dword = d;
        c.i = c.s.size();
        return true;
    }
    if (c.eat(u"hex")) {
        int type = RegBinary;
        if (c.peek() == QLatin1Char('(')) {
            const qsizetype close = c.s.indexOf(QLatin1Char(')'), c.i);
            if (close < 0) return false;
            bool ok = false;
            type = QStringView(c.s).mid(c.i + 1, close - c.i - 1).toInt(&ok, 16);
            if (!ok || type < 0) return false;
            c.i = close + 1;
        }
        if (c.peek() != QLatin1Char(':')) return false;
        ++c.i;
        v->type = type;
        if (!parseHexBytes(QStringView(c.s).mid(c.i), &v->bytes)) return false;
        c.i = c.s.size();
        // A text or a number may also be written as bytes; they are held the way the quoted
        // and dword forms are, or a save would write them back empty or as zero.
        if (type == RegSz) {
            v->text = v->bytesText();
            v->bytes.clear();
        } else if (type == RegDword) {
            if (v->bytes.size() != 4) return false;
            v->dword = qFromLittleEndian<quint32>(v->bytes.constData());
            v->bytes.clear();
        }
        return true;
    }
    return false;
}

QString decodeFile(const QByteArray& raw) {
    if (raw.startsWith("\xFF\xFE")) {  // an export saved by the registry editor itself
        auto dec = QStringDecoder(QStringDecoder::Utf16LE);
        return dec(raw.mid(2));
    }
    return QString::fromUtf8(raw.startsWith("\xEF\xBB\xBF") ? raw.mid(3) : raw);
}

// ---- writing -------------------------------------------------------------------------

QString quote(QString s) {
    // The backslash first: the others bring backslashes of their own.
    s.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""))
        .replace(QLatin1Char('\r'), QLatin1String("\\r"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// Long byte lists are folded as the registry editor folds them: lines of about 80
// characters, each but the last ending in ",\", the next indented by two blanks.
QString hexList(const QString& lead, const QByteArray& bytes) {
    QString out = lead;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out.append(QString::asprintf("%02x", uchar(bytes[i])));
        if (i + 1 < bytes.size()) {
            out.append(QLatin1Char(','));
            if (out.size() - lineStart > 76) {
                out.append(QLatin1String("\\\n  "));
                lineStart = out.size() - 2;
            }
        }
    }
    return out;
}

// ---- merging ------------------------------------------------------------------------

bool sameValue(const RegValue& a, const RegValue& b) {
    return a.name == b.name && a.type == b.type && a.text == b.text && a.dword == b.dword &&
           a.bytes == b.bytes;
}

qsizetype indexIn(const QList<RegKeyData>& keys, const QString& root, const QString& path) {
    for (qsizetype i = 0; i < keys.size(); ++i)
        if (sameName(keys[i].root, root) && sameName(keys[i].path, path)) return i;
    return -1;
}

RegKeyData* findIn(QList<RegKeyData>& keys, const QString& root, const QString& path) {
    const qsizetype i = indexIn(keys, root, path);
    return i < 0 ? nullptr : &keys[i];
}

bool hasValue(const RegKeyData& key, const QString& name) {
    return std::any_of(key.values.begin(), key.values.end(),
                       [&](const RegValue& v) { return sameName(v.name, name); });
}

QString fillName(const QString& path, const QString& name) {
    return (normalizePath(path) + QLatin1Char('\\') + name).toLower();
}

}  // namespace

void applyChanges(const QList<RegKeyData>& base, const QList<RegKeyData>& now,
                  const QSet<QString>& fills, QList<RegKeyData>& disk) {
    QList<RegKeyData> was = base;
    for (const RegKeyData& k : was) {
        const qsizetype gone =
            indexIn(now, k.root, k.path) < 0 ? indexIn(disk, k.root, k.path) : -1;
        if (gone >= 0) disk.removeAt(gone);
    }
    for (const RegKeyData& k : now) {
        RegKeyData* before = findIn(was, k.root, k.path);
        RegKeyData* into = findIn(disk, k.root, k.path);
        if (!into) {
            disk.append(RegKeyData{k.path, k.root, {}});
            into = &disk.last();
        }
        for (const RegValue& v : k.values) {
            RegValue* old = before ? before->find(v.name) : nullptr;
            if (old && sameValue(*old, v)) continue;
            RegValue* there = into->find(v.name);
            if (there && fills.contains(fillName(k.path, v.name))) continue;
            if (there)
                *there = v;
            else
                into->values.append(v);
        }
        if (before)
            for (const RegValue& v : before->values)
                if (!hasValue(k, v.name))
                    into->values.removeIf(
                        [&](const RegValue& x) { return sameName(x.name, v.name); });
    }
}

namespace {

// An OFD lock on one byte of a lock file: held per open file, so that two holds in one
// process are as separate as in two, and dropped by the kernel with the descriptor.
bool lockByte(int fd, off_t byte, short type, bool wait) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    while (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) != 0)
        if (errno != EINTR) return false;
    return true;
}

// Byte 0 of the lock file is held alone by a save, from reading the file to replacing it;
// byte 1 by the programs and imports (RegistryHold).
constexpr off_t kSavingByte = 0;
constexpr off_t kUsersByte = 1;

int openLockFile(const QString& storePath) {
    const QString lock = RegistryHold::lockPath(storePath);
    if (lock.isEmpty()) return -1;
    return ::open(QFile::encodeName(lock).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

QByteArray serializeKeys(const QList<RegKeyData>& keys) {
    QString out = QLatin1String(kHeader) + QLatin1String("\n\n");
    for (const RegKeyData& k : keys) {
        out += QLatin1Char('[') + k.root +
               (k.path.isEmpty() ? QString() : QLatin1Char('\\') + k.path) + QLatin1String("]\n");
        for (const RegValue& v : k.values) {
            const QString lead =
                (v.name.isEmpty() ? QStringLiteral("@") : quote(v.name)) + QLatin1Char('=');
            switch (v.type) {
                case RegSz:
                    out += lead + quote(v.text);
                    break;
                case RegDword:
                    out += lead + QString::asprintf("dword:%08x", v.dword);
                    break;
                case RegBinary:
                    out += hexList(lead + QLatin1String("hex:"), v.bytes);
                    break;
                default:
                    out += hexList(lead + QStringLiteral("hex(%1):").arg(v.type, 0, 16), v.bytes);
            }
            out += QLatin1Char('\n');
        }
        out += QLatin1Char('\n');
    }
    return out.toUtf8();
}

}  // namespace

QString setDataFailure(const QString& name) {
    return QStringLiteral("Failed to set data for '%1'").arg(name);
}

bool writeMerged(const QString& path,
                 const std::function<void(QList<RegKeyData>& disk, bool there)>& merge,
                 QList<RegKeyData>& merged, FileError* err) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        if (err)
            *err = FileError{errno, QStringLiteral("cannot create the folder of %1").arg(path)};
        return false;
    }
    // Without a lock (no runtime directory) the merge still runs; only two saves at the same
    // instant could then lose one of them.
    const int lockFd = openLockFile(path);
    if (lockFd >= 0) lockByte(lockFd, kSavingByte, F_WRLCK, true);
    QFile disk(path);
    QString reason;
    merged.clear();
    const bool there =
        disk.open(QIODevice::ReadOnly) && RegistryFile::parse(disk.readAll(), &merged, &reason);
    merge(merged, there);
    const bool ok = replaceFileAtomically(path, serializeKeys(merged), err);
    if (lockFd >= 0) ::close(lockFd);
    return ok;
}

QString RegistryHold::lockPath(const QString& storePath) {
    return runtimeFileFor("settings", storePath, ".lock");
}

RegistryHold::RegistryHold(const QString& storePath, Mode mode) : fd_(openLockFile(storePath)) {
    held_ =
        fd_ >= 0 && lockByte(fd_, kUsersByte, mode == Shared ? F_RDLCK : F_WRLCK, mode == Shared);
}

RegistryHold::~RegistryHold() {
    if (fd_ >= 0) ::close(fd_);
}

qsizetype RegValue::dataSize() const {
    switch (type) {
        case RegSz:
            return toCp1251(text).size() + 1;
        case RegDword:
            return 4;
        default:
            return bytes.size();
    }
}

QString RegValue::bytesText() const {
    const QString s =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
    return s.left(s.indexOf(QChar(0)));
}

RegValue* RegKeyData::find(const QString& name) {
    for (RegValue& v : values)
        if (sameName(v.name, name)) return &v;
    return nullptr;
}

bool RegistryFile::parse(const QByteArray& raw, QList<RegKeyData>* keys, QString* reason) {
    Damage damage;
    if (parse(raw, keys, &damage)) return true;
    *reason = damageText(damage);
    return false;
}

QString RegistryFile::damageText(const Damage& damage) {
    return QCoreApplication::translate("zrk::RegistryFile", "строка %1: %2")
        .arg(damage.line + 1)
        .arg(QCoreApplication::translate("zrk::RegistryFile", damage.what));
}

bool RegistryFile::parse(const QByteArray& raw, QList<RegKeyData>* keys, Damage* damage) {
    keys->clear();
    const QStringList lines = decodeFile(raw).split(QLatin1Char('\n'));
    bool headerSeen = false;
    RegKeyData* current = nullptr;
    auto bad = [&](qsizetype lineNo, const char* what) {
        *damage = Damage{lineNo, what};
        return false;
    };
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';'))) continue;
        if (!headerSeen) {
            if (trimmed != QLatin1String(kHeader) && trimmed != QLatin1String("REGEDIT4"))
                return bad(n, QT_TRANSLATE_NOOP("zrk::RegistryFile", "нет заголовка"));
            headerSeen = true;
            continue;
        }
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (!trimmed.endsWith(QLatin1Char(']')))
                return bad(n, QT_TRANSLATE_NOOP("zrk::RegistryFile", "нет «]» в конце раздела"));
            const QString full = trimmed.mid(1, trimmed.size() - 2);
            const qsizetype slash = full.indexOf(QLatin1Char('\\'));
            RegKeyData k;
            k.root = slash < 0 ? full : full.left(slash);
            k.path = slash < 0 ? QString() : normalizePath(full.mid(slash + 1));
            current = findIn(*keys, k.root, k.path);
            if (!current) {
                keys->append(k);
                current = &keys->last();
            }
            continue;
        }
        if (!current) return bad(n, QT_TRANSLATE_NOOP("zrk::RegistryFile", "значение вне раздела"));
        // A byte list may go on over several lines, each but the last ending in '\'.
        // One that meets the end of the file or an empty line was cut short.
        QString logical = trimmed;
        while (logical.endsWith(QLatin1Char('\\')) && !logical.endsWith(QLatin1Char('"')) &&
               logical.contains(QLatin1String("=hex"), Qt::CaseInsensitive)) {
            if (n + 1 >= lines.size() || lines[n + 1].trimmed().isEmpty())
                return bad(n, QT_TRANSLATE_NOOP("zrk::RegistryFile", "список байтов оборван"));
            logical.chop(1);
            logical.append(lines[++n].trimmed());
        }
        Cursor c{logical};
        RegValue v;
        if (c.peek() == QLatin1Char('@')) {
            ++c.i;
        } else if (!parseQuoted(c, &v.name)) {
            return bad(n, QT_TRANSLATE_NOOP("zrk::RegistryFile", "неверное имя значения"));
        }
        c.skipBlanks();
        if (c.peek() != QLatin1Char('='))
            return bad(n, QT_TRANSLATE_NOOP("zrk::RegistryFile", "нет «=»"));
        ++c.i;
        if (!parseValueData(c, &v))
            return bad(n, QT_TRANSLATE_NOOP("zrk::RegistryFile", "неверные данные значения"));
        c.skipBlanks();
        if (!c.atEnd())
            return bad(n, QT_TRANSLATE_NOOP("zrk::RegistryFile", "текст после значения"));
        if (RegValue* old = current->find(v.name))
            *old = v;
        else
            current->values.append(v);
    }
    if (!headerSeen && !raw.trimmed().isEmpty())
        return bad(0, QT_TRANSLATE_NOOP("zrk::RegistryFile", "нет заголовка"));
    return true;
}

QByteArray RegistryFile::serialize() const {
    return serializeKeys(keys_);
}

RegistryFile::RegistryFile(QString path) : path_(std::move(path)) {
    static quint64 count = 0;
    serial_ = ++count;
    QFile f(path_);
    if (!f.exists()) return;
    if (!f.open(QIODevice::ReadOnly)) {
        writable_ = false;
        problem_ = LoadProblem::Unreadable;
        readFailure_ = f.errorString();
        return;
    }
    const QByteArray raw = f.readAll();
    f.close();
    if (parse(raw, &keys_, &damage_)) {
        base_ = keys_;
        return;
    }
    keys_.clear();
    aside_ = moveAsideAsDamaged(path_);
    problem_ = aside_.isEmpty() ? LoadProblem::Damaged : LoadProblem::DamagedAside;
    if (problem_ == LoadProblem::Damaged) writable_ = false;
}

QString RegistryFile::loadError() const {
    switch (problem_) {
        case LoadProblem::None:
            return {};
        case LoadProblem::Unreadable:
            return QCoreApplication::translate(
                       "zrk::RegistryFile",
                       "Не удалось прочитать файл настроек %1: %2. Настройки по умолчанию не "
                       "будут в него записаны.")
                .arg(path_, readFailure_);
        case LoadProblem::DamagedAside:
            return QCoreApplication::translate("zrk::RegistryFile",
                                               "Файл настроек %1 повреждён (%2) и сохранён как "
                                               "%3. Используются настройки по умолчанию.")
                .arg(path_, damageText(damage_), aside_);
        case LoadProblem::Damaged:
            break;
    }
    return QCoreApplication::translate("zrk::RegistryFile",
                                       "Файл настроек %1 повреждён (%2). Используются настройки "
                                       "по умолчанию; файл не будет перезаписан.")
        .arg(path_, damageText(damage_));
}

namespace {
std::unique_ptr<RegistryFile>& userSlot() {
    static std::unique_ptr<RegistryFile> slot;
    return slot;
}

QString& chosenUserPath() {
    static QString path;
    return path;
}
}  // namespace

QString RegistryFile::userPath() {
    if (!chosenUserPath().isEmpty()) return chosenUserPath();
    QString base = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (base.isEmpty()) base = QDir::homePath() + QLatin1String("/.config");
    return base + QLatin1String("/zrk-pro/registry.reg");
}

RegistryFile& RegistryFile::user() {
    auto& slot = userSlot();
    if (!slot) slot = std::make_unique<RegistryFile>(userPath());
    return *slot;
}

void RegistryFile::resetUser() {
    userSlot().reset();
}

void RegistryFile::setUserPath(const QString& path) {
    chosenUserPath() = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    resetUser();
}

RegKeyData* RegistryFile::findKey(const QString& path) {
    return findIn(keys_, kUserRoot, normalizePath(path));
}

RegKeyData* RegistryFile::createKey(const QString& path) {
    const QString p = normalizePath(path);
    if (p.isEmpty()) return nullptr;
    // Parents first, as an export lists them.
    const qsizetype slash = p.lastIndexOf(QLatin1Char('\\'));
    if (slash > 0 && !findKey(p.left(slash))) createKey(p.left(slash));
    if (RegKeyData* k = findKey(p)) return k;
    keys_.append(RegKeyData{p, kUserRoot, {}});
    return &keys_.last();
}

bool RegistryFile::deleteKey(const QString& path) {
    const qsizetype i = indexIn(keys_, kUserRoot, normalizePath(path));
    if (i >= 0) keys_.removeAt(i);
    return i >= 0;
}

bool RegistryFile::save(FileError* err) {
    if (path_.isEmpty()) {  // a store in memory only
        if (err) *err = FileError{EINVAL, QStringLiteral("no file")};
        return false;
    }
    if (!writable_) {
        if (err) *err = FileError{EPERM, loadError()};
        return false;
    }
    if (RegistrySaves* w = worker_.saves.get()) {
        // What the worker holds goes first. What it could not write is still in keys_ against
        // base_, so this save takes it along and reports on it.
        finishSaves();
        const std::lock_guard lock(w->mutex);
        for (const ChangeSet& c : w->queue) fills_ += c.fills;
        w->queue.clear();
    }
    QList<RegKeyData> merged;
    const bool ok = writeMerged(
        path_,
        [this](QList<RegKeyData>& disk, bool there) {
            if (there)
                applyChanges(base_, keys_, fills_, disk);
            else
                disk = keys_;  // nothing there, or nothing worth keeping: ours is the whole file
        },
        merged, err);
    if (ok) {  // otherwise unsaved, as they were: the next save tries again
        keys_ = merged;
        base_ = merged;
        fills_.clear();
    }
    handed_ = base_;
    return ok;
}

void RegistryFile::markAsDefault(const QString& path, const QString& name) {
    fills_.insert(fillName(path, name));
}

}  // namespace zrk
