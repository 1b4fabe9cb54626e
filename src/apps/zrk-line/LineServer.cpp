#include "apps/zrk-line/LineServer.h"

#include "core/call/CallActions.h"
#include "core/book/BookDocument.h"
#include "core/call/CallDesk.h"
#include "core/call/LineStatus.h"
#include "core/contacts/ContactSyncer.h"
#include "core/platform/Registry.h"
#include "core/platform/SerialDevice.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"

#include <QTimer>

#include <cstdio>

namespace zrk {
namespace {

// A line server shares its own calls; the other desks' calls are theirs to show.
void serverOnly(TIni& s) {
    s.ReceiveCalls = false;
}

// Who called, as one line of the log: the number as shown, the name, the group.
QString callerText(const CallerShown& c) {
    QString text = c.shown;
    if (!c.name.isEmpty()) text += QLatin1String(" ") + c.name;
    if (!c.group.isEmpty() && c.status >= 0) text += QLatin1Char(' ') + c.group;
    if (!c.line.isEmpty()) text += QStringLiteral(" (%1)").arg(c.line);
    return text;
}

}  // namespace

void LineServer::say(const QString& text) {
    // One line per event: a text that holds a line break would read as two.
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

LineServer::LineServer(std::shared_ptr<SerialDevice> device, QObject* parent)
    : QObject(parent), desk_(std::make_unique<CallDesk>(std::move(device))) {
    // The book is looked up where it is whole: a call that comes while it is first read
    // waits for it, never taken for a stranger; after SIGHUP the next call sees the new one.
    desk_->setLookup([this](const QString& number) {
        if (reading_) reading_->waitForBook();
        return book_ ? book_->whoCalls(number) : CallerInfo{};
    });
    actions_ = std::make_unique<actions::CallActionRunner>(*desk_);
    connect(actions_.get(), &actions::CallActionRunner::failed, this,
            [](const Failure& f) { say(f.text); });
    reopen_ = new QTimer(this);
    reopen_->setInterval(kReopenMs);
    connect(reopen_, &QTimer::timeout, this, [this] {
        if (!desk_->portActive() && desk_->hasModem() && !desk_->timeToClose()) desk_->openPort();
    });
    watchDesk();
}

LineServer::~LineServer() = default;

void LineServer::watchDesk() {
    CallDesk& d = *desk_;
    connect(&d, &CallDesk::portChanged, this, &LineServer::portShown);
    connect(&d, &CallDesk::noModem, this,
            [] { say(tr("В настройках не выбран модем: линии нет.")); });
    connect(&d, &CallDesk::ringing, this, [](bool newCall) {
        if (newCall) say(tr("Звонок."));
    });
    connect(&d, &CallDesk::callerIdentified, this, [](const CallerShown& c) {
        if (!c.again) say(tr("Звонит %1").arg(callerText(c)));
    });
    connect(&d, &CallDesk::answered, this, [] { say(tr("Трубка снята и положена (отбой).")); });
    connect(&d, &CallDesk::showMessage, this, [](const QString& name, const QString& shown) {
        say(tr("Сообщение о звонке: %1 %2").arg(shown, name).trimmed());
    });
    connect(&d, &CallDesk::networkChanged, this,
            [](const QString& state) { say(tr("Сервер NCID: %1").arg(state)); });
    connect(&d, &CallDesk::failed, this, [this](const Failure& f) {
        if (f.text == lastFailure_) return;
        lastFailure_ = f.text;
        say(tr("Ошибка: %1").arg(f.text));
    });
}

void LineServer::portShown(bool active) {
    if (active) {
        reopen_->stop();
        lastFailure_.clear();
    } else if (!reopen_->isActive()) {
        reopen_->start();
    }
    if (active == portOpen_) return;
    portOpen_ = active;
    say(active ? tr("Порт Com%1 открыт.").arg(ini().Port + 1) : tr("Порт закрыт."));
}

void LineServer::loadBook() {
    auto next = std::make_unique<BookDocument>(BookDocument::Loading::InBackground);
    BookDocument* read = next.get();
    connect(read, &BookDocument::loaded, this, [this, read] {
        if (reading_.get() == read) {
            sync_.reset();  // a sync of the book put aside ends with it
            book_ = std::move(reading_);
        }
        say(tr("Телефонная книга %1: записей %2.")
                .arg(ini().PhoneBookFile)
                .arg(read->store().count()));
        if (book_.get() == read && !sync_) syncBook();
    });
    // A book that cannot be read now leaves the one read before in place.
    connect(read, &BookDocument::failed, this, [this, read](const Failure& f) {
        say(tr("Телефонная книга не прочитана: %1").arg(f.text));
        if (read->loadFailed() && reading_.get() == read) reading_.release()->deleteLater();
    });
    // The first read is the book at once: a call waits for it.
    (book_ ? reading_ : book_) = std::move(next);
}

bool LineServer::readSettings() {
    try {
        LoadSettings(ini());
    } catch (const std::exception& e) {
        // A bad value keeps its default; the others are read all the same.
        say(tr("Настройки прочитаны с ошибкой: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    const QString problem = RegistryFile::user().loadError();
    if (!problem.isEmpty()) say(problem);
    return problem.isEmpty();
}

void LineServer::start() {
    readSettings();
    serverOnly(ini());
    say(tr("Настройки: %1").arg(RegistryFile::userPath()));
    loadBook();
    desk_->start();
}

void LineServer::reload() {
    say(tr("Перечитываю настройки и телефонную книгу."));
    const TIni before = ini();
    const auto device = [] {
        return locateSerialDevice(QStringLiteral("Com%1").arg(ini().Port + 1)).path;
    };
    const QString deviceBefore = device();
    RegistryFile::resetUser();
    if (!readSettings()) {
        ini() = before;  // a damaged file must not switch the line to the defaults
    } else {
        serverOnly(ini());
        if (before.Port != ini().Port || before.Baud != ini().Baud || device() != deviceBefore) {
            desk_->closePort();
            desk_->openPort();
        }
        desk_->followSettings(before, SettingsChange::Confirmed);
    }
    if (sync_) sync_->configure();
    loadBook();
}

void LineServer::syncBook() {
    sync_ = std::make_unique<contacts::ContactSyncer>(*book_);
    // A failure once while it lasts; each sync that did something, with its counts.
    connect(sync_.get(), &contacts::ContactSyncer::failed, this,
            [](const Failure& f) { say(f.text); });
    connect(sync_.get(), &contacts::ContactSyncer::finished, this,
            [](const contacts::SyncCounts& c) {
                if (c.added + c.updated + c.removed + c.sent + c.deleted > 0)
                    say(contacts::syncSummary(c));
            });
    sync_->configure();
    sync_->syncNow();
}

Failures LineServer::stop() {
    reopen_->stop();
    sync_.reset();  // cancelled and waited for: the book's last save holds what it did
    Failures failures = desk_->close();
    if (reading_) failures += reading_->close();
    if (book_) failures += book_->close();
    return failures;
}

}  // namespace zrk
