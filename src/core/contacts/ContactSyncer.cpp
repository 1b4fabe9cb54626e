#include "core/contacts/ContactSyncer.h"

#include "core/book/BookDocument.h"
#include "core/contacts/SyncAccount.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

namespace zrk::contacts {

QString syncSummary(const SyncCounts& c) {
    QStringList parts;
    parts << QCoreApplication::translate(
                 "zrk::ContactSync", "Адресная книга синхронизирована: получено %1, отправлено %2")
                 .arg(c.added + c.updated + c.removed)
                 .arg(c.sent + c.deleted);
    if (c.conflicts > 0)
        parts << QCoreApplication::translate(
                     "zrk::ContactSync",
                     "изменены и здесь, и на сервере: %n (принята версия сервера, версия этого "
                     "места сохранена в %1)",
                     nullptr, c.conflicts)
                     .arg(ContactSyncer::conflictFile());
    return parts.join(QStringLiteral("; "));
}

QString ContactSyncer::conflictFile() {
    return QDir::current().absoluteFilePath(QStringLiteral("book-conflicts.vcf"));
}

ContactSyncer::ContactSyncer(BookDocument& book, QObject* parent) : QObject(parent), book_(book) {
    interval_.callOnTimeout(this, &ContactSyncer::syncNow);
    afterChange_.setSingleShot(true);
    afterChange_.setInterval(kAfterChangeMs);
    afterChange_.callOnTimeout(this, &ContactSyncer::syncNow);
    connect(&book_, &BookDocument::saving, this, &ContactSyncer::bookSaved);
}

ContactSyncer::~ContactSyncer() {
    if (!worker_) return;
    cancel_ = true;
    worker_->wait();
    delete worker_;
}

void ContactSyncer::configure() {
    configured_ = !ini().CardDavUrl.trimmed().isEmpty();
    interval_.stop();
    if (configured_ && ini().CardDavInterval > 0)
        interval_.start(std::chrono::minutes(std::min(ini().CardDavInterval, 24 * 60)));
}

void ContactSyncer::bookSaved() {
    if (configured_ && !applying_) afterChange_.start();
}

void ContactSyncer::syncNow() {
    if (!configured_) return;
    afterChange_.stop();
    if (worker_) {
        again_ = true;
        return;
    }
    book_.waitForBook();
    if (book_.loadFailed()) return;
    book_.store().assignIds();
    auto job = std::make_shared<SyncJob>();
    job->book = book_.store();
    QByteArray state = book_.syncState();  // read on the worker: it may be megabytes
    job->group = ini().CardDavGroup;
    job->conflictFile = conflictFile();
    result_ = std::make_shared<SyncResult>();
    cancel_ = false;
    emit status(QCoreApplication::translate("zrk::ContactSync", "Синхронизация адресной книги…"));
    worker_ = QThread::create([job, state, result = result_, settings = ini(), cancel = &cancel_] {
        job->state = SyncState::load(state);
        QString problem;
        const std::optional<dav::Account> account = syncAccount(settings, &problem);
        if (!account) {
            result->state = job->state;
            result->error = dav::Error{dav::Error::Kind::Auth, 0, problem};
            return;
        }
        job->account = *account;
        *result = runSync(*job, cancel);
        result->savedState = result->state.save();
    });
    connect(worker_, &QThread::finished, this, &ContactSyncer::done);
    worker_->start();
}

void ContactSyncer::done() {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    SyncResult& r = *result_;
    if (r.error && r.error->kind == dav::Error::Kind::Cancelled) return;
    {
        applying_ = true;
        const bool changed = applySync(book_.store(), r);
        const QByteArray state = r.savedState.isEmpty() ? r.state.save() : r.savedState;
        // A sync that found nothing new leaves the files alone: a big book is not rewritten
        // every few minutes.
        if (changed || state != book_.syncState()) {
            book_.setSyncState(state);
            book_.save();
        }
        if (changed) emit book_.loaded();
        applying_ = false;
    }
    if (r.error) {
        const QString text = QCoreApplication::translate("zrk::ContactSync",
                                                         "Адресная книга не синхронизирована: %1")
                                 .arg(r.error->text);
        emit status(text);
        // Said once while it lasts: a sync every few minutes would repeat it.
        if (text != lastFailure_) emit failed(Failure::make(Failure::Kind::Network, text, true));
        lastFailure_ = text;
    } else {
        lastFailure_.clear();
        emit status(syncSummary(r.counts));
        emit finished(r.counts);
    }
    // A change of this desk's that the server's replaced is told, not only shown in passing.
    if (r.counts.conflicts > 0)
        emit failed(Failure::make(Failure::Kind::Other, syncSummary(r.counts), true));
    if (!r.conflictProblem.isEmpty())
        emit failed(Failure::make(Failure::Kind::File, r.conflictProblem, true));
    if (again_) {
        again_ = false;
        syncNow();
    }
}

}  // namespace zrk::contacts
