#include "core/settings/OptionsRules.h"

#include "core/platform/Values.h"

#include <limits>

namespace zrk {

std::optional<qint32> readIntegerEdit(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' ')) ++i;
    const QString rest = text.mid(i);
    // Qt's reader would also take trailing blanks and a leading '+' in odd places; check
    // the shape first: [sign] digits.
    qsizetype d = 0;
    if (d < rest.size() && (rest.at(d) == QLatin1Char('-') || rest.at(d) == QLatin1Char('+'))) ++d;
    if (d == rest.size()) return std::nullopt;
    for (qsizetype k = d; k < rest.size(); ++k)
        if (rest.at(k) < QLatin1Char('0') || rest.at(k) > QLatin1Char('9')) return std::nullopt;
    bool ok = false;
    const qint64 v = rest.toLongLong(&ok);
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(v);
}

QString fileDialogFilter(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The caption already names its patterns; Qt reads them from the brackets.
        out << (parts.at(i).contains(QLatin1Char('('))
                    ? parts.at(i)
                    : parts.at(i) + QStringLiteral(" (%1)").arg(patterns));
    }
    return out.join(QStringLiteral(";;"));
}

double scheduleTimeValue(double stored, const QTime& shown) {
    // The pickers show hours and minutes only; seconds of a stored value are not a change.
    const QTime was = timeOfValue(stored);
    if (was.hour() == shown.hour() && was.minute() == shown.minute()) return stored;
    return kTimePickerDate + timeValue(shown);
}

}  // namespace zrk
