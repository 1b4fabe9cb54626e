#pragma once
// NetworkPage: the options page "Сеть": the NCID server, what is sent and received, the line's
// label, and the link's state as it is now.
#include "gui/settings/OptionsPage.h"

namespace Ui {
class NetworkPage;
}

namespace zrk {

class OptionsHost;

class NetworkPage : public OptionsPage {
    Q_OBJECT
public:
    NetworkPage(OptionsHost& host, const TIni& settings, QWidget* parent = nullptr);

    void showState();

private:
    void storeRest(TIni& settings) override;
    void checkAddress();
    void showWireLabel();

    OptionsHost& host_;
    FormPtr<Ui::NetworkPage> ui_;
};

}  // namespace zrk
