#include "gui/settings/Options.h"

#include "ui_Options.h"

#include "gui/settings/ActionsPage.h"
#include "gui/settings/AddressBookPage.h"
#include "gui/settings/CallActionsPage.h"
#include "gui/settings/FontPage.h"
#include "gui/settings/GeneralPage.h"
#include "gui/settings/NetworkPage.h"
#include "gui/settings/OptionsHost.h"
#include "gui/settings/RingPage.h"
#include "gui/settings/SchedulePage.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "gui/settings/SubscriberPage.h"

#include <QKeyEvent>

namespace zrk {

TOptions::TOptions(OptionsHost& host, QWidget* parent) : TOptions(host, DeviceRoots(), parent) {}

TOptions::TOptions(OptionsHost& host, const DeviceRoots& roots, QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\Options"), parent),
      host_(host),
      ui_(makeForm<Ui::Options>(this)) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    TIni& s = ini();
    addPage(new GeneralPage(s, this), tr("Общие"));
    addPage(modem_ = new ModemPage(s, roots, this), tr("Модем"));
    addPage(new RingPage(s, this), tr("Звонок"));
    addPage(font_ = new FontPage(s, this), tr("Шрифт"));
    addPage(new SubscriberPage(s, host_, this), tr("Абонент"));
    addPage(new ActionsPage(s, this), tr("Действия"));
    addPage(new SchedulePage(s, this), tr("Расписание"));
    // The keys walk the pages' controls, then OK and Отмена, as they always did.
    QWidget* last = pages_.last();
    while (pages_.last()->isAncestorOf(last->nextInFocusChain())) last = last->nextInFocusChain();
    setTabOrder(last, ui_->bOK);
    setTabOrder(ui_->bOK, ui_->bCansel);
    addPage(new NetworkPage(host_, s, this), tr("Сеть"));
    addPage(new AddressBookPage(s, this), tr("Адресная книга"));
    addPage(new CallActionsPage(s, this), tr("Действия при звонке"));
    ui_->PageControl1->setCurrentIndex(0);
    connect(ui_->bOK, &QPushButton::clicked, this, &TOptions::bOKClick);
    connect(ui_->bCansel, &QPushButton::clicked, this, &QDialog::reject);
    move(229, 165);  // until a position of the user's is stored
    placement_.restoreOrReport(this);
}

void TOptions::addPage(OptionsPage* page, const QString& title) {
    ui_->PageControl1->addTab(page, title);
    pages_.append(page);
}

bool TOptions::portChanged() const {
    return modem_->portChanged();
}

bool TOptions::fontsChanged() const {
    return font_->fontsChanged();
}

void TOptions::attempt(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        host_.reportError(std::current_exception());
    }
}

void TOptions::bOKClick() {
    // The windows take up the choice before it is written: it takes effect even when the
    // store refuses it (it is said, and saved again at exit).
    changeSettings(SettingsChange::Confirmed, [this](TIni& s) {
        for (OptionsPage* page : pages_) page->store(s);
    });
    for (OptionsPage* page : pages_) attempt([page] { page->save(); });
    attempt([] { SaveSettings(ini()); });
    if (modem_->portChanged()) {
        attempt([this] { host_.ClosePortClick(); });
        // The schedule may just have closed the port: a new device must not open it again.
        if (!host_.TimeToClose()) attempt([this] { host_.OpenPortClick(); });
    }
    accept();
}

void TOptions::keyPressEvent(QKeyEvent* event) {
    // Esc does not cancel this dialog: a slip of the finger must not lose a page of changes.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace zrk
