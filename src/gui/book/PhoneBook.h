#pragma once
// TPhoneBook: the phone book window, a view of the book document. Shown, it lists the entries
// of one group or of all, and carries every command on entries and groups; every change goes
// to the document, which saves it in the background: the window never waits for the disk,
// except when it closes.
#include "core/book/BookDocument.h"
#include "gui/book/BookModel.h"
#include "gui/book/ItemInfo.h"
#include "gui/settings/WindowPlacement.h"

#include <QMainWindow>
#include <QMessageBox>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QMenu;
class QToolButton;
class QTreeView;

namespace zrk {

class Line;

// How the window asks and tells; the desktop's message boxes unless replaced (tests).
struct BookPrompts {
    // A modal dialog; returns its result.
    std::function<int(QDialog& dialog)> exec;
    // The question before a delete, under a caption that names it; only Yes (the button
    // "Удалить") proceeds.
    std::function<QMessageBox::StandardButton(const QString& caption, const QString& text)> ask;
    // A warning with OK.
    std::function<void(const QString& caption, const QString& text)> warn;
    // An error with OK: what could not be saved or read. The desktop's: the failure presenter.
    std::function<void(const QString& caption, const QString& text)> error;
    // The desktop's file dialogs: a file to read, a file to write (`filter` in and out: the
    // filter chosen). Empty: the user cancelled.
    std::function<QString(const QString& caption, const QString& filters)> openFile;
    std::function<QString(const QString& caption, const QString& filters, QString* filter)>
        saveFile;
};

class TPhoneBook : public QMainWindow {
    Q_OBJECT
public:
    // A view of `document`; restores the stored place, size and column widths. While the
    // book is being read the window waits disabled.
    explicit TPhoneBook(BookDocument& document, QWidget* parent = nullptr);
    ~TPhoneBook() override;

    BookDocument& document() { return document_; }
    BookModel& rows() { return *model_; }
    bool isLoaded() const { return document_.isLoaded(); }

    // The main window, through which the book dials and picks up.
    void setLine(Line* line);
    // The one information form of the run; without one the book makes its own.
    void setInfoForm(TItemInfo* form);
    // The main window's port opened or closed: dial and pick-up follow it.
    void setPortActive(bool active);
    // The reminder form, given the number of the entry; the command is off until set.
    void setReminderForm(std::function<void(const QString& number)> open);
    // The column chooser; true when the user changed the columns. Off until set.
    void setColumnChooser(std::function<bool(QWidget* parent)> choose);
    void setPrompts(BookPrompts prompts);
    // Syncs the book with its address book now; none: no address book, the command is off.
    void setAddressBookSync(std::function<void()> run);
    // How the address book's sync goes, in the status line.
    void showSyncStatus(const QString& text);

    // At the end of the program: closes as the user's close does (shown or not, it waits for
    // the last save), but what cannot be kept is returned instead of being shown (nobody may
    // be there to click a box).
    Failures closeForExit();
    // Waits until the last change is on disk; a failure not told yet is told now.
    void finishSaves();

    // The main window's "&Добавить в книгу...": a new entry with `number`.
    void addWithNumber(const QString& number);

    void ColumCreate();
    // The group menu, the selector at the stored group, the rows: once the book is there.
    void showBook();
    void ItemsView();
    // Shows the entry at `index` in a new last row (isNew), or shows `row`'s entry again.
    void ItemUpdate(int row, bool isNew, int index);
    void ED();
    void MenuCreate();
    // The whole book, the rows on show, or the selected rows, to a vCard or CSV file.
    enum class ExportWhat { Book, Shown, Selected };
    void exportContacts(ExportWhat what);
    void SetStatus(int status);
    void SetGroup(int group);

    int SortField() const { return sortField_; }
    QString PendingPhone;

public slots:
    void sbDialClick();
    void sbAnswerClick();
    void sbAddClick();
    void sbDelClick();
    void sbPropClick();
    void sbInfoClick();
    void sbReminderClick();
    void cbGroupChange();
    void sbAddGrClick();
    void sbDelGrClick();
    void sbPropGrClick();
    void mPOptiClick();
    // Contacts from a vCard or CSV file, through the preview; saved once.
    void sbImportClick();
    // A click on the header of `column`.
    void lvBookColumnClick(int column);

signals:
    void shownChanged(bool shown);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void buildMenu();
    // An item of `menu` that runs `run`; a `key` of its own works in the list.
    QAction* addItem(QMenu* menu, const char* name, const QString& text, const QIcon& icon,
                     const QKeySequence& key, const std::function<void()>& run);
    // The selected rows, in row order.
    QList<int> selectedRows() const;
    // The selector at `position` without running its change.
    void setSelector(int position);
    // The selector's items from the group table.
    void fillSelector();
    // Whether a group other than `except` has `title`, ignoring case; if so the user is told.
    bool titleTaken(const QString& title, int except);
    void save() { document_.save(); }
    BookStore& store() { return document_.store(); }
    const BookStore& store() const { return document_.store(); }
    // Each failure in an error box (the prompts' error).
    void tell(const Failures& failures);
    void tellError(const QString& text);
    TItemInfo* infoForm();

    BookDocument& document_;  // before the rows, which refer to its book
    BookModel* model_;
    WindowPlacement placement_{QStringLiteral("Position\\PhoneBook"), true};
    Line* line_ = nullptr;
    TItemInfo* info_ = nullptr;
    bool portActive_ = true;
    int shownGroup_ = 0;
    int sortField_ = 1;
    quint64 rebuilds_ = 0;  // counts ItemsView, to see that rows were rebuilt meanwhile
    std::function<void(const QString&)> reminderForm_;
    std::function<bool(QWidget*)> columnChooser_;
    std::function<void()> syncNow_;
    BookPrompts prompts_;

    QTreeView* lvBook = nullptr;
    QComboBox* cbGroup = nullptr;
    QLabel* stStatus0 = nullptr;
    QLabel* stStatus1 = nullptr;
    QToolButton *sbDial = nullptr, *sbAnswer = nullptr, *sbAdd = nullptr, *sbDel = nullptr,
                *sbProp = nullptr, *sbInfo = nullptr, *sbReminder = nullptr, *sbAddGr = nullptr,
                *sbDelGr = nullptr, *sbPropGr = nullptr, *sbExit = nullptr, *sbImport = nullptr,
                *sbExport = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* mPGroupMenu = nullptr;
    QAction *mPDial = nullptr, *mPStatus = nullptr, *mPNormal = nullptr, *mPBad = nullptr,
            *mPPrior = nullptr, *mPAdd = nullptr, *mPDel = nullptr, *mPGroup = nullptr,
            *mPInfo = nullptr, *mPReminder = nullptr, *mPOpti = nullptr, *mPProp = nullptr,
            *mPImport = nullptr, *mPSync = nullptr, *mPExport = nullptr, *mPExportAll = nullptr,
            *mPExportShown = nullptr, *mPExportSelected = nullptr;
};

}  // namespace zrk
