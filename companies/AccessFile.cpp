#include "companies/AccessFile.h"

// glib first: mdbtools.h includes it inside extern "C".
#include <glib.h>
#include <mdbtools.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include "base/AppError.h"
#include "base/FileKind.h"
#include "companies/JetHeader.h"

namespace {
// Jet's numbers for these failures.
constexpr qint32 kFileNotFound = 3024;
constexpr qint32 kCorrupt = 3049;
constexpr qint32 kCannotOpen = 3051;
constexpr qint32 kNoSuchTable = 3078;
constexpr qint32 kUnrecognizedFormat = 3343;

// The row position bits of a row offset; the top bits are flags.
constexpr int kRowOffsetMask = 0x1fff;

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

AppError Damaged(const QString& path, const QString& why) {
    return AppError(kCorrupt, QString("The file '%1' is damaged: %2.").arg(Shown(path), why));
}

// Everything libmdb would not catch, or would only report on stderr.
void CheckBeforeOpening(const QString& path) {
    if (const QString what = NotARegularFile(path); what == "does not exist")
        throw AppError(kFileNotFound, QString("Could not find file '%1'.").arg(Shown(path)));
    else if (!what.isEmpty())
        throw AppError(kCannotOpen,
                       QString("Cannot open the file '%1': it %2, not a database file.")
                           .arg(Shown(path), what));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(kCannotOpen,
                       QString("Cannot open the file '%1' (%2): it is locked by another "
                               "program, or you have no permission to read it.")
                           .arg(Shown(path), file.errorString()));
    switch (CheckJetHeader(file.read(kJetHeaderSize), file.size())) {
        case JetHeader::NotJet:
            throw AppError(kUnrecognizedFormat,
                           QString("Unrecognized database format '%1': the file is not an "
                                   "Access (Jet 3 or Jet 4) database.")
                               .arg(Shown(path)));
        case JetHeader::Truncated:
            throw Damaged(path,
                          "it is cut short (too small, or not a whole number of database pages)");
        case JetHeader::Jet3:
        case JetHeader::Jet4:
            return;
    }
}

int TypeCodeOf(int mdbType) {
    switch (mdbType) {
        case MDB_BOOL:
            return TypeCode::Boolean;
        case MDB_BYTE:
            return TypeCode::TinyInt;
        case MDB_INT:
            return TypeCode::SmallInt;
        case MDB_LONGINT:
            return TypeCode::Integer;
        case MDB_MONEY:
            return TypeCode::Currency;
        case MDB_FLOAT:
            return TypeCode::Single;
        case MDB_DOUBLE:
            return TypeCode::Double;
        case MDB_DATETIME:
            return TypeCode::Date;
        case MDB_BINARY:
            return TypeCode::VarBinary;
        case MDB_OLE:
            return TypeCode::LongVarBinary;
        case MDB_MEMO:
            return TypeCode::LongVarWChar;
        case MDB_REPID:
            return TypeCode::Guid;
        case MDB_NUMERIC:
            return TypeCode::Numeric;
        default:
            return TypeCode::VarWChar;
    }
}

MdbColumn* ColumnAt(MdbTableDef* table, int i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
}

using TablePtr = std::unique_ptr<MdbTableDef, decltype(&mdb_free_tabledef)>;
}  // namespace

struct AccessFile::Handle {
    QString path;
    MdbHandle* mdb = nullptr;
    ~Handle() {
        if (mdb) mdb_close(mdb);
    }

    MdbCatalogEntry* Entry(const QString& name) const {
        const QByteArray wanted = name.toUtf8();
        for (guint i = 0; i < mdb->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (entry->object_type == MDB_TABLE &&
                g_ascii_strcasecmp(entry->object_name, wanted.constData()) == 0)
                return entry;
        }
        return nullptr;
    }

    // Bound values give a null and an empty text alike; the null mask of the
    // row tells them apart, so the fetched row, still in the page buffer, is
    // cracked once more for it.
    std::vector<bool> NullMask(MdbTableDef* table) const {
        int start = 0;
        size_t size = 0;
        std::vector<MdbField> fields(table->num_cols);
        if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(table, start & kRowOffsetMask, size, fields.data()) < 0)
            throw Damaged(path, QString("a row of table %1 cannot be read").arg(table->name));
        std::vector<bool> isNull(table->num_cols, false);
        for (const MdbField& f : fields) {
            // A yes/no column keeps its value in the null mask and is never null.
            if (ColumnAt(table, f.colnum)->col_type != MDB_BOOL) isNull[f.colnum] = f.is_null;
        }
        return isNull;
    }

    AccessTable Read(MdbCatalogEntry* entry) const {
        TablePtr table(mdb_read_table(entry), &mdb_free_tabledef);
        if (!table || !mdb_read_columns(table.get()))
            throw Damaged(path, QString("the definition of table %1 cannot be read")
                                    .arg(QString::fromUtf8(entry->object_name)));
        MdbTableDef* t = table.get();
        const int columns = static_cast<int>(t->num_cols);
        AccessTable result;
        std::vector<std::vector<char>> bound(columns, std::vector<char>(mdb->bind_size));
        std::vector<int> lengths(columns, 0);
        for (int i = 0; i < columns; ++i) {
            const MdbColumn* col = ColumnAt(t, i);
            result.fields.append(Field{QString::fromUtf8(col->name), TypeCodeOf(col->col_type)});
            mdb_bind_column(t, i + 1, bound[i].data(), &lengths[i]);
        }
        mdb_rewind_table(t);
        while (mdb_fetch_row(t)) {
            const std::vector<bool> isNull = NullMask(t);
            Recordset::Row row(columns);
            for (int i = 0; i < columns; ++i)
                if (!isNull[i]) row[i] = QString::fromUtf8(bound[i].data(), lengths[i]);
            result.rows.append(row);
        }
        // A data page lost from the file ends the scan early without an error.
        if (result.rows.size() != static_cast<qsizetype>(t->num_rows))
            throw Damaged(path, QString("table %1 holds %2 rows, of which %3 could be read")
                                    .arg(QString::fromUtf8(t->name))
                                    .arg(t->num_rows)
                                    .arg(result.rows.size()));
        return result;
    }
};

AccessFile::AccessFile(const QString& path) : handle_(std::make_unique<Handle>()) {
    CheckBeforeOpening(path);
    handle_->path = path;
    handle_->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!handle_->mdb)
        throw AppError(kUnrecognizedFormat,
                       QString("Unrecognized database format '%1'.").arg(Shown(path)));
    if (!mdb_read_catalog(handle_->mdb, MDB_TABLE))
        throw Damaged(path, "its catalogue of objects cannot be read");
    // The catalogue lists itself: a short or unreadable list shows as a
    // missing or incomplete MSysObjects, never as a missing user table.
    MdbCatalogEntry* catalogue = handle_->Entry("MSysObjects");
    if (!catalogue) throw Damaged(path, "its catalogue of objects is incomplete");
    handle_->Read(catalogue);
}

AccessFile::~AccessFile() = default;

AccessTable AccessFile::ReadTable(const QString& name) const {
    MdbCatalogEntry* entry = handle_->Entry(name);
    if (!entry)
        throw AppError(kNoSuchTable, QString("Cannot find the input table '%1' in the file '%2'.")
                                         .arg(name, Shown(handle_->path)));
    return handle_->Read(entry);
}
