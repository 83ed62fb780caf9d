#include <gtest/gtest.h>

#include "TestWorkbooks.h"
#include "base/Field.h"
#include "base/ValueText.h"
#include "workbook/Workbook.h"

namespace {

// A column as expected: name, type code and every value as text ("" for null).
struct ColumnCase {
    const char* name;
    int type;
    QStringList values;
};

SheetTable Read(const char* file, const QString& sheet) {
    const auto book = Workbook::Open(TestWorkbook(file));
    const qsizetype i = book->SheetNames().indexOf(sheet);
    if (i < 0) {
        ADD_FAILURE() << "no sheet " << sheet.toStdString() << " in " << file;
        return {};
    }
    return book->ReadSheet(int(i));
}

void ExpectColumns(const SheetTable& table, const QVector<ColumnCase>& expected) {
    ASSERT_EQ(table.columns.size(), expected.size());
    for (qsizetype c = 0; c < expected.size(); ++c) {
        const SheetColumn& column = table.columns[c];
        SCOPED_TRACE(column.name.toStdString());
        EXPECT_EQ(column.name, expected[c].name);
        EXPECT_EQ(column.type, expected[c].type);
        ASSERT_EQ(column.Values().size(), table.rowCount);
        QStringList texts;
        for (const QVariant& v : column.Values()) texts.append(ValueText(v));
        EXPECT_EQ(texts, expected[c].values);
    }
}

TEST(WorkbookReader, SheetNamesInWorkbookOrderWithSpacesAndQuotes) {
    EXPECT_EQ(Workbook::Open(TestWorkbook("names.xls"))->SheetNames(),
              QStringList({"Second", "My Items", "O'Brien", "Été"}));
}

// Header names (empty cell, repeats in any letter case, a number), type codes
// from every value, numbers in text columns as their text, dates as text, and
// the empty row between records kept.
TEST(WorkbookReader, HeaderTypesAndValueTexts) {
    const SheetTable items = Read("rules.xls", "Items");
    EXPECT_EQ(items.rowCount, 5);
    ExpectColumns(
        items,
        {
            {"Code", TypeCode::VarWChar, {"A1", "1001", "", "C3", "D4"}},
            {"F2", TypeCode::Double, {"1", "2", "", "3", "4"}},
            {"Price", TypeCode::Double, {"12.5", "0.3", "", "1e+20", "1.23456789012346e+17"}},
            {"Code1", TypeCode::VarWChar, {"x", "y", "", "", ""}},
            {"Mixed", TypeCode::VarWChar, {"12.5", "text", "", "2024-03-01", ""}},
            {"When", TypeCode::Date, {"2024-01-31", "2024-02-01 13:45:30", "", "", "1999-12-31"}},
            {"2024", TypeCode::VarWChar, {"t", "", "", "", ""}},
            {"code2", TypeCode::VarWChar, {"u", "", "", "", ""}},
        });
    // Numbers stay numbers in a number column.
    EXPECT_EQ(items.columns[2].Values()[0].typeId(), QMetaType::Double);
    EXPECT_EQ(items.columns[0].Values()[1].typeId(), QMetaType::QString);
}

// Booleans count as numbers (1 and 0); error constants read as null, so a
// last row holding only an error is no record.
TEST(WorkbookReader, BooleansAreNumbersErrorsAreNull) {
    ExpectColumns(Read("rules.xls", "Flags"), {
                                                  {"Flag", TypeCode::Double, {"1", "0", "1"}},
                                                  {"Err", TypeCode::Double, {"1.5", "", "2.5"}},
                                                  {"Both", TypeCode::VarWChar, {"1", "x", ""}},
                                              });
}

// Before the sheet's rules apply, a boolean or an error cell, constant or
// formula result, keeps what it is: the value, or the error as Excel shows it.
TEST(WorkbookReader, BooleansAndErrorsKeepWhatTheyAre) {
    struct Case {
        const char* file;
        const char* sheet;
        int row, column;
        SheetCell::Kind kind;
        const char* text;  // the error's text; for a boolean, 1 or 0
    };
    const Case cases[] = {
        {"rules.xls", "Flags", 1, 0, SheetCell::Boolean, "1"},
        {"rules.xls", "Flags", 2, 0, SheetCell::Boolean, "0"},
        {"rules.xls", "Flags", 3, 0, SheetCell::Number, "1"},
        {"rules.xls", "Flags", 2, 1, SheetCell::Error, "#DIV/0!"},
        {"rules.xls", "Flags", 3, 2, SheetCell::Error, "#NULL!"},
        {"rules.xls", "Flags", 4, 1, SheetCell::Error, "#N/A"},
        {"formulas.xls", "Results", 1, 3, SheetCell::Boolean, "1"},
        {"formulas.xls", "Results", 2, 3, SheetCell::Boolean, "0"},
        {"formulas.xls", "Results", 1, 4, SheetCell::Error, "#DIV/0!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1 %2 R%3C%4")
                         .arg(c.file, c.sheet)
                         .arg(c.row + 1)
                         .arg(c.column + 1)
                         .toStdString());
        const auto book = Workbook::Open(TestWorkbook(c.file));
        const SheetCell cell =
            book->ReadGrid(int(book->SheetNames().indexOf(c.sheet))).Cell(c.row, c.column);
        EXPECT_EQ(cell.kind, c.kind);
        if (c.kind == SheetCell::Error)
            EXPECT_EQ(cell.text, c.text);
        else
            EXPECT_EQ(cell.number, QString(c.text).toDouble());
    }
}

// Formula cells read as the results saved with them and count in the type
// codes like typed values: texts from STRING records (going on in CONTINUE
// records, 8-bit or UTF-16), numbers, dates where the cell's format shows
// one, booleans as 1 and 0, errors as null, an empty text as null; a date
// format on a number past 9999-12-31 leaves a number. A row of formulas only
// is a record.
TEST(WorkbookReader, FormulaCellsReadAsTheirSavedResults) {
    const QString latin = QString("ab").repeated(5000);
    const QString mixed = QString(8221, 'x') + QString(10, QChar(0x3A9));
    const QString wide(9000, QChar(0x3A9));
    ExpectColumns(
        Read("formulas.xls", "Results"),
        {
            {"Code",
             TypeCode::VarWChar,
             {"AB-1", "plain", "\u03A9\u03BC\u03AD\u03B3\u03B1", "last"}},
            {"Price", TypeCode::Double, {"12.5", "3", "0.3", "0"}},
            {"When", TypeCode::Date, {"2024-01-31 18:00:00", "2024-02-01", "2024-02-01", ""}},
            {"Flag", TypeCode::Double, {"1", "0", "1", ""}},
            {"Check", TypeCode::Double, {"", "", "4", ""}},
            {"Serial", TypeCode::VarWChar, {"2958466", "2024-01-31", "", ""}},
            {"Long", TypeCode::VarWChar, {latin, mixed, wide, ""}},
        });
}

TEST(WorkbookReader, EmptyRowsAtTheEndAndEmptySheets) {
    ExpectColumns(Read("rules.xls", "Trailing"), {{"Name", TypeCode::VarWChar, {"a", "b"}}});
    ExpectColumns(Read("rules.xls", "Empty"), {{"F1", TypeCode::VarWChar, {}}});
    ExpectColumns(Read("rules.xls", "HeaderOnly"),
                  {{"A", TypeCode::VarWChar, {}}, {"B", TypeCode::VarWChar, {}}});
}

// The same dates written in both date systems read the same; a time without
// a date stands on day 0 of the workbook's system.
TEST(WorkbookReader, DateSystems) {
    struct Case {
        const char* file;
        const char* dayZero;
    };
    for (const Case& c :
         {Case{"dates1900.xls", "1899-12-30"}, Case{"dates1904.xls", "1904-01-01"}}) {
        SCOPED_TRACE(c.file);
        const QString zero = c.dayZero;
        ExpectColumns(Read(c.file, "Dates"),
                      {
                          {"Day", TypeCode::Date, {"2024-01-31", "1904-01-02"}},
                          {"Stamp", TypeCode::Date, {"2024-02-01 13:45:30", "2000-02-29"}},
                          {"Time", TypeCode::Date, {zero + " 08:30:00", zero + " 23:59:59"}},
                      });
    }
}

TEST(WorkbookReader, FullSheetOf65535Records) {
    const SheetTable big = Read("big.xls", "Big");
    EXPECT_EQ(big.rowCount, 65535);
    ASSERT_EQ(big.columns.size(), 12);
    EXPECT_EQ(big.columns[0].type, TypeCode::VarWChar);
    EXPECT_EQ(big.columns[11].name, "N10");
    EXPECT_EQ(big.columns[11].type, TypeCode::Double);
    EXPECT_EQ(big.columns[0].Values().last().toString(), "I065535");
    EXPECT_EQ(big.columns[11].Values().last().toDouble(), 65535 * 11 + 0.5);
}

// Two sheets whose two cells each span the whole grid cost by their cells,
// not by the rectangle: both are listed and read, the corner value in place.
TEST(WorkbookReader, SheetsSpanningTheWholeGridCostTheirCells) {
    EXPECT_EQ(Workbook::Open(TestWorkbook("two-full-sheets.xls"))->SheetNames(),
              (QStringList{"A", "B"}));
    const SheetTable sheet = Read("two-full-sheets.xls", "B");
    EXPECT_EQ(sheet.rowCount, 65535);
    ASSERT_EQ(sheet.columns.size(), 256);
    EXPECT_EQ(sheet.columns[255].Value(65534), QVariant(1.0));
    EXPECT_TRUE(sheet.columns[255].Value(65533).isNull());
    EXPECT_LT(sheet.Bytes(), 1024);
}

}  // namespace
