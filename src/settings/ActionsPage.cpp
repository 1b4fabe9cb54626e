#include "settings/ActionsPage.h"

#include "ui_ActionsPage.h"

#include "settings/Settings.h"

namespace zrk {

ActionsPage::ActionsPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(std::make_unique<Ui::ActionsPage>()) {
    ui_->setupUi(this);
    for (FileNameEdit* e : {ui_->feNormal, ui_->feBad, ui_->fePrior, ui_->feReminder})
        e->setFilter(QStringLiteral("Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*"));
    selectIndex(ui_->cbNorma, s.OnNormal);
    selectIndex(ui_->cbBad, s.OnBad);
    selectIndex(ui_->cbPrior, s.OnPrior);
    ui_->feNormal->setText(s.SoundOnNormal);
    ui_->feBad->setText(s.SoundOnBad);
    ui_->fePrior->setText(s.SoundOnPrior);
    ui_->feReminder->setText(s.ReminderSound);
}

ActionsPage::~ActionsPage() = default;

void ActionsPage::store(TIni& s) {
    s.OnNormal = ui_->cbNorma->currentIndex();
    s.OnBad = ui_->cbBad->currentIndex();
    s.OnPrior = ui_->cbPrior->currentIndex();
    s.SoundOnNormal = ui_->feNormal->text();
    s.SoundOnBad = ui_->feBad->text();
    s.SoundOnPrior = ui_->fePrior->text();
    s.ReminderSound = ui_->feReminder->text();
}

}  // namespace zrk
