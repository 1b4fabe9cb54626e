#include "core/contacts/ContactSync.h"

#include "core/contacts/SyncCard.h"
#include "core/contacts/VCard.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSet>

namespace zrk::contacts {

namespace {

QString groupTitle(const BookStore& book, int i) {
    const int g = book.groupOf(i);
    return g > 0 && g < book.groupCount() ? book.group(g).Text : QString();
}

bool sameGroup(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool sameField(const BookEntry& a, const BookEntry& b, BookField f) {
    return bookField(a, f) == bookField(b, f);
}

bool sameEntry(const BookEntry& a, const QString& ag, const BookEntry& b, const QString& bg) {
    for (int f = 0; f < BookFieldCount; ++f)
        if (!sameField(a, b, BookField(f))) return false;
    return a.Status == b.Status && sameGroup(ag, bg);
}

struct Local {
    BookEntry entry;
    QString group;
};

// One sync: the server's changes first, then this desk's, again from the listing when a
// write finds the server's card changed under it.
class Sync {
public:
    Sync(const SyncJob& job, SyncResult& out, const std::atomic<bool>* cancel, bool trustKnown)
        : job_(job), out_(out), client_(job.account, cancel), trustKnown_(trustKnown) {}

    // The address book taken from the state was not there: discovery is due.
    bool bookGone() const {
        return usedKnown_ && out_.error && out_.error->kind == dav::Error::Kind::NotFound &&
               out_.changes.isEmpty();
    }

    void run() {
        SyncState& state = out_.state;
        state = job_.state;
        // The address book found last time, while the settings still name the same account:
        // a big one answers every request slowly, discovery's included.
        usedKnown_ = trustKnown_ && !state.addressBook.isEmpty() &&
                     job_.account.url.toString() == state.account;
        if (usedKnown_)
            client_.useAddressBook(QUrl(state.addressBook), state.canSync);
        else if (const std::optional<dav::Error> e = client_.discover())
            return fail(*e);
        if (state.addressBook != client_.addressBook().toString() || state.group != job_.group) {
            // Another address book or group: nothing known of it; numbers match entries.
            state = SyncState{};
            state.addressBook = client_.addressBook().toString();
            state.group = job_.group;
        }
        state.account = job_.account.url.toString();
        state.canSync = client_.canSyncCollection();
        for (int i = 0; i < job_.book.count(); ++i)
            if (inSyncedGroup(job_.book, i, job_.group))
                locals_.insert(job_.book.idOf(i), {job_.book.entry(i), groupTitle(job_.book, i)});
        for (const SyncedCard& c : state.cards)
            for (const SyncedEntry& e : c.entries) mapped_.insert(e.id);
        for (int i = 0; i < job_.book.count(); ++i)
            if (locals_.contains(job_.book.idOf(i)) && !mapped_.contains(job_.book.idOf(i)))
                byKey_[phoneKey(job_.book.field(i, FieldPhone))].append(job_.book.idOf(i));
        for (int attempt = 0; attempt < 3; ++attempt) {
            retry_ = false;
            QByteArray token;
            if (!serverPass(token) || !localPass()) break;
            if (!retry_) {
                state.token = token;
                break;
            }
        }
        writeConflicts();
    }

private:
    void fail(const dav::Error& e) {
        if (!out_.error) out_.error = e;
    }

    SyncedCard* cardAt(const QString& href) {
        const qsizetype at = places_.value(href, -1);
        return at < 0 ? nullptr : &out_.state.cards[at];
    }

    // The server's changes since the last sync, read and put in the book.
    bool serverPass(QByteArray& token) {
        SyncState& state = out_.state;
        QList<dav::Resource> changed;
        QStringList removed;
        bool listed = false;
        if (client_.canSyncCollection()) {
            auto r = client_.syncCollection(state.token);
            if (r.error && r.error->kind == dav::Error::Kind::TokenRejected &&
                !state.token.isEmpty())
                r = client_.syncCollection({});
            if (r.error) return fail(*r.error), false;
            token = r.value.token;
            changed = r.value.changed;
            removed = r.value.removed;
            listed = state.token.isEmpty();
        } else {
            auto r = client_.listEtags();
            if (r.error) return fail(*r.error), false;
            changed = r.value;
            listed = true;
        }
        if (listed) {
            // A whole listing: what it does not name is gone.
            QSet<QString> present;
            for (const dav::Resource& r : changed) present.insert(r.href);
            for (const SyncedCard& c : state.cards)
                if (!present.contains(c.href)) removed.append(c.href);
        }
        places_.clear();
        for (qsizetype c = 0; c < state.cards.size(); ++c) places_.insert(state.cards[c].href, c);
        QStringList fetch;
        for (const dav::Resource& r : changed) {
            const SyncedCard* known = cardAt(r.href);
            if (!known || known->etag != r.etag) fetch.append(r.href);
        }
        auto cards = client_.multiget(fetch);
        if (cards.error) return fail(*cards.error), false;
        QSet<QString> fetched;
        for (const dav::Resource& r : cards.value) fetched.insert(r.href);
        for (const QString& href : fetch)
            if (!fetched.contains(href)) removed.append(href);  // gone since the listing
        for (const QString& href : removed) serverRemoved(href);
        for (const dav::Resource& r : cards.value) serverCard(r);
        out_.state.cards.removeIf([](const SyncedCard& c) { return c.href.isEmpty(); });
        return true;
    }

    void serverRemoved(const QString& href) {
        SyncedCard* card = cardAt(href);
        if (!card) return;
        for (const SyncedEntry& e : card->entries) removeHere(e);
        card->href.clear();  // dropped at the end of the pass: the places stay as they are
        places_.remove(href);
    }

    // The server no longer has this entry: it goes, unless it was changed here.
    void removeHere(const SyncedEntry& e) {
        mapped_.remove(e.id);
        const auto it = locals_.find(e.id);
        if (it == locals_.end()) return;
        if (!sameEntry(it->entry, it->group, e.base, e.baseGroup)) return;  // sent as new
        BookChange change;
        change.kind = BookChange::Kind::Remove;
        change.id = e.id;
        change.expected = it->entry;
        change.expectedGroup = it->group;
        out_.changes.append(change);
        locals_.erase(it);
        ++out_.counts.removed;
    }

    void serverCard(const dav::Resource& r) {
        const QList<CardEntry> now = cardEntries(r.data, job_.group);
        SyncedCard* known = cardAt(r.href);
        const QList<CardEntry> before =
            known ? cardEntries(known->card, job_.group) : QList<CardEntry>{};
        QList<SyncedEntry> olds = known ? known->entries : QList<SyncedEntry>{};
        // Each number's entry: the same number first, then an edited number by its place.
        std::vector<qsizetype> pairOf(size_t(now.size()), -1);
        std::vector<bool> taken(size_t(olds.size()), false);
        for (qsizetype k = 0; k < now.size(); ++k)
            for (qsizetype j = 0; j < olds.size() && pairOf[size_t(k)] < 0; ++j)
                if (!taken[size_t(j)] && olds[j].key == now[k].key) {
                    pairOf[size_t(k)] = j;
                    taken[size_t(j)] = true;
                }
        for (qsizetype k = 0; k < now.size(); ++k)
            for (qsizetype j = 0; j < olds.size() && pairOf[size_t(k)] < 0; ++j)
                if (!taken[size_t(j)]) {
                    pairOf[size_t(k)] = j;
                    taken[size_t(j)] = true;
                }
        SyncedCard card{r.href, r.etag, r.data, {}};
        for (qsizetype k = 0; k < now.size(); ++k) {
            if (pairOf[size_t(k)] < 0) {
                card.entries.append(arrived(now[k]));
                continue;
            }
            SyncedEntry e = olds[pairOf[size_t(k)]];
            CardEntry was{e.base, e.baseGroup, e.key};
            for (const CardEntry& b : before)
                if (b.key == e.key) was = b;
            merge(e, was, now[k]);
            card.entries.append(e);
        }
        for (qsizetype j = 0; j < olds.size(); ++j)
            if (!taken[size_t(j)]) removeHere(olds[j]);
        if (known)
            *known = card;
        else
            out_.state.cards.append(card);
    }

    // A number new on the server: an entry here with that number and no card yet is the
    // same one (a book changed by another program, a sync cut short), never a second copy.
    SyncedEntry arrived(const CardEntry& c) {
        SyncedEntry e{QUuid(), c.key, c.entry, c.groupTitle};
        QList<QUuid>& same = byKey_[c.key];
        while (!c.key.isEmpty() && !same.isEmpty()) {
            e.id = same.takeFirst();
            const auto it = locals_.find(e.id);
            if (mapped_.contains(e.id) || it == locals_.end()) continue;
            mapped_.insert(e.id);
            if (!sameEntry(it->entry, it->group, c.entry, c.groupTitle)) {
                keepConflict(it->entry, it->group);
                update(e.id, c.entry, c.groupTitle, std::nullopt);
            }
            return e;
        }
        e.id = QUuid::createUuid();
        mapped_.insert(e.id);
        add(e.id, c);
        return e;
    }

    // An entry the book gets from the server, under identity `id`.
    void add(const QUuid& id, const CardEntry& c) {
        BookChange change;
        change.kind = BookChange::Kind::Add;
        change.id = id;
        change.entry = c.entry;
        change.group = c.groupTitle;
        out_.changes.append(change);
        locals_.insert(id, {c.entry, c.groupTitle});
        ++out_.counts.added;
    }

    void update(const QUuid& id, const BookEntry& entry, const QString& group,
                std::optional<SyncedEntry> previous) {
        Local& local = locals_[id];
        BookChange change;
        change.kind = BookChange::Kind::Update;
        change.id = id;
        change.entry = entry;
        change.group = group;
        change.expected = local.entry;
        change.expectedGroup = local.group;
        change.previousBase = std::move(previous);
        out_.changes.append(change);
        local = {entry, group};
        ++out_.counts.updated;
    }

    // The card changed on the server: field by field against the base.
    void merge(SyncedEntry& e, const CardEntry& was, const CardEntry& now) {
        const SyncedEntry previous = e;
        e.key = now.key;
        const auto it = locals_.find(e.id);
        const bool serverChanged = !sameEntry(was.entry, was.groupTitle, now.entry, now.groupTitle);
        if (it == locals_.end()) {
            if (!serverChanged) return;  // deleted here: the card loses it below
            // A change beats a delete: the entry comes back.
            e.base = now.entry;
            e.baseGroup = now.groupTitle;
            add(e.id, now);
            return;
        }
        BookEntry result = it->entry;
        QString group = it->group;
        bool conflict = false;
        for (int k = 0; k < BookFieldCount; ++k) {
            const BookField f = BookField(k);
            if (sameField(was.entry, now.entry, f)) continue;
            conflict |= !sameField(it->entry, e.base, f) && !sameField(it->entry, now.entry, f);
            copyBookField(result, now.entry, f);
            copyBookField(e.base, now.entry, f);
        }
        if (was.entry.Status != now.entry.Status) {
            conflict |= it->entry.Status != e.base.Status && it->entry.Status != now.entry.Status;
            result.Status = e.base.Status = now.entry.Status;
        }
        if (!sameGroup(was.groupTitle, now.groupTitle)) {
            conflict |= !sameGroup(it->group, e.baseGroup) && !sameGroup(it->group, now.groupTitle);
            group = e.baseGroup = now.groupTitle;
        }
        if (conflict) keepConflict(it->entry, it->group);
        if (!sameEntry(result, group, it->entry, it->group)) update(e.id, result, group, previous);
    }

    // This desk's changes since the last sync, written to the server.
    bool localPass() {
        QList<SyncedCard>& cards = out_.state.cards;
        for (qsizetype c = 0; c < cards.size(); ++c) {
            SyncedCard& card = cards[c];
            QByteArray patched = card.card;
            bool dirty = false;
            QList<SyncedEntry> kept;
            for (SyncedEntry e : card.entries) {
                const auto it = locals_.find(e.id);
                if (it == locals_.end()) {
                    patched = dropNumber(patched, e.key);
                    dirty = true;
                    continue;
                }
                if (!sameEntry(it->entry, it->group, e.base, e.baseGroup)) {
                    EntryEdit edit;
                    edit.base = e.base;
                    edit.now = it->entry;
                    edit.baseGroup = job_.group.isEmpty() ? e.baseGroup : QString();
                    edit.nowGroup = job_.group.isEmpty() ? it->group : QString();
                    edit.soleEntry = card.entries.size() == 1;
                    patched = patchCard(patched, edit);
                    e.base = it->entry;
                    e.baseGroup = it->group;
                    e.key = phoneKey(bookField(it->entry, FieldPhone));
                    dirty = true;
                }
                kept.append(e);
            }
            if (!dirty) continue;
            if (kept.isEmpty()) {
                if (const std::optional<dav::Error> e = client_.remove(card.href, card.etag))
                    return written(*e);
                cards.removeAt(c--);
                ++out_.counts.deleted;
                continue;
            }
            auto r = client_.put(card.href, patched, card.etag, false);
            if (r.error) return written(*r.error);
            card.etag = r.value;
            card.card = patched;
            card.entries = kept;
            ++out_.counts.sent;
        }
        for (int i = 0; i < job_.book.count(); ++i) {
            const QUuid id = job_.book.idOf(i);
            const auto it = locals_.find(id);
            if (it == locals_.end() || mapped_.contains(id)) continue;
            const QByteArray card = newCard(job_.book, i);
            const QString href = client_.hrefFor(id.toString(QUuid::WithoutBraces));
            auto r = client_.put(href, card, {}, true);
            if (r.error) return written(*r.error);
            mapped_.insert(id);
            const SyncedEntry e{id, phoneKey(bookField(it->entry, FieldPhone)), it->entry,
                                it->group};
            out_.state.cards.append({href, r.value, card, {e}});
            ++out_.counts.sent;
        }
        return true;
    }

    // A write that failed: the server's card changed under it (read it again and apply the
    // rule again), or a failure that ends the sync.
    bool written(const dav::Error& e) {
        if (e.kind != dav::Error::Kind::Precondition) return fail(e), false;
        retry_ = true;
        return false;
    }

    void keepConflict(const BookEntry& entry, const QString& group) {
        ++out_.counts.conflicts;
        BookStore one;
        BookEntry e = entry;
        e.Group = 0;
        if (!group.isEmpty()) e.Group = one.AddGroup(BookGroup::make(group), true);
        one.AddItem(e, true);
        conflicts_ += newCard(one, 0);
    }

    void writeConflicts() {
        if (conflicts_.isEmpty() || job_.conflictFile.isEmpty()) return;
        QFile f(job_.conflictFile);
        if (!f.open(QIODevice::Append) || f.write(conflicts_) != conflicts_.size() || !f.flush())
            out_.conflictProblem =
                QCoreApplication::translate("zrk::ContactSync", "Не удалось записать %1: %2")
                    .arg(f.fileName(), f.errorString());
    }

    const SyncJob& job_;
    SyncResult& out_;
    dav::DavClient client_;
    QHash<QUuid, Local> locals_;  // the synced entries as this desk has them, changes made
    QSet<QUuid> mapped_;          // entries with a card
    QHash<QByteArray, QList<QUuid>> byKey_;  // entries without a card, by number, book order
    QHash<QString, qsizetype> places_;       // the state's cards by href
    QByteArray conflicts_;
    bool retry_ = false;
    const bool trustKnown_;
    bool usedKnown_ = false;
};

}  // namespace

bool inSyncedGroup(const BookStore& book, int i, const QString& group) {
    return group.isEmpty() || sameGroup(groupTitle(book, i), group);
}

SyncResult runSync(const SyncJob& job, const std::atomic<bool>* cancel) {
    SyncResult out;
    out.state = job.state;
    Sync first(job, out, cancel, true);
    first.run();
    if (first.bookGone()) {
        out = SyncResult{};
        out.state = job.state;
        Sync(job, out, cancel, false).run();
    }
    return out;
}

bool applySync(BookStore& book, SyncResult& result) {
    auto groupIndex = [&book](const QString& title) {
        if (title.isEmpty()) return 0;
        for (int g = 1; g < book.groupCount(); ++g)
            if (sameGroup(book.group(g).Text, title)) return g;
        return book.AddGroup(BookGroup::make(title), true);
    };
    auto restoreBase = [&result](const SyncedEntry& base) {
        for (SyncedCard& c : result.state.cards)
            for (SyncedEntry& e : c.entries)
                if (e.id == base.id) e = base;
    };
    QHash<QUuid, int> places;  // one pass: a big sync brings thousands of changes
    places.reserve(book.count());
    for (int i = 0; i < book.count(); ++i) places.insert(book.idOf(i), i);
    bool changed = false;
    std::vector<int> removals;
    for (const BookChange& c : result.changes) {
        const int i = places.value(c.id, -1);
        if (c.kind == BookChange::Kind::Add) {
            if (i >= 0) continue;
            BookEntry e = c.entry;
            e.Group = groupIndex(c.group);
            const int added = book.AddItem(e, true);
            book.setId(added, c.id);
            places.insert(c.id, added);
            changed = true;
            continue;
        }
        // Changed here meanwhile: the next sync sends that change against the old base.
        const bool asSeen =
            i >= 0 && sameEntry(book.entry(i), groupTitle(book, i), c.expected, c.expectedGroup);
        if (!asSeen) {
            if (c.previousBase) {
                restoreBase(*c.previousBase);
                result.savedState.clear();
            }
            continue;
        }
        if (c.kind == BookChange::Kind::Remove) {
            removals.push_back(i);
        } else {
            BookEntry e = c.entry;
            e.Group = groupIndex(c.group);
            book.AddItem(e, false, i);
        }
        changed = true;
    }
    if (!removals.empty()) book.RemoveItems(removals);
    return changed;
}

}  // namespace zrk::contacts
