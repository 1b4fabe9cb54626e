#pragma once
// A field of /proc/self/status in kB ("VmRSS:", "VmHWM:"), or -1 where it cannot be read.
#include <QByteArray>
#include <QFile>

#include <cstring>

inline long statusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ')[0].toLong();
    return -1;
}
