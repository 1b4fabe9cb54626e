#pragma once
// Bringing the settings of a Windows installation along: a registry export of the same keys
// ("Software\Zrk Pro" and below), merged into the settings store file.
#include <QString>

namespace zrk {

class RegistryFile;

struct ImportResult {
    bool ok = false;
    QString message;  // what was imported, or why nothing was
    int keys = 0, values = 0;
};

// Reads `exportPath` (REGEDIT5: UTF-16LE with its byte-order mark; REGEDIT4: code page 1251),
// checks it whole, and only then merges it into `store`: values of the same name are
// replaced, all others kept, and the store is saved. On any fault the store is left as it was.
ImportResult importRegistryExport(const QString& exportPath, RegistryFile& store);

}  // namespace zrk
