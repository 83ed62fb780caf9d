#pragma once

#include <QList>
#include <QString>

// Names that end a statement's quotes early or change its meaning when
// pasted into SQL as they stand. The tests use each as a sheet's header, a
// sheet's name, a match file's field and a --map value, and check that it
// stays one name everywhere.
struct HostileName {
    const char* what;  // what the name tries
    QString name;
};

inline const QList<HostileName>& HostileNames() {
    static const QList<HostileName> names{
        {"single quotes", "O'Neil's"},
        {"double quotes", "say \"when\""},
        {"brackets", "Weight [kg]"},
        {"a bracket ending the name early", "Item Name],[Secret"},
        {"doubled closing brackets", "a]]b]"},
        {"a union after the sheet's table", "SB$] Union Select 1,2 From [SB"},
        {"a statement after a literal", "ITEMNAME') ; DROP TABLE MT_PLU; --"},
        {"a semicolon and a comment", "x;--y"},
        {"a NUL", QString("nul") + QChar(0) + "name"},
        {"an SQL keyword", "Select"},
        {"300 characters", "Long " + QString(295, 'n')},
        {"nothing: an empty header", ""},
    };
    return names;
}

// A statement's text outside its string literals and its names in brackets
// or double quotes (each left as a blank), where a name must never be
// found: there it would be SQL.
inline QString OutsideQuotes(const QString& sql) {
    QString outside;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar open = sql[i++];
        if (open != u'\'' && open != u'"' && open != u'[') {
            outside += open;
            continue;
        }
        // On past the closing character; a doubled one stands for one.
        const QChar close = open == u'[' ? QChar(u']') : open;
        for (; i < sql.size(); ++i) {
            if (sql[i] != close) continue;
            if (i + 1 < sql.size() && sql[i + 1] == close) {
                ++i;
                continue;
            }
            break;
        }
        ++i;
        outside += u' ';
    }
    return outside;
}

// Whether a sheet may have the name: the workbook formats hold none empty
// or with a control character, and the program refuses such a workbook.
inline bool CanNameASheet(const QString& name) {
    if (name.isEmpty()) return false;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control) return false;
    return true;
}

// The sheet engine's name of a header: an empty header reads as "F" and its
// column's number.
inline QString HeaderAsRead(const QString& header, int column) {
    return header.isEmpty() ? "F" + QString::number(column) : header;
}
