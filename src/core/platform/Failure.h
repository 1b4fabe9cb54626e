#pragma once
// A failure as the core hands it back: what failed, the text for the user, and whether what
// was asked was kept anyway (in memory, in a queue, in a backup). Core objects return or emit
// these; only the GUI's presenter shows them, and a close collects them to stderr.
#include <QList>
#include <QString>

#include <exception>

namespace zrk {

struct Failure {
    enum class Kind {
        Port,      // the modem's port: every one is said, the port is closed
        File,      // a data file (book, reminders, log, queue): said once per text
        Settings,  // the settings store or a window's place
        Network,   // the NCID link
        Other,
    };
    Kind kind = Kind::Other;
    QString text;
    bool kept = false;  // nothing was lost: the data is still in memory or queued
    // A caption other than the program's, where the described box has one ("Ошибка").
    QString caption;

    // (Brace initialisation that leaves members out is a warning, an error in CI.)
    static Failure make(Kind kind, QString text, bool kept = false) {
        Failure f;
        f.kind = kind;
        f.text = std::move(text);
        f.kept = kept;
        return f;
    }

    bool operator==(const Failure&) const = default;
};

using Failures = QList<Failure>;

// The failure an exception of ours stands for; anything else is Other with its text.
Failure failureOf(std::exception_ptr error);
// The texts, one a line, for stderr at the program's end.
QString failureLines(const Failures& failures);

}  // namespace zrk
