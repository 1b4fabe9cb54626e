// A registry export brought along from Windows, either encoding: the import checks any file
// without fault, a refused file leaves the settings store byte for byte as it was, and an
// accepted one leaves a store that reads back as it was merged.
#include "FuzzSupport.h"

#include "core/platform/Registry.h"
#include "core/settings/RegImport.h"

using namespace zrk;

namespace {
const QByteArray kStore =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n"
    "\"Port\"=dword:00000001\n"
    "\"Init\"=\"ATZ\"\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString exportPath = zrkfuzz::inputFile("export.reg", data, size);
    const QString storePath = zrkfuzz::inputFile(
        "store.reg", reinterpret_cast<const uint8_t*>(kStore.constData()), size_t(kStore.size()));
    RegistryFile store(storePath);
    const ImportResult result = importRegistryExport(exportPath, store);
    if (!result.ok) {
        QFile f(storePath);
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != kStore) std::abort();
    } else {
        // What was imported is on disk and reads back as it is held.
        const RegistryFile reread(storePath);
        if (!reread.loadError().isEmpty() || reread.serialize() != store.serialize()) std::abort();
    }
    return 0;
}
