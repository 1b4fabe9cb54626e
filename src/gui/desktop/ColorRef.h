#pragma once
// Colours as the stored settings hold them: 0x00BBGGRR, red in the low byte.
#include <QColor>

namespace zrk {

QColor fromColorRef(quint32 ref);
quint32 toColorRef(const QColor& c);

}  // namespace zrk
