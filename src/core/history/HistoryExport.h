#pragma once
// "Экспорт в CSV" off the window's thread: a million rows take seconds to write.
#include "core/history/CallHistory.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <thread>
#include <vector>

namespace zrk {

// Writes `rows` as CSV (writeHistoryCsv) to `path` on a worker thread. The file is written
// aside and put in place at the end: a cancelled or failed export leaves no file of its own
// and an older file as it was. `history` must not change until `finished` (the window holds
// its loader's hand-overs meanwhile).
class CsvExport : public QObject {
    Q_OBJECT
public:
    CsvExport(const CallHistory& history, std::vector<CallId> rows, QString path,
              QObject* parent = nullptr);
    ~CsvExport() override;  // cancels and waits for the worker

    void start();
    void cancel() { cancel_ = true; }
    const QString& path() const { return path_; }
    qsizetype rows() const { return qsizetype(rows_.size()); }

signals:
    void progress(int percent);
    // `error` empty without `ok`: cancelled.
    void finished(bool ok, const QString& error);

private:
    const CallHistory& history_;
    std::vector<CallId> rows_;
    QString path_;
    std::atomic<bool> cancel_{false};
    std::thread worker_;
};

}  // namespace zrk
