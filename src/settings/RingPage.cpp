#include "settings/RingPage.h"

#include "ui_RingPage.h"

#include "settings/Settings.h"

namespace zrk {

RingPage::RingPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(std::make_unique<Ui::RingPage>()) {
    ui_->setupUi(this);
    ui_->eWave->setFilter(QStringLiteral("Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*"));
    ui_->eLog->setFilter(QStringLiteral("Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*"));
    ui_->eBook->setFilter(QStringLiteral("Телефоны (*.phn)|*.phn|Все файлы (*.*)|*.*"));
    ui_->cbSound->setChecked(s.Sound);
    ui_->rbSpeaker->setChecked(!s.PlayWAV);
    ui_->rbWave->setChecked(s.PlayWAV);
    ui_->eWave->setText(s.WAVFileOnRing);
    ui_->eLog->setText(s.LogFile);
    ui_->cbAutoDial->setChecked(s.ReDial);
    fillEdit(ui_->eCountPop, QString::number(s.ReDialTry));
    fillEdit(ui_->ePause, QString::number(s.ReDialWait));
    ui_->cbBookshow->setChecked(s.PhoneBook);
    ui_->eBook->setText(s.PhoneBookFile);
    connect(ui_->rbSpeaker, &QRadioButton::toggled, this, &RingPage::cbWaveClick);
    connect(ui_->rbWave, &QRadioButton::toggled, this, &RingPage::cbWaveClick);
    connect(ui_->cbSound, &QCheckBox::toggled, this, &RingPage::cbSoundClick);
    connect(ui_->cbAutoDial, &QCheckBox::toggled, this, &RingPage::cbAutoDialClick);
    cbWaveClick();
    cbSoundClick();
    cbAutoDialClick();
}

RingPage::~RingPage() = default;

void RingPage::store(TIni& s) {
    s.Sound = ui_->cbSound->isChecked();
    s.PlayWAV = ui_->rbWave->isChecked();
    s.WAVFileOnRing = ui_->eWave->text();
    s.LogFile = ui_->eLog->text();
    s.ReDial = ui_->cbAutoDial->isChecked();
    readInteger(ui_->eCountPop, s.ReDialTry);
    readInteger(ui_->ePause, s.ReDialWait);
    s.PhoneBook = ui_->cbBookshow->isChecked();
    s.PhoneBookFile = ui_->eBook->text();
}

void RingPage::cbWaveClick() {
    ui_->eWave->setEnabled(ui_->rbWave->isChecked());
}

void RingPage::cbSoundClick() {
    enableAll({ui_->rbSpeaker, ui_->rbWave, ui_->eWave}, ui_->cbSound->isChecked());
    if (ui_->eWave->isEnabled()) cbWaveClick();
}

void RingPage::cbAutoDialClick() {
    enableAll({ui_->lCountPop, ui_->lPause, ui_->eCountPop, ui_->ePause},
              ui_->cbAutoDial->isChecked());
}

}  // namespace zrk
