#include "gui/settings/SubscriberPage.h"

#include "ui_SubscriberPage.h"

#include "core/settings/District.h"
#include "core/settings/Settings.h"
#include "gui/settings/InRaion.h"
#include "gui/settings/OptionsHost.h"
#include "gui/windows/ToolBar.h"

#include <QEvent>

namespace zrk {
namespace {

constexpr int kSeparatedRole = Qt::UserRole;

QTreeWidgetItem* raionItem(const RaionEntry& e) {
    auto* item = new QTreeWidgetItem({e.number, e.raion});
    item->setData(0, kSeparatedRole, e.separated);
    return item;
}

}  // namespace

SubscriberPage::SubscriberPage(TIni& s, OptionsHost& host, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::SubscriberPage>(this)), settings_(s) {
    ui_->lvRaion->setColumnWidth(0, 60);
    ui_->lvRaion->setColumnWidth(1, 152);
    ui_->lvRaion->installEventFilter(this);
    ui_->cbKateg->setCurrentIndex(0);
    ui_->eKateg->setText(shownSetting(s.Categories[0]));
    ui_->eKateg->setCursorPosition(0);  // the short name first, not the end of the description
    try {
        for (const RaionEntry& e : LoadRaions()) ui_->lvRaion->addTopLevelItem(raionItem(e));
        raionsLoaded_ = true;
    } catch (...) {
        // A table that could not be read is neither shown half nor written back empty:
        // its controls stay off and OK leaves it as it is.
        ui_->lvRaion->clear();
        enableAll({ui_->lvRaion, ui_->bAdd, ui_->bDel, ui_->bProp}, false);
        host.reportError(std::current_exception());
    }
    connect(ui_->cbKateg, &QComboBox::currentIndexChanged, this, &SubscriberPage::cbKategChange);
    connect(ui_->bAdd, &QPushButton::clicked, this, &SubscriberPage::bAddClick);
    connect(ui_->bProp, &QPushButton::clicked, this, &SubscriberPage::bPropClick);
    connect(ui_->bDel, &QPushButton::clicked, this, &SubscriberPage::bDelClick);
}

// Each category's text reaches the record as soon as another category is picked, and stays
// there even when the dialog is cancelled.
void SubscriberPage::cbKategChange() {
    const int selected = ui_->cbKateg->currentIndex();
    if (selected == previousCategory_) return;
    if (previousCategory_ == -1) previousCategory_ = selected;
    if (previousCategory_ >= 0 && previousCategory_ < int(settings_.Categories.size()))
        keepCategory(settings_, previousCategory_);
    previousCategory_ = selected;
    if (selected >= 0 && selected < int(settings_.Categories.size())) {
        ui_->eKateg->setText(shownSetting(settings_.Categories[size_t(selected)]));
        ui_->eKateg->setCursorPosition(0);
    }
}

void SubscriberPage::storeRest(TIni& s) {
    // The category on show, without a switch.
    const int selected = ui_->cbKateg->currentIndex();
    if (selected >= 0 && selected < int(s.Categories.size())) keepCategory(s, selected);
}

void SubscriberPage::keepCategory(TIni& s, int index) {
    QString& stored = s.Categories[size_t(index)];
    stored = editedSetting(stored, ui_->eKateg->text());
}

void SubscriberPage::save() {
    if (!raionsLoaded_) return;
    QList<RaionEntry> rows;
    for (int i = 0; i < ui_->lvRaion->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui_->lvRaion->topLevelItem(i);
        rows.append({item->text(0), item->text(1), item->data(0, kSeparatedRole).toBool()});
    }
    SaveRaions(rows);
}

bool SubscriberPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->lvRaion && event->type() == QEvent::FocusIn) selectFirstRow(ui_->lvRaion);
    return OptionsPage::eventFilter(watched, event);
}

void SubscriberPage::bAddClick() {
    TInRaion editor(true, window());
    if (editor.exec() == QDialog::Accepted)
        ui_->lvRaion->addTopLevelItem(raionItem({editor.eNumber->text(), editor.eRaion->text()}));
    ui_->lvRaion->setFocus();
}

void SubscriberPage::bPropClick() {
    const QList<QTreeWidgetItem*> selected = ui_->lvRaion->selectedItems();
    if (selected.isEmpty()) return;
    // The first selected row in list order, whatever order they were picked in.
    QTreeWidgetItem* item = selected.first();
    for (QTreeWidgetItem* s : selected)
        if (ui_->lvRaion->indexOfTopLevelItem(s) < ui_->lvRaion->indexOfTopLevelItem(item))
            item = s;
    TInRaion editor(false, window());
    editor.eNumber->setText(item->text(0));
    editor.eRaion->setText(item->text(1));
    if (editor.exec() == QDialog::Accepted) {
        item->setText(0, editor.eNumber->text());
        item->setText(1, editor.eRaion->text());
        item->setData(0, kSeparatedRole, true);
    }
    ui_->lvRaion->setFocus();
}

void SubscriberPage::bDelClick() {
    qDeleteAll(ui_->lvRaion->selectedItems());
    ui_->lvRaion->setFocus();
}

}  // namespace zrk
