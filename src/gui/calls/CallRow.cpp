#include "gui/calls/CallRow.h"

#include <QCoreApplication>

#include <algorithm>

namespace zrk {

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
