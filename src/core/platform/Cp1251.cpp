#include "core/platform/Cp1251.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace zrk {
namespace {

// Unicode of the bytes 0x80..0xBF; 0xC0..0xFF are the letters А..я, U+0410..U+044F in order.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

constexpr char16_t highChar(unsigned char b) {
    return b >= 0xC0 ? char16_t(0x0410 + (b - 0xC0)) : kHigh[b - 0x80];
}

const std::unordered_map<char16_t, char>& reverseTable() {
    static const auto table = [] {
        std::unordered_map<char16_t, char> t;
        for (int i = 0x80; i < 0x100; ++i) t.emplace(highChar(uchar(i)), static_cast<char>(i));
        return t;
    }();
    return table;
}

}  // namespace

QString fromCp1251(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = b < 0x80 ? QChar(char16_t(b)) : QChar(highChar(b));
    }
    return out;
}

char toCp1251(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) return static_cast<char>(u);
    const auto& t = reverseTable();
    const auto it = t.find(u);
    return it == t.end() ? '?' : it->second;
}

QByteArray toCp1251(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character outside the basic plane is one character: one '?'.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        out.append(toCp1251(text[i]));
    }
    return out;
}

bool fitsCp1251(const QString& text) {
    return std::none_of(text.begin(), text.end(),
                        [](QChar c) { return toCp1251(c) == '?' && c != QLatin1Char('?'); });
}

}  // namespace zrk
