#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class Connection;
class Recordset;

// The values a sheet column, or a pair of columns, holds more than once,
// counted from the column's values or found by one grouped query, instead
// of a count for every cell. The group and the count compare values alike,
// so a cell counts more than once only where its value equals one of these:
// a sheet without repeats needs no count at all, and one with a few needs
// them only for the cells that may match.
class RepeatedValues {
public:
    RepeatedValues() = default;
    // sql: "Select <the compared values> ... Group By <them> Having Count(...) > 1".
    RepeatedValues(Connection& excel, const QString& sql);
    // A column's repeats counted from its values in the pass's own rows
    // where each is an ASCII text or empty: such texts are equal ignoring
    // case exactly when they are equal in upper case, so the counts are the
    // sheet's. Any other column is asked with the query.
    static RepeatedValues OfColumn(Connection& excel, const QString& sql, const Recordset& rows,
                                   int field);

    // Whether the column holds a text more than once, where its counts are
    // known; none where only a count of the sheet can tell.
    std::optional<bool> Repeats(const QString& text) const;

    // Whether the values, with these texts, may equal a repeated one: false
    // only where they cannot. Texts compared as numbers may match any
    // repeated value.
    bool MayMatch(const QStringList& texts, bool comparedAsText) const;

private:
    bool any_ = false;
    // Every repeated value is an ASCII text: two ASCII texts are equal
    // ignoring case only when they are equal in upper case.
    bool byKey_ = true;
    QSet<QString> keys_;
    bool counted_ = false;  // keys_ holds every key the column repeats
};
