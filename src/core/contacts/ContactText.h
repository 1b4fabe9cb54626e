#pragma once
// What the vCard and CSV sides share: the labels of the standard phone kinds, the status line
// our exports add to a note, and the texts that mark a file as written by this program.
#include "core/contacts/Contact.h"

#include <QString>

#include <optional>
#include <utility>

namespace zrk::contacts {

// The mark our exports carry (vCard PRODID, the CSV's custom field type).
QString ownMark();

// "Статус: плохой" / "Статус: приоритетный" for a status a phone should show; empty for
// normal (and for values the editor does not know).
QString statusLine(int status);
// Our own contacts: the status the file gives (`known`), or else the one a last note line
// names, becomes the contact's; that status line leaves the note. With the status given, a
// note the user ended with such a line themselves stays as it is.
void takeStatusLine(Contact& c, std::optional<int> known);

// The Russian label of a standard phone kind ("CELL", "Mobile", "work"...); empty when the
// kind is not one we know.
QString phoneKindLabel(const QString& kind);

// Our import names an entry of a contact with several numbers "Орлов Андрей (Дача)": the name
// and the label apart.
std::pair<QString, QString> nameAndLabel(const QString& name);
// The standard kind a label names ("Мобильный" or "mobile" -> "cell", "Рабочий факс" ->
// "workfax"); empty for a label of the user's own ("Дача").
QString labelKind(const QString& label);
// A number that looks like a Russian mobile one: 8 or +7, then 9, eleven digits in all.
bool looksMobile(const QString& phone);

// A number as a phone anywhere dials it: the modem's long-distance "8" and ten digits become
// "+7", its international exit "810" becomes "+" ("81033476629472" -> "+33 476629472"); a
// local number, and whatever follows the digits ("доб. 5"), stay as written.
QString internationalNumber(const QString& dialled);
// Back to the modem's way: "+7" becomes "8", any other "+" the exit "810"; the blank after
// the country code goes.
QString modemNumber(const QString& international);
// Something a modem can dial: at least one digit ("Privat" or "Work" is a label, not a number).
bool hasDigit(const QString& number);

}  // namespace zrk::contacts
