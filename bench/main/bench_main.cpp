// Figures for a phone book of 100,000 entries: the time from start to the shown main window,
// and per call the time from the report line to the number shown, listed and logged.
//   bench-main [calls]
#include "core/book/BookStore.h"
#include "gui/book/PhoneBook.h"
#include "gui/calls/ListRing.h"
#include "core/call/CallDesk.h"
#include "gui/main/RusCID.h"
#include "common/PtyPort.h"
#include "core/platform/Registry.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/WinAlert.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[size_t(p * double(v.size() - 1))];
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(10, atoi(argv[1])) : 2000;

    {
        zrk::BookStore book;
        for (int g = 0; g < 100; ++g) {
            zrk::BookGroup group = zrk::BookGroup::empty();
            group.Title.setText(QStringLiteral("Группа %1").arg(g));
            book.AddGroup(group, true);
        }
        for (int i = 0; i < 100000; ++i) {
            zrk::BookEntry e = zrk::BookEntry::empty();
            e.Name.setText(QStringLiteral("Абонент номер %1").arg(i));
            e.Phone.setText(QStringLiteral("%1-%2").arg(100 + i / 1000).arg(i % 1000, 3, 10, QLatin1Char('0')));
            e.Group = i % 101;
            book.AddItem(e, true);
        }
        book.SaveList();
    }
    // A pseudo-terminal stands in for the modem, so the port opens as it would with one.
    if (zrk::tools::mapPortToNewPty() < 0) return 1;
    zrk::RegistryFile::resetUser();

    // Start: the windows in their order, the book loaded, the main window shown.
    QElapsedTimer start;
    start.start();
    zrk::CallDesk desk;
    zrk::TRusCID window(desk);
    zrk::BookDocument bookDocument;
    zrk::TPhoneBook book(bookDocument, &window);
    zrk::TWinAlert alert(window, &window);
    zrk::TListRing list(window, &window);
    zrk::TAllScreen allScreen(window, &window);
    window.setRunWindows({&book, nullptr, nullptr, &alert, &list, &allScreen, nullptr});
    window.show();
    QApplication::processEvents();
    const double startMs = double(start.nsecsElapsed()) / 1e6;

    // Calls: half found in the book (at spread positions), half not in it.
    std::vector<double> found, missed;
    for (int i = 0; i < calls; ++i) {
        const bool hit = i % 2 == 0;
        const int n = hit ? (i * 7919) % 100000 : 900000 + i;
        const QByteArray line = "CallerID: " +
                                (hit ? QByteArray::number(100 + n / 1000) +
                                           QByteArray::number(n % 1000).rightJustified(3, '0')
                                     : QByteArray::number(n)) +
                                ":1\r";
        QElapsedTimer t;
        t.start();
        desk.processBatch(line.constData(), qint32(line.size()));
        (hit ? found : missed).push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("start to shown main window with 100000 entries: %.1f ms\n", startMs);
    std::printf("call, caller in the book:     p50 %.3f ms  p99 %.3f ms  (%zu calls)\n",
                percentile(found, 0.5), percentile(found, 0.99), found.size());
    std::printf("call, caller not in the book: p50 %.3f ms  p99 %.3f ms  (%zu calls)\n",
                percentile(missed, 0.5), percentile(missed, 0.99), missed.size());
    std::printf("listed: %d  counted: %d\n", list.rowCount(), window.callCount());
    window.FormClose();
    return 0;
}
