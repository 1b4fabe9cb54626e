// The call history window for zrk-screenshots: a demo log of two months, the last 30 days
// with their chart, and a search.
#include "core/history/HistoryLoader.h"
#include "gui/calls/HistoryWindow.h"
#include "common/DemoLog.h"
#include "gui/main/RusCID.h"
#include "core/platform/Clock.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

namespace zrk::tools {

void saveHistoryShots(TRusCID& main, const QString& out,
                      void (*save)(QWidget*, const QString&, const char*)) {
    writeDemoLog(QStringLiteral("ZrkLog.txt"), 600, now(), 75);
    HistoryWindow history(main, main, QStringLiteral("ZrkLog.txt"));
    history.resize(720, 600);
    history.show();
    // Until the log is in, the rows and the chart filled.
    auto* loader = history.findChild<HistoryLoader*>();
    QEventLoop wait;
    QObject::connect(loader, &HistoryLoader::loaded, &wait, &QEventLoop::quit);
    QObject::connect(loader, &HistoryLoader::failed, &wait, &QEventLoop::quit);
    QTimer::singleShot(10000, &wait, &QEventLoop::quit);
    if (loader->loading()) wait.exec();
    const auto settle = [] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    history.findChild<QComboBox*>(QStringLiteral("cbRange"))->setCurrentIndex(HistoryWindow::Month);
    auto* table = history.findChild<QTableView*>(QStringLiteral("tvHistory"));
    table->selectRow(2);
    settle();
    save(&history, out, "history");
    history.findChild<QLineEdit*>(QStringLiteral("eSearch"))->setText(QStringLiteral("петров"));
    history.findChild<QComboBox*>(QStringLiteral("cbRange"))->setCurrentIndex(HistoryWindow::All);
    settle();
    save(&history, out, "history-search");
    history.close();
}

}  // namespace zrk::tools
