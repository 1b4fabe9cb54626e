#pragma once
// The phone book window. It owns the phone book for the whole run and loads it when it is
// created, so that callers are found from the first call on. (Its browsing and editing
// controls are still to come; for now it is a hidden window that keeps the book.)
#include "book/BookStore.h"
#include "settings/WindowPlacement.h"

#include <QWidget>

namespace zrk {

class TPhoneBook : public QWidget {
    Q_OBJECT
public:
    explicit TPhoneBook(QWidget* parent = nullptr);

    BookStore& store() { return store_; }
    const BookStore& store() const { return store_; }

signals:
    void shownChanged(bool shown);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    BookStore store_;
    WindowPlacement placement_{QStringLiteral("Position\\PhoneBook"), true};
};

// The entry information window (hidden until the phone book opens it).
class TItemInfo : public QWidget {
    Q_OBJECT
public:
    explicit TItemInfo(QWidget* parent = nullptr);
};

}  // namespace zrk
