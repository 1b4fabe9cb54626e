#pragma once
// `zrk-line --check`: what the line server would use (settings file, data directory, modem,
// phone book, NCID server) and whether each is usable, said line by line; the first thing a
// person setting up a server runs. Reads and tries, writes nothing but a probe file it removes.
namespace zrk {

// Returns 0 when everything the server needs is usable, 1 otherwise.
int checkLine();

}  // namespace zrk
