#pragma once
// Book records as a test fills them in: an entry and a group by their visible fields.
#include "core/book/BookStore.h"

inline zrk::BookEntry entry(const char* name, const char* phone, int status, int group = 0) {
    zrk::BookEntry e = zrk::BookEntry::empty();
    e.Name.setText(QString::fromUtf8(name));
    e.Phone.setText(QString::fromUtf8(phone));
    e.Status = status;
    e.Group = group;
    return e;
}

inline zrk::BookGroup group(const char* title, int action, const char* sound = "") {
    zrk::BookGroup g = zrk::BookGroup::empty();
    g.Title.setText(QString::fromUtf8(title));
    g.Sound.setText(QString::fromUtf8(sound));
    g.Action = action;
    return g;
}
