#include "platform/DesktopPlatform.h"

#include <QtGlobal>

namespace zrk {

QByteArray preferredQtPlatform(const std::function<QByteArray(const char*)>& env) {
    if (!env("QT_QPA_PLATFORM").isEmpty()) return {};
    if (env("DISPLAY").isEmpty()) return {};
    return QByteArrayLiteral("xcb;wayland");
}

void choosePreferredQtPlatform() {
    const QByteArray platform = preferredQtPlatform([](const char* name) { return qgetenv(name); });
    if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform);
}

}  // namespace zrk
