// Contacts timings at 100,000: vCards read and planned into a book, the plan applied, the
// book exported as vCard and as CSV, and the caller lookup on that book (nobody found: the
// whole book is scanned; found by the number's tail at the end of the book). Prints the best
// and the median of several runs; asserts nothing.
#include "core/book/BookStore.h"
#include "core/contacts/Csv.h"
#include "core/contacts/ImportPlan.h"
#include "core/contacts/VCard.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace zrk;
using namespace zrk::contacts;

namespace {

constexpr int kContacts = 100000;

// Cards as phones export them: a name in both forms, a mobile, every third one a work
// number, an e-mail, an address, a note and a category.
QByteArray cards() {
    QByteArray out;
    out.reserve(kContacts * 260);
    for (int i = 0; i < kContacts; ++i) {
        out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        out += QStringLiteral("FN:Абонент Номер %1\r\nN:Абонент;Номер %1;;;\r\n").arg(i).toUtf8();
        out += QByteArray("TEL;TYPE=CELL:+7 9") + QByteArray::number(10 + i % 90) + " " +
               QByteArray::number(1000000 + i) + "\r\n";
        if (i % 3 == 0)
            out += QByteArray("TEL;TYPE=WORK:8 (812) ") + QByteArray::number(2000000 + i) + "\r\n";
        out += "EMAIL;TYPE=INTERNET:user" + QByteArray::number(i) + "@example.ru\r\n";
        out += QStringLiteral("ADR;TYPE=HOME:;;ул. Садовая\\, д. %1;Москва;;;\r\n")
                   .arg(i % 200)
                   .toUtf8();
        out += QStringLiteral("NOTE:заметка\\nвторая строка\r\nCATEGORIES:Группа %1\r\n")
                   .arg(i % 100)
                   .toUtf8();
        out += "END:VCARD\r\n";
    }
    return out;
}

QElapsedTimer timer;

struct Figures {
    double best, median, cpuMedian;
};

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Wall time, and the CPU time of this thread: on a machine others share, the second is
// what an idle machine's wall time would be.
Figures measure(int runs, const std::function<void()>& f) {
    std::vector<double> ms, cpu;
    for (int r = 0; r < runs; ++r) {
        const double c0 = cpuMs();
        timer.start();
        f();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - c0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    return {ms.front(), ms[ms.size() / 2], cpu[cpu.size() / 2]};
}

void report(const char* what, Figures f, double goalMs) {
    std::printf("%-46s best %8.2f ms  median %8.2f ms  CPU median %8.2f ms  (goal < %.0f ms)\n",
                what, f.best, f.median, f.cpuMedian, goalMs);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QByteArray file = cards();
    std::printf("%d vCards, %.1f MB\n", kContacts, double(file.size()) / 1e6);

    QList<ImportRow> rows;
    const BookStore empty;
    ReadResult read;
    report("  of which: read", measure(5, [&] { read = readVCards(file); }), 2000);
    report("  of which: plan", measure(5, [&] { rows = planImport(read.contacts, empty); }), 2000);
    report("read + plan 100,000 vCards",
           measure(5,
                   [&] {
                       const ReadResult r = readVCards(file);
                       rows = planImport(r.contacts, empty);
                       if (r.contacts.size() != kContacts) std::abort();
                   }),
           2000);
    BookStore book;
    report("apply the plan to an empty book",
           measure(5,
                   [&] {
                       book = BookStore();
                       timer.start();
                       applyImport(book, rows);
                   }),
           1000);
    std::printf("book: %d entries, %d groups\n", book.count(), book.groupCount() - 1);
    std::vector<int> all(size_t(book.count()));
    for (int i = 0; i < book.count(); ++i) all[size_t(i)] = i;
    report("export as vCard",
           measure(5,
                   [&] {
                       if (writeVCards(book, all).isEmpty()) std::abort();
                   }),
           1000);
    report("export as CSV",
           measure(5,
                   [&] {
                       if (writeGoogleCsv(book, all).isEmpty()) std::abort();
                   }),
           1000);
    report("WhoCall, number not in the book",
           measure(51,
                   [&] {
                       if (book.WhoCall(QStringLiteral("999999")).status != -1) std::abort();
                   }),
           5);
    // The last entry's mobile, reported as its last 7 digits: found by its tail (once the
    // lookup knows tails), after the whole book has been scanned for an exact match.
    const QString tail = book.text(book.count() - 1, FieldPhone).right(7);
    report("WhoCall, a 7-digit report of the last entry", measure(51, [&] { book.WhoCall(tail); }),
           5);
    std::printf("found by tail: %s\n", qPrintable(book.WhoCall(tail).name));
    return 0;
}
