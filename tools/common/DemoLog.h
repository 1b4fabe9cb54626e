#pragma once
// A call log for demos and screenshots: `calls` calls up to `last`, spread over `days` days,
// busier on weekdays and in office hours, from a handful of callers of the demo book and a
// few unknown numbers. The same arguments always give the same log.
#include "core/platform/Cp1251.h"

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>

namespace zrk::tools {

inline bool writeDemoLog(const QString& path, int calls, const QDateTime& last, int days) {
    static const char* const callers[][2] = {
        {"34-56-78", "Иванов Иван Иванович"},
        {"8-915-123-45-67", "Петрова Анна"},
        {"23-45-67", "Гостиница «Россия»"},
        {"8-495-765-43-21", "Сидоров Пётр"},
        {"Unknown", ""},
        {"45-67-89", "Кузнецова Мария"},
        {"8-903-222-33-44", ""},
        {"56-78-90", "ООО \"Ромашка\", бухгалтерия"},
        {"8-926-555-66-77", "Смирнов Алексей"},
        {"11-22-33", "Автомат на углу"},
    };
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray text = ";Zrk (USR Courier) v2.01b\r\n;Zrk Pro demo log\r\n\r\n";
    QRandomGenerator random(20260314);
    const auto next = [&random](quint32 range) { return random.bounded(range); };
    const QDateTime first = last.addDays(-days);
    const qint64 span = first.secsTo(last);
    QList<QDateTime> moments;
    while (moments.size() < calls) {
        const QDateTime t = first.addSecs(qint64(next(quint32(span))));
        // Fewer calls at night and at the weekend.
        const bool quiet = t.time().hour() < 8 || t.time().hour() >= 20 || t.date().dayOfWeek() > 5;
        if (quiet && next(4) != 0) continue;
        moments.append(t);
    }
    std::sort(moments.begin(), moments.end());
    for (qsizetype i = 0; i < moments.size(); ++i) {
        const QDateTime& t = moments[i];
        const auto& c = callers[next(sizeof callers / sizeof callers[0])];
        const QString call = t.date().toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(' ') +
                             t.time().toString(QStringLiteral("H:mm:ss")) + QLatin1Char(' ') +
                             QString::fromUtf8(c[0]);
        text += toCp1251(call + QLatin1Char(' ') + QString::fromUtf8(c[1])) + "\r\n";
        // Now and then a call nobody answered, marked as the program marks it.
        if (i % 7 == 3) text += toCp1251(QStringLiteral(";missed ") + call) + "\r\n";
    }
    return file.write(text) == text.size() && file.flush();
}

}  // namespace zrk::tools
