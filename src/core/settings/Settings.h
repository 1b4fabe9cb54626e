#pragma once
// The one settings record of the program and its persistence in the settings store.
// Each field is named after its stored value ("Popup On Call" -> PopupOnCall).
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace zrk {

class RegistryFile;
struct RegKeyData;

inline constexpr auto kProgramVersion = "2.01b";
inline constexpr auto kSettingsRoot = "Software\\Zrk Pro\\";

// Call actions, per caller status and per phone-book group.
enum CallAction : int { ActionNone = 0, ActionMessage = 1, ActionIgnore = 2, ActionHangUp = 3 };

// "Port": the last choice of the port list, a desk without a modem (it shows the calls of an
// NCID server only).
inline constexpr int kNoModemPort = 4;

// "Notifications": the items of its list; any other value counts as the default.
enum NotifyMode : int { NotifyAlways = 0, NotifyWhenHidden = 1, NotifyNever = 2 };

// The first run's category texts and note templates, in Russian as they are stored.
std::array<QString, 10> defaultCategories();
std::array<QString, 7> defaultNotes();

// A stored category text or note template as the user reads it: a default never changed in
// the interface's language, anything the user typed as typed.
QString shownSetting(const QString& stored);
// What to store when the user leaves `edited` in place of `stored`: the stored default where
// its translation was left as shown, else the edit.
QString editedSetting(const QString& stored, const QString& edited);

// Our own key "Call Actions\N" (N = 0, 1, ...): what is done on a call's event besides the
// caller's action: an address opened, a program run, a text said. The texts are kept as stored
// so that a value this program does not know survives a save; such an action never runs.
struct CallActionSpec {
    QString event = QStringLiteral("caller");  // "ring", "caller", "answer", "missed"
    QString kind = QStringLiteral("program");  // "url", "program", "speak"
    QString templ;                             // "Template": the address or the spoken text
    QString program;
    QStringList arguments;  // "Argument 1", "Argument 2", ...: one argument each
    quint32 statuses = 0;   // 1 normal, 2 bad, 4 priority; 0: every caller
    QString group;          // the caller's group's title; empty: every group
    bool enabled = true;

    bool operator==(const CallActionSpec&) const = default;
};

struct TIni {
    // Declared in the stored order, with the values of a first run.
    bool StayOnTop = true, Minimized = true, PopupOnCall = true, Screen = false, Buttons = true,
         Clock = true, Timer = true, DoubleClick = true, PlayWAV = false;
    QString WAVFileOnRing = QStringLiteral("ring.wav"), LogFile = QStringLiteral("ZrkLog.txt");
    qint32 Port = 1, Baud = 6, AnswerOnRing = 0, Prefix = 0;
    QString Init = QStringLiteral("ATM2+S64=1+S73=2"), Zrk = QStringLiteral("AT+SR"),
            HandUp = QStringLiteral("+++~~~ATH0"), CallerID = QStringLiteral("CallerID:");
    qint32 DigitsInPhoneNumber = 6;
    QString SeparatorOfGroups = QStringLiteral("-");
    qint32 DigitsInGroup = 2;
    bool PhoneBook = false;
    QString PhoneBookFile = QStringLiteral("book.phn");
    // 0x00BBGGRR
    quint32 BackgroundColor = 0x00000000, NumberColor = 0x0000FF00, CounterColor = 0x000000FF,
            InfoColor = 0x00FFFF00, NotActiveColor = 0x00808080;
    qint32 OnNormal = ActionNone;
    QString NumberFont = QStringLiteral("Arial"), CounterFont = QStringLiteral("Arial"),
            InfoFont = QStringLiteral("MS Sans Serif");
    qint32 NumberSize = 25, CounterSize = 15, InfoSize = 8;
    qint32 OnBad = ActionIgnore, OnPrior = ActionMessage;
    bool ReDial = false;
    qint32 ReDialTry = 3, ReDialWait = 5;
    // For the category digits 1..9, then 0: "caption|hint". Stored in Russian, as are the note
    // templates below; shown through shownSetting().
    std::array<QString, 10> Categories = defaultCategories();
    bool Sound = true;
    // Reminder note templates 1..7: "title|text".
    std::array<QString, 7> Notes = defaultNotes();
    QString SoundOnNormal, SoundOnBad, SoundOnPrior, ReminderSound;
    bool PortOnOff = false, SoundOnOff = false;
    // Times of day, days since 1899-12-30: 00:00 to 07:00.
    double PortOff = 0.0, PortOn = 7.0 / 24.0, SoundOff = 0.0, SoundOn = 7.0 / 24.0;
    qint32 Group = 0;
    // The phone-book columns shown.
    std::array<bool, 8> Columns = {true, true, false, false, true, false, false, true};
    // Our own key "Network": the NCID server link. With a server entered, a desk with a modem
    // shares its calls and every desk sees the others'; its own calls coming back are
    // recognised.
    QString NcidServer;  // host[:port]; empty: no link
    bool SendCalls = true, ReceiveCalls = true;
    QString LineLabel = QStringLiteral("-");
    // Our own key "Notifications": when the desktop's notification shows an identified call.
    qint32 Notifications = NotifyWhenHidden;
    // Our own key "CardDAV": the address book the phone book (or one group of it) syncs with.
    // The password is in the desktop's keyring, or in "Password File" (readable by its owner
    // only) for a program without a desktop.
    QString CardDavUrl, CardDavUser, CardDavPasswordFile, CardDavGroup;
    qint32 CardDavInterval = 15;    // minutes between syncs; 0: only when asked
    bool CardDavAllowHttp = false;  // plain http to a host other than this machine
    // Our own key "Language": the language of the windows, "ru" or "en"; empty: the desktop's.
    // Read before the windows are made, so a change takes effect at the next start.
    QString Language;
    QList<CallActionSpec> CallActions;

    static TIni defaults() { return TIni{}; }
    bool operator==(const TIni&) const = default;

    // The category text of a digit '0'..'9' (index 9 holds '0').
    const QString& categoryText(int digit) const { return Categories[digit == 0 ? 9 : digit - 1]; }
};

// The program's one record.
TIni& ini();

// Fills `ini` with the defaults, then with what the store holds. A value of a wrong type
// keeps its default and the others still load; the first such error is raised
// (ERegistryException) after everything else has been read.
void LoadSettings(TIni& ini);
// The same from another store (a file being imported).
void LoadSettings(TIni& ini, RegistryFile& store);
// The same from keys parsed out of a store file, with no file behind them: nothing is written
// or put aside.
void LoadSettings(TIni& ini, const QList<RegKeyData>& keys);
// Writes every value of every key; a store that cannot be written raises
// ERegistryException ("Failed to set data for ...") and saving stops there.
void SaveSettings(const TIni& ini);

}  // namespace zrk
