#include "core/platform/ShortFileName.h"

#include <QDir>
#include <QFileInfo>

namespace zrk {

QString ShortFileName(const QString& fullName) {
    const QFileInfo chosen(fullName);
    const QFileInfo here(QDir::current().filePath(chosen.fileName()));
    if (chosen.fileName().isEmpty() || !here.exists() || !chosen.exists()) return fullName;
    const QString a = chosen.canonicalFilePath();
    if (!a.isEmpty() && a == here.canonicalFilePath()) return chosen.fileName();
    return fullName;
}

}  // namespace zrk
