// The reminder file: loading never reads outside the input, every record can be listed,
// shown and scheduled, and what is loaded writes out and loads back unchanged.
#include "FuzzSupport.h"

#include "core/reminders/ReminderRules.h"
#include "core/reminders/ReminderStore.h"

using namespace zrk;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<ReminderRecord> records =
        LoadReminders(zrkfuzz::inputFile("reminder.rmd", data, size));
    // What the list, the alert and the scheduler do with every loaded record.
    for (const ReminderRecord& r : records) {
        (void)dueKey(r);
        (void)numberMatches(r, QByteArrayLiteral("1234567"));
        (void)alertInfo(r);
        (void)rowTexts(r);
        (void)noteLines(r.Note.text());
    }
    const QByteArray image = serializeReminders(records);
    const QString again = zrkfuzz::inputFile(
        "again.rmd", reinterpret_cast<const uint8_t*>(image.constData()), size_t(image.size()));
    if (!records.isEmpty() && serializeReminders(LoadReminders(again)) != image) std::abort();
    return 0;
}
