// The reminder file: loading never reads outside the input, and what is loaded writes out
// and loads back unchanged.
#include "FuzzSupport.h"

#include "reminders/ReminderStore.h"

using namespace zrk;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<ReminderRecord> records =
        LoadReminders(zrkfuzz::inputFile("reminder.rmd", data, size));
    for (const ReminderRecord& r : records) {
        (void)r.Number.text();
        (void)r.Note.text();
    }
    const QByteArray image = serializeReminders(records);
    const QString again = zrkfuzz::inputFile(
        "again.rmd", reinterpret_cast<const uint8_t*>(image.constData()), size_t(image.size()));
    if (!records.isEmpty() && serializeReminders(LoadReminders(again)) != image) std::abort();
    return 0;
}
