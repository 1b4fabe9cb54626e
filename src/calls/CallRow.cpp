#include "calls/CallRow.h"

#include <algorithm>

namespace zrk {

QString statusWord(int status) {
    switch (status) {
        case 1:
            return QStringLiteral("плохой");
        case 2:
            return QStringLiteral("приоритетный");
        default:
            return QStringLiteral("нормальный");
    }
}

QString callTimeText(const QTime& time) {
    return time.toString(QStringLiteral("H:mm:ss"));
}

QString callDateText(const QDate& date, const QLocale& locale) {
    const QString text = locale.toString(date, QLocale::ShortFormat);
    const bool oneWord = !text.isEmpty() && std::none_of(text.begin(), text.end(),
                                                         [](QChar c) { return c.isSpace(); });
    return oneWord ? text : date.toString(QStringLiteral("dd.MM.yyyy"));
}

}  // namespace zrk
