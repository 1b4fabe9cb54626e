#pragma once
// What the vCard and CSV sides share: the labels of the standard phone kinds, the status line
// our exports add to a note, and the texts that mark a file as written by this program.
#include "contacts/Contact.h"

#include <QString>

namespace zrk::contacts {

// The mark our exports carry (vCard PRODID, the CSV's custom field type).
QString ownMark();

// "Статус: плохой" / "Статус: приоритетный" for a status a phone should show; empty for
// normal (and for values the editor does not know).
QString statusLine(int status);
// Our own contacts: a last note line that is a status line becomes the status again.
void takeStatusLine(Contact& c);

// The Russian label of a standard phone kind ("CELL", "Mobile", "work"...); empty when the
// kind is not one we know.
QString phoneKindLabel(const QString& kind);

}  // namespace zrk::contacts
