#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <functional>

#include "mapping/SelectLists.h"

class Connection;
class DbConnection;
class Grid;

struct InsertInput {
    QString table;                     // TABLENAME
    QString sheet;                     // sheet name without "$"
    QString home;                      // program folder (GSETUP.ini)
    SelectLists lists;                 // as the last Verify built them
    std::array<QString, 3> keyFields;  // PRIMARYFIELD(0..2)
    const Grid& mustDefault;           // SC(3) with its shown flags
    QString defaultFieldList;
    int defaultFieldCount = 0;
    const Grid& rejected;  // SC(2): row headers hold the rejected row numbers
    QDate today;
    // Whether the sheet may go as a set; one record at a time otherwise.
    bool asSet = true;
};

struct InsertCounts {
    int inserted = 0;
    int updated = 0;
    int skipped = 0;
};

// Writes every sheet record that Verify did not reject: the record with the
// same key is updated, or a new one added, with its companion rules. The
// sheet goes as a set where it can; when the set fails, nothing of it is
// kept and the records are written one by one instead. A failure there
// ends the pass at that record, naming its row: nothing of that record is
// written, and the records before it stay saved. progress is called before
// each record; its false stops the pass there: one by one the records
// before it stay saved, as a set nothing is written.
// step names each of a set's steps as it begins ("Staging rows... 500 of
// 65535", "Adding new records..."), so that progress keeps moving after the
// last record is read. notice says, when the set is refused and the
// records go one by one instead, why, for the user and the log.
InsertCounts RunInsertPass(Connection& excel, DbConnection& db, const InsertInput& input,
                           const std::function<bool(int position, int count)>& progress,
                           const std::function<void(const QString& step)>& step,
                           const std::function<void(const QString& text)>& notice);
