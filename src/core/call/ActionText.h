#pragma once
// The texts of a call action: the placeholders of a template filled with what is known of the
// call. The values come from the line and the network, so they are made harmless for where
// they go: control characters are dropped everywhere, and in an address each value is
// percent-encoded, so that a name holding "&", "#", "/" or "?" stays inside its part.
#include "core/call/CallDesk.h"

#include <QString>

namespace zrk::actions {

// The placeholders' values, as text.
struct CallFacts {
    QString number;    // as shown
    QString digits;    // the number's digits only
    QString name;      // the book's (or the server's) name; empty for a stranger
    QString group;     // the caller's group; empty for a caller not in the book
    QString status;    // see factsOf()
    QString line;      // another desk's line label; empty for our own line
    QString category;  // the category's caption
    QString district;
    QString date;  // yyyy-MM-dd
    QString time;  // HH:mm:ss
};

// What is known of `caller` (a ring knows only its time). `wordsForSpeech`: the status as the
// call list shows it, in the program's language; otherwise "normal", "bad" or "priority",
// the same in every language, for programs and addresses.
CallFacts factsOf(const CallerShown& caller, bool wordsForSpeech);

enum class Fill {
    Text,  // a spoken text or one program argument: the value as it is
    Url,   // an address: each value percent-encoded
};

// `templ` with each known placeholder ("{number}", ...) replaced; anything else in braces,
// and the template's own text, stays as typed.
QString expand(const QString& templ, const CallFacts& facts, Fill fill);

// `text` without control characters (nor line and paragraph separators).
QString withoutControls(const QString& text);

}  // namespace zrk::actions
