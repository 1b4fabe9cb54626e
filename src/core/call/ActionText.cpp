#include "core/call/ActionText.h"

#include "core/call/LineStatus.h"

#include <QUrl>

namespace zrk::actions {

CallFacts factsOf(const CallerShown& caller, bool wordsForSpeech) {
    CallFacts f;
    f.number = caller.shown;
    for (const QChar c : caller.number)
        if (c.isDigit()) f.digits += c;
    f.name = caller.name;
    const bool known = caller.status >= 0;  // a stranger carries the default group
    if (known) f.group = caller.group;
    static const char* const kStatus[] = {"normal", "bad", "priority"};
    const int status = caller.status == 1 || caller.status == 2 ? caller.status : 0;
    if (!caller.number.isEmpty())
        f.status = wordsForSpeech ? statusWord(status) : QLatin1String(kStatus[status]);
    f.line = caller.line;
    if (caller.hasCategory) f.category = caller.caption;
    f.district = caller.district;
    const QDateTime when = caller.when.isValid() ? caller.when : QDateTime::currentDateTime();
    f.date = when.toString(QStringLiteral("yyyy-MM-dd"));
    f.time = when.toString(QStringLiteral("HH:mm:ss"));
    return f;
}

QString withoutControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            continue;
        out += c;
    }
    return out;
}

QString expand(const QString& templ, const CallFacts& facts, Fill fill) {
    const std::pair<QLatin1String, const QString*> names[] = {
        {QLatin1String("number"), &facts.number},     {QLatin1String("digits"), &facts.digits},
        {QLatin1String("name"), &facts.name},         {QLatin1String("group"), &facts.group},
        {QLatin1String("status"), &facts.status},     {QLatin1String("line"), &facts.line},
        {QLatin1String("category"), &facts.category}, {QLatin1String("district"), &facts.district},
        {QLatin1String("date"), &facts.date},         {QLatin1String("time"), &facts.time}};
    QString out;
    qsizetype i = 0;
    while (i < templ.size()) {
        const qsizetype open = templ.indexOf(QLatin1Char('{'), i);
        const qsizetype close = open < 0 ? -1 : templ.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0) break;
        const QStringView name = QStringView(templ).sliced(open + 1, close - open - 1);
        const QString* value = nullptr;
        for (const auto& [key, v] : names)
            if (name == key) value = v;
        if (!value) {  // a brace of the template's own: kept, and looked past
            out += QStringView(templ).sliced(i, open + 1 - i);
            i = open + 1;
            continue;
        }
        out += QStringView(templ).sliced(i, open - i);
        const QString clean = withoutControls(*value);
        // Every byte but the unreserved ones is encoded: nothing of the value can end a query
        // field, start a fragment, or climb a path.
        out += fill == Fill::Url ? QString::fromLatin1(QUrl::toPercentEncoding(clean)) : clean;
        i = close + 1;
    }
    out += QStringView(templ).sliced(i);
    return out;
}

}  // namespace zrk::actions
