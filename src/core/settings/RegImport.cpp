#include "core/settings/RegImport.h"

#include "core/platform/Cp1251.h"
#include "core/platform/Registry.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

namespace zrk {
namespace {

const QString kOurKey = QStringLiteral("Software\\Zrk Pro");

ImportResult failure(const QString& text) {
    return {false, text, 0, 0};
}

bool ours(const RegKeyData& k) {
    return sameName(k.root, kUserRoot) &&
           (sameName(k.path, kOurKey) ||
            k.path.startsWith(kOurKey + QLatin1Char('\\'), Qt::CaseInsensitive));
}

// The export as UTF-8 text for the store's parser, or an empty array with `why` set.
QByteArray decodeExport(const QByteArray& raw, bool* ansi, QString* why) {
    *ansi = false;
    if (raw.startsWith("\xFF\xFE")) {
        if (raw.size() % 2) {
            *why = QCoreApplication::translate("zrk::RegImport",
                                               "файл обрезан (нечётное число байт в UTF-16)");
            return {};
        }
        auto dec = QStringDecoder(QStringDecoder::Utf16LE);
        const QString text = dec(raw.mid(2));
        if (dec.hasError()) {
            *why =
                QCoreApplication::translate("zrk::RegImport", "файл повреждён (неверный UTF-16)");
            return {};
        }
        return text.toUtf8();
    }
    if (raw.trimmed().startsWith("REGEDIT4")) {
        *ansi = true;
        return fromCp1251(raw).toUtf8();
    }
    *why = QCoreApplication::translate(
        "zrk::RegImport",
        "это не экспорт реестра: нет заголовка \"Windows Registry Editor "
        "Version 5.00\" или \"REGEDIT4\"");
    return {};
}

// REGEDIT4 writes expandable texts in the 8-bit code page; the store holds them as UTF-16LE.
void widenExpandableTexts(QList<RegKeyData>& keys) {
    for (RegKeyData& k : keys)
        for (RegValue& v : k.values) {
            if (v.type != RegExpandSz) continue;
            QByteArray bytes = v.bytes;
            const qsizetype zero = bytes.indexOf('\0');
            if (zero >= 0) bytes.truncate(zero);
            const QString text = fromCp1251(bytes);
            v.bytes = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2) +
                      QByteArray(2, '\0');
        }
}

}  // namespace

ImportResult importRegistryExport(const QString& exportPath, RegistryFile& store) {
    QFile f(exportPath);
    if (!f.open(QIODevice::ReadOnly))
        return failure(QCoreApplication::translate("zrk::RegImport", "Не удалось открыть %1: %2")
                           .arg(exportPath, f.errorString()));
    const QByteArray raw = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return failure(QCoreApplication::translate("zrk::RegImport", "Не удалось прочитать %1: %2")
                           .arg(exportPath, f.errorString()));

    bool ansi = false;
    QString why;
    const QByteArray text = decodeExport(raw, &ansi, &why);
    if (text.isEmpty()) return failure(QStringLiteral("%1: %2").arg(exportPath, why));
    QList<RegKeyData> keys;
    if (!RegistryFile::parse(text, &keys, &why))
        return failure(
            QCoreApplication::translate("zrk::RegImport",
                                        "%1 повреждён или обрезан (%2); ничего не импортировано.")
                .arg(exportPath, why));
    if (ansi) widenExpandableTexts(keys);
    for (const RegKeyData& k : keys)
        if (!ours(k))
            return failure(QCoreApplication::translate(
                               "zrk::RegImport",
                               "%1 содержит чужой раздел [%2\\%3]; импортируются только "
                               "разделы HKEY_CURRENT_USER\\Software\\Zrk Pro. Ничего "
                               "не импортировано.")
                               .arg(exportPath, k.root, k.path));
    if (keys.isEmpty())
        return failure(
            QCoreApplication::translate("zrk::RegImport", "%1 не содержит настроек Zrk Pro.")
                .arg(exportPath));
    // The registry editor ends every export with an empty line: without it the file was cut
    // between two lines, and part of the settings would be imported as if it were all.
    if (!text.endsWith("\n\n") && !text.endsWith("\n\r\n"))
        return failure(
            QCoreApplication::translate("zrk::RegImport",
                                        "%1 обрезан (нет пустой строки, которой кончается "
                                        "экспорт); ничего не импортировано.")
                .arg(exportPath));

    // Every setting must read back as the program reads it, before anything is merged.
    try {
        TIni probe;
        LoadSettings(probe, keys);
    } catch (const ERegistryException& e) {
        return failure(
            QCoreApplication::translate(
                "zrk::RegImport", "%1: значение неверного типа (%2); ничего не импортировано.")
                .arg(exportPath, e.message()));
    }

    // A running program would write its own values over the import when it ends.
    const RegistryHold alone(store.path(), RegistryHold::Alone);
    if (!alone.held())
        return failure(
            QCoreApplication::translate("zrk::RegImport",
                                        "Zrk Pro сейчас работает с файлом настроек %1 и при выходе "
                                        "записал бы свои значения поверх импорта. Закройте "
                                        "программу (пункт меню «Выход») и повторите импорт; "
                                        "ничего не импортировано.")
                .arg(store.path()));

    // Merged into a copy, so that a store that cannot be written stays as it was, in memory
    // as on disk.
    RegistryFile merged = store;
    ImportResult r;
    for (const RegKeyData& k : keys) {
        RegKeyData* into = merged.createKey(k.path);
        ++r.keys;
        for (const RegValue& v : k.values) {
            if (RegValue* old = into->find(v.name))
                *old = v;
            else
                into->values.append(v);
            ++r.values;
        }
    }
    FileError err;
    if (!merged.save(&err)) {
        return failure(
            QCoreApplication::translate("zrk::RegImport",
                                        "Не удалось записать файл настроек %1 (%2); он остался "
                                        "прежним.")
                .arg(store.path(), err.message));
    }
    store = merged;
    r.ok = true;
    r.message = QCoreApplication::translate("zrk::RegImport",
                                            "Импортировано из %1: разделов %2, значений %3, в %4.")
                    .arg(exportPath)
                    .arg(r.keys)
                    .arg(r.values)
                    .arg(store.path());
    return r;
}

}  // namespace zrk
