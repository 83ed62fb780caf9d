#include "companies/CompanyDirectory.h"

#include "base/AppError.h"
#include "companies/AccessFile.h"

namespace {
const QString kTable = QStringLiteral("CompanyFile");
const QString kCode = QStringLiteral("CompanyCode");
const QString kName = QStringLiteral("CompanyName");

// The database client's numbers for these failures.
constexpr qint32 kClosed = 3704;        // operation not allowed when the object is closed
constexpr qint32 kNoSuchColumn = 3265;  // item cannot be found in the collection

int ColumnOf(const AccessTable& table, const QString& name) {
    const int i = Recordset(table.fields, QVector<Recordset::Row>()).IndexOf(name);
    if (i < 0)
        throw AppError(
            kNoSuchColumn,
            QString("Table %1 of the company directory has no column %2.").arg(kTable, name));
    return i;
}
}  // namespace

struct CompanyDirectory::Impl {
    std::unique_ptr<AccessFile> file;

    AccessTable Companies() const {
        if (!file)
            throw AppError(kClosed,
                           "The company directory is closed: the operation is not allowed.");
        return file->ReadTable(kTable);
    }
};

CompanyDirectory::CompanyDirectory(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

CompanyDirectory::~CompanyDirectory() = default;

std::unique_ptr<CompanyDirectory> CompanyDirectory::Open(const QString& path) {
    auto impl = std::make_unique<Impl>();
    impl->file = std::make_unique<AccessFile>(path);
    return std::unique_ptr<CompanyDirectory>(new CompanyDirectory(std::move(impl)));
}

std::unique_ptr<Recordset> CompanyDirectory::List() {
    const AccessTable table = impl_->Companies();
    const int code = ColumnOf(table, kCode);
    const int name = ColumnOf(table, kName);
    QVector<Recordset::Row> rows;
    rows.reserve(table.rows.size());
    for (const Recordset::Row& row : table.rows) rows.append({row[code], row[name]});
    return std::make_unique<Recordset>(QVector<Field>{Field{"Code", table.fields[code].type},
                                                      Field{"Name", table.fields[name].type}},
                                       rows);
}

// The code is compared, never written into a query, so any character in it
// (a single quote included) finds its row.
std::unique_ptr<Recordset> CompanyDirectory::Find(const QString& code) {
    AccessTable table = impl_->Companies();
    const int column = ColumnOf(table, kCode);
    QVector<Recordset::Row> rows;
    for (const Recordset::Row& row : table.rows)
        if (!row[column].isNull() && row[column].toString() == code) rows.append(row);
    return std::make_unique<Recordset>(std::move(table.fields), rows);
}

void CompanyDirectory::Close() { impl_->file.reset(); }

bool CompanyDirectory::IsOpen() const { return impl_->file != nullptr; }
