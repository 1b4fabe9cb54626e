#pragma once
// A desk beside a line server: when zrk-line holds the modem and the data directory, the
// desktop program can still show the calls, as an NCID client of the server beside it, with a
// data directory and a settings file of its own (the line server's are left alone).
#include <QString>

namespace zrk {

struct LineClient {
    QString dataDir;  // where the client keeps its book, reminders and call log
    QString config;   // its settings file
};

// The client's places, beside `userConfig` (the user's settings file) and `standardDataDir`.
LineClient lineClientPlaces(const QString& userConfig, const QString& standardDataDir);
// Makes the client's settings the first time: the user's `userConfig` with no modem, calls
// received from the NCID server (the user's, else one on this machine) and none sent; later
// they stay as the user left them. Returns why they could not be made; empty when all is well.
QString prepareLineClient(const LineClient& client, const QString& userConfig);

}  // namespace zrk
