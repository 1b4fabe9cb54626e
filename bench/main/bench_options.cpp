// Figures for the options dialog: opening it (every font of the desktop in three lists, a
// district table of 1,000 rows, the serial devices) and its OK (everything saved, the main
// window updated), and the device listing alone.
//   bench-options [rounds]
#include "common/PtyPort.h"
#include "core/call/CallDesk.h"
#include "gui/main/RusCID.h"
#include "core/platform/Registry.h"
#include "core/platform/SerialPorts.h"
#include "core/settings/District.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 20;

    if (zrk::tools::mapPortToNewPty() < 0) return 1;
    zrk::RegistryFile::resetUser();
    QList<zrk::RaionEntry> rows;
    for (int i = 0; i < 1000; ++i)
        rows.append({QString::number(100000 + i * 7), QStringLiteral("Район %1").arg(i)});
    zrk::SaveRaions(rows);

    zrk::CallDesk desk;
    zrk::TRusCID main(desk);
    const auto host = main.makeOptionsHost();
    std::vector<double> open, ok, list;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        auto* dialog = new zrk::TOptions(*host, &main);
        open.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        dialog->findChild<QPushButton*>(QStringLiteral("bOK"))->click();
        ok.push_back(double(t.nsecsElapsed()) / 1e6);
        delete dialog;
        t.restart();
        const auto ports = zrk::listSerialPorts();
        list.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("fonts installed: %lld, district rows: %lld, rounds: %d\n",
                qlonglong(QFontDatabase::families().size()), qlonglong(rows.size()), rounds);
    std::printf("open the dialog: median %.2f ms\n", median(open));
    std::printf("OK (save all, update the window): median %.2f ms\n", median(ok));
    std::printf("list the serial devices: median %.3f ms\n", median(list));
    main.FormClose();
    return 0;
}
