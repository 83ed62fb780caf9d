#pragma once

#include <QString>
#include <QVector>
#include <memory>

#include "base/Field.h"
#include "base/Recordset.h"

// A table read whole: its columns in file order and every row in the order
// the file keeps them. A null value is a null QVariant, any other value its
// text (Jet 4 text is Unicode in the file, Jet 3 text Windows-1252).
struct AccessTable {
    QVector<Field> fields;
    QVector<Recordset::Row> rows;
};

// An Access (Jet 3 or Jet 4) database file opened read-only through libmdb.
// Every failure is an AppError carrying Jet's error number and naming the file.
class AccessFile {
public:
    // Refuses a file that is missing, cannot be read (locked, no permission,
    // a folder), is not an Access database or is damaged.
    explicit AccessFile(const QString& path);
    ~AccessFile();
    AccessFile(const AccessFile&) = delete;
    AccessFile& operator=(const AccessFile&) = delete;

    // The user or system table of that name (letter case ignored, as Jet does).
    AccessTable ReadTable(const QString& name) const;

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
};
