#include "workbook/SheetConnection.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QFile>

#include "base/AppError.h"
#include "base/ValueText.h"
#include "workbook/Book.h"
#include "workbook/SheetProjection.h"
#include "workbook/SheetQuery.h"

namespace {
constexpr qint32 kReadOnly = 3027;  // a sheet cannot be written
constexpr qint32 kClosed = 3704;    // the workbook was closed
// Prepared statements kept at most; queries whose values cannot be made
// parameters would otherwise each keep one.
constexpr qsizetype kMaxStatements = 256;

// Declared column types: SQLite's affinity from the name (REAL for DOUBLE,
// TEXT for the others), the type code from the declaration.
constexpr const char* kNumberDecl = "DOUBLE";
constexpr const char* kDateDecl = "DATETEXT";
constexpr const char* kTextDecl = "VARTEXT";

// Letter case ignored for every letter, so that duplicate codes are found
// whatever their case: ASCII is folded byte by byte; from the first other character on, the rest
// is compared with Unicode case folding.
int FoldCompare(void*, int lengthA, const void* a, int lengthB, const void* b) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    int i = 0;
    for (; i < lengthA && i < lengthB && x[i] < 0x80 && y[i] < 0x80; ++i) {
        if (x[i] == y[i]) continue;
        const int cx = x[i] >= 'A' && x[i] <= 'Z' ? x[i] + 32 : x[i];
        const int cy = y[i] >= 'A' && y[i] <= 'Z' ? y[i] + 32 : y[i];
        if (cx != cy) return cx < cy ? -1 : 1;
    }
    if (i == lengthA || i == lengthB) return lengthA == lengthB ? 0 : lengthA < lengthB ? -1 : 1;
    const QString restX = QString::fromUtf8(reinterpret_cast<const char*>(x + i), lengthA - i);
    const QString restY = QString::fromUtf8(reinterpret_cast<const char*>(y + i), lengthB - i);
    return restX.compare(restY, Qt::CaseInsensitive);
}

// CStr(x): a number as its text, a text unchanged, null as null.
void CStr(sqlite3_context* context, int, sqlite3_value** args) {
    sqlite3_value* v = args[0];
    switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            sqlite3_result_null(context);
            return;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            const QByteArray text = NumberText(sqlite3_value_double(v)).toUtf8();
            sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            return;
        }
        default:
            sqlite3_result_value(context, v);
    }
}

const char* Declaration(int type) {
    switch (type) {
        case TypeCode::Double:
            return kNumberDecl;
        case TypeCode::Date:
            return kDateDecl;
        default:
            return kTextDecl;
    }
}

// A result column's type code: a sheet column's own, or for a computed one
// (Count(...)) what its first value is.
int ResultType(sqlite3_stmt* stmt, int column, bool haveRow) {
    if (const char* decl = sqlite3_column_decltype(stmt, column)) {
        if (qstrcmp(decl, kNumberDecl) == 0) return TypeCode::Double;
        if (qstrcmp(decl, kDateDecl) == 0) return TypeCode::Date;
        return TypeCode::VarWChar;
    }
    if (!haveRow) return TypeCode::VarWChar;
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return TypeCode::Integer;
        case SQLITE_FLOAT:
            return TypeCode::Double;
        default:
            return TypeCode::VarWChar;
    }
}

QVariant ColumnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(stmt, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(stmt, column);
        case SQLITE_BLOB:
            // No cell is bytes: a blob is an error cell, bound as its text.
            return ErrorValue(
                QString::fromUtf8(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                                  sqlite3_column_bytes(stmt, column)));
        default:
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                sqlite3_column_bytes(stmt, column));
    }
}

// The file's device, inode, size and time of change to the nanosecond;
// empty when it cannot be read.
QByteArray FileStamp(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return QByteArray::number(qulonglong(info.st_dev)) + ':' +
           QByteArray::number(qulonglong(info.st_ino)) + ':' +
           QByteArray::number(qlonglong(info.st_size)) + ':' +
           QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_mtim.tv_nsec)) + ':' +
           QByteArray::number(qlonglong(info.st_ctim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_ctim.tv_nsec));
}

// The columns a statement reads, by table, as SQLite reports them while it
// prepares the statement.
using ColumnsRead = QHash<QString, QSet<QString>>;
int RecordRead(void* read, int action, const char* table, const char* column, const char*,
               const char*) {
    if (action == SQLITE_READ && table && column)
        (*static_cast<ColumnsRead*>(read))[SqlNameKey(NameFromEngine(QString::fromUtf8(table)))]
            .insert(NameFromEngine(QString::fromUtf8(column)));
    return SQLITE_OK;
}

int Bind(sqlite3_stmt* stmt, int at, const QVariant& v) {
    if (v.isNull()) return sqlite3_bind_null(stmt, at);
    switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return sqlite3_bind_int64(stmt, at, v.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(stmt, at, v.toDouble());
        default: {
            // An error cell goes in as bytes, which no other cell is, so
            // that a query's result still tells it from an empty one.
            if (IsCellError(v)) {
                const QByteArray text = v.value<CellError>().text.toUtf8();
                return sqlite3_bind_blob(stmt, at, text.constData(), int(text.size()),
                                         SQLITE_TRANSIENT);
            }
            const QByteArray text = ValueText(v).toUtf8();
            return sqlite3_bind_text(stmt, at, text.constData(), int(text.size()),
                                     SQLITE_TRANSIENT);
        }
    }
}
}  // namespace

SheetConnection::SheetConnection(std::unique_ptr<Book> workbook) : workbook_(std::move(workbook)) {
    // One thread uses a workbook: SQLite's own locks would only cost time.
    const bool ready =
        sqlite3_open_v2(":memory:", &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY | SQLITE_OPEN_NOMUTEX,
                        nullptr) == SQLITE_OK &&
        sqlite3_create_collation(db_, kFoldCollation, SQLITE_UTF8, nullptr, FoldCompare) ==
            SQLITE_OK &&
        sqlite3_create_function(db_, "CStr", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, CStr,
                                nullptr, nullptr) == SQLITE_OK;
    if (!ready) {
        const AppError error(sqlite3_errcode(db_), QString::fromUtf8(sqlite3_errmsg(db_)));
        Close();
        throw error;
    }
    const QStringList& names = workbook_->SheetNames();
    for (int i = 0; i < names.size(); ++i) sheetOfTable_.insert(SqlNameKey(names[i] + "$"), i);
}

std::unique_ptr<SheetConnection> SheetConnection::OpenWorkbook(const QString& workbookPath) {
    // Stamped before reading: a change while it is read counts as a change.
    const QByteArray stamp = FileStamp(workbookPath);
    std::unique_ptr<SheetConnection> connection(new SheetConnection(OpenBook(workbookPath)));
    connection->path_ = workbookPath;
    connection->fileStamp_ = stamp;
    return connection;
}

bool SheetConnection::IsUnchangedFile(const QString& path) const {
    return path == path_ && !fileStamp_.isEmpty() && FileStamp(path) == fileStamp_;
}

SheetConnection::~SheetConnection() { Close(); }

const QStringList& SheetConnection::SheetNames() const { return workbook_->SheetNames(); }

bool SheetConnection::IsOpen() const { return db_ != nullptr; }

void SheetConnection::ClearStatements() {
    for (const Statement& s : std::as_const(statements_)) sqlite3_finalize(s.stmt);
    statements_.clear();
}

void SheetConnection::Close() {
    ClearStatements();
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

AppError SheetConnection::LastError() const {
    return AppError(sqlite3_extended_errcode(db_), QString::fromUtf8(sqlite3_errmsg(db_)));
}

void SheetConnection::Finish(sqlite3_stmt* stmt, int rc) {
    if (rc == SQLITE_DONE) {
        sqlite3_reset(stmt);
        return;
    }
    const AppError error = LastError();
    sqlite3_reset(stmt);
    throw error;
}

void SheetConnection::Exec(const QByteArray& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const AppError error(sqlite3_extended_errcode(db_), QString::fromUtf8(message));
        sqlite3_free(message);
        throw error;
    }
}

std::shared_ptr<const SheetTable> SheetConnection::Sheet(int index) {
    if (const auto it = sheets_.constFind(index); it != sheets_.constEnd()) return *it;
    return *sheets_.insert(index, std::make_shared<const SheetTable>(workbook_->ReadSheet(index)));
}

void SheetConnection::CreateSheetTable(int index) {
    const std::shared_ptr<const SheetTable> sheet = Sheet(index);
    LoadedSheet loaded{index, {}, {}, QVector<bool>(sheet->columns.size()), false};
    QStringList declarations;
    for (const SheetColumn& c : sheet->columns) {
        loaded.positionOf.insert(c.name, int(loaded.columns.size()));
        loaded.columns.append(c.name);
        QString d = EngineQuoted(c.name) + " " + Declaration(c.type);
        if (c.type == TypeCode::VarWChar) d += QString(" COLLATE ") + kFoldCollation;
        declarations.append(d);
    }
    Exec(QString("CREATE TABLE %1 (%2)")
             .arg(EngineQuoted(workbook_->SheetNames()[index] + "$"), declarations.join(", "))
             .toUtf8());
    loaded_.insert(SqlNameKey(workbook_->SheetNames()[index] + "$"), loaded);
}

void SheetConnection::FillColumns(const QString& table, const QSet<QString>& read) {
    LoadedSheet& loaded = loaded_[table];
    // Marked filled only once they are: a failed fill leaves the rows as they were.
    QVector<bool> filled = loaded.filled;
    bool refill = !loaded.hasRows;
    for (const QString& column : read) {
        const int at = loaded.positionOf.value(column, -1);
        if (at < 0 || filled[at]) continue;
        filled[at] = true;
        refill = true;
    }
    if (!refill) return;
    const std::shared_ptr<const SheetTable> sheet = Sheet(loaded.sheet);
    QStringList names;
    QVector<int> positions;
    for (int c = 0; c < loaded.columns.size(); ++c)
        if (filled[c]) {
            names.append(EngineQuoted(loaded.columns[c]));
            positions.append(c);
        }
    const QString quoted = EngineQuoted(workbook_->SheetNames()[loaded.sheet] + "$");
    const QString insert = names.isEmpty() ? "INSERT INTO " + quoted + " DEFAULT VALUES"
                                           : QString("INSERT INTO %1 (%2) VALUES (%3)")
                                                 .arg(quoted, names.join(","),
                                                      QStringList(names.size(), "?").join(","));
    Exec("BEGIN");
    sqlite3_stmt* stmt = nullptr;
    try {
        if (loaded.hasRows) Exec(("DELETE FROM " + quoted).toUtf8());
        if (sqlite3_prepare_v2(db_, insert.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            throw LastError();
        for (int r = 0; r < sheet->rowCount; ++r) {
            for (int i = 0; i < positions.size(); ++i)
                Bind(stmt, i + 1, sheet->columns[positions[i]].Value(r));
            if (sqlite3_step(stmt) != SQLITE_DONE) throw LastError();
            sqlite3_reset(stmt);
        }
    } catch (const AppError&) {
        sqlite3_finalize(stmt);
        Exec("ROLLBACK");
        throw;
    }
    sqlite3_finalize(stmt);
    Exec("COMMIT");
    loaded.filled = filled;
    loaded.hasRows = true;
}

void SheetConnection::FillColumnsRead(const QString& text, const QStringList& tables) {
    if (tables.isEmpty()) return;
    // A trial preparation tells which columns the statement reads; a text
    // that does not prepare fails again, with its message, when it is made.
    ColumnsRead read;
    sqlite3_set_authorizer(db_, RecordRead, &read);
    sqlite3_stmt* trial = nullptr;
    const QByteArray utf8 = text.toUtf8();
    sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &trial, nullptr);
    sqlite3_set_authorizer(db_, nullptr, nullptr);
    sqlite3_finalize(trial);
    for (const QString& table : tables) FillColumns(table, read.value(table));
}

void SheetConnection::EnsureIndexes(const QStringList& tables, const QStringList& compared,
                                    const QStringList& cstr) {
    // The name of the table's column for a name in the query, or empty.
    const auto columnOf = [this](const QString& table, const QString& name) {
        for (const QString& c : loaded_.value(table).columns)
            if (c.compare(name, Qt::CaseInsensitive) == 0) return c;
        return QString();
    };
    for (const QString& table : tables) {
        QStringList keys;  // the indexed expressions, one index each
        for (const QString& name : compared)
            if (const QString c = columnOf(table, name); !c.isEmpty()) keys.append(EngineQuoted(c));
        QStringList cstrKey;
        for (const QString& name : cstr)
            if (const QString c = columnOf(table, name); !c.isEmpty())
                cstrKey.append(QString("CStr(%1) COLLATE %2").arg(EngineQuoted(c), kFoldCollation));
        if (!cstrKey.isEmpty()) keys.append(cstrKey.join(", "));
        for (const QString& key : keys) {
            const QString id = table + "\x1f" + key.toCaseFolded();
            if (indexed_.contains(id)) continue;
            const QString name = QString("sheet_index_%1").arg(indexed_.size() + 1);
            Exec(QString("CREATE INDEX %1 ON %2 (%3)")
                     .arg(name, EngineQuoted(workbook_->SheetNames()[sheetOfTable_[table]] + "$"),
                          key)
                     .toUtf8());
            indexed_.insert(id);
        }
    }
}

const SheetConnection::Statement& SheetConnection::StatementOf(const QString& sql,
                                                               const QString& text) {
    // A statement made before was made after its sheets were loaded and its
    // indexes built.
    if (const auto it = statements_.constFind(text); it != statements_.constEnd()) return *it;
    const SheetQuery query = AnalyzeSheetQuery(sql);
    QStringList tables;  // the sheets the query names, loaded
    for (const QString& name : query.names) {
        const QString key = SqlNameKey(name);
        if (!sheetOfTable_.contains(key) || tables.contains(key)) continue;
        if (!loaded_.contains(key)) {
            // A schema change spoils prepared statements; they are made again.
            ClearStatements();
            CreateSheetTable(sheetOfTable_[key]);
        }
        tables.append(key);
    }
    FillColumnsRead(query.text, tables);
    EnsureIndexes(tables, query.comparedColumns, query.cstrColumns);

    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = query.text.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        QString message = QString::fromUtf8(sqlite3_errmsg(db_));
        if (message.startsWith("no such table"))
            message += "; the workbook's sheets are " + workbook_->SheetNames().join(", ");
        throw AppError(sqlite3_extended_errcode(db_), message);
    }
    if (!stmt) throw AppError(SQLITE_MISUSE, "The query text holds no statement: " + query.text);
    if (!sqlite3_stmt_readonly(stmt)) {
        sqlite3_finalize(stmt);
        throw AppError(kReadOnly, "The workbook is read-only; it cannot be changed: " + query.text);
    }
    if (statements_.size() >= kMaxStatements) ClearStatements();
    Statement made{stmt, {}};
    for (int c = 0; c < sqlite3_column_count(stmt); ++c)
        made.columns << NameFromEngine(QString::fromUtf8(sqlite3_column_name(stmt, c)));
    return *statements_.insert(query.text, made);
}

const SheetConnection::Statement& SheetConnection::Prepare(const QString& sql,
                                                           const QVariantList& params) {
    if (!db_) throw AppError(kClosed, "The workbook connection is closed.");
    const SheetQuery query = ParameterizeSheetQuery(sql);
    const Statement& prepared = StatementOf(sql, query.text);
    sqlite3_stmt* stmt = prepared.stmt;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    qsizetype fromCaller = 0;
    for (int i = 0; i < query.binds.size(); ++i) {
        const SheetQuery::Bind& b = query.binds[i];
        if (b.fromCaller && fromCaller >= params.size())
            throw AppError(SQLITE_RANGE, "The query has more \"?\" than values given: " + sql);
        const int rc = Bind(stmt, i + 1, b.fromCaller ? params[fromCaller++] : b.literal);
        if (rc != SQLITE_OK) throw AppError(rc, QString::fromUtf8(sqlite3_errmsg(db_)));
    }
    return prepared;
}

std::unique_ptr<Recordset> SheetConnection::Open(const QString& sql, const QVariantList& params) {
    if (!db_) throw AppError(kClosed, "The workbook connection is closed.");
    // Picking columns needs no SQL engine: the sheet's values are the answer.
    if (const auto projection = params.isEmpty() ? ProjectionOf(sql) : std::nullopt) {
        const auto sheet = sheetOfTable_.constFind(SqlNameKey(projection->table));
        if (sheet != sheetOfTable_.constEnd())
            if (auto rows = ProjectSheet(Sheet(*sheet), *projection)) return rows;
    }
    const Statement& prepared = Prepare(sql, params);
    sqlite3_stmt* stmt = prepared.stmt;
    const int columns = int(prepared.columns.size());
    QVector<Field> fields(columns);
    for (int c = 0; c < columns; ++c)
        fields[c] = Field{prepared.columns[c], ResultType(stmt, c, false)};
    QVector<Recordset::Row> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (rows.isEmpty())
            for (int c = 0; c < columns; ++c) fields[c].type = ResultType(stmt, c, true);
        Recordset::Row row(columns);
        for (int c = 0; c < columns; ++c) row[c] = ColumnValue(stmt, c);
        rows.append(row);
    }
    Finish(stmt, rc);
    return std::make_unique<Recordset>(std::move(fields), std::move(rows));
}

QVariant SheetConnection::Scalar(const QString& sql) {
    sqlite3_stmt* stmt = Prepare(sql, {}).stmt;
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) {
        Finish(stmt, rc);
        return {};
    }
    const QVariant value = sqlite3_column_count(stmt) > 0 ? ColumnValue(stmt, 0) : QVariant();
    sqlite3_reset(stmt);
    return value;
}

void SheetConnection::Execute(const QString& sql, const QVariantList& params) {
    sqlite3_stmt* stmt = Prepare(sql, params).stmt;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    Finish(stmt, rc);
}

QStringList SheetNames(const QString& path) { return OpenBook(path)->SheetNames(); }
