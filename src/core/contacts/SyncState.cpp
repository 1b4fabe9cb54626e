#include "core/contacts/SyncState.h"

#include <QDataStream>
#include <QIODevice>

namespace zrk::contacts {

namespace {
constexpr quint32 kMagic = 0x5A534E31;  // "ZSN1"
}

QByteArray SyncState::save() const {
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_4);
    s << kMagic << account << addressBook << canSync << group << token << quint32(cards.size());
    for (const SyncedCard& c : cards) {
        s << c.href << c.etag << c.card << quint32(c.entries.size());
        for (const SyncedEntry& e : c.entries) {
            s << e.id << e.key << e.baseGroup;
            s.writeRawData(reinterpret_cast<const char*>(&e.base), sizeof e.base);
        }
    }
    return out;
}

SyncState SyncState::load(const QByteArray& bytes) {
    SyncState state;
    if (bytes.isEmpty()) return state;
    QDataStream s(bytes);
    s.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0, cards = 0;
    s >> magic;
    if (magic != kMagic) return {};
    s >> state.account >> state.addressBook >> state.canSync >> state.group >> state.token >> cards;
    for (quint32 k = 0; k < cards && s.status() == QDataStream::Ok; ++k) {
        SyncedCard c;
        quint32 entries = 0;
        s >> c.href >> c.etag >> c.card >> entries;
        for (quint32 n = 0; n < entries && s.status() == QDataStream::Ok; ++n) {
            SyncedEntry e;
            s >> e.id >> e.key >> e.baseGroup;
            if (s.readRawData(reinterpret_cast<char*>(&e.base), sizeof e.base) != sizeof e.base)
                return {};
            e.base.normalize();
            c.entries.append(e);
        }
        state.cards.append(c);
    }
    if (s.status() != QDataStream::Ok) return {};
    return state;
}

}  // namespace zrk::contacts
