#pragma once
// The phone book's records, byte for byte as the book file holds them (and as every earlier
// version of the program wrote them), so that a record is read and written with one copy.
#include "core/platform/FixedText.h"

#include <QtGlobal>

#include <cstddef>
#include <type_traits>

namespace zrk {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the record files are little-endian");

// Caller status; -1 (not in the book) is only ever a lookup result.
enum BookStatus : qint32 { StatusNormal = 0, StatusBad = 1, StatusPriority = 2 };

struct BookEntry {
    FixedText<70> Name;
    FixedText<50> Phone;  // the key of lookup, duplicate check and deletion
    FixedText<50> WorkPhone;
    FixedText<70> Address;
    FixedText<50> EMail;
    FixedText<15> Icq;
    FixedText<70> HomePage;
    char pad1[2];
    qint32 Status;  // BookStatus; other values are kept as they are
    qint32 Group;   // position in the group table; 0 = common (no group)
    FixedText<133> Note;
    char pad2[2];

    // A record with every text empty, status normal, common group, all bytes zero.
    static BookEntry empty();
    // Lengths within their fields, zeros after every text and in the padding.
    void normalize();
};

struct BookGroup {
    FixedText<23> Title;   // unique, ignoring letter case
    FixedText<255> Sound;  // wave file; empty = none
    qint32 Action;         // CallAction: none, message, ignore, hang up

    static BookGroup empty();
    static BookGroup make(const QString& title, const QString& sound = {}, qint32 action = 0);
    void normalize();
};

static_assert(std::is_trivially_copyable_v<BookEntry> && std::is_standard_layout_v<BookEntry>);
static_assert(std::is_trivially_copyable_v<BookGroup> && std::is_standard_layout_v<BookGroup>);
static_assert(sizeof(BookEntry) == 528);
static_assert(offsetof(BookEntry, Name) == 0);
static_assert(offsetof(BookEntry, Phone) == 71);
static_assert(offsetof(BookEntry, WorkPhone) == 122);
static_assert(offsetof(BookEntry, Address) == 173);
static_assert(offsetof(BookEntry, EMail) == 244);
static_assert(offsetof(BookEntry, Icq) == 295);
static_assert(offsetof(BookEntry, HomePage) == 311);
static_assert(offsetof(BookEntry, pad1) == 382);
static_assert(offsetof(BookEntry, Status) == 384);
static_assert(offsetof(BookEntry, Group) == 388);
static_assert(offsetof(BookEntry, Note) == 392);
static_assert(offsetof(BookEntry, pad2) == 526);
static_assert(sizeof(BookGroup) == 284);
static_assert(offsetof(BookGroup, Title) == 0);
static_assert(offsetof(BookGroup, Sound) == 24);
static_assert(offsetof(BookGroup, Action) == 280);

// The record of the file written by the first versions ("PHN " files), read only.
struct LegacyBookEntry {
    FixedText<50> Name;
    FixedText<28> Phone;
    qint32 Status;
    FixedText<83> Note;
};
static_assert(std::is_trivially_copyable_v<LegacyBookEntry>);
static_assert(sizeof(LegacyBookEntry) == 168);
static_assert(offsetof(LegacyBookEntry, Phone) == 51);
static_assert(offsetof(LegacyBookEntry, Status) == 80);
static_assert(offsetof(LegacyBookEntry, Note) == 84);

}  // namespace zrk
