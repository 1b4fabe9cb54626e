#pragma once
// Where the program keeps its phone book, reminders and call log. Every file name of the
// program without a folder is relative to the working directory, so choosing the data
// directory is making it the working directory, before anything is read.
#include <QString>

#include <initializer_list>

namespace zrk {

// $XDG_DATA_HOME/zrk-pro (by default ~/.local/share/zrk-pro): where a program started from
// the desktop's menu keeps its data.
QString standardDataDirectory();

// Where our locks and sockets live: $XDG_RUNTIME_DIR, or a private folder of the user's in
// the temporary directory when the session has none. Empty when neither can be had.
QString runtimeDirectory();
// A file in runtimeDirectory() for `path`, named by `kind` and a digest of the path made
// canonical (a folder named through a link is the same folder), e.g.
// "zrk-pro-data-0123456789abcdef.lock".
QString runtimeFileFor(const char* kind, const QString& path, const char* suffix);
// `path` where a Unix socket can be named so; else the same name in a private folder of the
// user's in the temporary directory (a runtime directory may lie too deep for a socket).
QString shortSocketPath(const QString& path);

// Creates `dir` when it is missing and makes it the working directory; false with `error`
// set (a plain sentence for the user) when either fails.
bool enterDataDirectory(const QString& dir, QString* error);

// One option of ours on a command line: a switch sets `flag`; any other sets `value` to the
// word after it.
struct CommandOption {
    const char* name;
    QString* value = nullptr;
    bool* flag = nullptr;
};
// Takes `options` out of the command line and leaves the rest in order; returns the complaint
// about an option whose value is missing, or nothing.
QString takeOptions(int& argc, char** argv, std::initializer_list<CommandOption> options);

// The program's own options, taken out of the command line; the rest is left for the
// toolkit (-platform, -style, ...).
struct StartOptions {
    QString dataDir;     // --data-dir DIR, or the standard one for --desktop
    QString importFile;  // --import-reg FILE
    QString config;      // --config FILE: the settings file instead of the user's
    bool help = false;
    QString error;  // a malformed command line
};
StartOptions takeStartOptions(int& argc, char** argv);

// The options' lines of --help, in Russian; shown through translate("zrk::Console", ...).
extern const char* const kUsage;
// Where the data goes without those options: the last line of --help.
extern const char* const kUsageNote;

}  // namespace zrk
