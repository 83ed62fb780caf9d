#include "database/SqliteStatement.h"

#include <sqlite3.h>

#include <QDateTime>
#include <cstring>

#include "base/AppError.h"
#include "database/ColumnTypes.h"

namespace {

// Qt's SQLite driver reports a failure without a number of its own by the
// result code of the call that failed. SQLITE_BUSY comes once the busy
// timeout has run out: the wait is named, as a server's time-out is.
AppError SqliteFailure(sqlite3* connection, int code, int timeoutSeconds) {
    if ((code & 0xff) == SQLITE_BUSY)
        return AppError(code, QString("The statement timed out waiting for another connection to "
                                      "release its lock on the database file (%1 s).")
                                  .arg(timeoutSeconds));
    return AppError(code, QString::fromUtf8(sqlite3_errmsg(connection)).trimmed());
}

// A null text, bytes or date is bound as SQL NULL, as in Qt's drivers.
bool IsNull(const QVariant& value) {
    if (value.isNull()) return true;
    switch (value.typeId()) {
        case QMetaType::QString:
            return static_cast<const QString*>(value.constData())->isNull();
        case QMetaType::QByteArray:
            return static_cast<const QByteArray*>(value.constData())->isNull();
        default:
            return false;
    }
}

// A column without a declared type (an expression) is known by the
// storage class of its first value.
QString TypeName(sqlite3_stmt* statement, int column, bool onRow) {
    if (const char* declared = sqlite3_column_decltype(statement, column))
        return QString::fromUtf8(declared);
    switch (onRow ? sqlite3_column_type(statement, column) : SQLITE_NULL) {
        case SQLITE_INTEGER:
            return "integer";
        case SQLITE_FLOAT:
            return "real";
        case SQLITE_BLOB:
            return "blob";
        default:
            return "text";
    }
}

// Whether the table column a result column reads takes null; true for a
// computed column.
bool TakesNull(sqlite3_stmt* statement, int column) {
    const char* table = sqlite3_column_table_name(statement, column);
    const char* origin = sqlite3_column_origin_name(statement, column);
    int notNull = 0;
    if (!table || !origin ||
        sqlite3_table_column_metadata(
            sqlite3_db_handle(statement), sqlite3_column_database_name(statement, column), table,
            origin, nullptr, nullptr, &notNull, nullptr, nullptr) != SQLITE_OK)
        return true;
    return notNull == 0;
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* connection, const QString& sql, int timeoutSeconds)
    : connection_(connection), timeoutSeconds_(timeoutSeconds) {
    const int code = sqlite3_prepare16_v3(connection_, sql.utf16(), int(sql.size() * sizeof(QChar)),
                                          SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
    if (code != SQLITE_OK) Fail(code);
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

void SqliteStatement::Fail(int code) { throw SqliteFailure(connection_, code, timeoutSeconds_); }

char* SqliteStatement::TextSpace(qsizetype size) {
    constexpr qsizetype kBlock = 256 * 1024;
    for (;; ++textBlock_, textUsed_ = 0) {
        if (textBlock_ == textBlocks_.size())
            textBlocks_.emplace_back(qMax(kBlock, size), Qt::Uninitialized);
        QByteArray& block = textBlocks_[textBlock_];
        if (block.size() - textUsed_ >= size) return block.data() + textUsed_;
    }
}

// Texts go in UTF-8, the file's own encoding: SQLite's own conversion from
// UTF-16 cost more than the insert. They are written into kept blocks, not
// each into its own allocation: a sheet binds a text for most of its cells.
int SqliteStatement::BindText(int index, const QString& text) {
    const qsizetype size = text.size();
    char* out = TextSpace(size);
    const QChar* in = text.constData();
    qsizetype ascii = 0;
    for (; ascii < size && in[ascii].unicode() < 0x80; ++ascii)
        out[ascii] = char(in[ascii].unicode());
    qsizetype bytes = size;
    if (ascii < size) {
        const QByteArray utf8 = text.toUtf8();
        bytes = utf8.size();
        out = TextSpace(bytes);
        std::memcpy(out, utf8.constData(), size_t(bytes));
    }
    textUsed_ += bytes;
    return sqlite3_bind_text(statement_, index, out, int(bytes), SQLITE_STATIC);
}

void SqliteStatement::Bind(int index, const QVariant& value) {
    int code = SQLITE_OK;
    if (IsNull(value)) {
        code = sqlite3_bind_null(statement_, index);
    } else {
        switch (value.typeId()) {
            case QMetaType::QByteArray: {
                const auto* bytes = static_cast<const QByteArray*>(value.constData());
                code = sqlite3_bind_blob(statement_, index, bytes->constData(), int(bytes->size()),
                                         SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::Int:
            case QMetaType::Bool:
                code = sqlite3_bind_int(statement_, index, value.toInt());
                break;
            case QMetaType::Double:
                code = sqlite3_bind_double(statement_, index, value.toDouble());
                break;
            case QMetaType::UInt:
            case QMetaType::LongLong:
                code = sqlite3_bind_int64(statement_, index, value.toLongLong());
                break;
            case QMetaType::QDateTime:
                code = BindText(index, value.toDateTime().toString(Qt::ISODateWithMs));
                break;
            case QMetaType::QTime:
                code = BindText(index, value.toTime().toString(u"hh:mm:ss.zzz"));
                break;
            case QMetaType::QString:
                code = BindText(index, *static_cast<const QString*>(value.constData()));
                break;
            default:
                code = BindText(index, value.toString());
                break;
        }
    }
    if (code != SQLITE_OK) Fail(code);
}

bool SqliteStatement::Step() {
    if (!statement_) return false;  // a text without a statement
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    Fail(code);
}

void SqliteStatement::Run(const QVariantList& params) {
    Finish();
    for (int i = 0; i < params.size(); ++i) Bind(i + 1, params[i]);
    pendingRow_ = Step();
    changes_ = sqlite3_changes(connection_);
}

QVector<Field> SqliteStatement::Describe(const Dialect& dialect) {
    QVector<Field> fields;
    const int count = sqlite3_column_count(statement_);
    fields.reserve(count);
    for (int i = 0; i < count; ++i) {
        Field field;
        const auto* name = static_cast<const QChar*>(sqlite3_column_name16(statement_, i));
        field.name = dialect.FieldName(QString(name).remove(u'"'));
        const QString type = TypeName(statement_, i, pendingRow_);
        field.type = TypeCodeOf(type);
        field.limits = LimitsOf(type, field.type, {0, 0, TakesNull(statement_, i), true});
        fields.append(field);
    }
    return fields;
}

bool SqliteStatement::Next() {
    if (pendingRow_) {
        pendingRow_ = false;
        return true;
    }
    return Step();
}

QVariant SqliteStatement::Value(int column) {
    switch (sqlite3_column_type(statement_, column)) {
        case SQLITE_INTEGER:
            return qint64(sqlite3_column_int64(statement_, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement_, column);
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                              sqlite3_column_bytes(statement_, column));
        case SQLITE_NULL:
            return QVariant(QMetaType::fromType<QString>());
        default:
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement_, column)),
                sqlite3_column_bytes(statement_, column));
    }
}

int SqliteStatement::RowsAffected() { return changes_; }

void SqliteStatement::Finish() {
    pendingRow_ = false;
    if (!statement_) return;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    textBlock_ = 0;
    textUsed_ = 0;
}
