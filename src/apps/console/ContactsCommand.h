#pragma once
// --import-contacts FILE [--group NAME] and --export-contacts FILE: the phone book of the data
// directory filled from, or written to, a vCard or CSV file, without a window; and
// --sync-contacts: one sync of that book with its address book.
#include <QString>

namespace zrk {

struct StartOptions;

struct ContactsCommand {
    QString importFile;  // made absolute: the data directory becomes the working directory
    QString exportFile;
    QString group;      // --group: every imported entry to this group
    QString error;      // a malformed command line
    bool sync = false;  // --sync-contacts: one sync with the address book of the settings
    bool any() const {
        return !importFile.isEmpty() || !exportFile.isEmpty() || sync || !error.isEmpty();
    }
};

// Takes the contacts options out of the command line; the rest is left as it was.
ContactsCommand takeContactsOptions(int& argc, char** argv);

// Runs the command on the data directory `options` name, in the application the caller made.
// Exit codes: 0 done, 1 the file or the book could not be read or written (or the sync
// failed), 2 a wrong command line, 3 a program works with that data directory.
int runContactsCommand(const ContactsCommand& command, const StartOptions& options);

// The options' lines of --help, in Russian; shown through translate("zrk::Console", ...).
extern const char* const kContactsUsage;

}  // namespace zrk
