#pragma once
// Which of Qt's window-system platforms the program runs on.
#include <QByteArray>

#include <functional>

namespace zrk {

// Wayland lets no program keep its window above the others or put it where the user left
// it, and a small always-on-top display where the user put it is what this program is. So
// where an X server is reachable (XWayland on a Wayland session, or plain X11) the program
// asks for X11, with Wayland as the fallback when X11 cannot be had. A platform the user
// chose with QT_QPA_PLATFORM is never overridden. `env` reads an environment variable;
// the result is the value for QT_QPA_PLATFORM, or empty to leave Qt's own choice.
QByteArray preferredQtPlatform(const std::function<QByteArray(const char*)>& env);

// Applies the choice above to this process; call before the application object is made.
void choosePreferredQtPlatform();
// Takes that choice back out of the environment once the application object exists: the
// programs started from here (the browser, the mail program, the text viewer) get the
// environment the user gave this one, and choose their own platform.
void forgetPreferredQtPlatform();

}  // namespace zrk
