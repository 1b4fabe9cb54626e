#pragma once
// TOptions: "Настройка программы", the options dialog; each of its pages edits a part of the
// settings. Nothing is applied before OK; OK stores every page into the record, whose
// announcement has the windows take it up, saves it, and restarts a port the user changed.
#include "gui/settings/ModemPage.h"
#include "gui/settings/PlacedDialog.h"

#include <functional>

namespace Ui {
class Options;
}

namespace zrk {

class OptionsHost;
class FontPage;

class TOptions : public PlacedDialog {
    Q_OBJECT
public:
    using DeviceRoots = ModemPage::DeviceRoots;

    TOptions(OptionsHost& host, QWidget* parent = nullptr);
    TOptions(OptionsHost& host, const DeviceRoots& roots, QWidget* parent = nullptr);

    bool portChanged() const;
    bool fontsChanged() const;

    void bOKClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addPage(OptionsPage* page, const QString& title);
    void attempt(const std::function<void()>& f);

    OptionsHost& host_;
    FormPtr<Ui::Options> ui_;
    QList<OptionsPage*> pages_;
    ModemPage* modem_ = nullptr;
    FontPage* font_ = nullptr;
};

}  // namespace zrk
