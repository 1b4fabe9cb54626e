#pragma once
#include "settings/WindowPlacement.h"

#include <QWidget>

namespace zrk {

// The main window: the caller-ID display.
class TRusCID : public QWidget {
    Q_OBJECT
public:
    explicit TRusCID(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void showError(const QString& text);

    WindowPlacement placement_{QStringLiteral("Position\\Main"), false};
    bool closed_ = false;
};

}  // namespace zrk
