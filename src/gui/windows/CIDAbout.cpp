#include "gui/windows/CIDAbout.h"
#include "gui/windows/Centre.h"

#include "gui/settings/Form.h"
#include "core/settings/Settings.h"
#include "gui/windows/DialogLook.h"
#include "gui/windows/StatusIcons.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zrk {

TCIDAbout::TCIDAbout(QWidget* parent, TURL::Opener opener)
    : QDialog(parent, kFixedDialogFlags), urlAbout_(std::move(opener)) {
    setObjectName(QStringLiteral("CIDAbout"));
    setWindowTitle(tr("О программе"));
    setWindowIcon(programIcon());

    auto* frame = named<QFrame>("Bevel1", this);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);

    auto* icon = named<QLabel>("imgIcon", frame);
    icon->setPixmap(programIcon().pixmap(32, 32));
    icon->setFixedSize(32, 32);

    auto* product = new QLabel(
        QStringLiteral("Zrk Professional v") + QString::fromLatin1(kProgramVersion), frame);
    product->setObjectName(QStringLiteral("stProduct"));
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);

    // The name the main window's title gives the program, above the maker's notice.
    auto* notice = named<QLabel>(
        "stNotice",
        tr("Zrk Pro %1\n© Разработчики Zrk Pro, Москва").arg(QLatin1String(kProgramVersion)),
        frame);

    auto* stUrl = named<QLabel>("stUrl", QString::fromLatin1(kHomePage), frame);
    stUrl->setTextFormat(Qt::PlainText);
    styleAsLink(stUrl);
    stUrl->installEventFilter(this);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(product, 1);
    auto* inside = new QVBoxLayout(frame);
    inside->setContentsMargins(8, 8, 8, 8);
    inside->addLayout(top);
    inside->addWidget(notice);
    inside->addWidget(stUrl);

    auto* Button1 = named<QPushButton>("Button1", QStringLiteral("OK"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(frame);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);

    setFixedSize(sizeHint().expandedTo(QSize(219, 135)));
}

void TCIDAbout::stUrlClick() {
    urlAbout_.URL = QString::fromLatin1(kHomePage);
    urlAbout_.OpenURL();
}

bool TCIDAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched->objectName() == QLatin1String("stUrl") &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        stUrlClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TCIDAbout::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
}

}  // namespace zrk
