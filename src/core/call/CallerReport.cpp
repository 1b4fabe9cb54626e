#include "core/call/CallerReport.h"

#include "core/settings/Settings.h"

#include <algorithm>

namespace zrk {

ReportParts parseReport(const QString& report, const TIni& ini) {
    ReportParts p;
    QString text = report;
    text.remove(QLatin1Char(' '));
    if (isWordReport(text)) {
        // "PRIVATE", "Restricted", "O": a word instead of a number, shown and logged whole.
        p.number = text;
        return p;
    }
    if (text.size() >= 2 && text.at(text.size() - 2) == QLatin1Char(':')) {
        const QChar digit = text.back();
        p.hasCategory = true;
        if (digit >= QLatin1Char('0') && digit <= QLatin1Char('9')) {
            const QString cat = shownSetting(ini.categoryText(digit.unicode() - '0'));
            const qsizetype bar = cat.indexOf(QLatin1Char('|'));
            p.caption = bar < 0 ? cat : cat.left(bar);
            p.hint = bar < 0 ? QString() : cat.mid(bar + 1);
            p.showHint = bar >= 0;
            p.hintChanged = true;
        } else {
            // The default text of category 0, whatever the user made of it.
            p.caption = shownSetting(defaultCategories()[9]);
        }
        text.chop(2);
    }
    if (text != QLatin1String("Unknown")) {
        const int n = qMax(0, ini.DigitsInPhoneNumber);
        if (text.size() > n) text = text.right(n);
    }
    p.number = text;
    return p;
}

bool isWordReport(const QString& text) {
    return !text.isEmpty() &&
           std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

QString GroupDigits(const QString& text, const QString& separator, int n) {
    QString out;
    int count = 0;
    for (qsizetype i = text.size(); i >= 1; --i) {  // i is 1-based from the left
        out.prepend(text.at(i - 1));
        ++count;
        if (n <= 0) {
            out.prepend(separator);
        } else if (count == n) {
            count = 0;
            if (i > n) out.prepend(separator);
        }
    }
    return out;
}

int nextTalkSecond(int counter) { return (counter > 5940 ? 0 : counter) + 1; }

QString talkTimerText(int counter) {
    return QStringLiteral("%1 : %2")
        .arg(counter / 60, 2, 10, QLatin1Char('0'))
        .arg(counter % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace zrk
