#pragma once
// The district table: number masks with the district ("Raion") a caller of that prefix
// lives in, kept in the settings store under "Software\Zrk Pro\Raions" as "Count Raions" and
// "Raion0".."RaionN-1", each "mask|district".
#include <QList>
#include <QString>

namespace zrk {

inline constexpr auto kRaionsKey = "Software\\Zrk Pro\\Raions";

// One row of the table as the options page lists it.
struct RaionEntry {
    QString number;  // the mask as the user typed it ("Номер")
    QString raion;   // the district ("Район"), everything after the first "|"
    // False only for a stored text without any "|" (edited by hand): it is listed with the
    // whole text as its mask and written back exactly as it was found.
    bool separated = true;

    // The stored form.
    QString text() const;
    static RaionEntry fromText(const QString& stored);

    friend bool operator==(const RaionEntry&, const RaionEntry&) = default;
};

// The district of a caller number, or empty text. Reads the store on every call, so that a
// change made in the options dialog counts for the next caller. The first entry in table
// order whose mask (its digits and P T W p t w only) begins the number wins; a mask without
// any of those matches every number. Entries without "|" are skipped.
// A value stored with a wrong type raises ERegistryException.
QString FindRaion(const QString& number);

// The whole table in index order; gaps (missing values) are skipped.
QList<RaionEntry> LoadRaions();
// Writes "Count Raions" and the rows from index 0; values beyond the new count stay where
// they are, unread. Nothing is written when the key cannot be opened. A refused write of
// the store raises ERegistryException.
void SaveRaions(const QList<RaionEntry>& rows);

}  // namespace zrk
