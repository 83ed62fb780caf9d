#include "database/Dialect.h"

#include <QDateTime>
#include <algorithm>
#include <iterator>
#include <optional>

#include "base/SqlText.h"

namespace {
// SQL Server's xtypes of character columns with a length limit; nchar and
// nvarchar are measured in bytes. text (35) and ntext (99) have none: the
// 16 the catalogue reports for them is the size of a pointer.
constexpr int kNChar = 239;
constexpr int kNVarChar = 231;
constexpr int kCharacterTypes[] = {167, 175, kNChar, kNVarChar};

// Writes n in width digits, zero-padded, at out.
char16_t* Digits(char16_t* out, int n, int width) {
    for (int i = width - 1; i >= 0; --i, n /= 10) out[i] = char16_t(u'0' + n % 10);
    return out + width;
}

constexpr const char* kDateFormat = "yyyy-MM-dd";
constexpr const char* kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";

// The text of those formats for a day of the years 1 to 9999 and, where
// given, a time, written without Qt's format parser, which cost more than
// binding the rest of a row. None for any other.
std::optional<QString> IsoText(QDate date, const QTime* time) {
    if (date.year() < 1 || date.year() > 9999 || (time && !time->isValid())) return std::nullopt;
    QString text(qstrlen(time ? kDateTimeFormat : kDateFormat), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    out = Digits(out, date.year(), 4);
    *out++ = u'-';
    out = Digits(out, date.month(), 2);
    *out++ = u'-';
    out = Digits(out, date.day(), 2);
    if (time) {
        *out++ = u' ';
        out = Digits(out, time->hour(), 2);
        *out++ = u':';
        out = Digits(out, time->minute(), 2);
        *out++ = u':';
        Digits(out, time->second(), 2);
    }
    return text;
}
}  // namespace

QString Dialect::Quote(const QString& identifier) const {
    switch (engine_) {
        case Engine::SqlServer:
            return BracketName(identifier);
        case Engine::PostgreSQL:
            return "\"" + identifier.toLower().replace("\"", "\"\"") + "\"";
        case Engine::SQLite:
            break;
    }
    return "\"" + QString(identifier).replace("\"", "\"\"") + "\"";
}

QString Dialect::ColumnListQuery(const QString& table, const QString& notInList) const {
    switch (engine_) {
        case Engine::SqlServer:
            // The table of that name in the user's default schema (else
            // dbo), and no view or other object named alike.
            return "Select A.name, A.xtype, A.Length From dbo.syscolumns As A Inner Join "
                   "dbo.sysobjects As B ON A.ID=B.ID Where B.ID = Object_Id(N" +
                   SqlLiteral(table) + ", N'U') And B.name = N" + SqlLiteral(table) +
                   (notInList.isEmpty() ? QString() : " And A.name Not In (" + notInList + ")");
        case Engine::PostgreSQL:
            // Parenthesised so that each part of a union keeps its column order.
            return "(Select Upper(column_name) As name, 0 As xtype, Case When data_type In "
                   "('character varying', 'character') Then Coalesce(character_maximum_length, "
                   "-1) When data_type = 'text' Then -1 End As length From "
                   "information_schema.columns Where table_schema = current_schema() And "
                   "table_name = Lower(" +
                   SqlLiteral(table) + ")" +
                   (notInList.isEmpty()
                        ? QString()
                        : " And Upper(column_name) Not In (" + notInList.toUpper() + ")") +
                   " Order By ordinal_position)";
        case Engine::SQLite:
            break;
    }
    return "Select name, 0 As xtype, Case When type Like '%CHAR%(%' Then Cast(substr(type, "
           "instr(type, '(') + 1) As Integer) When type Like '%CHAR%' Or type Like '%TEXT%' Or "
           "type Like '%CLOB%' Then -1 End As length From pragma_table_info(" +
           SqlLiteral(table) + ")" +
           (notInList.isEmpty() ? QString()
                                : " Where Upper(name) Not In (" + notInList.toUpper() + ")");
}

QString Dialect::UnionAll() const {
    return engine_ == Engine::SqlServer ? "Union All " : " Union All ";
}

int Dialect::CharacterLength(int reportedLength, int xtype) const {
    if (reportedLength == -1) return NoLengthLimit;
    // The length SQL Server reports for a number, a date or a text column
    // is its storage size, not a limit on the characters of a value.
    if (engine_ == Engine::SqlServer &&
        std::find(std::begin(kCharacterTypes), std::end(kCharacterTypes), xtype) ==
            std::end(kCharacterTypes))
        return NoLengthLimit;
    if (engine_ == Engine::SqlServer && (xtype == kNChar || xtype == kNVarChar))
        return reportedLength / 2;
    return reportedLength;
}

QString Dialect::PrimaryKeyQuery() const {
    switch (engine_) {
        case Engine::SqlServer:
            return "Select C.name From sys.indexes As I Inner Join sys.index_columns As IC On "
                   "IC.object_id = I.object_id And IC.index_id = I.index_id Inner Join "
                   "sys.columns As C On C.object_id = IC.object_id And C.column_id = "
                   "IC.column_id Where I.is_primary_key = 1 And I.object_id = Object_Id(?) "
                   "Order By IC.key_ordinal";
        case Engine::PostgreSQL:
            return "Select Upper(a.attname) From pg_index As i Inner Join pg_attribute As a On "
                   "a.attrelid = i.indrelid And a.attnum = Any(i.indkey) Where i.indisprimary "
                   "And i.indrelid = to_regclass(?) Order By array_position(i.indkey::int2[], "
                   "a.attnum)";
        case Engine::SQLite:
            break;
    }
    return "Select name From pragma_table_info(?) Where pk > 0 Order By pk";
}

QString Dialect::FieldName(const QString& returned) const {
    if (engine_ == Engine::PostgreSQL && returned == returned.toLower()) return returned.toUpper();
    return returned;
}

std::optional<QVariant> Dialect::Rebound(const QVariant& value) const {
    // Every value of a sheet passes here: its type is asked once.
    const int type = value.typeId();
    // Qt's drivers bind a null QString as SQL NULL: an empty text is sent as
    // the empty string it is. Only a null value stands for NULL.
    if (type == QMetaType::QString) {
        if (!value.isNull() && static_cast<const QString*>(value.constData())->isNull())
            return QString(QLatin1StringView(""));
        return std::nullopt;
    }
    // SQLite has no date type: dates are stored as the text its own date
    // functions read and write.
    if ((type != QMetaType::QDateTime && type != QMetaType::QDate) || engine_ != Engine::SQLite ||
        value.isNull())
        return std::nullopt;
    if (type == QMetaType::QDateTime) {
        const QDateTime when = value.toDateTime();
        const QTime time = when.time();
        if (std::optional<QString> text = IsoText(when.date(), &time)) return *text;
        return when.toString(kDateTimeFormat);
    }
    const QDate day = value.toDate();
    if (std::optional<QString> text = IsoText(day, nullptr)) return *text;
    return day.toString(kDateFormat);
}

QString Dialect::TemporaryName(const QString& name) const {
    return engine_ == Engine::SqlServer ? "#" + name : name;
}

QString Dialect::CreateEmptyCopy(const QString& name, const QString& selectList,
                                 const QString& table) const {
    if (engine_ == Engine::SqlServer)
        return "Select " + selectList + " Into " + name + " From " + table + " Where 1 = 0";
    return "Create Temp Table " + name + " As Select " + selectList + " From " + table +
           " Where 1 = 0";
}

QString Dialect::InsertOrder(const QString& numberColumn) const {
    return engine_ == Engine::SQLite ? "rowid" : numberColumn;
}

int Dialect::MaxBoundValues() const {
    // psqlODBC lost its place in the server's answer to statements of 7,900
    // values (7,500 went through): 6,000 keeps clear of it. On a distant
    // server each statement costs a round trip, so fewer count. SQLite
    // takes 32,766 since 3.32.
    switch (engine_) {
        case Engine::SqlServer:
            return 2000;
        case Engine::PostgreSQL:
            return 6000;
        case Engine::SQLite:
            return 32766;
    }
    return 2000;
}

bool Dialect::StagesNewRows() const { return engine_ != Engine::SQLite; }

QString Dialect::UpdateFrom(const QString& target, const QString& sets, const QString& source,
                            const QString& match, const QString& condition) const {
    if (engine_ == Engine::SqlServer)
        return "Update " + target + " Set " + sets + " From " + target + " Inner Join " + source +
               " On " + match + " Where " + condition;
    return "Update " + target + " Set " + sets + " From " + source + " Where " + match + " And " +
           condition;
}
