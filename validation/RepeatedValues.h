#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class Connection;
class Recordset;

// The values a sheet column, or a pair of columns, holds more than once,
// counted from the column's values or found by one grouped query, instead
// of a count for every cell. The group
// and the count compare values alike, so a cell counts more than once only
// where its value equals one of these: a sheet without repeats needs no
// count at all, and one with a few needs them only for the cells that may
// match.
class RepeatedValues {
public:
    RepeatedValues() = default;
    // sql: "Select <the compared values> ... Group By <them> Having Count(...) > 1".
    RepeatedValues(Connection& excel, const QString& sql);
    // A column's repeats counted from its values in the pass's own rows
    // where each is an ASCII text or empty: such texts are equal ignoring
    // case exactly when they are equal in lower case, so the counts are the
    // sheet's. Any other column is asked with the query.
    static RepeatedValues OfColumn(Connection& excel, const QString& sql, const Recordset& rows,
                                   int field);

    // How often the column holds a text, where its counts are known.
    std::optional<int> Count(const QString& text) const;

    // Whether the values, with these texts, may equal a repeated one: false
    // only where they cannot. Texts compared as numbers may match any
    // repeated value.
    bool MayMatch(const QStringList& texts, bool comparedAsText) const;

private:
    bool any_ = false;
    // Every repeated value is an ASCII text: two ASCII texts are equal
    // ignoring case only when they are equal in lower case.
    bool byKey_ = true;
    QSet<QString> keys_;
    std::optional<QHash<QString, int>> counts_;  // by key, where every value has one
};
