#include "contacts/TextCodec.h"

#include "platform/Cp1251.h"

#include <QStringDecoder>

namespace zrk::contacts {

namespace {

bool startsWith(QByteArrayView raw, const char* mark, qsizetype n) {
    return raw.size() >= n && raw.first(n) == QByteArrayView(mark, n);
}

bool validUtf8(QByteArrayView raw) {
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = d.decode(raw);
    return !d.hasError();
}

}  // namespace

Encoding detectEncoding(QByteArrayView raw) {
    if (startsWith(raw, "\xEF\xBB\xBF", 3)) return Encoding::Utf8Bom;
    if (startsWith(raw, "\xFF\xFE", 2)) return Encoding::Utf16LE;
    if (startsWith(raw, "\xFE\xFF", 2)) return Encoding::Utf16BE;
    return validUtf8(raw) ? Encoding::Utf8 : Encoding::Cp1251;
}

QString decodeText(QByteArrayView raw, Encoding e) {
    switch (e) {
        case Encoding::Utf8:
        case Encoding::Utf8Bom: {
            if (startsWith(raw, "\xEF\xBB\xBF", 3)) raw = raw.sliced(3);
            QStringDecoder d(QStringDecoder::Utf8);
            return d.decode(raw);
        }
        case Encoding::Utf16LE: {
            if (startsWith(raw, "\xFF\xFE", 2)) raw = raw.sliced(2);
            QStringDecoder d(QStringDecoder::Utf16LE);
            return d.decode(raw);
        }
        case Encoding::Utf16BE: {
            if (startsWith(raw, "\xFE\xFF", 2)) raw = raw.sliced(2);
            QStringDecoder d(QStringDecoder::Utf16BE);
            return d.decode(raw);
        }
        case Encoding::Cp1251:
            return fromCp1251(raw.data(), raw.size());
    }
    return {};
}

QString encodingName(Encoding e) {
    switch (e) {
        case Encoding::Utf8:
            return QStringLiteral("UTF-8");
        case Encoding::Utf8Bom:
            return QStringLiteral("UTF-8 (BOM)");
        case Encoding::Utf16LE:
            return QStringLiteral("UTF-16LE");
        case Encoding::Utf16BE:
            return QStringLiteral("UTF-16BE");
        case Encoding::Cp1251:
            return QStringLiteral("Windows-1251");
    }
    return {};
}

QString decodeCharset(QByteArrayView raw, QByteArrayView charset) {
    const QByteArray name = charset.toByteArray().toLower();
    if (name == "utf-8" || name == "utf8") return decodeText(raw, Encoding::Utf8);
    if (name == "windows-1251" || name == "cp1251" || name == "cp-1251" || name == "win-1251")
        return decodeText(raw, Encoding::Cp1251);
    if (name == "iso-8859-1" || name == "latin1") return QString::fromLatin1(raw);
    return decodeText(raw, detectEncoding(raw));
}

}  // namespace zrk::contacts
