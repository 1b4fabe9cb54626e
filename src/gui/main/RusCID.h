#pragma once
// TRusCID: the main window, the small always-on-top caller-ID display. It is a view of the
// desk (CallDesk), which owns the line: the window shows what the desk's signals say
// (status, caller, count, rings) and sends it the user's commands. Its implementation is
// split by concern: RusCID.cpp (start, close, show and hide, failures), RusCIDDesk.cpp (the
// desk's signals shown), RusCIDLayout.cpp (the parts made), RusCIDDisplay.cpp (fonts, size,
// toggles, keys, the commands wired), RusCIDOptions.cpp, RusCIDReminder.cpp, RusCIDNotify.cpp.
#include "gui/main/RusCIDParts.h"
#include "gui/reminders/ReminderHost.h"
#include "gui/settings/WindowPlacement.h"
#include "gui/windows/HistoryHost.h"
#include "gui/windows/Line.h"

#include <QWidget>

#include <exception>
#include <memory>

namespace zrk {

class CallDesk;
struct CallerShown;
class Sound;
class TPhoneBook;
class TAlertReminder;
class TReminder;
class TWinAlert;
class TListRing;
class TAllScreen;
class TItemInfo;
class HistoryWindow;
class OptionsHost;
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
    // Shows `desk` and starts it (the port opened unless its schedule keeps it closed).
    explicit TRusCID(CallDesk& desk, QWidget* parent = nullptr);
    ~TRusCID() override;

    void setRunWindows(const RunWindows& w);
    // Where the desktop has no tray, hiding would strand the user: the window minimises.
    static void setTrayAvailableOverride(int available);  // -1: ask the desktop
    bool trayAvailable() const;
    // The sounds of this window; tests replace it to see what would be played.
    void setSound(std::shared_ptr<Sound> sound);

    // Line: forwarded to the desk.
    void ViewNumber(const QString& number, bool identified) override;
    void sbDialClick() override;
    void sbAnswerClick() override;
    int callCount() const override;
    void CountCaller(int count) override;
    void setRingActive(bool active) override;
    void setCallListShown(bool shown) override;
    void HandleException(std::exception_ptr error) override;

    // ReminderHost
    void reminderListClosed() override;
    void playReminderSound(const QString& fileName) override;
    // HistoryHost, and the history window: made on first use, one window, deleted on close.
    void addNumberToBook(const QString& number) override;
    void addReminderForNumber(const QString& number) override;
    HistoryWindow* historyWindow() const;

    // Shown or hidden as the tray's item does.
    void mPShowClick();
    // Closes the window: the desk closed, the run's data saved; what failed is said in one
    // box (and on the standard error stream) before the program ends.
    void FormClose();
    // Closes as the window's close does, but never waits for the user (a signal, the end of
    // the desktop session): what could not be saved goes to the standard error stream.
    void closeQuietly();
    // What the options dialog asks of this window.
    std::unique_ptr<OptionsHost> makeOptionsHost();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void wire();
    void wireDesk();
    void buildNotifier();
    // The desk's signals shown.
    void showPort(bool on);
    void showCaller(const CallerShown& caller);
    void showAnswer(bool incoming);
    void Ringing(bool steady);
    void followSettings(const TIni& before, SettingsChange how);
    void InitFont();
    void HeightForm();
    void applyStayOnTop(bool on);
    // New window flags, the window shown again if it was.
    void setFlagsShown(Qt::WindowFlags flags);
    void ViewSound();
    void RunStopTimer(bool on);
    void setTray(int icon, const QString& hint = {});
    void setInfoHint(const QString& hint, bool show);
    void closeSideWindows();
    void hideToTray();
    void updateShowItem();
    bool outOfSight() const;
    void bringForward();

    CallDesk& desk_;
    RusCIDParts c_;
    RusCIDState s_;
    RunWindows windows_;
    WindowPlacement placement_{QStringLiteral("Position\\Main"), false};
    std::shared_ptr<Sound> sound_;
};

}  // namespace zrk
