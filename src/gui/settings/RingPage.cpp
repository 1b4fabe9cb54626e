#include "gui/settings/RingPage.h"

#include "ui_RingPage.h"

#include "core/settings/Settings.h"

namespace zrk {

RingPage::RingPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::RingPage>(this)) {
    ui_->eWave->setFilter(tr("Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*"));
    ui_->eLog->setFilter(tr("Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*"));
    ui_->eBook->setFilter(tr("Телефоны (*.phn)|*.phn|Все файлы (*.*)|*.*"));
    bind(ui_->cbSound, s, &TIni::Sound);
    ui_->rbSpeaker->setChecked(!s.PlayWAV);
    ui_->rbWave->setChecked(s.PlayWAV);
    bind(ui_->eWave, s, &TIni::WAVFileOnRing);
    bind(ui_->eLog, s, &TIni::LogFile);
    bind(ui_->cbAutoDial, s, &TIni::ReDial);
    bind(ui_->eCountPop, s, &TIni::ReDialTry);
    bind(ui_->ePause, s, &TIni::ReDialWait);
    bind(ui_->cbBookshow, s, &TIni::PhoneBook);
    bind(ui_->eBook, s, &TIni::PhoneBookFile);
    connect(ui_->rbSpeaker, &QRadioButton::toggled, this, &RingPage::cbWaveClick);
    connect(ui_->rbWave, &QRadioButton::toggled, this, &RingPage::cbWaveClick);
    connect(ui_->cbSound, &QCheckBox::toggled, this, &RingPage::cbSoundClick);
    cbWaveClick();
    cbSoundClick();
    enableWhileChecked(ui_->cbAutoDial, {ui_->lCountPop, ui_->lPause, ui_->eCountPop, ui_->ePause});
}

void RingPage::storeRest(TIni& s) {
    s.PlayWAV = ui_->rbWave->isChecked();
}

void RingPage::cbWaveClick() {
    ui_->eWave->setEnabled(ui_->rbWave->isChecked());
}

void RingPage::cbSoundClick() {
    enableAll({ui_->rbSpeaker, ui_->rbWave, ui_->eWave}, ui_->cbSound->isChecked());
    if (ui_->eWave->isEnabled()) cbWaveClick();
}

}  // namespace zrk
