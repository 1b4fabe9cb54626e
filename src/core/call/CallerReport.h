#pragma once
// The parts of a caller report that need no window: the category split, the number cut,
// digit grouping and the talk timer's text.
#include <QString>

namespace zrk {

struct TIni;

struct ReportParts {
    QString number;          // blanks removed, category cut off, cut to its last N characters
    bool hasCategory = false;
    QString caption;         // what the information strip shows for the category
    QString hint;            // its tooltip
    bool hintChanged = false;  // false: an unknown category leaves the previous hint
    bool showHint = false;
};

// Modems that report callers unsolicited send words when the number is withheld
// ("P", "PRIVATE", "Restricted", "OUT-OF-AREA"): a report without a single digit is no number
// to cut or group.
bool isWordReport(const QString& text);

// Blanks removed; a word report is taken whole. Otherwise a final ":d" is the category (its
// text from the settings, split at the first "|"; another character gives "[неизвестно]");
// then all but "Unknown" is cut to its last "Digits in phone number" characters.
ReportParts parseReport(const QString& report, const TIni& ini);

// Groups of `n` from the right while at least n characters remain to the left:
// 1234567 -> 123-45-67 with "-" and 2. With n <= 0 the separator precedes every character.
QString GroupDigits(const QString& text, const QString& separator, int n);

// The talk timer after one more second: past 99 : 00 it starts again from 00 : 01.
int nextTalkSecond(int counter);
QString talkTimerText(int counter);  // "mm : ss"

}  // namespace zrk
