#pragma once
// Colours of the main window's panels come from the settings as 0x00BBGGRR values.
#include "gui/desktop/ColorRef.h"

#include <QWidget>

namespace zrk {

inline void setTextColour(QWidget* w, quint32 ref) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, fromColorRef(ref));
    w->setPalette(pal);
}

inline void setColours(QWidget* w, quint32 text, quint32 back) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, fromColorRef(text));
    pal.setColor(QPalette::Window, fromColorRef(back));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

}  // namespace zrk
