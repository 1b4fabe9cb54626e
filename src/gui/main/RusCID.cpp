// The main window's start, close, showing and hiding, tray icon and error handling.
#include "gui/main/Palette.h"
#include "gui/main/RusCID.h"

#include "gui/book/PhoneBook.h"
#include "gui/calls/HistoryWindow.h"
#include "gui/calls/ListRing.h"
#include "core/call/CallerReport.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/Icons.h"
#include "core/call/LineStatus.h"
#include "gui/main/TrayGesture.h"
#include "core/net/NcidLink.h"
#include "core/platform/Clock.h"
#include "core/platform/Registry.h"
#include "core/platform/StartTrace.h"
#include "core/platform/TimeText.h"
#include "gui/reminders/ReminderWindows.h"
#include "core/serial/Comm.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "core/platform/Values.h"

#include <QAction>
#include <QApplication>

#include <cstdio>

#include <cerrno>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

namespace zrk {
namespace {

int g_trayOverride = -1;

QTimer* makeTimer(QObject* parent, const char* name, int interval) {
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    return t;
}

}  // namespace

void TRusCID::setTrayAvailableOverride(int available) { g_trayOverride = available; }

bool TRusCID::trayAvailable() const {
    return g_trayOverride >= 0 ? g_trayOverride == 1 : QSystemTrayIcon::isSystemTrayAvailable();
}

TRusCID::TRusCID(std::shared_ptr<SerialDevice> device, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RusCID"));
    setWindowTitle(QStringLiteral("Zrk Pro %1").arg(QLatin1String(kProgramVersion)));
    setWindowIcon(appIcon());
    setFocusPolicy(Qt::StrongFocus);  // digits, Enter, Esc and Backspace are typed here
    Comm1 = new TComm(this, std::move(device));
    Comm1->setObjectName(QStringLiteral("Comm1"));
    Comm1->OnRxChar = [this](QObject* sender, qint32 count) { Comm1RxChar(sender, count); };
    Comm1->setHandlerErrorReporter([this](std::exception_ptr e) { HandleException(e); });
    // A modem pulled out (or a simulator ended) is said at once, not at the next command.
    Comm1->OnError = [this](QObject*, qint32 errors) {
        if (!(errors & kCeIoError) || !PortActive) return;
        SetStatus(4);
        Comm1->Close();
        throw ECommError(tr("Ошибка чтения"), EIO);
    };
    tTimer = makeTimer(this, "tTimer", 1000);
    tRing = makeTimer(this, "tRing", 500);
    tRinging = makeTimer(this, "tRinging", 200);
    tReDial = makeTimer(this, "tReDial", 1000);
    tReminder = makeTimer(this, "tReminder", 30000);
    clockTimer = makeTimer(this, "clockTimer", 1000);
    traceStart("main window: timers");
    buildLayout();
    traceStart("main window: layout");
    buildMenus();
    traceStart("main window: menus");
    buildTray();
    traceStart("main window: tray");
    buildNotifier();
    wire();
    connect(&settingsNotifier(), &SettingsNotifier::settingsChanged, this,
            &TRusCID::followSettings);
    resize(246, 168);
    move(245, 170);
    safely([this] { FormCreate(); });
    traceStart("main window: made");
    clockTimer->start();
    pClock->setText(localTimeText(QTime::currentTime(), false));
}

TRusCID::~TRusCID() {
    // The link saves its queue as it goes: no box from a window half destroyed.
    if (ncid_) ncid_->disconnect(this);
    delete history_;
    RegistryFile::setFailureReporter({});
}

void TRusCID::setRunWindows(const RunWindows& w) {
    windows_ = w;
    enableReminderCommands();
    if (windows_.itemInfo) windows_.itemInfo->setLine(this);
    if (windows_.book) {
        windows_.book->setLine(this);
        windows_.book->setInfoForm(windows_.itemInfo);
        windows_.book->setPortActive(PortActive);
    }
    if (windows_.book)
        connect(windows_.book, &TPhoneBook::shownChanged, this, [this](bool shown) {
            setTextColour(stPhones, shown ? ini().InfoColor : ini().NotActiveColor);
            mPBook->setChecked(shown);
        });
}

void TRusCID::buildTray() {
    icTray = new QSystemTrayIcon(this);
    icTray->setObjectName(QStringLiteral("icTray"));
    icTray->setContextMenu(PopupMenu1);
    setTrayIcon(1);
    trayGesture_ = new TrayGesture([this] { safely([this] { icTrayDblClick(); }); },
                                   QApplication::doubleClickInterval(), this);
    connect(icTray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger) trayGesture_->clicked(TrayGesture::Single);
        else if (r == QSystemTrayIcon::DoubleClick) trayGesture_->clicked(TrayGesture::Double);
    });
    if (QSystemTrayIcon::isSystemTrayAvailable()) icTray->show();
}

void TRusCID::icTrayDblClick() {
    if (ini().DoubleClick) mPShowClick();
    else sbOpenCloseClick();
}

void TRusCID::setTrayIcon(int index) {
    trayIcon_ = index;
    icTray->setIcon(trayIcon(index));
}

void TRusCID::setTrayHint(const QString& hint) {
    trayHint_ = hint;
    icTray->setToolTip(hint);
}

void TRusCID::FormCreate() {
    // A store that could not be read is reported once; the program goes on with defaults.
    if (!RegistryFile::user().loadError().isEmpty())
        showErrorBox(RegistryFile::user().loadError());
    // A position or setting the worker could not write is said as one written here would be.
    RegistryFile::setFailureReporter([this](const QString& text) {
        HandleException(std::make_exception_ptr(ERegistryException(text)));
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
    HideOnIdle = ini().Minimized;
    safely([this] { placement_.restore(this); });
    mPStayOnTop->setChecked(ini().StayOnTop);
    mPButton->setChecked(ini().Buttons);
    mPClock->setChecked(ini().Clock);
    mPTimer->setChecked(ini().Timer);
    mPBook->setChecked(ini().PhoneBook);
    pClock->setVisible(ini().Clock);
    pTimer->setVisible(ini().Timer);
    applyStayOnTop(ini().StayOnTop);
    HeightForm();
    CountCaller(0);
    CurrentNumber.clear();
    takeScheduleState();
    if (TimeToClose()) {
        idONOFF(false);
        SetStatus(4);
    } else {
        try {
            OpenPortClick();
        } catch (...) {
            HandleException(std::current_exception());
            SetStatus(4);
        }
    }
    traceStart("main window: port");
    TimeToNoSound();
    CallListShown = false;
    startNetwork();
    traceStart("main window: network");
    if (HideOnIdle) {
        // Hidden at the first idle moment: the window is seen only in the tray.
        QTimer::singleShot(0, this, [this] {
            if (!HideOnIdle) return;
            HideOnIdle = false;
            hideToTray();
        });
    }
}

bool TRusCID::TimeToClose() const { return ScheduleRules::portOff(ini(), now().time()); }

void TRusCID::TimeToNoSound() {
    if (!ScheduleRules::soundOff(ini(), now().time())) return;
    changeSettings(SettingsChange::Switched, [](TIni& s) { s.Sound = false; });
}

void TRusCID::hideToTray() {
    if (trayAvailable()) hide();
    else showMinimized();  // no tray to come back from: keep it in the task bar
}

void TRusCID::updateShowItem() {
    const bool shown = isVisible() && !isMinimized();
    mPShow->setText(shown ? tr("&Спрятать") : tr("&Восстановить"));
}

void TRusCID::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (isMinimized()) return;
    updateShowItem();
    if (ini().PhoneBook && windows_.book && mPBook->isEnabled()) windows_.book->show();
}

void TRusCID::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Changing the window's flags hides it for a moment: that is no hiding by the user and
    // must not stop the talk timer.
    if (closed_ || reflagging_) return;
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
    for (QWidget* w : {static_cast<QWidget*>(windows_.book), static_cast<QWidget*>(windows_.calls),
                       static_cast<QWidget*>(windows_.reminders), static_cast<QWidget*>(history_)})
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

void TRusCID::sbHideClick() {
    closeSideWindows();
    hideToTray();
}

void TRusCID::FormClose() {
    if (closed_) return;
    closed_ = true;
    if (PortActive) {
        PortActive = false;
        Comm1->Close();  // no command to the modem
    }
    // What could not be saved is said before the program ends, not left in a box that
    // would vanish with it, nor in one of its own that a signal would wait on.
    QStringList failures;
    const auto attempt = [&failures](const auto& f) {
        try {
            f();
        } catch (const std::exception& e) {
            failures.append(QString::fromUtf8(e.what()));
        }
    };
    if (ncid_) {
        const QMetaObject::Connection queueErrors =
            connect(ncid_, &NcidLink::fileError, this,
                    [&failures](const QString& t) { failures.append(t); });
        ncid_->stop();
        disconnect(queueErrors);
    }
    attempt([this] { placement_.save(this); });
    // Shown or not, the book's last save must be on disk before the program ends.
    if (windows_.book) attempt([&] { windows_.book->closeForExit(failures); });
    if (windows_.calls && windows_.calls->isVisible())
        attempt([&] { windows_.calls->closeForExit(failures); });
    closeReminders(failures);
    if (history_) attempt([&] { history_->closeForExit(failures); });
    attempt([] { SaveSettings(ini()); });
    // Positions and settings are written by a worker: the last of them must be on disk too.
    if (const std::optional<QString> failure = RegistryFile::user().finishSaves())
        failures.append(*failure);
    icTray->hide();
    if (failures.isEmpty()) return;
    const QString text = failures.join(QLatin1Char('\n'));
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (!quietClose_) QMessageBox::critical(nullptr, windowTitle(), text);
}

void TRusCID::closeQuietly() {
    if (closed_) return;
    quietClose_ = true;
    close();
}

void TRusCID::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    QCoreApplication::quit();
}

void TRusCID::HandleException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const ECommError& e) {
        idONOFF(false);
        showErrorBox(e.message());
    } catch (const Exception& e) {
        // Not the port's fault: the port stays as it is.
        showErrorOnce(e.message());
    } catch (const std::exception& e) {
        showErrorOnce(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showErrorBox(tr("Неизвестная ошибка"));
    }
}

void TRusCID::showErrorOnce(const QString& text) {
    if (shownErrors_.contains(text)) return;
    shownErrors_.insert(text);
    showErrorBox(text);
}

void TRusCID::showErrorBox(const QString& text, const QString& caption) {
    // Never modal here: a nested event loop would let the next batch of modem bytes run
    // inside the one that raised the error.
    auto* box = new QMessageBox(QMessageBox::Critical, caption.isEmpty() ? windowTitle() : caption,
                                text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("errorBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

}  // namespace zrk
