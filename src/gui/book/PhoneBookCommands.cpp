// The phone book window's commands on entries and groups.
#include "gui/book/BookEditors.h"
#include "gui/book/PhoneBook.h"

#include "core/settings/Settings.h"
#include "gui/windows/Line.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLocale>
#include <QTreeView>

namespace zrk {
namespace {

QString attention() {
    return QCoreApplication::translate("zrk::TPhoneBook", "Внимание");
}

}  // namespace

void TPhoneBook::sbDialClick() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) return;
    const QString phone = model_->entry(rows.first()).Phone.text();
    if (line_) line_->dial(phone);
}

void TPhoneBook::sbAnswerClick() {
    if (line_) line_->answer();
}

void TPhoneBook::addWithNumber(const QString& number) {
    document_.waitForBook();  // the new entry goes into the whole book, not an empty one
    PendingPhone = number;
    sbAddClick();
}

void TPhoneBook::sbAddClick() {
    TBookItem dialog(
        {&store(), [this] { return cbGroup->currentIndex(); }, [this] { sbAddGrClick(); }}, this);
    dialog.setPhone(PendingPhone);
    prompts_.exec(dialog);
    PendingPhone.clear();
    if (!dialog.confirmed()) return;
    const BookEntry& e = dialog.Item;
    if (store().IsNum(StrictDialFilter(e.Phone.text()))) {
        prompts_.warn(attention(), tr("Запись с таким телефоном уже есть в книге."));
        return;
    }
    const int index = store().AddItem(e, true);
    const int pos = cbGroup->currentIndex();
    if (pos > 0 && pos != e.Group) {
        setSelector(e.Group);
        cbGroupChange();
    } else {
        ItemUpdate(model_->count(), true, index);
        ED();
    }
    save();
}

void TPhoneBook::sbDelClick() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) return;
    const QString question = rows.size() == 1 ? tr("Вы хотите удалить этот телефон?")
                                              : tr("Вы хотите удалить эти телефоны?");
    const QString caption = rows.size() == 1 ? tr("Удалить запись") : tr("Удалить записи");
    if (prompts_.ask(caption, question) != QMessageBox::Yes) return;
    // Exactly the entries of the selected rows, whatever other entries share their phone.
    std::vector<int> doomed;
    doomed.reserve(size_t(rows.size()));
    for (int r : rows) doomed.push_back(model_->masterIndex(r));
    store().RemoveItems(doomed);
    ItemsView();
    save();
}

void TPhoneBook::sbPropClick() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) return;
    const int row = rows.first();
    const int master = model_->masterIndex(row);
    const quint64 rebuildsBefore = rebuilds_;
    TBookItem dialog(
        {&store(), [this] { return cbGroup->currentIndex(); }, [this] { sbAddGrClick(); }}, this);
    dialog.Item = model_->entry(row);
    dialog.InitFormProp();
    prompts_.exec(dialog);
    if (!dialog.confirmed()) return;
    const BookEntry& e = dialog.Item;
    store().AddItem(e, false, master);
    const int pos = cbGroup->currentIndex();
    if (pos > 0 && pos != e.Group) {
        setSelector(e.Group);
        cbGroupChange();
    } else if (rebuilds_ != rebuildsBefore) {
        // "Создать группу" showed other rows meanwhile: the remembered row is gone.
        ItemsView();
    } else {
        ItemUpdate(row, false, master);
    }
    save();
}

void TPhoneBook::SetStatus(int status) {
    for (int r : selectedRows()) {
        store().setStatus(model_->masterIndex(r), status);
        ItemUpdate(r, false, model_->masterIndex(r));
    }
    save();
}

void TPhoneBook::SetGroup(int group) {
    for (int r : selectedRows()) store().setGroup(model_->masterIndex(r), group);
    if (cbGroup->currentIndex() > 0) ItemsView();
    save();
}

void TPhoneBook::sbInfoClick() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) return;
    TItemInfo* form = infoForm();
    form->InitForm(model_->entry(rows.first()));
    form->showOver(this);
}

void TPhoneBook::sbReminderClick() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || !reminderForm_) return;
    reminderForm_(model_->entry(rows.first()).Phone.text());
}

void TPhoneBook::mPOptiClick() {
    if (!columnChooser_ || !columnChooser_(this)) return;
    ColumCreate();
    ItemsView();
}

void TPhoneBook::cbGroupChange() {
    const int pos = cbGroup->currentIndex();
    if (pos == shownGroup_) return;
    shownGroup_ = pos;
    ini().Group = pos;
    ItemsView();
    lvBook->setFocus();
}

bool TPhoneBook::titleTaken(const QString& title, int except) {
    const QLocale locale;
    const QString wanted = locale.toUpper(title);
    for (int g = 0; g < store().groupCount(); ++g) {
        if (g == except || locale.toUpper(store().group(g).Text) != wanted) continue;
        prompts_.warn(tr("Ошибка"), tr("Такая группа уже есть."));
        return true;
    }
    return false;
}

void TPhoneBook::sbAddGrClick() {
    TGroupItem dialog(this);
    prompts_.exec(dialog);
    if (!dialog.confirmed()) return;
    if (titleTaken(dialog.Item.Title.text(), -1)) return;
    const int pos = store().AddGroup(dialog.Item, true);
    fillSelector();
    setSelector(pos);
    cbGroupChange();
    save();
    MenuCreate();
}

void TPhoneBook::sbPropGrClick() {
    const int pos = cbGroup->currentIndex();
    if (pos <= 0) return;
    TGroupItem dialog(this);
    dialog.Item = store().group(pos).Group;
    dialog.InitFormProp();
    prompts_.exec(dialog);
    if (!dialog.confirmed()) return;
    if (titleTaken(dialog.Item.Title.text(), pos)) return;
    store().AddGroup(dialog.Item, false, pos);
    fillSelector();
    setSelector(pos);
    save();
    MenuCreate();
}

void TPhoneBook::sbDelGrClick() {
    const int k = cbGroup->currentIndex();
    if (k <= 0) return;
    if (prompts_.ask(tr("Удалить группу"),
                     tr("Эта группа будет удалена со всем телефонами. Удалить?")) !=
        QMessageBox::Yes)
        return;
    // The group's own entries, found by their group and by nothing else.
    std::vector<int> doomed;
    for (int i = 0; i < store().count(); ++i)
        if (store().groupOf(i) == k) doomed.push_back(i);
    store().RemoveItems(doomed);
    store().RemoveGroup(k);
    fillSelector();
    setSelector(qMin(k, store().groupCount() - 1));
    shownGroup_ = -2;
    cbGroupChange();
    save();
    MenuCreate();
}

}  // namespace zrk
