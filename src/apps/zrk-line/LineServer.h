#pragma once
// The line without a desktop: the desk on the modem, the phone book for its names, and one
// line on the standard error stream for each thing that happens (journald adds the time).
// The book and the settings are read again on request (SIGHUP) while the line stays open.
#include "core/platform/Failure.h"

#include <QObject>

#include <memory>

class QTimer;

namespace zrk {

class BookDocument;
class CallDesk;
namespace actions {
class CallActionRunner;
}
namespace contacts {
class ContactSyncer;
}
class SerialDevice;

class LineServer : public QObject {
    Q_OBJECT
public:
    // `device`: the serial backend (tests pass a fake); none: the real one.
    explicit LineServer(std::shared_ptr<SerialDevice> device = {}, QObject* parent = nullptr);
    ~LineServer() override;

    // The settings are loaded: the book is read on a worker, the port opened, the link started.
    void start();
    // The settings and the book read again; the port reopened only when its device changed.
    void reload();
    // The port closed, the server's queue and the files saved; what failed is said too.
    Failures stop();

    CallDesk& desk() { return *desk_; }

    // One line of the server's log.
    static void say(const QString& text);

private:
    // The settings file read into the record; false when it was damaged or unreadable.
    bool readSettings();
    void watchDesk();
    void loadBook();
    void portShown(bool active);
    // The book in place syncs with the address book of the settings, if one is named.
    void syncBook();

    // How often a port that is closed without a schedule is tried again: a USB modem plugged
    // in late, or not ready at boot, is taken up without a restart.
    static constexpr int kReopenMs = 5000;

    std::unique_ptr<CallDesk> desk_;
    std::unique_ptr<BookDocument> book_;             // the book the calls are looked up in
    std::unique_ptr<BookDocument> reading_;          // the book read again, until it is whole
    std::unique_ptr<contacts::ContactSyncer> sync_;  // of book_; before it in the end
    // The calls' programs (no desktop here: no addresses opened, nothing said).
    std::unique_ptr<actions::CallActionRunner> actions_;
    QTimer* reopen_ = nullptr;
    bool portOpen_ = false;
    QString lastFailure_;  // said once while the same trouble goes on
};

}  // namespace zrk
