#pragma once
// Reads the call log on a worker thread, from its end backwards so that the newest calls are
// there first, and follows it while it grows. The log is only ever opened for reading.
#include "core/history/CallHistory.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QFileSystemWatcher;

namespace zrk {

class HistoryLoader : public QObject {
    Q_OBJECT
public:
    explicit HistoryLoader(QString fileName, QObject* parent = nullptr);
    ~HistoryLoader() override;

    QString fileName() const { return fileName_; }
    void start();                        // returns at once; a second call does nothing
    const CallHistory& history() const;  // UI thread only: what has been handed over so far
    bool loading() const;                // true until the whole file has been handed over
    qsizetype callsExpected() const;     // at most this many calls in the load

    // While held, nothing handed over changes the history (an export reads it on another
    // thread); the worker waits, and what came meanwhile is taken on release.
    void hold(bool held);

    // The longest time one hand-over took on this thread, in microseconds (the benchmark's).
    qint64 longestHandOverUs() const { return longestUs_; }

signals:
    void progress(qint64 bytesRead, qint64 bytesTotal);
    void grown();     // a batch handed over; the first holds the newest calls
    void loaded();    // the whole log is in; following it from now on
    void appended();  // new calls written to the log after the load
    void reloaded();  // the file was replaced or truncated: ids start over, a new load begins
    // The log cannot be read (for the user). The loader keeps looking: a log that appears
    // later is loaded then.
    void failed(const QString& message);

public:
    struct Message;  // from the worker
    struct Shared;   // what the worker and this thread share

private:
    void take(const Message& m);
    void watch();

    QString fileName_;
    CallHistory history_;
    bool loading_ = false;
    qint64 total_ = 0;
    qint64 longestUs_ = 0;
    bool held_ = false;
    std::vector<std::shared_ptr<Message>> waiting_;  // came while held
    std::shared_ptr<Shared> shared_;
    QFileSystemWatcher* watcher_ = nullptr;
};

}  // namespace zrk
