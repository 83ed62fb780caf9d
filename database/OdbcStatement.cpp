#include "database/OdbcStatement.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QDateTime>
#include <algorithm>
#include <type_traits>

#include "base/AppError.h"
#include "database/ColumnTypes.h"

static_assert(std::is_same_v<SQLLEN, long>, "length indicators are kept as long");
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "wide text is UTF-16");

namespace {

// The database client's number for a provider failure without a number of
// its own (E_FAIL, "Unspecified error").
constexpr qint32 kProviderError = -2147467259;
// Texts up to this many characters go as NVARCHAR(4000), one type for all
// of them, so that the server keeps one plan; longer ones as NVARCHAR(MAX).
constexpr SQLULEN kWideVarcharSize = 4000;
constexpr SQLULEN kVarcharSize = 8000;
constexpr SQLULEN kVarbinarySize = 8000;
// Bytes a bound value's buffer holds at least: texts of up to 255
// characters. The driver prepares the statement again when a value is bound
// anew, as one that outgrows its buffer is.
constexpr qsizetype kValueRoom = 512;
// Bytes read from a long value at a time.
constexpr SQLLEN kChunk = 8192;

struct Diagnostics {
    QString text;
    QString sqlState;  // of the first record
    qint32 number = kProviderError;
};

Diagnostics ReadDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    Diagnostics d;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        const SQLRETURN r = SQLGetDiagRecW(type, handle, i, state, &native, message,
                                           SQLSMALLINT(std::size(message)), &length);
        if (!SQL_SUCCEEDED(r)) break;
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(message),
                               qMin<qsizetype>(length, qsizetype(std::size(message)) - 1))
                .trimmed();
        if (i == 1) {
            d.sqlState = QString::fromUtf16(reinterpret_cast<const char16_t*>(state));
            if (native != 0) d.number = native;
        }
        if (!text.isEmpty()) d.text += (d.text.isEmpty() ? "" : " ") + text;
    }
    return d;
}

// The driver gave up waiting: ODBC 3 names it HYT00 or HYT01, ODBC 2 S1T00.
// The connection is then in no state for another statement.
bool IsDriverTimeout(const QString& sqlState) {
    return sqlState == "HYT00" || sqlState == "HYT01" || sqlState == "S1T00";
}

// The server gave up waiting for a lock or cancelled the statement at its
// time limit: PostgreSQL's lock and statement timeouts, SQL Server's lock
// timeout (error 1222), a cancelled operation.
bool IsServerTimeout(const QString& sqlState, qint32 number) {
    return sqlState == "55P03" || sqlState == "57014" || sqlState == "HY008" || number == 1222;
}

bool IsConnectionLost(const QString& sqlState) { return sqlState.startsWith("08"); }

QByteArray Wide(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

template <class T>
QByteArray Bytes(const T& value) {
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}

SQL_TIMESTAMP_STRUCT Timestamp(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    return {SQLSMALLINT(d.year()),          SQLUSMALLINT(d.month()),  SQLUSMALLINT(d.day()),
            SQLUSMALLINT(t.hour()),         SQLUSMALLINT(t.minute()), SQLUSMALLINT(t.second()),
            SQLUINTEGER(t.msec()) * 1000000};
}

// A text that is not plain ASCII, which only NVARCHAR carries whatever the
// server's code page.
bool IsWideText(const QVariant& value) {
    if (value.typeId() != QMetaType::QString) return false;
    const QString text = value.toString();
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7f; });
}

bool IsOdbcInteger(SQLSMALLINT t) {
    return t == SQL_BIT || t == SQL_TINYINT || t == SQL_SMALLINT || t == SQL_INTEGER ||
           t == SQL_BIGINT;
}

bool IsOdbcReal(SQLSMALLINT t) {
    return t == SQL_REAL || t == SQL_FLOAT || t == SQL_DOUBLE || t == SQL_NUMERIC ||
           t == SQL_DECIMAL;
}

bool IsOdbcBinary(SQLSMALLINT t) {
    return t == SQL_BINARY || t == SQL_VARBINARY || t == SQL_LONGVARBINARY;
}

}  // namespace

OdbcStatement::OdbcStatement(void* connection, const QString& sql, bool prepared,
                             int timeoutSeconds, Texts texts)
    : sql_(sql), prepared_(prepared), timeoutSeconds_(timeoutSeconds), wide_(texts == Texts::Wide) {
    SQLHANDLE handle = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &handle))) {
        const Diagnostics d = ReadDiagnostics(SQL_HANDLE_DBC, connection);
        throw AppError(d.number, d.text.isEmpty() ? "The database connection is lost." : d.text);
    }
    statement_ = handle;
    SQLSetStmtAttr(statement_, SQL_ATTR_QUERY_TIMEOUT, SQLPOINTER(SQLULEN(timeoutSeconds_)), 0);
    if (!prepared_) return;
    const QByteArray text = Wide(sql_);
    if (SQL_SUCCEEDED(SQLPrepareW(statement_,
                                  reinterpret_cast<SQLWCHAR*>(const_cast<char*>(text.data())),
                                  SQLINTEGER(sql_.size()))))
        return;
    try {
        Fail("prepare");
    } catch (...) {
        SQLFreeHandle(SQL_HANDLE_STMT, statement_);
        throw;
    }
}

OdbcStatement::~OdbcStatement() {
    if (statement_) SQLFreeHandle(SQL_HANDLE_STMT, statement_);
}

void OdbcStatement::Fail(const char* what) {
    const Diagnostics d = ReadDiagnostics(SQL_HANDLE_STMT, statement_);
    SQLFreeStmt(statement_, SQL_CLOSE);
    SQLFreeStmt(statement_, SQL_RESET_PARAMS);
    slots_.clear();
    unfit_ = IsDriverTimeout(d.sqlState) || IsConnectionLost(d.sqlState);
    if (IsDriverTimeout(d.sqlState) || IsServerTimeout(d.sqlState, d.number))
        throw AppError(
            d.number,
            QString("The statement timed out waiting for the server (%1 s).").arg(timeoutSeconds_));
    throw AppError(d.number, d.text.isEmpty() ? QString("The database driver could not %1 the "
                                                        "statement.")
                                                    .arg(what)
                                              : d.text);
}

std::pair<OdbcStatement::Binding, QByteArray> OdbcStatement::Encode(const QVariant& value) const {
    switch (value.typeId()) {
        case QMetaType::Bool:
            return {{SQL_C_BIT, SQL_BIT, 0, 0}, Bytes(SQLCHAR(value.toBool() ? 1 : 0))};
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return {{SQL_C_SBIGINT, SQL_BIGINT, 0, 0}, Bytes(SQLBIGINT(value.toLongLong()))};
        case QMetaType::Double:
        case QMetaType::Float:
            return {{SQL_C_DOUBLE, SQL_DOUBLE, 0, 0}, Bytes(value.toDouble())};
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            // Milliseconds, as SQL Server's datetime keeps them.
            return {{SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3},
                    Bytes(Timestamp(value.toDateTime()))};
        case QMetaType::QByteArray: {
            QByteArray bytes = value.toByteArray();
            const bool longer = bytes.size() > qsizetype(kVarbinarySize);
            return {{SQL_C_BINARY, SQLSMALLINT(longer ? SQL_LONGVARBINARY : SQL_VARBINARY),
                     longer ? SQLULEN(bytes.size()) : kVarbinarySize, 0},
                    std::move(bytes)};
        }
        default: {
            const QString text = value.toString();
            const SQLULEN fits = wide_ ? kWideVarcharSize : kVarcharSize;
            const bool longer = SQLULEN(text.size()) > fits;
            const SQLSMALLINT type = wide_ ? (longer ? SQL_WLONGVARCHAR : SQL_WVARCHAR)
                                           : (longer ? SQL_LONGVARCHAR : SQL_VARCHAR);
            return {{SQL_C_WCHAR, type, longer ? SQLULEN(text.size()) : fits, 0}, Wide(text)};
        }
    }
}

void OdbcStatement::Bind(Slot& slot, int index, const QVariant& value) {
    // A null keeps the place's binding: only its indicator says NULL.
    if (value.isNull() && slot.binding.cType != 0) {
        slot.length = SQL_NULL_DATA;
        return;
    }
    auto [binding, bytes] = Encode(value);
    slot.length = value.isNull() ? SQL_NULL_DATA : SQLLEN(bytes.size());
    if (binding == slot.binding && bytes.size() <= slot.buffer.size()) {
        std::copy(bytes.cbegin(), bytes.cend(), slot.buffer.data());
        return;
    }
    // Room for values up to twice as long, so that a longer one seldom
    // binds the place anew.
    slot.binding = binding;
    slot.buffer = std::move(bytes);
    slot.buffer.resize(qMax<qsizetype>(slot.buffer.size() * 2, kValueRoom));
    if (!SQL_SUCCEEDED(SQLBindParameter(statement_, SQLUSMALLINT(index + 1), SQL_PARAM_INPUT,
                                        binding.cType, binding.sqlType, binding.size,
                                        binding.digits, slot.buffer.data(),
                                        SQLLEN(slot.buffer.size()), &slot.length)))
        Fail("bind a value of");
}

void OdbcStatement::Run(const QVariantList& params) {
    SQLFreeStmt(statement_, SQL_CLOSE);
    unfit_ = false;
    const bool widened = !wide_ && std::any_of(params.cbegin(), params.cend(), IsWideText);
    if (widened || params.size() != qsizetype(slots_.size())) {
        SQLFreeStmt(statement_, SQL_RESET_PARAMS);
        slots_ = std::vector<Slot>(params.size());
        wide_ = wide_ || widened;
    }
    for (int i = 0; i < params.size(); ++i) Bind(slots_[i], i, params[i]);
    SQLRETURN r;
    if (prepared_) {
        r = SQLExecute(statement_);
    } else {
        const QByteArray text = Wide(sql_);
        r = SQLExecDirectW(statement_, reinterpret_cast<SQLWCHAR*>(const_cast<char*>(text.data())),
                           SQLINTEGER(sql_.size()));
    }
    if (r != SQL_SUCCESS && r != SQL_SUCCESS_WITH_INFO && r != SQL_NO_DATA) Fail("run");
    DescribeResult();
}

void OdbcStatement::DescribeResult() {
    columns_.clear();
    SQLSMALLINT count = 0;
    SQLNumResultCols(statement_, &count);
    for (SQLSMALLINT i = 1; i <= count; ++i) {
        SQLWCHAR name[256];
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        SQLDescribeColW(statement_, SQLUSMALLINT(i), name, SQLSMALLINT(std::size(name)),
                        &nameLength, &type, &size, &digits, &nullable);
        // The name's length comes in characters, within the buffer.
        columns_.append(
            Column{type,
                   QString::fromUtf16(
                       reinterpret_cast<const char16_t*>(name),
                       std::clamp<qsizetype>(nameLength, 0, qsizetype(std::size(name)) - 1)),
                   qulonglong(size), digits, nullable != SQL_NO_NULLS});
    }
}

QVector<Field> OdbcStatement::Describe(const Dialect& dialect) {
    QVector<Field> fields;
    for (int i = 0; i < columns_.size(); ++i) {
        SQLWCHAR typeName[128] = {};
        SQLSMALLINT typeBytes = 0;
        SQLColAttributeW(statement_, SQLUSMALLINT(i + 1), SQL_DESC_TYPE_NAME, typeName,
                         sizeof typeName, &typeBytes, nullptr);
        const QString type = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(typeName),
            std::clamp<qsizetype>(typeBytes / 2, 0, qsizetype(std::size(typeName)) - 1));
        const Column& c = columns_[i];
        const int code = TypeCodeOf(type, c.sqlType);
        fields.append({dialect.FieldName(c.name), code,
                       LimitsOf(type, code, {c.size, c.digits, c.nullable})});
    }
    return fields;
}

bool OdbcStatement::Next() {
    if (columns_.isEmpty()) return false;
    const SQLRETURN r = SQLFetch(statement_);
    if (r == SQL_NO_DATA) return false;
    if (!SQL_SUCCEEDED(r)) Fail("read the rows of");
    return true;
}

QVariant OdbcStatement::Value(int column) {
    const SQLUSMALLINT number = SQLUSMALLINT(column + 1);
    const SQLSMALLINT type = columns_[column].sqlType;
    SQLLEN length = 0;
    const auto fetched = [&](SQLRETURN r) {
        if (!SQL_SUCCEEDED(r)) Fail("read a value of");
        return length != SQL_NULL_DATA;
    };
    if (IsOdbcInteger(type)) {
        SQLBIGINT n = 0;
        return fetched(SQLGetData(statement_, number, SQL_C_SBIGINT, &n, 0, &length))
                   ? QVariant(qlonglong(n))
                   : QVariant();
    }
    if (IsOdbcReal(type)) {
        double d = 0;
        return fetched(SQLGetData(statement_, number, SQL_C_DOUBLE, &d, 0, &length)) ? QVariant(d)
                                                                                     : QVariant();
    }
    if (type == SQL_TYPE_DATE || type == SQL_TYPE_TIMESTAMP || type == SQL_DATE ||
        type == SQL_TIMESTAMP) {
        SQL_TIMESTAMP_STRUCT t{};
        if (!fetched(SQLGetData(statement_, number, SQL_C_TYPE_TIMESTAMP, &t, sizeof t, &length)))
            return {};
        const QDateTime when(QDate(t.year, t.month, t.day),
                             QTime(t.hour, t.minute, t.second, int(t.fraction / 1000000)));
        return type == SQL_TYPE_DATE || type == SQL_DATE ? QVariant(when.date()) : QVariant(when);
    }
    // Everything else is read whole, in pieces: binary as bytes, the rest
    // (texts, times, GUIDs) as wide text.
    const bool binary = IsOdbcBinary(type);
    const SQLSMALLINT cType = binary ? SQL_C_BINARY : SQL_C_WCHAR;
    const SQLLEN terminator = binary ? 0 : 2;
    QByteArray bytes;
    for (;;) {
        const qsizetype at = bytes.size();
        bytes.resize(at + kChunk);
        const SQLRETURN r =
            SQLGetData(statement_, number, cType, bytes.data() + at, kChunk, &length);
        if (r == SQL_NO_DATA) {
            bytes.resize(at);
            break;
        }
        if (!fetched(r)) return {};
        const bool more =
            r == SQL_SUCCESS_WITH_INFO && (length == SQL_NO_TOTAL || length > kChunk - terminator);
        bytes.resize(more ? at + kChunk - terminator : at + length);
        if (!more) break;
    }
    if (binary) return bytes;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                              bytes.size() / 2);
}

int OdbcStatement::RowsAffected() {
    SQLLEN rows = 0;
    return SQL_SUCCEEDED(SQLRowCount(statement_, &rows)) ? int(rows) : 0;
}

void OdbcStatement::Finish() { SQLFreeStmt(statement_, SQL_CLOSE); }
