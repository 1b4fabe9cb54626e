#include "core/call/CallEpisode.h"

namespace zrk {

bool CallEpisode::ringing(const QDateTime& at) const {
    if (!lastRing_.isValid()) return false;
    const qint64 since = lastRing_.msecsTo(at);
    // A clock set back is no proof of the same call.
    return since >= 0 && since <= kRingGapMs;
}

bool CallEpisode::ring(const QDateTime& at) {
    const bool first = !ringing(at);
    if (first) end();  // the silence before this ring ended the last call
    lastRing_ = at;
    return first;
}

void CallEpisode::end() {
    lastRing_ = QDateTime();
    reported_.clear();
    hasReport_ = false;
}

bool CallEpisode::repeats(const QString& number, const QDateTime& at) {
    if (!ringing(at)) {
        // A report with no ring of its own (or after a silence) is a call of its own.
        end();
        return false;
    }
    if (hasReport_ && reported_ == number) return true;
    reported_ = number;
    hasReport_ = true;
    return false;
}

}  // namespace zrk
