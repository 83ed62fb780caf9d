// A query that only picks columns is answered from the sheet's values; any
// other goes to the SQL engine, which holds only the columns queries read.
// Both must give the same rows: each projection here is compared with the
// same query made unrecognisable by " Where 1 = 1 Order By rowid", on one
// connection, so that the engine's table is refilled as later queries read
// more columns. (Without an order the engine may read a column through its
// index, in the index's order; picked columns come in the sheet's order.)
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>

#include "HostileNames.h"
#include "QStringPrinter.h"
#include "TestWorkbooks.h"
#include "base/AppError.h"
#include "base/LineField.h"
#include "base/Recordset.h"
#include "base/SqlText.h"
#include "workbook/SheetDump.h"
#include "workbook/SheetQuery.h"

namespace {

// Fields, rows and every value with its type, or the first difference.
std::string Difference(Recordset& a, Recordset& b) {
    if (a.FieldCount() != b.FieldCount()) return "field counts differ";
    for (int i = 0; i < a.FieldCount(); ++i)
        if (a.FieldAt(i).name != b.FieldAt(i).name || a.FieldAt(i).type != b.FieldAt(i).type)
            return "field " + std::to_string(i) + " differs";
    if (a.RecordCount() != b.RecordCount()) return "record counts differ";
    for (; !a.Eof(); a.MoveNext(), b.MoveNext())
        for (int i = 0; i < a.FieldCount(); ++i) {
            const QVariant x = a.Value(i), y = b.Value(i);
            if (x.typeId() != y.typeId() || x.isNull() != y.isNull() || x != y)
                return "record " + std::to_string(a.AbsolutePosition()) + " field " +
                       std::to_string(i) + ": " + x.toString().toStdString() + " / " +
                       y.toString().toStdString();
        }
    return {};
}

// The query through both ways on the connection.
void ExpectBothWaysAlike(SheetConnection& book, const QString& sql) {
    SCOPED_TRACE(sql.toStdString());
    ASSERT_TRUE(ProjectionOf(sql).has_value());
    const QString engine =
        sql.endsWith(" Where 1 = 0") ? sql + " And 1 = 1" : sql + " Where 1 = 1 Order By rowid";
    ASSERT_FALSE(ProjectionOf(engine).has_value());
    const auto picked = book.Open(sql);
    const auto queried = book.Open(engine);
    EXPECT_EQ(Difference(*picked, *queried), "");
}

TEST(SheetProjection, OnlyQueriesThatPickQuotedColumnsAreProjections) {
    struct Case {
        const char* sql;
        bool projection;
    };
    const Case cases[] = {
        {"Select [Code] As [TILL-ITEMCODE],[Num],[Code] From [Codes$]", true},
        {"select * from [Codes$] where 1 = 0", true},
        {"Select \"Code\", * From \"Codes$\"", true},
        {"Select [Code] From [Codes$] Where 1 = 1", false},
        {"Select [Code] From [Codes$] Where 1 = 0 Or 1 = 1", false},
        {"Select Code From [Codes$]", false},  // a bare word may be a keyword
        {"Select Null From [Codes$]", false},
        {"Select [Code] [Other] From [Codes$]", false},
        {"Select [Code] As Other From [Codes$]", false},
        {"Select Count([Code]) From [Codes$]", false},
        {"Select Distinct [Code] From [Codes$]", false},
        {"Select [Code] From [Codes$], [Codes$]", false},
        {"Select [Code] From [Codes$];", false},
        {"Select [Code From [Codes$]", false},
        {"Select [Code] From [Codes$] As [C]", false},
        {"Select [Code] From (Select [Code] From [Codes$])", false},
    };
    for (const Case& c : cases) EXPECT_EQ(ProjectionOf(c.sql).has_value(), c.projection) << c.sql;
    const auto p = ProjectionOf("Select [Code] As [TILL-ITEMCODE], * From [Codes$]");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->table, "Codes$");
    ASSERT_EQ(p->items.size(), 2);
    EXPECT_EQ(p->items[0].column, "Code");
    EXPECT_EQ(p->items[0].name, "TILL-ITEMCODE");
    EXPECT_TRUE(p->items[1].all);
}

// Numbers, numbers as text, empty cells, repeated columns, names in other
// letter case, and queries that read more columns one after another.
TEST(SheetProjection, PickedColumnsReadAsTheEngineReadsThem) {
    const auto book = SheetConnection::OpenWorkbook(TestWorkbook("codes.xls"));
    EXPECT_EQ(book->Scalar("Select Count(*) From [Codes$]"), QVariant(qlonglong(7)));
    EXPECT_EQ(book->Scalar("Select Count([Code]) From [Codes$] Where [Code]='ab1'"),
              QVariant(qlonglong(2)));
    for (const char* sql : {
             "Select [Code] From [Codes$]",
             "Select [Type] As [TILL-CLASSTYPECODE], [Class] From [codes$]",
             "Select [NUM] As [TILL-UNITPRICE], [Num], [Note] As [x] From [Codes$]",
             "Select * From [Codes$] Where 1 = 0",
             "Select [Code] As [A], *, [Code] From [Codes$]",
         })
        ExpectBothWaysAlike(*book, sql);
    // The count indexed the codes; picked, they still come in the sheet's
    // order, which the passes' row numbers count in.
    QStringList codes;
    for (const auto rs = book->Open("Select [Code] From [Codes$]"); !rs->Eof(); rs->MoveNext())
        codes << rs->Value(0).toString();
    EXPECT_EQ(codes, QStringList({"ab1", "AB1", "ÉTÉ", "été", "O'Neil", "o'neil", "Straße"}));
    EXPECT_EQ(book->Scalar("Select [Note] From [Codes$] Where [Code]='ab1'"), QVariant("first"));
    EXPECT_EQ(book->Scalar("Select [Note] From [Codes$] Where [Num]=12.5"), QVariant());
}

// A full sheet's rows are copied in two halves at once.
TEST(SheetProjection, AFullSheetReadsAsTheEngineReadsIt) {
    const auto book = SheetConnection::OpenWorkbook(TestWorkbook("big.xls"));
    ExpectBothWaysAlike(*book, "Select [N3], [Code] As [TILL-ITEMCODE], * From [Big$]");
}

TEST(SheetProjection, AColumnTheSheetLacksIsTheEnginesError) {
    const auto book = SheetConnection::OpenWorkbook(TestWorkbook("codes.xls"));
    try {
        book->Open("Select [Code], [Price] From [Codes$]");
        FAIL() << "a missing column was read";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.Description().contains("no such column: Price"))
            << e.Description().toStdString();
    }
    EXPECT_THROW(book->Open("Select [Code] From [Prices$]"), AppError);
}

// The two workbook formats: their writers, and the longest sheet name each holds.
const struct Format {
    const char* extension;
    const char* writer;
    qsizetype longestSheetName;
} kFormats[] = {{"xls", "write_xls.py", 255}, {"xlsx", "write_xlsx.py", 1000}};

// Whatever a sheet's name or a header holds, bracketed with "]" doubled it
// names that sheet and that column only, picked or queried by the engine
// (counted, grouped, compared as text), and comes back as the sheet has it.
TEST(SheetProjection, AnyNameASheetOrAHeaderHoldsNamesItselfOnly) {
    QTemporaryDir dir;
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.extension);
        const QString path = dir.filePath(QString("Names.") + format.extension);
        // A sheet named by each name that a sheet of the format can have,
        // beside the one the union in a name would reach.
        const auto sheetOf = [&](int i) {
            const QString& name = HostileNames()[i].name;
            return CanNameASheet(name) && name.size() <= format.longestSheetName
                       ? name
                       : "Sheet " + QString::number(i);
        };
        QJsonArray sheets{QJsonArray{
            "SB", QJsonArray{QJsonArray{"Item Name", "Secret", "Code"}, QJsonArray{"x", "y", 9}}}};
        for (int i = 0; i < HostileNames().size(); ++i)
            sheets.append(QJsonArray{
                sheetOf(i), QJsonArray{QJsonArray{HostileNames()[i].name, "Item Name", "Secret"},
                                       QJsonArray{1000 + i, "wrong", "wrong"},
                                       QJsonArray{1000 + i, "wrong", "wrong"},
                                       QJsonArray{2000 + i, "wrong", "wrong"}}});
        RunWriter(format.writer, {{"path", path}, {"sheets", sheets}});
        const auto book = SheetConnection::OpenWorkbook(path);
        for (int i = 0; i < HostileNames().size(); ++i) {
            SCOPED_TRACE(HostileNames()[i].what);
            const QString name = HeaderAsRead(HostileNames()[i].name, 1);
            const QString header = BracketName(name);
            const QString from = " From " + BracketName(sheetOf(i) + "$");
            ExpectBothWaysAlike(*book,
                                "Select " + header + " As [TILL-ITEMCODE], [Item Name]" + from);
            const auto picked = book->Open("Select " + header + from);
            ASSERT_EQ(picked->FieldCount(), 1);
            EXPECT_EQ(picked->FieldAt(0).name, name);
            const auto grouped = book->Open("Select " + header + from + " Group By " + header +
                                            " Having Count(" + header + ") > 1");
            ASSERT_EQ(grouped->RecordCount(), 1);
            EXPECT_EQ(grouped->FieldAt(0).name, name);
            EXPECT_EQ(grouped->Value(0), QVariant(1000.0 + i));
            const QString count = "Select Count(" + header + ")" + from + " Where ";
            EXPECT_EQ(book->Scalar(count + header + "=" + QString::number(1000 + i)),
                      QVariant(qlonglong(2)));
            EXPECT_EQ(book->Scalar(count + "CStr(" + header +
                                   ")=" + SqlLiteral(QString::number(2000 + i))),
                      QVariant(qlonglong(1)));
            const QStringList dumped = DumpSheet(path, sheetOf(i), WriteSheetDump).split('\n');
            EXPECT_EQ(dumped.value(0), LineField(name) + "\tItem Name\tSecret");
            EXPECT_EQ(dumped.value(1), QString::number(1000 + i) + "\twrong\twrong");
        }
    }
}

// A sheet no format can name refuses its workbook, which says so.
TEST(SheetProjection, AWorkbookWithASheetNamedAsNoSheetCanBeIsRefused) {
    QTemporaryDir dir;
    for (const HostileName& hostile : HostileNames()) {
        if (CanNameASheet(hostile.name)) continue;
        for (const Format& format : kFormats) {
            SCOPED_TRACE(std::string(hostile.what) + " " + format.extension);
            const QString path = dir.filePath(QString("Unnamed.") + format.extension);
            RunWriter(
                format.writer,
                {{"path", path},
                 {"sheets", QJsonArray{QJsonArray{hostile.name, QJsonArray{QJsonArray{"Code"}}}}}});
            try {
                SheetConnection::OpenWorkbook(path);
                ADD_FAILURE() << "the workbook was read";
            } catch (const AppError& e) {
                EXPECT_TRUE(e.Description().contains("is damaged"))
                    << e.Description().toStdString();
            }
        }
    }
}

// Dates, booleans, errors, formula results and mixed columns of real files.
TEST(SheetProjection, EverySheetOfTheCorpusReadsAsTheEngineReadsIt) {
    const QString corpus = CorpusDir();
    if (corpus.isEmpty()) GTEST_SKIP() << "no shared xls corpus beside the repository";
    int sheets = 0;
    for (const QString& file : QDir(corpus).entryList({"*.xls"}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(file.toStdString());
        std::unique_ptr<SheetConnection> book;
        try {
            book = SheetConnection::OpenWorkbook(corpus + "/" + file);
        } catch (const AppError&) {
            continue;  // refused files are the corpus test's
        }
        for (const QString& name : book->SheetNames()) {
            ExpectBothWaysAlike(*book, "Select * From " + BracketName(name + "$"));
            ++sheets;
        }
    }
    EXPECT_GT(sheets, 50);
}

}  // namespace
