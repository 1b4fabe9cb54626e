#pragma once
// What the vCard and CSV sides share: the labels of the standard phone kinds, the status line
// our exports add to a note, and the texts that mark a file as written by this program.
#include "contacts/Contact.h"

#include <QString>

#include <optional>

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

}  // namespace zrk::contacts
