#include "gui/windows/WinAlert.h"
#include "gui/windows/Centre.h"

#include "gui/settings/Form.h"
#include "gui/windows/Line.h"
#include "gui/windows/StatusIcons.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace zrk {

namespace {

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* label = named<QLabel>(name, parent);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(1);  // a long name is cut, never widens the window
    return label;
}

}  // namespace

TWinAlert::TWinAlert(Line& line, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      line_(line),
      imgStatus_(new QLabel(this)),
      stFIO_(valueLabel(this, "stFIO")),
      stNumber_(valueLabel(this, "stNumber")),
      stGroup_(valueLabel(this, "stGroup")) {
    setObjectName(QStringLiteral("WinAlert"));
    setWindowTitle(tr("Сообщение о звонке"));
    setWindowIcon(programIcon());

    imgStatus_->setObjectName(QStringLiteral("imgStatus"));
    imgStatus_->setFixedSize(32, 32);
    imgStatus_->setAlignment(Qt::AlignCenter);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(imgStatus_, 0, 0, 3, 1, Qt::AlignCenter);
    const std::pair<const char*, QLabel*> rows[] = {{QT_TR_NOOP("ФИО:"), stFIO_},
                                                    {QT_TR_NOOP("Номер:"), stNumber_},
                                                    {QT_TR_NOOP("Группа:"), stGroup_}};
    int row = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(new QLabel(tr(caption), this), row, 1);
        grid->addWidget(value, row, 2);
        ++row;
    }
    grid->setColumnStretch(2, 1);

    auto* bExit = named<QPushButton>("bExit", tr("Ответить"), this);
    bExit->setDefault(true);
    auto* Button1 = named<QPushButton>("Button1", tr("Игнорировать"), this);
    Button1->setAutoDefault(false);
    connect(bExit, &QPushButton::clicked, this, &TWinAlert::bExitClick);
    connect(Button1, &QPushButton::clicked, this, &TWinAlert::Button1Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bExit);
    buttons->addWidget(Button1);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    // The design size, grown only where the desktop's font needs more room.
    setFixedSize(sizeHint().expandedTo(QSize(241, 96)));
}

void TWinAlert::InitForm(const QString& name, const QString& number, const QString& group,
                         int status) {
    imgStatus_->clear();
    const QPixmap picture = statusPixmap(status, 32);
    if (!picture.isNull()) imgStatus_->setPixmap(picture);
    stFIO_->setText(name);
    stNumber_->setText(number);
    stGroup_->setText(group);
}

void TWinAlert::bExitClick() {
    // A call not taken keeps the alert; the main window says why.
    if (line_.answer()) close();
}

void TWinAlert::Button1Click() {
    // Only the ring sound and blinking still to come are stopped; the call is not touched.
    line_.setRingActive(false);
    close();
}

void TWinAlert::keyPressEvent(QKeyEvent* event) {
    // Esc is the ignore button, not a plain close: the dialog's own reject would leave the
    // ringing going on.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TWinAlert::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
}

}  // namespace zrk
