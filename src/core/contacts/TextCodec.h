#pragma once
// The encodings address-book files come in: UTF-8 (with or without a byte-order mark),
// UTF-16 with a mark, or the Windows code page old phones and mail programs write.
#include <QByteArrayView>
#include <QString>

namespace zrk::contacts {

enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Cp1251 };

// A byte-order mark first; then UTF-16 by its NULs (a mark is often left out); then UTF-8
// when every byte sequence is valid UTF-8; else cp1251.
Encoding detectEncoding(QByteArrayView raw);
// Control characters and undecodable bytes in more than a hundredth of `text`: not a text
// file at all (an archive, a picture) under a text file's name.
bool looksBinary(const QString& text);
// The text of `raw` in `e`; a byte-order mark of that encoding is dropped.
QString decodeText(QByteArrayView raw, Encoding e);
// The name shown in the preview's selector ("UTF-8", "Windows-1251"...).
QString encodingName(Encoding e);

// Decodes the bytes of a quoted-printable or 8-bit value by its CHARSET= parameter
// ("UTF-8", "windows-1251", "KOI8-R"...); an unknown or missing charset is detected.
QString decodeCharset(QByteArrayView raw, QByteArrayView charset);

}  // namespace zrk::contacts
