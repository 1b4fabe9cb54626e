// The settings store's text: the parser accepts or refuses any bytes without fault, and a
// store it accepts serializes to text it accepts again, with the same keys and values.
#include "FuzzSupport.h"

#include "core/platform/Registry.h"

using namespace zrk;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<RegKeyData> keys;
    QString reason;
    if (!RegistryFile::parse(raw, &keys, &reason)) return 0;

    const RegistryFile first(zrkfuzz::inputFile("first.reg", data, size));
    if (!first.loadError().isEmpty()) std::abort();
    const QByteArray text = first.serialize();
    const RegistryFile second(zrkfuzz::inputFile(
        "second.reg", reinterpret_cast<const uint8_t*>(text.constData()), size_t(text.size())));
    if (!second.loadError().isEmpty() || second.serialize() != text) std::abort();
    return 0;
}
