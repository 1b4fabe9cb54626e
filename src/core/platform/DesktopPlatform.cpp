#include "core/platform/DesktopPlatform.h"

#include <QtGlobal>

namespace zrk {

QByteArray preferredQtPlatform(const std::function<QByteArray(const char*)>& env) {
    if (!env("QT_QPA_PLATFORM").isEmpty()) return {};
    if (env("DISPLAY").isEmpty()) return {};
    return QByteArrayLiteral("xcb;wayland");
}

namespace {

// What the user's environment held before the choice: set (possibly empty) or not.
struct Given {
    bool chosen = false;
    bool wasSet = false;
    QByteArray value;
};

Given& given() {
    static Given g;
    return g;
}

}  // namespace

void choosePreferredQtPlatform() {
    const QByteArray platform = preferredQtPlatform([](const char* name) { return qgetenv(name); });
    if (platform.isEmpty()) return;
    Given& g = given();
    if (!g.chosen) {
        g.wasSet = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
        g.value = qgetenv("QT_QPA_PLATFORM");
    }
    g.chosen = true;
    qputenv("QT_QPA_PLATFORM", platform);
}

void forgetPreferredQtPlatform() {
    Given& g = given();
    if (!g.chosen) return;
    g.chosen = false;
    if (g.wasSet)
        qputenv("QT_QPA_PLATFORM", g.value);
    else
        qunsetenv("QT_QPA_PLATFORM");
}

}  // namespace zrk
