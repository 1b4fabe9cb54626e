#include "core/contacts/TextCodec.h"

#include "core/platform/Cp1251.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace zrk::contacts {

namespace {

// UTF-16 without a mark: in Latin and Cyrillic text every other byte is a high byte, NUL or
// 0x04, and 8-bit text has neither of them.
std::optional<Encoding> utf16ByNuls(QByteArrayView raw) {
    const qsizetype n = std::min<qsizetype>(raw.size(), 4096) & ~qsizetype(1);
    if (n < 4) return std::nullopt;
    const auto high = [](char c) { return c == 0 || c == 4; };
    qsizetype even = 0, odd = 0;
    for (qsizetype i = 0; i < n; i += 2) {
        even += high(raw[i]);
        odd += high(raw[i + 1]);
    }
    const qsizetype pairs = n / 2;
    if (odd * 2 >= pairs && even * 20 < pairs) return Encoding::Utf16LE;
    if (even * 2 >= pairs && odd * 20 < pairs) return Encoding::Utf16BE;
    return std::nullopt;
}

}  // namespace

Encoding detectEncoding(QByteArrayView raw) {
    if (raw.startsWith("\xEF\xBB\xBF")) return Encoding::Utf8Bom;
    if (raw.startsWith("\xFF\xFE")) return Encoding::Utf16LE;
    if (raw.startsWith("\xFE\xFF")) return Encoding::Utf16BE;
    if (const auto wide = utf16ByNuls(raw)) return *wide;
    // Well-formed UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing above U+10FFFF.
    return raw.isValidUtf8() ? Encoding::Utf8 : Encoding::Cp1251;
}

bool looksBinary(const QString& text) {
    const qsizetype odd = std::count_if(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7F ||
               u == QChar::ReplacementCharacter;
    });
    // A stray control byte or two happen in real files; a tenth of random bytes is one.
    return odd > 8 && odd * 100 > text.size();
}

QString decodeText(QByteArrayView raw, Encoding e) {
    switch (e) {
        case Encoding::Utf8:
        case Encoding::Utf8Bom: {
            if (raw.startsWith("\xEF\xBB\xBF")) raw = raw.sliced(3);
            return QString::fromUtf8(raw);
        }
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            const bool le = e == Encoding::Utf16LE;
            if (raw.startsWith(le ? "\xFF\xFE" : "\xFE\xFF")) raw = raw.sliced(2);
            return QStringDecoder(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE).decode(raw);
        }
        case Encoding::Cp1251:
            return fromCp1251(raw.data(), raw.size());
    }
    return {};
}

QString encodingName(Encoding e) {
    // By Encoding's order.
    static const char* const kNames[] = {"UTF-8", "UTF-8 (BOM)", "UTF-16LE", "UTF-16BE",
                                         "Windows-1251"};
    return size_t(e) < std::size(kNames) ? QString::fromLatin1(kNames[size_t(e)]) : QString();
}

QString decodeCharset(QByteArrayView raw, QByteArrayView charset) {
    const QByteArray name = charset.toByteArray().toLower();
    if (name == "utf-8" || name == "utf8") return decodeText(raw, Encoding::Utf8);
    if (name == "windows-1251" || name == "cp1251" || name == "cp-1251" || name == "win-1251")
        return decodeText(raw, Encoding::Cp1251);
    if (name == "iso-8859-1" || name == "latin1") return QString::fromLatin1(raw);
    // Every other code page Qt knows (KOI8-R, cp866, ISO-8859-5... through ICU); a name it
    // does not know is guessed from the bytes.
    QStringDecoder decoder(name.constData());
    if (decoder.isValid()) return decoder.decode(raw);
    return decodeText(raw, detectEncoding(raw));
}

}  // namespace zrk::contacts
