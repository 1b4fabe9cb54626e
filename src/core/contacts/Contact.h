#pragma once
// A contact as an address book gives it (a vCard or a CSV row), before it meets the phone
// book: every number and text as written in the file.
#include <QList>
#include <QString>
#include <QStringList>

namespace zrk::contacts {

struct ContactPhone {
    QString number;  // as written in the file ("+7 903 765-43-21")
    QString label;  // shown after the name when a contact has several: "Дача", "Мобильный"...
    bool work = false;  // TYPE=WORK, "Business Phone", "Work"...
    bool preferred = false;
};

struct Contact {
    QString formattedName;  // FN
    QString family, given;  // N (family; given)
    QList<ContactPhone> phones;
    QStringList emails, urls, addresses;  // each address already joined into one line
    QString organization, note, icq;
    QStringList categories;
    int line = 0;  // 1-based line of the file where the contact starts
    // Set for the cards this program wrote: their work number is the entry's second field,
    // not an entry of its own.
    bool ownCard = false;
    int status = 0;  // BookStatus read back from this program's own status line
    // Our own vCards carry the entry's phone and work phone exactly as the book had them; the
    // TEL lines are the phones' international forms.
    bool ownPhones = false;
    QString ownPhone, ownWorkPhone;
};

}  // namespace zrk::contacts

// Of Qt's shared texts and lists only: a big file's contacts are moved, not copied, as the
// list grows.
Q_DECLARE_TYPEINFO(zrk::contacts::ContactPhone, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(zrk::contacts::Contact, Q_RELOCATABLE_TYPE);
