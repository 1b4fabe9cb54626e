#pragma once
// RingPage: the options page "Звонок": the ring's sound, the call log file, redial and the phone
// book.
#include "gui/settings/OptionsPage.h"

namespace Ui {
class RingPage;
}

namespace zrk {

class RingPage : public OptionsPage {
    Q_OBJECT
public:
    RingPage(const TIni& settings, QWidget* parent = nullptr);

private:
    void storeRest(TIni& settings) override;
    void cbWaveClick();
    void cbSoundClick();

    FormPtr<Ui::RingPage> ui_;
};

}  // namespace zrk
