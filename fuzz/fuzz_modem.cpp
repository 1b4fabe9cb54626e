// The modem's bytes into the main window on a fake port: line assembly, the responses and
// statuses, caller reports with their categories, number cut and digit grouping, the
// district table and the phone-book lookup, the call list and the log.
//
// The first three bytes pick the settings that shape a report's processing; the rest is the
// stream, handed over in batches as the port would. Every input gets a window, a book and a
// settings store of its own, as a fresh start would: an input that crashes crashes alone,
// and its replay proves what it found.
#include "FuzzSupport.h"

#include "main/MainFixture.h"

#include <QApplication>

using namespace zrk;

namespace {

const QByteArray kStore =
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n"
    "\"Count Raions\"=dword:00000004\n"
    "\"Raion0\"=\"495|Москва\"\n"
    "\"Raion1\"=\"8 (812)|Петербург\"\n"
    "\"Raion2\"=\"без черты\"\n"
    "\"Raion3\"=\"|Везде\"\n";

void fillBook(BookStore& book) {
    book.AddGroup(group("Сообщать", ActionMessage), true);
    book.AddGroup(group("Молчать", ActionIgnore), true);
    book.AddGroup(group("Сбросить", ActionHangUp, "ring.wav"), true);
    book.AddItem(entry("Иванов", "1234567", StatusNormal, 1), true);
    book.AddItem(entry("Петров", "765-43-21", StatusBad, 2), true);
    book.AddItem(entry("Сидоров", "111", StatusPriority, 3), true);
    book.AddItem(entry("Без группы", "222", 7, 99), true);
}

// The last one is never destroyed: at exit the application must not go before its windows.
MainFixture* fixture = nullptr;

const char* const kPrefixes[] = {"CallerID:", "", "NMBR = ", "RING"};
const char* const kSeparators[] = {"-", "", " ", "--"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::enterWorkDir();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return -1;
    // The window before is gone, with its timers and whatever it still had to do.
    delete fixture;
    fixture = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    fixture = new MainFixture(kStore, true, fillBook);
    MainFixture& f = *fixture;
    if (!f.window->portActive()) f.window->OpenPortClick();

    ini().DigitsInPhoneNumber = int(data[0] & 0x1F) - 2;
    ini().DigitsInGroup = int(data[1] & 0x07) - 1;
    ini().SeparatorOfGroups = QString::fromLatin1(kSeparators[(data[1] >> 3) & 3]);
    ini().Screen = data[1] & 0x20;
    ini().PlayWAV = data[1] & 0x40;
    ini().CallerID = QString::fromLatin1(kPrefixes[data[2] & 3]);
    const size_t batch = 1 + (data[2] >> 2);

    for (size_t at = 3; at < size; at += batch)
        f.window->processBatch(reinterpret_cast<const char*>(data) + at,
                               qint32(std::min(batch, size - at)));
    f.takeSent();  // a full fake port would make every later command wait
    QCoreApplication::processEvents();
    return 0;
}
