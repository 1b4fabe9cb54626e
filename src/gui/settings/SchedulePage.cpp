#include "gui/settings/SchedulePage.h"

#include "ui_SchedulePage.h"

#include "core/platform/Values.h"
#include "core/settings/OptionsRules.h"
#include "core/settings/Settings.h"

namespace zrk {

SchedulePage::SchedulePage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::SchedulePage>(this)) {
    bind(ui_->cbPortOnOff, s, &TIni::PortOnOff);
    bind(ui_->cbSoundOnOff, s, &TIni::SoundOnOff);
    ui_->dtPortOFF->setTime(timeOfValue(s.PortOff));
    ui_->dtPortON->setTime(timeOfValue(s.PortOn));
    ui_->dtSoundOFF->setTime(timeOfValue(s.SoundOff));
    ui_->dtSoundON->setTime(timeOfValue(s.SoundOn));
    enableWhileChecked(ui_->cbPortOnOff,
                       {ui_->dtPortOFF, ui_->dtPortON, ui_->lPortOFF, ui_->lPortON});
    enableWhileChecked(ui_->cbSoundOnOff,
                       {ui_->dtSoundOFF, ui_->dtSoundON, ui_->lSoundOFF, ui_->lSoundON});
}

void SchedulePage::storeRest(TIni& s) {
    s.PortOff = scheduleTimeValue(s.PortOff, ui_->dtPortOFF->time());
    s.PortOn = scheduleTimeValue(s.PortOn, ui_->dtPortON->time());
    s.SoundOff = scheduleTimeValue(s.SoundOff, ui_->dtSoundOFF->time());
    s.SoundOn = scheduleTimeValue(s.SoundOn, ui_->dtSoundON->time());
}

}  // namespace zrk
