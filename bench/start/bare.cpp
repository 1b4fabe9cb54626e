// The yardstick for the start: a bare Qt Widgets program that shows one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Zrk Pro"));
    label.resize(246, 168);
    label.show();
    return app.exec();
}
