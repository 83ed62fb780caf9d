#include "base/Recordset.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

#include "base/AppError.h"
#include "base/DateValue.h"
#include "base/ValueText.h"

namespace {
// The database client's numbers for these failures.
constexpr qint32 kNotFound = 3265;      // item cannot be found in the collection
constexpr qint32 kNoCurrent = 3021;     // no current record
constexpr qint32 kNotUpdatable = 3251;  // operation not supported by the provider

AppError NoCurrentRecord() {
    return AppError(kNoCurrent, "Either BOF or EOF is True, or the record was deleted");
}

}  // namespace

QVariant ConvertValue(const Field& field, const QVariant& value) {
    if (value.isNull()) return QVariant();
    const int t = field.type;
    const auto fail = [&] {
        return AppError(
            ErrorNumber::WrongType,
            QString("Cannot convert \"%1\" for column %2").arg(value.toString(), field.name));
    };
    if (IsIntegerType(t)) {
        if (value.typeId() == QMetaType::QString) {
            bool ok = false;
            const qlonglong n = value.toString().trimmed().toLongLong(&ok);
            if (!ok) throw fail();
            return n;
        }
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
            return value.toLongLong();  // a double would lose the low digits of a large one
        bool ok = false;
        const double d = std::round(value.toDouble(&ok));
        // A double outside 64 bits has no integer to become.
        if (!ok || !(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) throw fail();
        return static_cast<qlonglong>(d);
    }
    if (IsRealType(t)) {
        bool ok = false;
        const double d = value.typeId() == QMetaType::QString
                             ? value.toString().trimmed().toDouble(&ok)
                             : value.toDouble(&ok);
        if (!ok) throw fail();
        return d;
    }
    if (IsDateType(t)) {
        if (value.typeId() == QMetaType::QDateTime) return value;
        if (value.typeId() == QMetaType::QDate)
            return QDateTime(value.toDate(), QTime(0, 0), Qt::UTC);
        if (value.typeId() == QMetaType::QTime)
            return QDateTime(kTimeOnlyDate, value.toTime(), Qt::UTC);
        const QString text = value.toString();
        // An empty cell is no date: it is stored as null, not as 1900-01-01.
        if (text.trimmed().isEmpty()) return QVariant();
        const QDateTime d = ParseDate(text);
        if (!d.isValid()) throw fail();
        return d;
    }
    if (t == TypeCode::Boolean) {
        const QString s = value.toString().trimmed().toLower();
        if (s == "true" || s == "1" || s == "-1") return true;
        if (s == "false" || s == "0") return false;
        throw fail();
    }
    if (value.typeId() == QMetaType::Double) return NumberText(value.toDouble());
    // Bytes (a row version, an image) stay bytes: as text they would be lost.
    if (value.typeId() == QMetaType::QByteArray && IsBinaryType(t)) return value;
    return value.toString();
}

QMetaType StoredType(int typeCode) {
    if (IsIntegerType(typeCode)) return QMetaType::fromType<qlonglong>();
    if (IsRealType(typeCode)) return QMetaType::fromType<double>();
    if (IsDateType(typeCode)) return QMetaType::fromType<QDateTime>();
    if (typeCode == TypeCode::Boolean) return QMetaType::fromType<bool>();
    return QMetaType::fromType<QString>();
}

Recordset::Recordset(QVector<Field> fields, QVector<Row> rows, std::shared_ptr<RecordWriter> writer)
    : fields_(std::move(fields)),
      rows_(std::move(rows)),
      original_(rows_),
      added_(rows_.size(), false),
      writer_(std::move(writer)) {}

Recordset::Recordset(QVector<Field> fields, std::shared_ptr<const RowSource> source)
    : fields_(std::move(fields)), source_(std::move(source)) {}

Recordset::~Recordset() = default;

void Recordset::TakeRows() {
    if (!source_) return;
    rows_.resize(source_->RowCount());
    for (int r = 0; r < rows_.size(); ++r) {
        rows_[r].resize(FieldCount());
        for (int i = 0; i < FieldCount(); ++i) rows_[r][i] = source_->At(r, i);
    }
    original_ = rows_;
    added_ = QVector<bool>(rows_.size(), false);
    source_.reset();
}

void Recordset::MoveNext() {
    if (Eof()) throw NoCurrentRecord();
    ++current_;
}

void Recordset::MoveTo(int position) {
    if (position < 1 || position > RecordCount()) throw NoCurrentRecord();
    current_ = position - 1;
}

const Field& Recordset::FieldAt(int i) const {
    if (i < 0 || i >= FieldCount())
        throw AppError(kNotFound,
                       QString("Item cannot be found in the collection: field %1").arg(i));
    return fields_[i];
}

int Recordset::IndexOf(const QString& name) const {
    // Rules name fields as they are spelled: the exact name is looked for
    // first. Names equal but for letter case are as long: lengths are
    // compared first, cheaply.
    for (int i = 0; i < FieldCount(); ++i)
        if (fields_[i].name == name) return i;
    for (int i = 0; i < FieldCount(); ++i)
        if (fields_[i].name.size() == name.size() &&
            fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Recordset::Require(const QString& name) const {
    const int i = IndexOf(name);
    if (i < 0)
        throw AppError(kNotFound,
                       "Item cannot be found in the collection corresponding to the requested "
                       "name or ordinal: " +
                           name);
    return i;
}

const Recordset::Row& Recordset::Current() const {
    if (Eof()) throw NoCurrentRecord();
    return rows_[current_];
}

QVariant Recordset::Value(int i) const {
    FieldAt(i);
    if (Eof()) throw NoCurrentRecord();
    return source_ ? source_->At(current_, i) : rows_[current_][i];
}

QVariant Recordset::ValueAt(int position, int i) const {
    FieldAt(i);
    if (position < 1 || position > RecordCount()) throw NoCurrentRecord();
    return source_ ? source_->At(position - 1, i) : rows_[position - 1][i];
}

QVariant Recordset::Value(const QString& name) const { return Value(Require(name)); }

void Recordset::SetValue(int i, const QVariant& value) {
    const Field& f = FieldAt(i);
    TakeRows();
    Current();
    rows_[current_][i] = ConvertValue(f, value);
}

void Recordset::SetValue(const QString& name, const QVariant& value) {
    SetValue(Require(name), value);
}

void Recordset::AddNew() {
    if (!writer_) throw AppError(kNotUpdatable, "The recordset cannot be updated");
    rows_.append(Row(FieldCount()));
    original_.append(Row());
    added_.append(true);
    current_ = static_cast<int>(rows_.size()) - 1;
}

void Recordset::Update() {
    if (!writer_) throw AppError(kNotUpdatable, "The recordset cannot be updated");
    const Row& row = Current();
    writer_->Save(fields_, added_[current_] ? Row() : original_[current_], row);
    original_[current_] = row;
    added_[current_] = false;
}

void Recordset::Requery() {
    if (!writer_) return;  // read-only results do not change under us
    rows_ = writer_->Reread();
    original_ = rows_;
    added_ = QVector<bool>(rows_.size(), false);
    current_ = 0;
}

void Recordset::Close() {
    source_.reset();
    rows_.clear();
    original_.clear();
    added_.clear();
    writer_.reset();
    current_ = 0;
}

bool FieldExists(const Recordset& recordset, const QString& name) {
    for (const Field& f : recordset.Fields())
        if (f.name == name) return true;
    return false;
}
