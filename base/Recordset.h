#pragma once

#include <QVariant>
#include <QVector>
#include <memory>

#include "base/Field.h"

class RecordWriter;

// Rows a read-only recordset reads where they already are, value by value,
// rather than as copies: a sheet of a million rows would otherwise be held
// twice.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int RowCount() const = 0;
    // The value of field `field` in row `row` (both from 0).
    virtual QVariant At(int row, int field) const = 0;
};

// A static, client-side result: every row is read into memory when it is
// opened, or read in place from a RowSource. Positioned on the first
// record; knows its count and positions. Recordsets of a writable
// connection can change and add records.
class Recordset {
public:
    using Row = QVector<QVariant>;

    Recordset(QVector<Field> fields, QVector<Row> rows,
              std::shared_ptr<RecordWriter> writer = nullptr);
    // A read-only recordset over rows kept elsewhere.
    Recordset(QVector<Field> fields, std::shared_ptr<const RowSource> source);
    ~Recordset();

    bool Eof() const { return current_ < 0 || current_ >= RecordCount(); }
    void MoveNext();
    // Position of the current record, from 1.
    int AbsolutePosition() const { return current_ + 1; }
    // Makes the record at that position (from 1) current.
    void MoveTo(int position);
    int RecordCount() const {
        return source_ ? source_->RowCount() : static_cast<int>(rows_.size());
    }

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    const Field& FieldAt(int i) const;
    const QVector<Field>& Fields() const { return fields_; }
    // Position of the field of that name (letter case ignored), or -1.
    int IndexOf(const QString& name) const;
    QVariant Value(int i) const;
    QVariant Value(const QString& name) const;
    // The value of field i in the record at that position (from 1), wherever
    // the current record is.
    QVariant ValueAt(int position, int i) const;
    // Converts the value to the field's type, as the database client does.
    void SetValue(int i, const QVariant& value);
    void SetValue(const QString& name, const QVariant& value);

    // Appends an empty record and makes it current.
    void AddNew();
    // Saves the current record: the fields that changed, or a new record.
    void Update();
    // Reads the rows again.
    void Requery();
    void Close();

private:
    int Require(const QString& name) const;
    const Row& Current() const;
    // Copies the source's rows in, before a value changes.
    void TakeRows();

    QVector<Field> fields_;
    QVector<Row> rows_;
    QVector<Row> original_;  // rows as read, for the fields that changed
    QVector<bool> added_;    // rows added by AddNew and not saved yet
    int current_ = 0;
    std::shared_ptr<RecordWriter> writer_;
    std::shared_ptr<const RowSource> source_;  // rows read in place, until one changes
};

// What a writable connection does for its recordsets.
class RecordWriter {
public:
    virtual ~RecordWriter() = default;
    // Saves one record. original is empty for a new record.
    virtual void Save(const QVector<Field>& fields, const Recordset::Row& original,
                      const Recordset::Row& current) = 0;
    // The rows of the query again, in the same field layout.
    virtual QVector<Recordset::Row> Reread() = 0;
};

// The value as the field's type stores it: a text is converted to a number
// or a date, a number to text; an empty text is no date (null).
QVariant ConvertValue(const Field& field, const QVariant& value);
// The Qt type ConvertValue gives for values of a type code.
QMetaType StoredType(int typeCode);

// True when the recordset has a field of exactly that name (letter case counts).
bool FieldExists(const Recordset& recordset, const QString& name);
