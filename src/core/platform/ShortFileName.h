#pragma once
// How a file chosen in a file dialog is stored in the settings and the phone book.
#include <QString>

namespace zrk {

// The bare name when the chosen file is the very file of that name in the current working
// directory (so the setting moves with the data directory), else the full name unchanged.
// A file elsewhere that merely shares its name with one here keeps its full path: storing
// the bare name would later play or open the other file.
QString ShortFileName(const QString& fullName);

}  // namespace zrk
