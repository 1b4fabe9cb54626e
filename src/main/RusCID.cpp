#include "main/RusCID.h"

#include "platform/Registry.h"
#include "settings/Settings.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>

namespace zrk {

TRusCID::TRusCID(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RusCID"));
    setWindowTitle(QStringLiteral("Zrk Pro %1").arg(QLatin1String(kProgramVersion)));
    FormCreate();
}

void TRusCID::FormCreate() {
    if (!RegistryFile::user().loadError().isEmpty()) showError(RegistryFile::user().loadError());
    try {
        LoadSettings(ini());
    } catch (const Exception& e) {
        showError(e.message());
    }
    resize(254, 167);
    try {
        placement_.restore(this);
    } catch (const Exception& e) {
        showError(e.message());
    }
}

void TRusCID::FormClose() {
    if (closed_) return;
    closed_ = true;
    try {
        placement_.save(this);
    } catch (const Exception& e) {
        showError(e.message());
    }
    try {
        SaveSettings(ini());
    } catch (const Exception& e) {
        showError(e.message());
    }
}

void TRusCID::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TRusCID::showError(const QString& text) {
    // Shown once the event loop runs, so that start-up is not held inside a modal box.
    QTimer::singleShot(0, this, [this, text] { QMessageBox::critical(this, windowTitle(), text); });
}

}  // namespace zrk
