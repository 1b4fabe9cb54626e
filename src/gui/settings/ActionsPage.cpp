#include "gui/settings/ActionsPage.h"

#include "ui_ActionsPage.h"

#include "core/settings/Settings.h"

namespace zrk {

ActionsPage::ActionsPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::ActionsPage>(this)) {
    for (FileNameEdit* e : {ui_->feNormal, ui_->feBad, ui_->fePrior, ui_->feReminder})
        e->setFilter(tr("Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*"));
    bind(ui_->cbNorma, s, &TIni::OnNormal);
    bind(ui_->cbBad, s, &TIni::OnBad);
    bind(ui_->cbPrior, s, &TIni::OnPrior);
    bind(ui_->feNormal, s, &TIni::SoundOnNormal);
    bind(ui_->feBad, s, &TIni::SoundOnBad);
    bind(ui_->fePrior, s, &TIni::SoundOnPrior);
    bind(ui_->feReminder, s, &TIni::ReminderSound);
}

}  // namespace zrk
