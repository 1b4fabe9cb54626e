#include "core/settings/Positions.h"

#include "core/platform/Registry.h"
#include "core/settings/Settings.h"

namespace zrk {

void LoadPosition(const QString& keyName, TFormPlace& place) {
    RegKey reg;
    if (!reg.openKeyReadOnly(QString::fromLatin1(kSettingsRoot) + keyName)) return;
    const auto load = [&reg](const char* name, qint32& field) {
        const QString n = QString::fromLatin1(name);
        if (reg.valueExists(n)) field = reg.readInteger(n);
    };
    load("Left", place.Left);
    load("Top", place.Top);
    load("Height", place.Height);
    load("Width", place.Width);
}

void SavePosition(const QString& keyName, const TFormPlace& place, bool withSize) {
    RegKey reg;
    if (!reg.openKey(QString::fromLatin1(kSettingsRoot) + keyName, true)) return;
    if (place.Left != -1) reg.writeInteger(QStringLiteral("Left"), place.Left);
    if (place.Top != -1) reg.writeInteger(QStringLiteral("Top"), place.Top);
    if (withSize) {
        if (place.Height != -1) reg.writeInteger(QStringLiteral("Height"), place.Height);
        if (place.Width != -1) reg.writeInteger(QStringLiteral("Width"), place.Width);
    }
    reg.closeKey();
}

}  // namespace zrk
