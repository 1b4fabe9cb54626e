#include "core/settings/District.h"

#include "core/platform/Registry.h"

#include <algorithm>
#include <vector>

namespace zrk {
namespace {

const QString kCount = QStringLiteral("Count Raions");

QString valueName(int i) {
    return QStringLiteral("Raion%1").arg(i);
}

// The characters of a mask that take part in matching: those a number can be dialled with.
QString dialCharacters(QStringView mask) {
    QString out = mask.toString();
    out.removeIf([](QChar c) { return !QStringView(u"0123456789PTWptw").contains(c); });
    return out;
}

// Calls `each` with every stored text of the table in index order.
template <typename F>
void forEachStored(F each) {
    RegKey key;
    if (!key.openKeyReadOnly(QString::fromLatin1(kRaionsKey))) return;
    const qint32 n = key.valueExists(kCount) ? key.readInteger(kCount) : 0;
    // Only the indexes that are there, in order: a damaged count of two billion must not
    // walk two billion missing values for every caller.
    std::vector<qint32> present;
    for (const QString& name : key.valueNames()) {
        if (!name.startsWith(QLatin1String("Raion"), Qt::CaseInsensitive)) continue;
        const QStringView digits = QStringView(name).mid(5);
        bool ok = false;
        const qint32 i = digits.toInt(&ok);
        if (ok && i >= 0 && i < n && valueName(i).compare(name, Qt::CaseInsensitive) == 0)
            present.push_back(i);
    }
    std::sort(present.begin(), present.end());
    present.erase(std::unique(present.begin(), present.end()), present.end());
    for (const qint32 i : present)
        if (!each(key.readString(valueName(i)))) return;
}

}  // namespace

QString RaionEntry::text() const {
    return separated ? number + QLatin1Char('|') + raion : number;
}

RaionEntry RaionEntry::fromText(const QString& stored) {
    const qsizetype bar = stored.indexOf(QLatin1Char('|'));
    if (bar < 0) return {stored, QString(), false};
    return {stored.left(bar), stored.mid(bar + 1), true};
}

QString FindRaion(const QString& number) {
    QString result;
    forEachStored([&](const QString& stored) {
        const qsizetype bar = stored.indexOf(QLatin1Char('|'));
        if (bar < 0) return true;
        const QString mask = dialCharacters(QStringView(stored).left(bar));
        if (!number.startsWith(mask, Qt::CaseSensitive)) return true;
        result = stored.mid(bar + 1);
        return false;
    });
    return result;
}

QList<RaionEntry> LoadRaions() {
    QList<RaionEntry> rows;
    forEachStored([&](const QString& stored) {
        rows.append(RaionEntry::fromText(stored));
        return true;
    });
    return rows;
}

void SaveRaions(const QList<RaionEntry>& rows) {
    RegKey key;
    if (!key.openKey(QString::fromLatin1(kRaionsKey), true)) return;
    key.writeInteger(kCount, qint32(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) key.writeString(valueName(int(i)), rows[i].text());
    key.closeKey();
}

}  // namespace zrk
