#include "main/RusCID.h"
#include "platform/QuitSignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zrk Pro 2.01b"));
    zrk::TRusCID mainWindow;
    // A signal closes the program as closing the main window does: everything is saved.
    zrk::installQuitSignals([&mainWindow] { mainWindow.close(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow] { mainWindow.close(); });
    mainWindow.show();
    return app.exec();
}
