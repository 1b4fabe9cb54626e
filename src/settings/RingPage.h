#pragma once
// RingPage: the options page "Звонок": the ring's sound, the call log file, redial and the phone
// book.
#include "settings/OptionsPage.h"

#include <memory>

namespace Ui {
class RingPage;
}

namespace zrk {

class RingPage : public OptionsPage {
    Q_OBJECT
public:
    RingPage(const TIni& settings, QWidget* parent = nullptr);
    ~RingPage() override;

    void store(TIni& settings) override;

private:
    void cbWaveClick();
    void cbSoundClick();
    void cbAutoDialClick();

    std::unique_ptr<Ui::RingPage> ui_;
};

}  // namespace zrk
