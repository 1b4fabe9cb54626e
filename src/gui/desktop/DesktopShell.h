#pragma once
// The desktop's own handlers: addresses (web pages, e-mail) and the text viewer for the call
// log.
#include <QString>
#include <QStringList>

namespace zrk {

// Asks the desktop to open `address` (scheme included) with its default handler; true when
// the desktop reports that it did.
bool openUrl(const QString& address);

// The program and its arguments that show a text file. The path is one argument, made
// absolute so that a name beginning with '-' is never taken for an option.
struct Launch {
    QString program;
    QStringList arguments;
};
Launch textViewerLaunch(const QString& path);

// Shows the text file in the desktop's viewer, without a shell in between. Whether the
// viewer started is not reported: there is nothing the caller could do about it.
void openTextFile(const QString& path);

}  // namespace zrk
