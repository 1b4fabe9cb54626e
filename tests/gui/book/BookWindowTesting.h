#pragma once
// The phone book window on a fake main window, with its dialogs and questions answered by
// the test: each dialog the window opens takes the next of `answers` (none left: "Отмена").
#include "core/book/BookBytes.h"
#include "core/platform/Registry.h"
#include "gui/book/PhoneBook.h"
#include "core/settings/Settings.h"
#include "gui/windows/FakeLine.h"

#include "TestSupport.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeView>

#include <functional>
#include <memory>

namespace zrktest {

using Answer = std::function<void(QDialog&)>;

inline void setText(QDialog& d, const char* name, const QString& text) {
    QLineEdit* e = d.findChild<QLineEdit*>(name);
    QVERIFY2(e, name);
    e->setText(text);
}

inline void pick(QDialog& d, const char* name, int index) {
    QComboBox* c = d.findChild<QComboBox*>(name);
    QVERIFY2(c, name);
    c->setCurrentIndex(index);
}

inline void check(QDialog& d, const char* name) {
    QRadioButton* r = d.findChild<QRadioButton*>(name);
    QVERIFY2(r, name);
    r->setChecked(true);
}

// Changes what `edit` says and presses "OK".
inline Answer ok(const std::function<void(QDialog&)>& edit = {}) {
    return [edit](QDialog& d) {
        if (edit) edit(d);
        QPushButton* b = d.findChild<QPushButton*>("bOK");
        QVERIFY(b && b->isEnabled());
        b->click();
    };
}

// A test's own sandbox, on the default settings and a store read afresh.
struct BookSandbox : Sandbox {
    BookSandbox() {
        zrk::RegistryFile::resetUser();
        zrk::ini() = zrk::TIni::defaults();
    }
    ~BookSandbox() { zrk::RegistryFile::resetUser(); }
};

// The entry editor filled in; `group`: the position chosen in its group list (-1: as it opens).
inline Answer newEntry(const QString& name, const QString& phone, int group = -1) {
    return ok([=](QDialog& d) {
        setText(d, "eFIO", name);
        setText(d, "ePhone", phone);
        if (group >= 0) pick(d, "cbGr", group);
    });
}

inline Answer newGroup(const QString& title) {
    return ok([=](QDialog& d) { setText(d, "eTitle", title); });
}

struct BookWindow {
    // `file`: the book file to start from (null: none); `shown`: on screen from the start.
    explicit BookWindow(const QByteArray& file = QByteArray(), bool shown = false) {
        if (!file.isNull()) QVERIFY(writeAll("book.phn", file));
        document = std::make_unique<zrk::BookDocument>();
        QObject::connect(document.get(), &zrk::BookDocument::failed, [this](const zrk::Failure& f) {
            messages.shown << (f.caption.isEmpty() ? QString("Ошибка") : f.caption) + ": " + f.text;
        });
        book = std::make_unique<zrk::TPhoneBook>(*document);
        book->setLine(&line);
        zrk::BookPrompts p;
        p.exec = [this](QDialog& d) {
            dialogs << d.windowTitle();
            if (answers.isEmpty()) {
                d.reject();
                return int(QDialog::Rejected);
            }
            const Answer a = answers.takeFirst();
            a(d);
            return d.result();
        };
        p.ask = [this](const QString& caption, const QString& text) {
            told << caption + ": " + text;
            return reply;
        };
        p.warn = [this](const QString& caption, const QString& text) {
            told << caption + ": " + text;
        };
        p.error = [this](const QString& caption, const QString& text) {
            messages.shown << caption + ": " + text;
        };
        // The file dialogs take the next of `files` (none left: cancelled).
        p.openFile = [this](const QString& caption, const QString&) {
            dialogs << caption;
            return files.isEmpty() ? QString() : files.takeFirst();
        };
        p.saveFile = [this](const QString& caption, const QString&, QString* filter) {
            dialogs << caption;
            if (!saveFilter.isEmpty()) *filter = saveFilter;
            return files.isEmpty() ? QString() : files.takeFirst();
        };
        book->setPrompts(p);
        if (!shown) return;
        book->show();
        QVERIFY(QTest::qWaitForWindowExposed(book.get()));
    }

    template <typename T>
    T* child(const char* name) const {
        T* c = book->findChild<T*>(name);
        if (!c) qWarning("no %s", name);
        return c;
    }
    QTreeView* list() const { return child<QTreeView>("lvBook"); }
    QComboBox* selector() const { return child<QComboBox>("cbGroup"); }
    // The list's menu opened by its key at `at`, as a user opens it.
    void openMenu(const QPoint& at) {
        QContextMenuEvent key(QContextMenuEvent::Keyboard, at, list()->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(list()->viewport(), &key);
        QTRY_VERIFY(child<QMenu>("PopupMenu1")->isVisible());
    }

    void click(const char* name) { child<QToolButton>(name)->click(); }
    void trigger(const char* name) { child<QAction>(name)->trigger(); }
    bool enabled(const char* name) const {
        if (auto* b = book->findChild<QWidget*>(name)) return b->isEnabled();
        return child<QAction>(name)->isEnabled();
    }

    void select(const QList<int>& rows) {
        QItemSelectionModel* s = list()->selectionModel();
        s->clearSelection();
        for (int r : rows)
            s->select(list()->model()->index(r, 0),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // The rows' text in one column.
    QStringList rows(int column = 0) const {
        QStringList out;
        const QAbstractItemModel* m = list()->model();
        for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, column).data().toString();
        return out;
    }
    // name:phone:status:group of each entry of the book, in book order.
    QStringList entries() const {
        QStringList out;
        for (int i = 0; i < document->store().count(); ++i) {
            const zrk::BookEntry e = document->store().entry(i);
            out << QString("%1:%2:%3:%4")
                       .arg(e.Name.text(), e.Phone.text())
                       .arg(e.Status)
                       .arg(e.Group);
        }
        return out;
    }
    QStringList groups() const {
        QStringList out;
        for (int i = 0; i < selector()->count(); ++i) out << selector()->itemText(i);
        return out;
    }
    QString status() const { return child<QLabel>("stStatus0")->text(); }

    FakeLine line;
    struct {
        QStringList shown;
    } messages;  // the errors the window and its book showed
    std::unique_ptr<zrk::BookDocument> document;
    std::unique_ptr<zrk::TPhoneBook> book;
    QList<Answer> answers;
    QStringList files;    // what the file dialogs answer, in turn
    QString saveFilter;   // the filter chosen in the save dialog (empty: the first)
    QStringList dialogs;  // the captions of the dialogs opened
    QStringList told;     // the questions and warnings
    QMessageBox::StandardButton reply = QMessageBox::Yes;
};

}  // namespace zrktest
