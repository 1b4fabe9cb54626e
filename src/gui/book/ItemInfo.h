#pragma once
// TItemInfo: the entry information form, one phone book entry in full.
// Every field of one entry, with links that dial a phone, write an e-mail or open a home page. One
// for the whole run, shown beside the phone book.
#include "core/book/BookRecords.h"
#include "gui/settings/Form.h"
#include "gui/settings/PlacedDialog.h"
#include "gui/windows/URL.h"

class QLabel;

namespace Ui {
class TItemInfo;
}

namespace zrk {

class Line;

// How "Home Page:" opens `text`: a text that starts with a scheme of its own ("https://",
// "sftp://", "tel:", ...) as it stands, a known scheme in any letter case written as the
// desktop expects it, anything else behind "http://".
void setHomePage(TURL& url, const QString& text);

class TItemInfo : public PlacedDialog {
    Q_OBJECT
public:
    explicit TItemInfo(QWidget* parent = nullptr, TURL::Opener opener = {});

    // The window that dials the phone links; without one they do nothing.
    void setLine(Line* line) { line_ = line; }

    // Shows `entry` until it is filled again.
    void InitForm(const BookEntry& entry);
    // Shows the form, centred on `owner` until it has a place of its own.
    void showOver(const QWidget* owner);

    // The link of a caption: "Телефон:", "Рабочий:", "E-Mail:", "Home Page:".
    void stPhoneClick();
    void stWorkClick();
    void stEMailClick();
    void stWWWClick();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dial(const QString& number);

    FormPtr<Ui::TItemInfo> ui_;
    Line* line_ = nullptr;
    TURL urlAddress_;
    bool placed_ = false;  // a stored place, or one the user left it at
};

}  // namespace zrk
