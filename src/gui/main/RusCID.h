#pragma once
// TRusCID: the main window, the small always-on-top caller-ID display.
// It drives the call's rules (CallRules, ScheduleRules) and shows what they decide. Its
// implementation is split by concern: RusCID.cpp (start, close, show and hide, errors),
// RusCIDModem.cpp (port and modem lines), RusCIDCaller.cpp (a reported caller),
// RusCIDCall.cpp (answering and dialing), RusCIDDisplay.cpp (layout, fonts, toggles, keys),
// RusCIDOptions.cpp (following the settings), RusCIDReminder.cpp, RusCIDNetwork.cpp.
#include "core/call/CallRules.h"
#include "core/call/ScheduleRules.h"
#include "gui/reminders/ReminderHost.h"
#include "gui/settings/WindowPlacement.h"
#include "gui/windows/HistoryHost.h"
#include "gui/windows/Line.h"

#include <QPointer>
#include <QSet>
#include <QWidget>

#include <exception>
#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QMenu;
class QAction;
class QSystemTrayIcon;
class QTimer;
class QToolButton;

namespace zrk {

class CallNotifier;
class ClickLabel;
class SerialDevice;
class Sound;
class TComm;
class TrayGesture;
class TPhoneBook;
class TAlertReminder;
class TReminder;
class TWinAlert;
class TListRing;
class TAllScreen;
class TItemInfo;
class HistoryWindow;
class OptionsHost;
class NcidLink;
struct TIni;
enum class SettingsChange;

// The windows that live for the whole run besides the main window, created after it.
struct RunWindows {
    TPhoneBook* book = nullptr;
    TAlertReminder* alertReminder = nullptr;
    TReminder* reminders = nullptr;
    TWinAlert* alert = nullptr;
    TListRing* calls = nullptr;
    TAllScreen* allScreen = nullptr;
    TItemInfo* itemInfo = nullptr;
};

class TRusCID : public QWidget, public Line, public ReminderHost, public HistoryHost {
    Q_OBJECT
public:
    // `device`: the serial device behind the port (tests pass a fake); none: the real one.
    explicit TRusCID(std::shared_ptr<SerialDevice> device = {}, QWidget* parent = nullptr);
    ~TRusCID() override;

    void setRunWindows(const RunWindows& w);
    // Where the run windows come after the main window (the program's start): makes them
    // before a reported caller needs them.
    void setRunWindowsMaker(std::function<void()> make) { makeRunWindows_ = std::move(make); }
    // Where the desktop has no tray, hiding would strand the user: the window minimises.
    static void setTrayAvailableOverride(int available);  // -1: ask the desktop
    bool trayAvailable() const;

    // Line
    void ViewNumber(const QString& number, bool identified) override;
    void sbDialClick() override;
    void sbAnswerClick() override;
    int callCount() const override { return CallCount; }
    void CountCaller(int count) override;
    void setRingActive(bool active) override { calls_.setRingActive(active); }
    void setCallListShown(bool shown) override { CallListShown = shown; }

    // Modem conversation
    void OpenPortClick();
    void ClosePortClick();
    void sbOpenCloseClick();
    void idONOFF(bool on);
    void SetStatus(int code);
    void SendATCom(const QString& command);
    void Comm1RxChar(QObject* sender, qint32 count);
    // The byte-level work of a received batch; also fed by tests.
    void processBatch(const char* data, qint32 size);

    // A reported caller
    void StNumber(const QString& report);

    // Reminders (RusCIDReminder.cpp): the timer's tick, the list's and the form's commands.
    void tReminderTimer();
    void mPReminderClick();
    void mPReminClick();
    void setReminderTimer(bool on) override;
    void runSchedules() override;
    // The schedules' state now: what the next tick compares with (start, options OK).
    void takeScheduleState();
    void reminderListClosed() override;
    void playReminderSound(const QString& fileName) override;
    // The call history (RusCIDHistory.cpp): made on first use, one window, deleted on close.
    void mPHistoryClick();
    HistoryWindow* historyWindow() const;
    void addNumberToBook(const QString& number) override;
    void addReminderForNumber(const QString& number) override;
    // The NCID server link (RusCIDNetwork.cpp): (re)started from the settings at start and
    // on options OK; the server's calls and rings enter as the modem's would.
    void startNetwork();
    void remoteRing();
    // A desk that only shows the server's calls: no port, no port error, said in the status.
    void showNoModem();
    // `line`: the server's line label; "-" or empty for a single line. `name`: the server's,
    // shown where the book does not know the number.
    void remoteReport(const QString& number, const QString& line = {}, const QString& name = {});
    // A call over before it could ring here (blocked by the server, or while this desk had
    // no link): listed, counted and logged with its mark and time, nothing rung or done.
    void remoteRecord(const QString& number, const QString& line, const QString& name,
                      const QDateTime& when, const QString& mark);
    QString networkState() const;
    NcidLink* ncidLink() const { return ncid_; }
    // Desktop notifications of the calls (RusCIDNotify.cpp).
    CallNotifier* callNotifier() const { return notifier_; }
    // Hidden, minimised, or nowhere on the screen.
    bool outOfSight() const;
    // A notification's "Показать": shown, raised and active, from the tray too.
    void bringForward();

    // Display
    void InitFont();
    void HeightForm();
    void ViewSound();
    void RunStopTimer(bool on);
    void tTimerTimer();

    // Lifecycle
    void HandleException(std::exception_ptr error) override;
    bool TimeToClose() const;
    void TimeToNoSound();
    void mPShowClick();
    void icTrayDblClick();
    TrayGesture* trayGesture() const { return trayGesture_; }
    void sbHideClick();
    void hideToTray();
    void FormClose();
    // Closes as the window's close does, but never waits for the user (a signal, the end of
    // the desktop session): what could not be saved goes to the standard error stream.
    void closeQuietly();

    // Options: opens the options dialog modally; what it asks of this window. The window
    // follows every change the settings announce.
    void OptiClick();
    std::unique_ptr<OptionsHost> makeOptionsHost();
    void followSettings(const TIni& before, SettingsChange how);

    // Runs `f`, handing any error to HandleException: no error may escape into the toolkit.
    template <class F>
    void safely(F&& f) {
        try {
            f();
        } catch (...) {
            HandleException(std::current_exception());
        }
    }

    TComm* comm() const { return Comm1; }
    bool portActive() const { return PortActive; }
    const QString& currentNumber() const { return CurrentNumber; }
    int ringCount() const { return calls_.ringCount(); }
    bool ringActive() const { return calls_.ringActive(); }
    int callerClass() const { return calls_.callerClass(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildLayout();
    void buildMenus();
    void buildTray();
    void wire();
    void setTrayIcon(int index);
    void setTrayHint(const QString& hint);
    // Never modal: the modem's data goes on being read under the box. `caption`: the
    // window's title unless given (the files' errors say "Ошибка").
    void showErrorBox(const QString& text, const QString& caption = {});
    // The same trouble (a full disk for the log, say) is shown once in the run.
    void showErrorOnce(const QString& text);
    void applyStayOnTop(bool on);
    void setInfoCaption(const QString& caption);
    void setInfoHint(const QString& hint, bool show);
    void fitNumberFont();
    void closeSideWindows();
    void wireReminders();
    void enableReminderCommands();
    // Alerts back into the list, the list saved; what fails is added to `failures`.
    void closeReminders(QStringList& failures);
    void signalRing(bool newCall);
    void shareCall(const QString& number, const QString& name);
    void buildNotifier();
    bool showBalloon(const QString& title, const QString& text, int urgency);
    void performAction(int action, const QString& name, const QString& shown, int status,
                       const QString& group);
    // The book's entry for a caller, once the book has been read.
    CallerInfo lookUpCaller(const QString& number);
    void updateShowItem();

public:
    void FormKeyPress(QChar key);
    // Ringing and call actions
    void Wave();
    void tRingTimer();
    void tRingingTimer();
    void Ringing(bool steady);
    void tReDialTimer();
    void digitClick(int digit);
    void sbFlashClick();
    void CIDClick();
    void stSoundClick();
    // The sounds of this window; tests replace it to see what would be played.
    void setSound(std::shared_ptr<Sound> sound);

    // Controls, named as the rest of the program and the tests know them.
    QFrame* pTools = nullptr;
    QLabel* pNumber = nullptr;
    QLabel* pInfo = nullptr;
    QLabel* pClock = nullptr;
    ClickLabel* stSound = nullptr;
    ClickLabel* stPhones = nullptr;
    ClickLabel* stPort = nullptr;
    ClickLabel* stButtons = nullptr;
    QLabel* stZvon = nullptr;
    ClickLabel* pTimer = nullptr;
    ClickLabel* pCountCall = nullptr;
    QToolButton* sbViewListRing = nullptr;
    QToolButton* sbAnswer = nullptr;
    QToolButton* sbKeys[10] = {};  // sb0 .. sb9
    QToolButton* sbFlash = nullptr;
    QToolButton* sbDial = nullptr;
    QToolButton* sbBook = nullptr;
    QToolButton* sbOpti = nullptr;
    QToolButton* sbOpenClose = nullptr;
    QToolButton* sbHide = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QAction* mPShow = nullptr;
    QAction* mPStayOnTop = nullptr;
    QAction* mPButton = nullptr;
    QAction* mPClock = nullptr;
    QAction* mPTimer = nullptr;
    QAction* mPBook = nullptr;
    QAction* mPReminder = nullptr;
    QAction* mPHistory = nullptr;
    QAction* mPOpenPort = nullptr;
    QAction* mPClosePort = nullptr;
    QAction* mPOpti = nullptr;
    QAction* mPAbout = nullptr;
    QAction* mPExit = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* mPReDial = nullptr;
    QAction* N2 = nullptr;
    QAction* CID = nullptr;
    QAction* mPAnswer = nullptr;
    QAction* N8 = nullptr;
    QAction* N9 = nullptr;

    QTimer* tTimer = nullptr;
    QTimer* tRing = nullptr;
    QTimer* tRinging = nullptr;
    QTimer* tCallOver = nullptr;  // the silence after the last ring that ends the call
    QTimer* tReDial = nullptr;
    QTimer* tReminder = nullptr;
    QTimer* clockTimer = nullptr;

    QSystemTrayIcon* icTray = nullptr;

private:
    TComm* Comm1 = nullptr;
    TrayGesture* trayGesture_ = nullptr;
    RunWindows windows_;
    std::function<void()> makeRunWindows_;
    WindowPlacement placement_{QStringLiteral("Position\\Main"), false};
    CallRules calls_;  // the ring, the caller, the dial
    ScheduleRules schedules_;

    bool HideOnIdle = false;
    bool PortActive = false;
    int BlinkCount = 0;
    int BlinkPhase = 0;  // shared by both blink timers
    std::shared_ptr<Sound> sound_;
    QString CurrentNumber;
    int CallCount = 0;
    bool CallListShown = false;
    int talkSeconds_ = 0;
    QPoint dragStart_;
    bool closed_ = false;
    bool reflagging_ = false;  // a change of window flags hides and shows the window again
    bool quietClose_ = false;
    int trayIcon_ = 1;
    QString trayHint_;
    QString infoHint_;
    QSet<QString> shownErrors_;  // errors other than the port's are shown once each
    NcidLink* ncid_ = nullptr;
    CallNotifier* notifier_ = nullptr;
    QPointer<HistoryWindow> history_;
    bool remoteCall_ = false;  // the call being processed came from the NCID server
    QString remoteLine_;       // its line label, where the office has several lines
    QString remoteName_;       // the name the server gave it
};

}  // namespace zrk
