#include "gui/settings/CallActionsPage.h"

#include "ui_CallActionsPage.h"

#include "gui/settings/CallActionEditor.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

namespace zrk {

CallActionsPage::CallActionsPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::CallActionsPage>(this)), actions_(s.CallActions) {
    QTableWidget* table = ui_->tvCallActions;
    table->setRowCount(int(actions_.size()));
    for (int row = 0; row < table->rowCount(); ++row) showRow(row);
    // What the action does takes the room left; the rest fit their texts.
    for (int column : {0, 1, 3})
        table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table->installEventFilter(this);
    connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item->column() == 0)
            actions_[item->row()].enabled = item->checkState() == Qt::Checked;
    });
    connect(table, &QTableWidget::cellDoubleClicked, this, &CallActionsPage::bEditActionClick);
    connect(table, &QTableWidget::currentCellChanged, this, &CallActionsPage::enableButtons);
    connect(ui_->bAddAction, &QPushButton::clicked, this, &CallActionsPage::bAddActionClick);
    connect(ui_->bEditAction, &QPushButton::clicked, this, &CallActionsPage::bEditActionClick);
    connect(ui_->bDeleteAction, &QPushButton::clicked, this, &CallActionsPage::bDeleteActionClick);
    connect(ui_->bActionUp, &QPushButton::clicked, this, [this] { moveCurrent(-1); });
    connect(ui_->bActionDown, &QPushButton::clicked, this, [this] { moveCurrent(1); });
    selectRow(actions_.isEmpty() ? -1 : 0);
}

void CallActionsPage::showRow(int row) {
    const CallActionSpec& a = actions_[row];
    filling_ = true;
    auto* on = new QTableWidgetItem;
    on->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    on->setCheckState(a.enabled ? Qt::Checked : Qt::Unchecked);
    ui_->tvCallActions->setItem(row, 0, on);
    const QString texts[] = {CallActionEditor::eventTitle(a.event), CallActionEditor::summary(a),
                             CallActionEditor::filterTitle(a)};
    for (int column = 1; column <= 3; ++column) {
        auto* item = new QTableWidgetItem(texts[column - 1]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setToolTip(item->text());
        ui_->tvCallActions->setItem(row, column, item);
    }
    filling_ = false;
}

void CallActionsPage::selectRow(int row) {
    if (row >= 0) ui_->tvCallActions->setCurrentCell(row, 1);
    enableButtons();
}

void CallActionsPage::enableButtons() {
    const int row = ui_->tvCallActions->currentRow();
    const int last = int(actions_.size()) - 1;
    enableAll({ui_->bEditAction, ui_->bDeleteAction}, row >= 0);
    ui_->bActionUp->setEnabled(row > 0);
    ui_->bActionDown->setEnabled(row >= 0 && row < last);
}

void CallActionsPage::bAddActionClick() {
    CallActionEditor editor(CallActionSpec{}, true, window());
    if (editor.exec() == QDialog::Accepted) {
        actions_.append(editor.action());
        const int row = int(actions_.size()) - 1;
        ui_->tvCallActions->insertRow(row);
        showRow(row);
        selectRow(row);
    }
    ui_->tvCallActions->setFocus();
}

void CallActionsPage::bEditActionClick() {
    const int row = ui_->tvCallActions->currentRow();
    if (row < 0) return;
    CallActionEditor editor(actions_[row], false, window());
    if (editor.exec() == QDialog::Accepted) {
        actions_[row] = editor.action();
        showRow(row);
    }
    ui_->tvCallActions->setFocus();
}

void CallActionsPage::bDeleteActionClick() {
    const int row = ui_->tvCallActions->currentRow();
    if (row < 0) return;
    actions_.removeAt(row);
    ui_->tvCallActions->removeRow(row);
    selectRow(std::min(row, int(actions_.size()) - 1));
    ui_->tvCallActions->setFocus();
}

void CallActionsPage::moveCurrent(int by) {
    const int row = ui_->tvCallActions->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= actions_.size()) return;
    actions_.swapItemsAt(row, to);
    showRow(row);
    showRow(to);
    selectRow(to);
}

bool CallActionsPage::eventFilter(QObject* watched, QEvent* event) {
    // Enter edits the action: it must not reach the dialog, whose default button is OK.
    if (watched == ui_->tvCallActions && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            bEditActionClick();
            return true;
        }
        if (key == Qt::Key_Delete) {
            bDeleteActionClick();
            return true;
        }
        // Space switches the action on or off from any column of its row.
        const int row = ui_->tvCallActions->currentRow();
        if (key == Qt::Key_Space && row >= 0) {
            QTableWidgetItem* on = ui_->tvCallActions->item(row, 0);
            on->setCheckState(on->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            return true;
        }
    }
    return OptionsPage::eventFilter(watched, event);
}

void CallActionsPage::storeRest(TIni& s) {
    s.CallActions = actions_;
}

}  // namespace zrk
