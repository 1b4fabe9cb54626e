// Phone book timings on a generated book of 100,000 entries in 100 groups: load, save, a
// caller lookup that finds nobody (the whole book is scanned) and a duplicate test. Prints
// the best and the median of several runs; asserts nothing.
#include "book/BookStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace zrk;

namespace {

constexpr int kEntries = 100000;
constexpr int kGroups = 100;

void fill(BookStore& book) {
    for (int g = 1; g <= kGroups; ++g)
        book.AddGroup(BookGroup::make(QStringLiteral("Группа %1").arg(g),
                                      QStringLiteral("group%1.wav").arg(g), g % 4),
                      true);
    for (int i = 0; i < kEntries; ++i) {
        BookEntry e = BookEntry::empty();
        e.Name.setText(QStringLiteral("Абонент номер %1").arg(i));
        // Written the way people write numbers: with dashes and brackets.
        const QString d = QStringLiteral("%1").arg(100000 + i * 7 % 900000, 6, 10, QChar('0'));
        e.Phone.setText(QStringLiteral("(812) %1-%2-%3").arg(d.left(2), d.mid(2, 2), d.mid(4)));
        e.WorkPhone.setText(QStringLiteral("555-%1").arg(i % 10000));
        e.Address.setText(QStringLiteral("ул. Садовая, д. %1, кв. %2").arg(i % 200).arg(i % 97));
        e.EMail.setText(QStringLiteral("user%1@example.ru").arg(i));
        e.Note.setText(QStringLiteral("заметка\rвторая строка"));
        e.Status = i % 3;
        e.Group = i % (kGroups + 1);
        book.AddItem(e, true);
    }
}

struct Figures {
    double best, median;
};

// Runs `f` `runs` times and times each run; `f` may restart the timer to leave its own
// preparation out.
QElapsedTimer timer;

Figures measure(int runs, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        timer.start();
        f();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

void report(const char* what, Figures f, double target) {
    std::printf("%-34s best %8.3f ms   median %8.3f ms   target < %g ms  %s\n", what, f.best,
                f.median, target, f.median < target ? "ok" : "OVER");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Measured where the book would live: the current directory, or the one given.
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(base + "/bench-book-XXXXXX");
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a directory in %s\n", qPrintable(base));
        return 1;
    }
    QDir::setCurrent(dir.path());

    BookStore book;
    fill(book);
    // The first save of a run also pays for the memory of its file image.
    timer.start();
    if (!book.SaveList(kBookFile)) return 1;
    const double firstSave = double(timer.nsecsElapsed()) / 1e6;
    std::printf("book: %d entries, %d groups, file %lld bytes, in %s\n", book.count(),
                book.groupCount() - 1, (long long)QFileInfo(kBookFile).size(), qPrintable(base));

    std::printf("%-34s      %8.3f ms\n", "first save (no file before)", firstSave);
    // The store is made before and freed after the clock: only the loading is timed.
    std::unique_ptr<BookStore> loaded;
    report("load",
           measure(7,
                   [&] {
                       loaded.reset();
                       loaded = std::make_unique<BookStore>();
                       timer.start();
                       loaded->load(QString::fromLatin1(kBookFile));
                       if (loaded->count() != kEntries) std::abort();
                   }),
           300);
    report("save (with backup, synced)",
           measure(7,
                   [&] {
                       if (!book.SaveList(kBookFile)) std::abort();
                   }),
           300);
    report("WhoCall, number not in the book",
           measure(51,
                   [&] {
                       if (book.WhoCall(QStringLiteral("999999")).status != -1) std::abort();
                   }),
           5);
    report("IsNum, number not in the book",
           measure(51,
                   [&] {
                       if (book.IsNum(QStringLiteral("999999"))) std::abort();
                   }),
           5);
    return 0;
}
