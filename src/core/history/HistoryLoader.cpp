#include "core/history/HistoryLoader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zrk {

struct HistoryLoader::Message {
    enum Kind { Older, Newer, Done, Reset, Failed } kind = Older;
    LogBatch batch;
    qint64 read = 0, total = 0;
    QString error;
};

namespace {

constexpr qint64 kFirstChunk = 64 * 1024;    // small: the newest calls are shown at once
constexpr qint64 kChunk = 256 * 1024;        // some 5,000 calls: a short hand-over
constexpr qint64 kOrderChunk = 1024 * 1024;  // read at a time to learn the date order
constexpr qint64 kTail = 256 * 1024;         // where the last complete line end is looked for
constexpr int kMaxInFlight = 2;              // batches posted but not yet taken
constexpr qsizetype kSignature = 32;         // bytes before the read end that must stay put
constexpr qint64 kShortestCall = 24;         // bytes: a call line is 30 or more

QString openError(const QString& fileName, int code) {
    if (code == ENOENT)
        return HistoryLoader::tr("Файл журнала звонков «%1» не найден.").arg(fileName);
    if (code == EILSEQ)
        return HistoryLoader::tr(
                   "Журнал звонков «%1» записан в UTF-16; читаются журналы в Windows-1251 и "
                   "UTF-8.")
            .arg(fileName);
    if (code == EISDIR || code == EINVAL)
        return HistoryLoader::tr("«%1» — не файл журнала звонков.").arg(fileName);
    return HistoryLoader::tr("Не удаётся прочитать журнал звонков «%1»: %2.")
        .arg(fileName, qt_error_string(code));
}

// Reads [from, to) whole; false on an error or a file that shrank under us.
bool readAt(int fd, qint64 from, qint64 to, QByteArray* out) {
    out->resize(to - from);
    qint64 done = 0;
    while (done < to - from) {
        const ssize_t n = ::pread(fd, out->data() + done, size_t(to - from - done), from + done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// Index after the last line end in `b`, 0 when there is none.
qsizetype completeEnd(QByteArrayView b) {
    for (qsizetype i = b.size(); i-- > 0;)
        if (b[i] == '\n' || b[i] == '\r') return i + 1;
    return 0;
}

}  // namespace

struct HistoryLoader::Shared {
    std::mutex m;
    std::condition_variable cv;
    bool stop = false;
    bool poke = false;
    int inFlight = 0;
    std::thread thread;
};

namespace {

// The worker's side: one file, read backwards and then followed.
class Reader {
public:
    using Post = std::function<void(std::unique_ptr<HistoryLoader::Message>)>;
    Reader(QString fileName, std::shared_ptr<HistoryLoader::Shared> s, Post post)
        : name_(std::move(fileName)),
          path_(QFile::encodeName(name_)),
          s_(std::move(s)),
          post_(std::move(post)) {}
    ~Reader() {
        if (fd_ >= 0) ::close(fd_);
    }

    void run() {
        int told = 0;  // the failure last told: told once, until the file is read again
        while (!stopped()) {
            if (fd_ < 0) {
                int code = open();
                if (code == 0) {
                    if (dirty_) send(HistoryLoader::Message::Reset);
                    dirty_ = false;
                    code = load();
                    if (code < 0) return;  // stopped
                }
                if (code != 0) {
                    closeFd();
                    if (code != told)
                        send(HistoryLoader::Message::Failed, {}, 0, 0, openError(name_, code));
                    told = code;
                    waitPoke();
                    continue;
                }
                told = 0;
            }
            waitPoke();
            if (!stopped()) follow();
        }
    }

private:
    bool stopped() {
        std::lock_guard lock(s_->m);
        return s_->stop;
    }

    // Sleeps until the watcher pokes, a second passes (the watcher misses some changes, on
    // network file systems all of them), or the loader stops.
    void waitPoke() {
        std::unique_lock lock(s_->m);
        s_->cv.wait_for(lock, std::chrono::seconds(1), [&] { return s_->stop || s_->poke; });
        s_->poke = false;
    }

    // Posts one message; waits while the UI thread has enough on its plate.
    bool send(HistoryLoader::Message::Kind kind, LogBatch batch = {}, qint64 read = 0,
              qint64 total = 0, QString error = {}) {
        {
            std::unique_lock lock(s_->m);
            s_->cv.wait(lock, [&] { return s_->stop || s_->inFlight < kMaxInFlight; });
            if (s_->stop) return false;
            ++s_->inFlight;
        }
        if (kind == HistoryLoader::Message::Older || kind == HistoryLoader::Message::Newer)
            dirty_ = true;
        post_(std::make_unique<HistoryLoader::Message>(
            HistoryLoader::Message{kind, std::move(batch), read, total, std::move(error)}));
        return true;
    }

    int open() {
        // Never open for writing; never wait in open() on a pipe someone named as the log.
        fd_ = ::open(path_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return errno;
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            const int code = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            closeFd();
            return code;
        }
        dev_ = st.st_dev;
        ino_ = st.st_ino;
        return 0;
    }

    void closeFd() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    // The whole file from its end backwards: 0, or the errno that stopped it, or -1 when the
    // loader stops.
    int load() {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return errno;
        const qint64 size = st.st_size;

        // The slash dates' order, from every line of the file: an old form's run of lines may
        // tell its order only far from either end.
        orders_ = DateOrders::fromSystemLocale();
        QByteArray sample;
        if (!readAt(fd_, 0, std::min<qint64>(size, 2), &sample)) return errno;
        // Two bytes to a character: every line would read as damaged.
        if (sample.startsWith("\xFF\xFE") || sample.startsWith("\xFE\xFF")) return EILSEQ;
        QByteArray tail;
        for (qint64 at = 0; at < size;) {
            if (stopped()) return -1;
            if (!readAt(fd_, at, std::min(size, at + kOrderChunk), &tail)) return errno;
            const qsizetype lines = at + tail.size() < size ? completeEnd(tail) : tail.size();
            // A line longer than the chunk: its rest is no date, skip to the next line.
            learnDateOrders(QByteArrayView(tail).first(lines), &orders_);
            at += lines > 0 ? lines : tail.size();
        }
        if (!readAt(fd_, std::max<qint64>(0, size - kTail), size, &tail)) return errno;

        // A last line without its end is being written: it waits for the follow.
        const qsizetype tailEnd = completeEnd(tail);
        const qint64 end = size - (tail.size() - tailEnd);
        end_ = end;
        pendingCR_ = tailEnd > 0 && tail[tailEnd - 1] == '\r';
        keepSignature();

        QByteArray carry, buf;
        bool longLine = false;  // inside a line too long to be a call: its bytes are dropped
        qint64 pos = end;
        qint64 chunk = kFirstChunk;
        while (pos > 0) {
            if (stopped()) return -1;
            const qint64 a = std::max<qint64>(0, pos - chunk);
            chunk = kChunk;
            if (!readAt(fd_, a, pos, &buf)) return errno;
            const qsizetype chunkSize = buf.size();
            buf += carry;
            carry.clear();
            QByteArrayView complete(buf);
            if (a > 0) {
                // The chunk's first line may have begun before it: it waits for the next.
                qsizetype i = 0;
                while (i < chunkSize && buf[i] != '\n' && buf[i] != '\r') ++i;
                if (i == chunkSize) {
                    if (!longLine && buf.size() > kMaxLogLine) longLine = true;
                    if (!longLine) carry = buf;
                    pos = a;
                    continue;
                }
                qsizetype after = i + 1;
                if (buf[i] == '\r' && after < buf.size() && buf[after] == '\n') ++after;
                carry = buf.first(after);
                complete = complete.sliced(after);
            }
            qsizetype skipped = 0;
            if (longLine) {
                // After the last line end begins the long line whose rest was dropped.
                complete = complete.first(completeEnd(complete));
                skipped = 1;
                longLine = false;
            }
            LogBatch batch = parseLogBytes(complete, orders_, true);
            batch.skipped += skipped;
            pos = a;
            if (!send(HistoryLoader::Message::Older, std::move(batch), end - pos, end)) return -1;
        }
        return send(HistoryLoader::Message::Done, {}, end, end) ? 0 : -1;
    }

    void keepSignature() {
        signature_.clear();
        if (end_ > 0) readAt(fd_, std::max<qint64>(0, end_ - kSignature), end_, &signature_);
    }

    // Reloads when the file was replaced or cut, else takes the complete lines added.
    void follow() {
        struct stat path {
        }, open{};
        if (::stat(path_.constData(), &path) != 0) return;  // gone for now: keep what we have
        if (path.st_dev != dev_ || path.st_ino != ino_ || ::fstat(fd_, &open) != 0 ||
            open.st_size < end_) {
            closeFd();
            return;
        }
        QByteArray now;
        if (end_ > 0 && (!readAt(fd_, std::max<qint64>(0, end_ - kSignature), end_, &now) ||
                         now != signature_)) {
            closeFd();  // rewritten in place with as much or more: read it anew
            return;
        }
        qint64 size = open.st_size;
        while (end_ < size && !stopped()) {
            QByteArray buf;
            // Every way out of here keeps the signature of what was taken.
            if (!readAt(fd_, end_, std::min(size, end_ + kChunk), &buf)) break;
            const qsizetype complete = completeEnd(buf);
            if (complete == 0) {
                if (buf.size() < kChunk) break;  // a partial line: wait for its end
                end_ += buf.size();              // a line too long to be a call
                continue;
            }
            QByteArrayView lines = QByteArrayView(buf).first(complete);
            if (pendingCR_ && lines.startsWith('\n')) lines = lines.sliced(1);
            pendingCR_ = buf[complete - 1] == '\r';
            end_ += complete;
            learnDateOrders(lines, &orders_);
            LogBatch batch = parseLogBytes(lines, orders_, false);
            if (!batch.calls.empty() || !batch.marks.empty() || batch.skipped)
                send(HistoryLoader::Message::Newer, std::move(batch), end_, size);
        }
        keepSignature();
    }

    QString name_;
    QByteArray path_;
    std::shared_ptr<HistoryLoader::Shared> s_;
    Post post_;
    int fd_ = -1;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    qint64 end_ = 0;          // bytes taken: up to the end of the last complete line
    bool pendingCR_ = false;  // the last line end taken was a CR: an LF after it belongs to it
    bool dirty_ = false;      // calls were handed over since the last start over
    QByteArray signature_;
    DateOrders orders_;
};

}  // namespace

HistoryLoader::HistoryLoader(QString fileName, QObject* parent)
    : QObject(parent), fileName_(std::move(fileName)), shared_(std::make_shared<Shared>()) {}

HistoryLoader::~HistoryLoader() {
    {
        std::lock_guard lock(shared_->m);
        shared_->stop = true;
    }
    shared_->cv.notify_all();
    if (shared_->thread.joinable()) shared_->thread.join();
}

void HistoryLoader::start() {
    if (shared_->thread.joinable()) return;
    loading_ = true;
    watcher_ = new QFileSystemWatcher(this);
    const auto poke = [this] {
        {
            std::lock_guard lock(shared_->m);
            shared_->poke = true;
        }
        shared_->cv.notify_all();
        watch();  // a replaced file drops out of the watch
    };
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, poke);
    watch();
    auto post = [this](std::unique_ptr<Message> m) {
        std::shared_ptr<Message> msg(std::move(m));
        QMetaObject::invokeMethod(
            this,
            [this, msg] {
                if (held_)
                    waiting_.push_back(msg);
                else
                    take(*msg);
            },
            Qt::QueuedConnection);
    };
    shared_->thread = std::thread(
        [reader = std::make_shared<Reader>(fileName_, shared_, post)] { reader->run(); });
}

void HistoryLoader::hold(bool held) {
    held_ = held;
    if (held) return;
    // Taking may emit, and a slot may hold again: the rest then waits on.
    while (!waiting_.empty() && !held_) {
        const std::shared_ptr<Message> m = waiting_.front();
        waiting_.erase(waiting_.begin());
        take(*m);
    }
}

void HistoryLoader::watch() {
    if (!watcher_->files().isEmpty() || !QFileInfo::exists(fileName_)) return;
    watcher_->addPath(fileName_);
}

const CallHistory& HistoryLoader::history() const {
    return history_;
}
bool HistoryLoader::loading() const {
    return loading_;
}
qsizetype HistoryLoader::callsExpected() const {
    return qsizetype(total_ / kShortestCall);
}

void HistoryLoader::take(const Message& m) {
    QElapsedTimer timer;
    timer.start();
    {
        std::lock_guard lock(shared_->m);
        --shared_->inFlight;
    }
    shared_->cv.notify_all();
    switch (m.kind) {
        case Message::Older:
            loading_ = true;  // also after a failure: the file has appeared since
            if (history_.size() == 0 && m.total > 0) {
                total_ = m.total;
                history_.reserve(callsExpected());
            }
            history_.appendOlder(m.batch);
            longestUs_ = std::max(longestUs_, timer.nsecsElapsed() / 1000);
            emit progress(m.read, m.total);
            emit grown();
            break;
        case Message::Newer:
            history_.appendNewer(m.batch);
            longestUs_ = std::max(longestUs_, timer.nsecsElapsed() / 1000);
            watch();
            emit appended();
            break;
        case Message::Done:
            loading_ = false;
            total_ = m.total;
            emit progress(m.total, m.total);
            emit loaded();
            break;
        case Message::Reset:
            history_.clear();
            loading_ = true;
            total_ = 0;
            watch();
            emit reloaded();
            break;
        case Message::Failed:
            loading_ = false;
            emit failed(m.error);
            break;
    }
}

}  // namespace zrk
