#pragma once
// A text field of a fixed-size record as the program's files hold it: one length byte, then
// up to Capacity characters in code page 1251; the bytes after the text mean nothing.
// The length byte is never trusted beyond the field: a damaged or hand-made file may carry
// any value there, and reading must stay inside the field.
#include "core/platform/Cp1251.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstring>

namespace zrk {

template <int Capacity>
struct FixedText {
    static_assert(Capacity > 0 && Capacity <= 255, "the length is one byte");
    static constexpr int capacity = Capacity;

    unsigned char length;
    char chars[Capacity];

    // The number of meaningful characters: the length byte, at most the capacity.
    int size() const { return std::min<int>(length, Capacity); }
    bool isEmpty() const { return size() == 0; }
    const char* data() const { return chars; }

    QByteArray bytes() const { return QByteArray(chars, size()); }
    QString text() const { return fromCp1251(chars, size()); }

    // Stores at most Capacity bytes; the rest of the field becomes zero.
    void setBytes(const char* src, qsizetype n) {
        const int len = int(std::clamp<qsizetype>(n, 0, Capacity));
        if (len > 0) std::memmove(chars, src, size_t(len));
        std::memset(chars + len, 0, size_t(Capacity - len));
        length = static_cast<unsigned char>(len);
    }
    void setBytes(const QByteArray& b) { setBytes(b.constData(), b.size()); }
    void setText(const QString& t) { setBytes(toCp1251(t)); }
    void clear() { setBytes(nullptr, 0); }

    // The form the writer puts on disk: the length within the field, zeros after the text.
    void normalize() {
        const int n = size();
        length = static_cast<unsigned char>(n);
        std::memset(chars + n, 0, size_t(Capacity - n));
    }
};

}  // namespace zrk
