// The modem's bytes through the desk, on a fake modem: line assembly, the responses and
// statuses, the ring count and identification, caller reports with their categories, number
// cut and digit grouping, the district table and the phone-book lookup, the action and its
// repeats (a hang-up goes to the modem), the dial counts and redial, the ring sound and the
// log line.
//
// The first three bytes pick the settings that shape the processing; the rest is the
// stream, handed over in batches as the port would. Every input starts from a fresh desk and
// settings, as a fresh start would: an input that crashes crashes alone, and its replay
// proves what it found.
#include "BookSamples.h"
#include "FuzzSupport.h"
#include "core/serial/FakeSerialDevice.h"

#include "core/book/BookStore.h"
#include "core/call/CallDesk.h"
#include "core/platform/Clock.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QDir>

using namespace zrk;

namespace {

const QByteArray kStore =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n"
    "\"Count Raions\"=dword:00000004\n"
    "\"Raion0\"=\"495|Москва\"\n"
    "\"Raion1\"=\"8 (812)|Петербург\"\n"
    "\"Raion2\"=\"без черты\"\n"
    "\"Raion3\"=\"|Везде\"\n";

// Looked up only: one book serves every input.
const BookStore& book() {
    static const BookStore* store = [] {
        auto* b = new BookStore;
        b->AddGroup(group("Сообщать", ActionMessage), true);
        b->AddGroup(group("Молчать", ActionIgnore), true);
        b->AddGroup(group("Сбросить", ActionHangUp, "ring.wav"), true);
        b->AddItem(entry("Иванов", "1234567", StatusNormal, 1), true);
        b->AddItem(entry("Петров", "765-43-21", StatusBad, 2), true);
        b->AddItem(entry("Сидоров", "111", StatusPriority, 3), true);
        b->AddItem(entry("Без группы", "222", 7, 99), true);
        return b;
    }();
    return *store;
}

const char* const kPrefixes[] = {"CallerID:", "", "NMBR = ", "RING"};
const char* const kSeparators[] = {"-", "", " ", "--"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    // The district table, where the settings store is read.
    QDir().mkpath(zrkfuzz::workDir().filePath(QStringLiteral("config/zrk-pro")));
    zrkfuzz::inputFile("config/zrk-pro/registry.reg",
                       reinterpret_cast<const uint8_t*>(kStore.constData()), size_t(kStore.size()));
    book();
    return 0;
}

namespace {

int runInput(const uint8_t* data, size_t size) {
    if (size < 3) return -1;
    ini() = TIni::defaults();
    ini().DigitsInPhoneNumber = int(data[0] & 0x1F) - 2;
    ini().AnswerOnRing = data[0] >> 5;
    ini().DigitsInGroup = int(data[1] & 0x07) - 1;
    ini().SeparatorOfGroups = QString::fromLatin1(kSeparators[(data[1] >> 3) & 3]);
    ini().ReDial = data[1] & 0x20;
    ini().PlayWAV = data[1] & 0x40;
    ini().CallerID = QString::fromLatin1(kPrefixes[data[2] & 3]);
    const size_t batch = 1 + (data[2] >> 2);

    ini().LogFile = QStringLiteral("/dev/null");

    // Each batch a second after the last: reports repeat their call or start one anew.
    QDateTime at(QDate(2026, 12, 8), QTime(12, 0));
    setClockForTesting([&at] { return at; });
    auto device = std::make_shared<FakeSerialDevice>();
    device->status = kMsDsrOn;
    CallDesk desk(device);
    desk.setLookup([](const QString& number) { return book().WhoCall(number); });
    desk.openPort();
    if (data[1] & 0x80) {  // a dial waits for its answer
        desk.setNumber(QStringLiteral("123"), false);
        desk.dial();
    }
    for (size_t from = 3; from < size; from += batch, at = at.addSecs(1)) {
        desk.processBatch(reinterpret_cast<const char*>(data) + from,
                          qint32(std::min(batch, size - from)));
        desk.redialTick();
        device->output.clear();
    }
    desk.close();
    setClockForTesting({});
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int result = runInput(data, size);
    // The port's event thread is deleted from the event loop once it has finished, and a
    // fuzzer runs no loop: without this its descriptors pile up input after input.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
