#include "gui/desktop/DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace zrk {

bool openUrl(const QString& address) {
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid()) return false;
    return QDesktopServices::openUrl(url);
}

Launch textViewerLaunch(const QString& path) {
    return Launch{QStringLiteral("xdg-open"), {QFileInfo(path).absoluteFilePath()}};
}

void openTextFile(const QString& path) {
    if (path.isEmpty()) return;
    const Launch l = textViewerLaunch(path);
    QProcess::startDetached(l.program, l.arguments);
}

}  // namespace zrk
