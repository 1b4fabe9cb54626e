// Phone book timings on a generated book of 100,000 entries in 100 groups: load, save, a
// caller lookup that finds nobody (the whole book is scanned) and a duplicate test; then the
// phone book window on that book (offscreen): opening, showing, switching the group,
// sorting, adding and deleting an entry with their saves. Prints the best and the median of
// several runs; asserts nothing.
#include "BenchBook.h"
#include "core/book/BookStore.h"
#include "gui/book/PhoneBook.h"
#include "core/settings/Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace zrk;

namespace {

constexpr int kEntries = bench::kBookEntries;

void fill(BookStore& book) {
    for (int g = 1; g <= bench::kBookGroups; ++g) book.AddGroup(bench::benchGroup(g), true);
    for (int i = 0; i < kEntries; ++i) book.AddItem(bench::benchEntry(i), true);
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

void settle() {
    QCoreApplication::processEvents();
}

void benchWindow() {
    ini() = TIni::defaults();
    ini().PhoneBookFile = QString::fromLatin1(kBookFile);
    std::unique_ptr<BookDocument> document;
    std::unique_ptr<TPhoneBook> window;
    report("window: create (loads the book)",
           measure(5,
                   [&] {
                       window.reset();
                       document.reset();
                       timer.start();
                       document = std::make_unique<BookDocument>();
                       window = std::make_unique<TPhoneBook>(*document);
                   }),
           300);
    TPhoneBook& w = *window;
    BookPrompts prompts;
    int added = 0;
    prompts.exec = [&added](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("eFIO"))->setText(QStringLiteral("Новый"));
        d.findChild<QLineEdit*>(QStringLiteral("ePhone"))
            ->setText(QStringLiteral("7-%1").arg(++added));
        d.findChild<QPushButton*>(QStringLiteral("bOK"))->click();
        return d.result();
    };
    prompts.ask = [](const QString&, const QString&) { return QMessageBox::Yes; };
    prompts.warn = [](const QString&, const QString& text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    };
    w.setPrompts(prompts);
    auto* list = w.findChild<QTreeView*>(QStringLiteral("lvBook"));
    auto* selector = w.findChild<QComboBox*>(QStringLiteral("cbGroup"));
    report("window: show, all groups (paint)",
           measure(5,
                   [&] {
                       w.hide();
                       settle();
                       timer.start();
                       w.show();
                       list->repaint();
                       settle();
                   }),
           300);
    int g = 0;
    report("window: group switch (to all / to one)",
           measure(10,
                   [&] {
                       selector->setCurrentIndex(g == 0 ? 1 + g % 100 : 0);
                       g = g == 0 ? 1 : 0;
                       list->repaint();
                       settle();
                   }),
           300);
    selector->setCurrentIndex(0);
    int column = 0;
    report("window: sort 100,000 rows (name / phone)",
           measure(6,
                   [&] {
                       w.lvBookColumnClick(column++ % 2);
                       list->repaint();
                       settle();
                   }),
           300);
    report("window: add + save",
           measure(5,
                   [&] {
                       w.sbAddClick();
                       settle();
                   }),
           300);
    report("window: delete + save (rebuilds 100,000 rows)",
           measure(5,
                   [&] {
                       list->selectionModel()->select(
                           w.rows().index(w.rows().count() / 2, 0),
                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                       timer.start();
                       w.sbDelClick();
                       list->repaint();
                       settle();
                   }),
           300);
    if (w.store().count() != kEntries) std::fprintf(stderr, "unexpected count\n");
    w.hide();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its places in a settings store of its own, not the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    // Measured where the book would live: the current directory, or the one given.
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(base + QLatin1String("/bench-book-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a directory in %s\n", qPrintable(base));
        return 1;
    }
    QDir::setCurrent(dir.path());

    BookStore book;
    fill(book);
    // The first save of a run also pays for the memory of its file image.
    timer.start();
    if (!book.SaveList(QString::fromLatin1(kBookFile))) return 1;
    const double firstSave = double(timer.nsecsElapsed()) / 1e6;
    std::printf("book: %d entries, %d groups, file %lld bytes, in %s\n", book.count(),
                book.groupCount() - 1, (long long)QFileInfo(QString::fromLatin1(kBookFile)).size(),
                qPrintable(base));

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
                       if (!book.SaveList(QString::fromLatin1(kBookFile))) std::abort();
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
    benchWindow();
    return 0;
}
