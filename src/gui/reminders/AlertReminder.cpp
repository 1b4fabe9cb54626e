#include "gui/reminders/AlertReminder.h"

#include "core/platform/Clock.h"
#include "core/reminders/ReminderDocument.h"
#include "core/reminders/ReminderRules.h"
#include "gui/settings/Form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zrk {

TAlertReminder::TAlertReminder(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("AlertReminder"));
    setWindowTitle(tr("Напоминание"));
    setModal(false);

    pInfo = named<QLabel>("pInfo", this);
    pInfo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pInfo->setTextFormat(Qt::PlainText);
    mNote = named<QPlainTextEdit>("mNote", this);
    mNote->setTabChangesFocus(true);
    bCansel = named<QPushButton>("bCansel", QStringLiteral("OK"), this);
    bCansel->setDefault(true);
    bLater = named<QPushButton>("bLater", tr("Напомнить через:"), this);
    bLater->setAutoDefault(false);
    cbAlarmLater = named<QComboBox>("cbAlarmLater", this);
    cbAlarmLater->addItems(alarmLaterItems());
    srPN = named<QScrollBar>("srPN", Qt::Horizontal, this);
    srPN->setRange(0, 0);
    srPN->setFixedWidth(60);
    // The widest caption the button can get must fit from the start.
    bCansel->setMinimumWidth(bCansel->fontMetrics().horizontalAdvance(tr("Дальше - %1").arg(999)) +
                             24);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bCansel);
    buttons->addWidget(srPN);
    buttons->addStretch(1);
    buttons->addWidget(bLater);
    buttons->addWidget(cbAlarmLater);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pInfo);
    layout->addWidget(mNote, 1);
    layout->addLayout(buttons);
    resize(qMax(380, sizeHint().width()), 200);
    setFixedSize(size());
    move(260, 200);

    connect(bCansel, &QPushButton::clicked, this, &TAlertReminder::bCanselClick);
    connect(bLater, &QPushButton::clicked, this, &TAlertReminder::bLaterClick);
    connect(srPN, &QScrollBar::valueChanged, this, &TAlertReminder::srPNClick);
    placement_.restoreOrReport(this);
}

void TAlertReminder::setDocument(ReminderDocument& document) {
    if (document_) document_->disconnect(this);
    document_ = &document;
    connect(&document, &ReminderDocument::due, this, &TAlertReminder::showAlerts);
}

void TAlertReminder::showAlerts(const QList<ReminderRecord>& raised) {
    for (const ReminderRecord& r : raised) InitForm(r);
    View();
    if (isMinimized()) showNormal();  // a new alert is seen, not left in the task bar
    else show();
    raise();
}

int TAlertReminder::current() const {
    return qBound(0, srPN->value(), qMax(0, count() - 1));
}

void TAlertReminder::InitForm(const ReminderRecord& r) {
    queue_.append(TOBJAlerts(r));
}

void TAlertReminder::View() {
    if (queue_.isEmpty()) return;
    viewing_ = true;
    srPN->setMaximum(count() - 1);
    viewing_ = false;
    mNote->clear();
    cbAlarmLater->setCurrentIndex(0);
    const ReminderRecord& r = alert(current());
    pInfo->setText(alertInfo(r));
    mNote->setPlainText(noteLines(r.Note.text()).join(QLatin1Char('\n')));
    if (count() == 1) {
        bCansel->setText(QStringLiteral("OK"));
        srPN->setEnabled(false);
    } else {
        bCansel->setText(tr("Дальше - %1").arg(count() - 1));
        srPN->setEnabled(true);
        // A long queue's count must be read whole: the button, and the window if need be,
        // grow with it.
        if (bCansel->sizeHint().width() > bCansel->minimumWidth()) {
            bCansel->setMinimumWidth(bCansel->sizeHint().width());
            layout()->activate();
            if (minimumSizeHint().width() > width()) setFixedWidth(minimumSizeHint().width());
        }
    }
}

void TAlertReminder::NextAlert() {
    if (!queue_.isEmpty()) queue_.removeAt(current());
    viewing_ = true;
    srPN->setValue(0);
    viewing_ = false;
    if (!queue_.isEmpty()) View();
}

QList<ReminderRecord> TAlertReminder::takeAll() {
    QList<ReminderRecord> all;
    for (const TOBJAlerts& a : queue_) all.append(a.Rec);
    queue_.clear();
    return all;
}

void TAlertReminder::bCanselClick() {
    NextAlert();
    if (queue_.isEmpty()) close();
}

void TAlertReminder::bLaterClick() {
    if (queue_.isEmpty()) return;
    const ReminderRecord r =
        postpone(alert(current()), mNote->toPlainText(), now(), cbAlarmLater->currentIndex());
    if (document_) document_->addPostponed(r);
    NextAlert();
    if (queue_.isEmpty()) close();
}

void TAlertReminder::srPNClick() {
    if (!viewing_) View();
}

void TAlertReminder::reject() {
    bCanselClick();
}

void TAlertReminder::closeEvent(QCloseEvent* event) {
    // The close box keeps the queue: the dialog's own close would dismiss the alert.
    placement_.saveOnClose(this);
    event->accept();
}

}  // namespace zrk
