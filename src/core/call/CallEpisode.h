#pragma once
// One call, one entry. While a call rings the modem is asked for the caller again at the
// rings after the configured one (a modem that missed the first report relies on it); an
// answer that names the same number while the same call still rings is that call again:
// shown, but not listed, counted, logged or acted on a second time.
#include <QDateTime>
#include <QString>

namespace zrk {

class CallEpisode {
public:
    // Rings of one call come a few seconds apart (a cycle is 5 or 6 s on the usual
    // cadences); a longer silence means the caller hung up and a new call may follow.
    static constexpr qint64 kRingGapMs = 8000;

    // A "RING" line at `at`; true when it starts a call.
    bool ring(const QDateTime& at);
    // The call is over: answered, hung up, the port closed.
    void end();
    // A report of `number` at `at`. True when it repeats the report of the call that still
    // rings; otherwise it becomes that call's report.
    bool repeats(const QString& number, const QDateTime& at);

private:
    bool ringing(const QDateTime& at) const;

    QDateTime lastRing_;
    QString reported_;
    bool hasReport_ = false;
};

}  // namespace zrk
