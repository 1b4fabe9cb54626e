// "Экспорт в CSV" of a big log in the history window, as a user meets it: how long the
// window's event loop stood at most while the file was written, and how long the export took.
//   bench-history-export LOG
// Make the log with `bench-history 1000000 --keep LOG`. The save dialog is answered as a user
// would: a file name typed, Enter.
#include "gui/calls/HistoryModel.h"
#include "gui/calls/HistoryWindow.h"
#include "WindowBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace zrk;
using namespace zrk::bench;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        std::fprintf(stderr, "usage: bench-history-export LOG (bench-history N --keep LOG)\n");
        return 2;
    }
    NoLine line;
    NoHost host;
    HistoryWindow window(line, host, app.arguments()[1]);
    window.resize(720, 600);
    window.show();
    const HistoryModel& model = window.model();
    int lastRows = -1;
    QElapsedTimer still;
    still.start();
    runUntil(
        [&] {
            if (model.rowCount() != lastRows) {
                lastRows = model.rowCount();
                still.restart();
            }
            return lastRows > 0 && still.elapsed() > 1000;
        },
        300000);

    const QString out = home.filePath(QStringLiteral("export.csv"));
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = window.findChild<QFileDialog*>(QStringLiteral("exportDialog"));
        if (!dialog || !dialog->isVisible()) return;
        dialog->selectFile(out);
        static_cast<QDialog*>(dialog)->accept();
        answer.stop();
    });
    answer.start(5);

    // The longest gap between the beats of a 1 ms timer from the command on.
    double longest = 0;
    QElapsedTimer tick, total;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longest = std::max(longest, ms(tick));
        tick.restart();
    });
    total.start();
    tick.start();
    beat.start(1);
    // A window that writes beside itself says when it is done; one that writes in the command
    // itself is done when the command returns.
    const bool tells =
        QObject::connect(&window, SIGNAL(exportFinished(bool)), &beat, SLOT(stop()));
    QMetaObject::invokeMethod(&window, "exportCsv");
    if (tells)
        runUntil([&] { return !beat.isActive(); }, 300000);
    else
        longest = std::max(longest, ms(tick));
    const double took = ms(total);
    beat.stop();
    std::printf("export of %d calls: %.0f ms in all, %lld bytes; longest event-loop stand: %.1f ms\n",
                lastRows, took, qint64(QFileInfo(out).size()), longest);
    return 0;
}
