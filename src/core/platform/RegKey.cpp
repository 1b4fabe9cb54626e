// A key of the settings store as the program reads and writes it: typed values, and the
// errors that a missing value, a wrong type or a failed save raise.
#include "core/platform/Registry.h"

#include <QtEndian>

namespace zrk {
namespace {

QString fmt(const char* pattern, const QString& name) {
    return QString::fromLatin1(pattern).arg(name);
}

}  // namespace

RegKey::~RegKey() {
    try {
        closeKey();
    } catch (const ERegistryException&) {
        // The caller did not ask; the unsaved values stay in memory for the next save.
    }
}

bool RegKey::openKey(const QString& path, bool canCreate) {
    closeKey();
    RegKeyData* k = canCreate ? file_.createKey(path) : file_.findKey(path);
    if (!k) return false;
    path_ = k->path;
    readOnly_ = false;
    return true;
}

bool RegKey::openKeyReadOnly(const QString& path) {
    if (!openKey(path, false)) return false;
    readOnly_ = true;
    return true;
}

bool RegKey::keyExists(const QString& path) const { return file_.findKey(path) != nullptr; }

void RegKey::closeKey() {
    path_.clear();
    if (firstUnsaved_.isEmpty()) return;
    const QString name = firstUnsaved_;
    firstUnsaved_.clear();
    if (file_.savesInBackground()) return file_.saveLater(name);
    if (!file_.save()) throw ERegistryException(fmt("Failed to set data for '%1'", name));
}

RegKeyData* RegKey::key() const { return path_.isEmpty() ? nullptr : file_.findKey(path_); }

bool RegKey::valueExists(const QString& name) const {
    RegKeyData* k = key();
    return k && k->find(name);
}

QStringList RegKey::valueNames() const {
    QStringList names;
    if (RegKeyData* k = key())
        for (const RegValue& v : k->values) names.append(v.name);
    return names;
}

bool RegKey::deleteValue(const QString& name) {
    RegKeyData* k = key();
    if (!k || readOnly_ ||
        !k->values.removeIf([&](const RegValue& v) { return sameName(v.name, name); }))
        return false;
    if (firstUnsaved_.isEmpty()) firstUnsaved_ = name;
    return true;
}

const RegValue& RegKey::value(const QString& name) const {
    RegKeyData* k = key();
    const RegValue* v = k ? k->find(name) : nullptr;
    if (!v) throw ERegistryException(fmt("Failed to get data for '%1'", name));
    return *v;
}

qint32 RegKey::readInteger(const QString& name) const {
    const RegValue& v = value(name);
    if (v.dataSize() > 4) throw ERegistryException(fmt("Failed to get data for '%1'", name));
    if (v.type != RegDword) throw ERegistryException(fmt("Invalid data type for '%1'", name));
    return qint32(v.dword);
}

bool RegKey::readBool(const QString& name) const { return readInteger(name) != 0; }

QString RegKey::readString(const QString& name) const {
    const RegValue& v = value(name);
    if (v.type == RegSz) return v.text;
    if (v.type == RegExpandSz) return v.bytesText();
    throw ERegistryException(fmt("Invalid data type for '%1'", name));
}

QByteArray RegKey::readBinary(const QString& name) const {
    const RegValue& v = value(name);
    if (v.type != RegBinary) throw ERegistryException(fmt("Invalid data type for '%1'", name));
    return v.bytes;
}

double RegKey::readTime(const QString& name) const {
    const RegValue& v = value(name);
    if (v.dataSize() > 8) throw ERegistryException(fmt("Failed to get data for '%1'", name));
    if (v.type != RegBinary || v.bytes.size() != 8)
        throw ERegistryException(fmt("Invalid data type for '%1'", name));
    return qFromLittleEndian<double>(v.bytes.constData());
}

RegValue& RegKey::valueForWrite(const QString& name) {
    RegKeyData* k = key();
    if (!k || readOnly_) throw ERegistryException(fmt("Failed to set data for '%1'", name));
    if (firstUnsaved_.isEmpty()) firstUnsaved_ = name;
    if (RegValue* v = k->find(name)) {
        *v = RegValue{v->name, RegSz, {}, 0, {}};  // keeps the stored spelling of the name
        return *v;
    }
    k->values.append(RegValue{name, RegSz, {}, 0, {}});
    return k->values.last();
}

void RegKey::markAsDefault(const QString& name) {
    if (key()) file_.markAsDefault(path_, name);
}

void RegKey::writeInteger(const QString& name, qint32 value) {
    RegValue& v = valueForWrite(name);
    v.type = RegDword;
    v.dword = quint32(value);
}

void RegKey::writeBool(const QString& name, bool value) { writeInteger(name, value ? 1 : 0); }

void RegKey::writeString(const QString& name, const QString& value) {
    RegValue& v = valueForWrite(name);
    v.type = RegSz;
    v.text = value;
}

void RegKey::writeBinary(const QString& name, const QByteArray& value) {
    RegValue& v = valueForWrite(name);
    v.type = RegBinary;
    v.bytes = value;
}

void RegKey::writeTime(const QString& name, double value) {
    QByteArray bytes(8, Qt::Uninitialized);
    qToLittleEndian<double>(value, bytes.data());
    writeBinary(name, bytes);
}

}  // namespace zrk
