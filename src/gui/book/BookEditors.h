#pragma once
// TBookItem: the phone book entry editor. TGroupItem: the phone book group editor.
// Each is made for one modal use on a record the phone book copies in (edit mode) and reads back
// out after "OK".
#include "core/book/BookRecords.h"
#include "gui/settings/Form.h"
#include "gui/settings/PlacedDialog.h"

#include <functional>

namespace Ui {
class TBookItem;
class TGroupItem;
}  // namespace Ui

namespace zrk {

class BookStore;

// What the entry editor needs of the phone book: its groups, the position its group
// selector shows, and its add-group command (which may add a group and move the selector).
struct GroupSource {
    const BookStore* store = nullptr;
    std::function<int()> selectorPosition;
    std::function<void()> addGroup;
};

class TBookItem : public PlacedDialog {
    Q_OBJECT
public:
    explicit TBookItem(GroupSource groups, QWidget* parent = nullptr);

    // The held record: filled from the controls by "OK".
    BookEntry Item = BookEntry::empty();
    // Set only by "OK".
    bool confirmed() const { return confirmed_; }

    // The group list: "[Общая]" and every saved group, at the phone book's selector position.
    void CreateListGr();
    // Edit mode: the caption and every control from `Item`.
    void InitFormProp();
    // Add mode: the phone a new entry starts with.
    void setPhone(const QString& phone);

private:
    void phoneChanged();
    void bOKClick();

    FormPtr<Ui::TBookItem> ui_;
    GroupSource groups_;
    bool confirmed_ = false;
};

class TGroupItem : public PlacedDialog {
    Q_OBJECT
public:
    explicit TGroupItem(QWidget* parent = nullptr);

    BookGroup Item = BookGroup::empty();
    bool confirmed() const { return confirmed_; }

    // Edit mode: the caption and the controls from `Item`.
    void InitFormProp();

    // Asks for a sound file; the desktop's file dialog unless replaced (tests). An empty
    // answer leaves the box as it is.
    void setFileChooser(std::function<QString(QWidget* parent)> choose) {
        chooseFile_ = std::move(choose);
    }
    void feSoundBrowse();

private:
    void titleChanged();
    void bOKClick();

    FormPtr<Ui::TGroupItem> ui_;
    std::function<QString(QWidget*)> chooseFile_;
    bool confirmed_ = false;
};

}  // namespace zrk
