#include "gui/book/ItemInfo.h"

#include "ui_ItemInfo.h"
#include "gui/windows/DialogLook.h"
#include "gui/windows/Line.h"

#include <QMouseEvent>
#include <QRegularExpression>

namespace zrk {

void setHomePage(TURL& url, const QString& text) {
    for (TURLType t :
         {utHttp, utHttps, utFtp, utFile, utMailto, utNews, utGopher, utTelnet, utWais}) {
        const QString prefix = urlPrefix(t);
        if (text.startsWith(prefix, Qt::CaseInsensitive)) {
            url.URLType = t;
            url.URL = text.mid(prefix.size());
            return;
        }
    }
    // Any other scheme (sftp://, tel:, ssh://, ...) is the user's: opened as it stands.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    url.URLType = scheme.match(text).hasMatch() ? utNone : utHttp;
    url.URL = text;
}

TItemInfo::TItemInfo(QWidget* parent, TURL::Opener opener)
    : PlacedDialog(QStringLiteral("Position\\InfoItem"), parent, kFixedDialogFlags),
      ui_(makeForm<Ui::TItemInfo>(this)),
      urlAddress_(std::move(opener)) {
    setObjectName(QStringLiteral("ItemInfo"));
    connect(ui_->bOK, &QPushButton::clicked, this, &QDialog::accept);
    // The four captions that are links: blue, underlined, with the hand.
    for (QLabel* link : {ui_->lPhone, ui_->lWork, ui_->lEMail, ui_->lWWW}) {
        styleAsLink(link);
        link->installEventFilter(this);
    }
    fixDialogSize(this, 392, 157);
    placed_ = placement_.restoreOrReport(this);
}

void TItemInfo::InitForm(const BookEntry& e) {
    ui_->stFIO->setText(e.Name.text());
    ui_->stPhone->setText(e.Phone.text());
    ui_->stWork->setText(e.WorkPhone.text());
    ui_->stAdres->setText(e.Address.text());
    ui_->stEMail->setText(e.EMail.text());
    ui_->stICQ->setText(e.Icq.text());
    ui_->stWWW->setText(e.HomePage.text());
    // A note's lines are separated by a carriage return alone; the label shows one line.
    ui_->stNote->setText(e.Note.text().replace(QLatin1Char('\r'), QLatin1Char(' ')));
}

void TItemInfo::showOver(const QWidget* owner) {
    if (!placed_ && !isVisible() && owner) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
}

void TItemInfo::dial(const QString& number) {
    if (line_) line_->dial(number);
}

void TItemInfo::stPhoneClick() {
    dial(ui_->stPhone->text());
}
void TItemInfo::stWorkClick() {
    dial(ui_->stWork->text());
}

void TItemInfo::stEMailClick() {
    urlAddress_.URLType = utMailto;
    urlAddress_.URL = ui_->stEMail->text();
    urlAddress_.OpenURL();  // a desktop that cannot open it has said so itself
}

void TItemInfo::stWWWClick() {
    setHomePage(urlAddress_, ui_->stWWW->text());
    urlAddress_.OpenURL();
}

bool TItemInfo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui_->lPhone)
            stPhoneClick();
        else if (watched == ui_->lWork)
            stWorkClick();
        else if (watched == ui_->lEMail)
            stEMailClick();
        else if (watched == ui_->lWWW)
            stWWWClick();
    }
    return QDialog::eventFilter(watched, event);
}

void TItemInfo::done(int result) {
    placed_ = true;
    PlacedDialog::done(result);
}

}  // namespace zrk
