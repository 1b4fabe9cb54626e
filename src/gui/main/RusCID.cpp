// The main window's start, close, showing and hiding, tray icon and failures.
#include "gui/main/RusCID.h"
#include "gui/main/Palette.h"

#include "core/call/CallDesk.h"
#include "core/platform/Registry.h"
#include "core/platform/StartTrace.h"
#include "core/platform/TimeText.h"
#include "core/platform/Values.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "gui/book/PhoneBook.h"
#include "gui/calls/HistoryWindow.h"
#include "gui/calls/ListRing.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/Icons.h"
#include "gui/main/TrayGesture.h"
#include "gui/reminders/ReminderWindows.h"
#include "gui/windows/FailurePresenter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

namespace zrk {

// Made in RusCIDLayout.cpp.
void buildLayout(TRusCID& window, RusCIDParts& c);
void buildMenus(TRusCID& window, RusCIDParts& c);

namespace {

int g_trayOverride = -1;

QTimer* makeTimer(QObject* parent, const char* name, int interval) {
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    return t;
}

}  // namespace

void TRusCID::setTrayAvailableOverride(int available) {
    g_trayOverride = available;
}

bool TRusCID::trayAvailable() const {
    return g_trayOverride >= 0 ? g_trayOverride == 1 : QSystemTrayIcon::isSystemTrayAvailable();
}

TRusCID::TRusCID(CallDesk& desk, QWidget* parent) : QWidget(parent), desk_(desk) {
    setObjectName(QStringLiteral("RusCID"));
    setWindowTitle(QStringLiteral("Zrk Pro %1").arg(QLatin1String(kProgramVersion)));
    setWindowIcon(appIcon());
    setFocusPolicy(Qt::StrongFocus);  // digits, Enter, Esc and Backspace are typed here
    c_.failures = new FailurePresenter(this);
    c_.failures->setOwner(this);
    c_.tTimer = makeTimer(this, "tTimer", 1000);
    c_.tRing = makeTimer(this, "tRing", 500);
    c_.tRinging = makeTimer(this, "tRinging", 200);
    c_.clockTimer = makeTimer(this, "clockTimer", 1000);
    traceStart("main window: timers");
    buildLayout(*this, c_);
    traceStart("main window: layout");
    buildMenus(*this, c_);
    traceStart("main window: menus");
    c_.icTray = new QSystemTrayIcon(this);
    c_.icTray->setObjectName(QStringLiteral("icTray"));
    c_.icTray->setContextMenu(c_.PopupMenu1);
    setTray(1);
    c_.trayGesture = new TrayGesture(
        [this] {
            if (ini().DoubleClick)
                mPShowClick();
            else
                desk_.togglePort();
        },
        QApplication::doubleClickInterval(), this);
    c_.trayGesture->setObjectName(QStringLiteral("trayGesture"));
    connect(c_.icTray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason r) {
                if (r == QSystemTrayIcon::Trigger)
                    c_.trayGesture->clicked(TrayGesture::Single);
                else if (r == QSystemTrayIcon::DoubleClick)
                    c_.trayGesture->clicked(TrayGesture::Double);
            });
    if (QSystemTrayIcon::isSystemTrayAvailable()) c_.icTray->show();
    traceStart("main window: tray");
    buildNotifier();
    wire();
    wireDesk();
    setRunWindows({});  // no reminder windows yet: nothing offers them
    connect(&settingsNotifier(), &SettingsNotifier::settingsChanged, this,
            &TRusCID::followSettings);
    resize(246, 168);
    move(245, 170);
    FormCreate();
    traceStart("main window: made");
    c_.clockTimer->start();
    c_.pClock->setText(localTimeText(QTime::currentTime(), false));
}

TRusCID::~TRusCID() {
    desk_.disconnect(this);
    delete c_.history;
    RegistryFile::setFailureReporter({});
}

void TRusCID::setRunWindows(const RunWindows& w) {
    windows_ = w;
    const bool reminders = windows_.reminders != nullptr;
    c_.mPReminder->setEnabled(reminders);
    c_.sbOpti->setEnabled(reminders);
    c_.N9->setEnabled(reminders);
    if (windows_.itemInfo) windows_.itemInfo->setLine(this);
    if (!windows_.book) return;
    windows_.book->setLine(this);
    windows_.book->setInfoForm(windows_.itemInfo);
    windows_.book->setPortActive(desk_.portActive());
    connect(windows_.book, &TPhoneBook::shownChanged, this, [this](bool shown) {
        setTextColour(c_.stPhones, shown ? ini().InfoColor : ini().NotActiveColor);
        c_.mPBook->setChecked(shown);
    });
}

void TRusCID::setTray(int icon, const QString& hint) {
    if (icon >= 0) c_.icTray->setIcon(trayIcon(icon));
    if (!hint.isNull()) c_.icTray->setToolTip(hint);
}

void TRusCID::FormCreate() {
    // A store that could not be read is reported once; the program goes on with defaults.
    if (!RegistryFile::user().loadError().isEmpty())
        c_.failures->show(
            Failure::make(Failure::Kind::Settings, RegistryFile::user().loadError(), true));
    // A position or setting the worker could not write is said as one written here would be.
    RegistryFile::setFailureReporter([this](const QString& text) {
        c_.failures->show(Failure::make(Failure::Kind::Settings, text));
    });
    try {
        LoadSettings(ini());
        traceStart("main window: settings");
    } catch (...) {
        // Every value that could be read is in; the bad ones keep their defaults.
        HandleException(std::current_exception());
    }
    InitFont();
    ViewSound();
    traceStart("main window: fonts");
    s_.hideOnIdle = ini().Minimized;
    try {
        placement_.restore(this);
    } catch (...) {
        HandleException(std::current_exception());
    }
    c_.mPStayOnTop->setChecked(ini().StayOnTop);
    c_.mPButton->setChecked(ini().Buttons);
    c_.mPClock->setChecked(ini().Clock);
    c_.mPTimer->setChecked(ini().Timer);
    c_.mPBook->setChecked(ini().PhoneBook);
    c_.pClock->setVisible(ini().Clock);
    c_.pTimer->setVisible(ini().Timer);
    applyStayOnTop(ini().StayOnTop);
    HeightForm();
    s_.callListShown = false;
    desk_.start();
    traceStart("main window: port and network");
    if (s_.hideOnIdle) {
        // Hidden at the first idle moment: the window is seen only in the tray.
        QTimer::singleShot(0, this, [this] {
            if (!s_.hideOnIdle) return;
            s_.hideOnIdle = false;
            hideToTray();
        });
    }
}

void TRusCID::hideToTray() {
    if (trayAvailable())
        hide();
    else
        showMinimized();  // no tray to come back from: keep it in the task bar
}

void TRusCID::updateShowItem() {
    const bool shown = isVisible() && !isMinimized();
    c_.mPShow->setText(shown ? tr("&Спрятать") : tr("&Восстановить"));
}

void TRusCID::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (isMinimized()) return;
    updateShowItem();
    if (ini().PhoneBook && windows_.book && c_.mPBook->isEnabled()) windows_.book->show();
}

void TRusCID::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Changing the window's flags hides it for a moment: that is no hiding by the user and
    // must not stop the talk timer.
    if (s_.closed || s_.reflagging) return;
    updateShowItem();
    RunStopTimer(false);
}

void TRusCID::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    updateShowItem();
    // Minimising sends the window to the tray, where there is one.
    if (isMinimized() && trayAvailable()) QTimer::singleShot(0, this, [this] { hide(); });
}

void TRusCID::closeSideWindows() {
    for (QWidget* w :
         {static_cast<QWidget*>(windows_.book), static_cast<QWidget*>(windows_.calls),
          static_cast<QWidget*>(windows_.reminders), static_cast<QWidget*>(c_.history)})
        if (w && w->isVisible()) w->close();
}

void TRusCID::mPShowClick() {
    if (isVisible() && !isMinimized()) {
        hideToTray();
        closeSideWindows();
    } else {
        showNormal();
        raise();
        activateWindow();
    }
}

void TRusCID::FormClose() {
    if (s_.closed) return;
    s_.closed = true;
    // What could not be saved is said before the program ends, not left in a box that
    // would vanish with it, nor in one of its own that a signal would wait on.
    c_.failures->startCollecting();
    Failures failures = desk_.close();
    const auto attempt = [&failures](const auto& f) {
        try {
            f();
        } catch (const std::exception& e) {
            failures.append(Failure::make(Failure::Kind::File, QString::fromUtf8(e.what())));
        }
    };
    attempt([this] { placement_.save(this); });
    // Shown or not, the book's last save must be on disk before the program ends.
    if (windows_.book) attempt([&] { failures += windows_.book->closeForExit(); });
    if (windows_.calls && windows_.calls->isVisible())
        attempt([&] { failures += windows_.calls->closeForExit(); });
    // What the list cannot save is told with the rest of the closing's failures.
    if (windows_.reminders) attempt([&] { failures += windows_.reminders->closeForExit(); });
    if (c_.history) attempt([&] { failures += c_.history->closeForExit(); });
    attempt([] { SaveSettings(ini()); });
    // Positions and settings are written by a worker: the last of them must be on disk too.
    if (const std::optional<QString> failure = RegistryFile::user().finishSaves())
        failures.append(Failure::make(Failure::Kind::File, *failure));
    for (const Failure& f : failures) c_.failures->show(f);
    c_.icTray->hide();
    c_.failures->reportCollected(s_.quietClose);
}

void TRusCID::closeQuietly() {
    if (s_.closed) return;
    s_.quietClose = true;
    close();
}

void TRusCID::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    QCoreApplication::quit();
}

void TRusCID::HandleException(std::exception_ptr error) {
    const Failure failure = failureOf(error);
    // The port's failure leaves the port off; anything else leaves it as it is.
    if (failure.kind == Failure::Kind::Port) showPort(false);
    c_.failures->show(failure);
}

}  // namespace zrk
