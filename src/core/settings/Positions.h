#pragma once
// Where each window was left, kept under "Software\Zrk Pro\<key name>".
#include <QString>

namespace zrk {

struct TFormPlace {
    qint32 Left = -1, Top = -1, Height = -1, Width = -1;  // -1: not given, never written
};

// Overlays `place` with the values the key holds; a missing key or value leaves the field.
// A value of another type raises ERegistryException.
void LoadPosition(const QString& keyName, TFormPlace& place);
// Writes Left and Top, and with `withSize` Height and Width; fields of -1 are skipped.
void SavePosition(const QString& keyName, const TFormPlace& place, bool withSize);

}  // namespace zrk
