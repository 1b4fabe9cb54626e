#pragma once
// NetworkPage: the options page "Сеть": the NCID server, what is sent and received, the line's
// label, and the link's state as it is now.
#include "settings/OptionsPage.h"

#include <memory>

namespace Ui {
class NetworkPage;
}

namespace zrk {

class OptionsHost;

class NetworkPage : public OptionsPage {
    Q_OBJECT
public:
    NetworkPage(OptionsHost& host, const TIni& settings, QWidget* parent = nullptr);
    ~NetworkPage() override;

    void store(TIni& settings) override;
    void showState();

private:
    void checkAddress();

    OptionsHost& host_;
    std::unique_ptr<Ui::NetworkPage> ui_;
};

}  // namespace zrk
