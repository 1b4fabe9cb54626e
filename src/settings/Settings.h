#pragma once
// The one settings record of the program and its persistence in the settings store.
// Each field is named after its stored value ("Popup On Call" -> PopupOnCall).
#include <QString>

#include <array>

namespace zrk {

class RegistryFile;

inline constexpr auto kProgramVersion = "2.01b";
inline constexpr auto kSettingsRoot = "Software\\Zrk Pro\\";

// Call actions, per caller status and per phone-book group.
enum CallAction : int { ActionNone = 0, ActionMessage = 1, ActionIgnore = 2, ActionHangUp = 3 };

// "Port": the last choice of the port list, a desk without a modem (it shows the calls of an
// NCID server only).
inline constexpr int kNoModemPort = 4;

struct TIni {
    // Declared in the stored order; see defaults() for the values of a first run.
    bool StayOnTop, Minimized, PopupOnCall, Screen, Buttons, Clock, Timer, DoubleClick, PlayWAV;
    QString WAVFileOnRing, LogFile;
    qint32 Port, Baud, AnswerOnRing, Prefix;
    QString Init, Zrk, HandUp, CallerID;
    qint32 DigitsInPhoneNumber;
    QString SeparatorOfGroups;
    qint32 DigitsInGroup;
    bool PhoneBook;
    QString PhoneBookFile;
    quint32 BackgroundColor, NumberColor, CounterColor, InfoColor, NotActiveColor;  // 0x00BBGGRR
    qint32 OnNormal;
    QString NumberFont, CounterFont, InfoFont;
    qint32 NumberSize, CounterSize, InfoSize;
    qint32 OnBad, OnPrior;
    bool ReDial;
    qint32 ReDialTry, ReDialWait;
    std::array<QString, 10> Categories;  // for the category digits 1..9, then 0
    bool Sound;
    std::array<QString, 7> Notes;  // reminder note templates 1..7: "title|text"
    QString SoundOnNormal, SoundOnBad, SoundOnPrior, ReminderSound;
    bool PortOnOff, SoundOnOff;
    double PortOff, PortOn, SoundOff, SoundOn;  // times of day, days since 1899-12-30
    qint32 Group;
    std::array<bool, 8> Columns;  // phone-book columns shown
    // Our own key "Network": the NCID server link.
    QString NcidServer;  // host[:port]; empty: no link
    bool SendCalls, ReceiveCalls;
    QString LineLabel;

    static TIni defaults();
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
// Writes every value of every key; a store that cannot be written raises
// ERegistryException ("Failed to set data for ...") and saving stops there.
void SaveSettings(const TIni& ini);

}  // namespace zrk
