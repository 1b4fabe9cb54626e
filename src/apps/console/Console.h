#pragma once
// The commands that need no window: --help, a malformed command line, --import-reg and the
// contacts commands, said in the user's language.
#include <QString>

namespace zrk {

struct ContactsCommand;
struct StartOptions;

// Whether the command line, as read, asks for one of them.
bool isConsoleCommand(const StartOptions& options, const ContactsCommand& contacts);

// Runs the command of the command line as given (`argv` as main received it), in the stored
// language, else the desktop's; nothing is written but what the command itself writes.
// Returns the exit code.
int runConsoleCommand(int argc, char** argv);

}  // namespace zrk
