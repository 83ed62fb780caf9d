#include "base/Recordset.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

#include "base/AppError.h"
#include "base/ValueText.h"

namespace {
// The database client's numbers for these failures.
constexpr qint32 kNotFound = 3265;      // item cannot be found in the collection
constexpr qint32 kNoCurrent = 3021;     // no current record
constexpr qint32 kWrongType = 3421;     // value of the wrong type
constexpr qint32 kNotUpdatable = 3251;  // operation not supported by the provider

AppError NoCurrentRecord() {
    return AppError(kNoCurrent, "Either BOF or EOF is True, or the record was deleted");
}

// The day a time of day without a date stands on.
const QDate kTimeOnlyDate(1899, 12, 30);

bool IsInteger(int t) {
    return t == TypeCode::SmallInt || t == TypeCode::Integer || t == TypeCode::BigInt ||
           t == TypeCode::TinyInt || t == TypeCode::UnsignedTinyInt;
}
bool IsReal(int t) {
    return t == TypeCode::Single || t == TypeCode::Double || t == TypeCode::Currency ||
           t == TypeCode::Decimal || t == TypeCode::Numeric;
}
bool IsBinary(int t) {
    return t == TypeCode::Binary || t == TypeCode::VarBinary || t == TypeCode::LongVarBinary;
}
bool IsDate(int t) {
    return t == TypeCode::Date || t == TypeCode::DBDate || t == TypeCode::DBTimeStamp ||
           t == TypeCode::DBTime;
}

// Dates carry no time zone: they are built in UTC, which also spares a
// look-up of the local zone for every value read.
// The digits of text from..from+count as a number; false when one is not
// a digit.
bool ReadDigits(const QString& text, qsizetype from, int count, int& n) {
    n = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return false;
        n = n * 10 + (c - u'0');
    }
    return true;
}

// "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss", the way dates are written out, read
// without Qt's format parser, which cost more than the rest of a row.
// Invalid when the text has another shape or is no day.
QDateTime ParseIsoDate(const QString& text) {
    if (text.size() != 10 && text.size() != 19) return {};
    int y, mo, d, h = 0, mi = 0, s = 0;
    if (text[4] != u'-' || text[7] != u'-' || !ReadDigits(text, 0, 4, y) ||
        !ReadDigits(text, 5, 2, mo) || !ReadDigits(text, 8, 2, d))
        return {};
    if (text.size() == 19 &&
        (text[10] != u' ' || text[13] != u':' || text[16] != u':' || !ReadDigits(text, 11, 2, h) ||
         !ReadDigits(text, 14, 2, mi) || !ReadDigits(text, 17, 2, s)))
        return {};
    const QDate date(y, mo, d);
    const QTime time(h, mi, s);
    return date.isValid() && time.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
}

QDateTime ParseDate(const QString& raw) {
    const QString text = raw.trimmed();
    if (const QDateTime d = ParseIsoDate(text); d.isValid()) return d;
    const auto at =
        std::find_if(text.cbegin(), text.cend(), [](QChar c) { return c == u' ' || c == u'T'; });
    const qsizetype gap = at == text.cend() ? -1 : at - text.cbegin();
    const QString datePart = gap < 0 ? text : text.left(gap);
    const QString timePart = gap < 0 ? QString() : text.mid(gap + 1);
    const QTime time = QTime::fromString(timePart.isEmpty() ? datePart : timePart, "HH:mm:ss");
    // A time alone would otherwise land on Qt's default day, 1900-01-01.
    if (timePart.isEmpty() && time.isValid()) return QDateTime(kTimeOnlyDate, time, Qt::UTC);
    for (const char* format : {"yyyy-MM-dd", "MM/dd/yyyy"}) {
        const QDate date = QDate::fromString(datePart, format);
        if (!date.isValid()) continue;
        if (timePart.isEmpty()) return QDateTime(date, QTime(0, 0), Qt::UTC);
        if (time.isValid()) return QDateTime(date, time, Qt::UTC);
    }
    return {};
}

}  // namespace

QVariant ConvertValue(const Field& field, const QVariant& value) {
    if (value.isNull()) return QVariant();
    const int t = field.type;
    const auto fail = [&] {
        return AppError(
            kWrongType,
            QString("Cannot convert \"%1\" for column %2").arg(value.toString(), field.name));
    };
    if (IsInteger(t)) {
        if (value.typeId() == QMetaType::QString) {
            bool ok = false;
            const qlonglong n = value.toString().trimmed().toLongLong(&ok);
            if (!ok) throw fail();
            return n;
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok) throw fail();
        return static_cast<qlonglong>(std::llround(d));
    }
    if (IsReal(t)) {
        bool ok = false;
        const double d = value.typeId() == QMetaType::QString
                             ? value.toString().trimmed().toDouble(&ok)
                             : value.toDouble(&ok);
        if (!ok) throw fail();
        return d;
    }
    if (IsDate(t)) {
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
    if (value.typeId() == QMetaType::QByteArray && IsBinary(t)) return value;
    return value.toString();
}

bool IsNumberType(int typeCode) { return IsInteger(typeCode) || IsReal(typeCode); }

QMetaType StoredType(int typeCode) {
    if (IsInteger(typeCode)) return QMetaType::fromType<qlonglong>();
    if (IsReal(typeCode)) return QMetaType::fromType<double>();
    if (IsDate(typeCode)) return QMetaType::fromType<QDateTime>();
    if (typeCode == TypeCode::Boolean) return QMetaType::fromType<bool>();
    return QMetaType::fromType<QString>();
}

Recordset::Recordset(QVector<Field> fields, QVector<Row> rows, std::shared_ptr<RecordWriter> writer)
    : fields_(std::move(fields)),
      rows_(std::move(rows)),
      original_(rows_),
      added_(rows_.size(), false),
      writer_(std::move(writer)) {}

Recordset::~Recordset() = default;

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
    return Current()[i];
}

QVariant Recordset::ValueAt(int position, int i) const {
    FieldAt(i);
    if (position < 1 || position > RecordCount()) throw NoCurrentRecord();
    return rows_[position - 1][i];
}

QVariant Recordset::Value(const QString& name) const { return Current()[Require(name)]; }

void Recordset::SetValue(int i, const QVariant& value) {
    const Field& f = FieldAt(i);
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
