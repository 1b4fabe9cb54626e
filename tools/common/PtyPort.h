#pragma once
// For the developer tools: a pseudo-terminal standing in for the modem, mapped as the port
// "Com2" in the settings store in force, so the main window opens it as it would a modem.
#include "core/platform/Registry.h"

#include <fcntl.h>
#include <stdlib.h>

namespace zrk::tools {

// Returns the terminal's master side (kept open for the run), or -1.
inline int mapPortToNewPty() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return -1;
    RegKey reg;
    reg.openKey(QStringLiteral("Software\\Zrk Pro\\Devices"), true);
    reg.writeString(QStringLiteral("Com2"), QString::fromLocal8Bit(ptsname(master)));
    reg.writeInteger(QStringLiteral("Com2 Virtual"), 1);
    reg.openKey(QStringLiteral("Software\\Zrk Pro"), true);
    reg.writeBool(QStringLiteral("Minimized"), false);
    reg.closeKey();
    return master;
}

}  // namespace zrk::tools
