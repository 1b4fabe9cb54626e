#include "book/PhoneBook.h"

#include <QCloseEvent>

namespace zrk {

TPhoneBook::TPhoneBook(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("PhoneBook"));
    setWindowTitle(QStringLiteral("Телефонная книга"));
    setGeometry(200, 150, 520, 320);
    placement_.restoreOrReport(this);
    store_.load();
}

void TPhoneBook::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit shownChanged(true);
}

void TPhoneBook::closeEvent(QCloseEvent* event) {
    placement_.saveOrReport(this);
    QWidget::closeEvent(event);
    emit shownChanged(false);
}

TItemInfo::TItemInfo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ItemInfo"));
}

}  // namespace zrk
