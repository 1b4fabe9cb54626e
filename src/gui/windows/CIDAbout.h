#pragma once
// TCIDAbout: the about box.
// The about box: the program's name, its makers and a link to its web page. Opened modally
// and destroyed after it closes.
#include "gui/windows/URL.h"

#include <QDialog>

namespace zrk {

// The web page the about box links to, without its scheme.
inline constexpr auto kHomePage = "zrk-pro.example.org";

class TCIDAbout : public QDialog {
    Q_OBJECT
public:
    // `opener` replaces the desktop shell for the link (see TURL).
    explicit TCIDAbout(QWidget* parent = nullptr, TURL::Opener opener = {});

public slots:
    // Opens the web page; a desktop that cannot open it is not reported.
    void stUrlClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TURL urlAbout_;
};

}  // namespace zrk
