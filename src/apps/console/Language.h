#pragma once
// The language of the program's texts: the user's choice, or the desktop's. Russian is the
// language the texts are written in; every other language is a translation loaded at start.
#include <QString>
#include <QStringList>

namespace zrk {

// The languages the program speaks, as stored in the "Language" setting ("" = the desktop's).
inline constexpr auto kLanguageRussian = "ru";
inline constexpr auto kLanguageEnglish = "en";

// The language to speak: `setting` when it names one we have; otherwise the first of the
// desktop's `uiLanguages` (in its order of preference, "ru-RU", "en_GB", "C") that we have;
// English when the desktop asks only for languages without a translation of their own.
QString chooseLanguage(const QString& setting, const QStringList& uiLanguages);

// Installs the translators of `language` (ours and Qt's own, so that the standard buttons
// match) into the application and makes its locale the default for dates and times. Looks
// for our translation in `dirs`, in order. Returns false, with the reason in `problem`, when
// our translation could not be loaded: the program then speaks Russian.
bool installLanguage(const QString& language, const QStringList& dirs, QString* problem = nullptr);

// Where an installed or a built program finds its translations.
QStringList translationDirs();

// The "Language" setting as the settings file at `storePath` holds it, read without touching
// the file: a damaged file stays where it is for the program to report. Empty when the file
// is missing, damaged or silent on it.
QString storedLanguage(const QString& storePath);

// The stored choice (a "Language" setting), else the desktop's; a problem is said on the
// standard error stream.
void installChosenLanguage(const QString& stored);
// The same for a command without a window, from the settings file as it is. Nothing is
// written.
void installConsoleLanguage();

}  // namespace zrk
