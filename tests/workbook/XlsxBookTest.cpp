// The .xlsx reader over small workbooks written by XlsxWriter: each kind of
// cell reads as the program shows it, with shared and with inline strings,
// in both date systems, and files that are no readable workbook are refused
// with a message that names them and says why.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include "TestWorkbooks.h"
#include "base/AppError.h"
#include "workbook/XlsxBook.h"

namespace {

// Writes a real .xlsx through Python's XlsxWriter.
void WriteXlsx(const QString& path, QJsonObject description) {
    description["path"] = path;
    RunWriter("write_xlsx.py", description);
}

struct CellCase {
    const char* what;
    QJsonValue cell;
    SheetCell::Kind kind;
    QString text;  // the text, date text or error; for a number or a boolean, the number
};

QJsonObject Formatted(double number, const QJsonValue& format) {
    return {{"number", number}, {"format", format}};
}

QJsonObject Formula(const char* formula, const QJsonValue& value) {
    return {{"formula", formula}, {"value", value}};
}

const QList<CellCase> kCells = {
    {"text", "Apple", SheetCell::Text, "Apple"},
    {"text with line break", "two\nlines", SheetCell::Text, "two\nlines"},
    {"non-ASCII text", QString::fromUtf8("Käse €"), SheetCell::Text, QString::fromUtf8("Käse €")},
    {"rich text runs", QJsonObject{{"rich", QJsonArray{"Bold", " and plain"}}}, SheetCell::Text,
     "Bold and plain"},
    {"number", 12.5, SheetCell::Number, "12.5"},
    {"negative number", -3, SheetCell::Number, "-3"},
    {"true", true, SheetCell::Boolean, "1"},
    {"false", false, SheetCell::Boolean, "0"},
    {"no cell", QJsonValue::Null, SheetCell::Empty, ""},
    {"error", Formula("=1/0", "#DIV/0!"), SheetCell::Error, "#DIV/0!"},
    {"formula text", Formula("=\"a\"&\"b\"", "ab"), SheetCell::Text, "ab"},
    {"formula number", Formula("=1+2", 3), SheetCell::Number, "3"},
    {"built-in date format", Formatted(45292, 14), SheetCell::Date, "2024-01-01"},
    {"built-in date keeps the time", Formatted(45292.5, 14), SheetCell::Date,
     "2024-01-01 12:00:00"},
    {"built-in date and time", Formatted(45292.75, 22), SheetCell::Date, "2024-01-01 18:00:00"},
    {"built-in time", Formatted(0.5, 20), SheetCell::Date, "1899-12-30 12:00:00"},
    {"built-in time keeps the day", Formatted(44000.5, 20), SheetCell::Date, "2020-06-18 12:00:00"},
    {"built-in elapsed hours", Formatted(1.5, 46), SheetCell::Text, "36:00:00"},
    {"built-in CJK date", Formatted(45292, 57), SheetCell::Date, "2024-01-01"},
    {"custom date format", Formatted(45292, "dd/mm/yyyy"), SheetCell::Date, "2024-01-01"},
    {"custom date and time", Formatted(45292.25, "yyyy-mm-dd hh:mm"), SheetCell::Date,
     "2024-01-01 06:00:00"},
    {"custom number format", Formatted(45292, "0.00"), SheetCell::Number, "45292"},
    {"custom number with a unit", Formatted(3000, "0 \"mAh\""), SheetCell::Number, "3000"},
    {"custom year alone", Formatted(45292, "yyyy"), SheetCell::Date, "2024-01-01"},
    {"custom elapsed minutes", Formatted(1.5, "[mm]:ss"), SheetCell::Text, "2160:00"},
    {"percent", Formatted(0.25, 9), SheetCell::Number, "0.25"},
};

const QList<CellCase> kCells1904 = {
    {"date", Formatted(43830, 14), SheetCell::Date, "2024-01-01"},
    {"day one", Formatted(1, 14), SheetCell::Date, "1904-01-02"},
    {"date and time", Formatted(43830.5, 22), SheetCell::Date, "2024-01-01 12:00:00"},
    {"number", 43830, SheetCell::Number, "43830"},
};

// One cell a row, in column B, below a header.
QJsonObject OneColumnBook(const QList<CellCase>& cases, bool date1904, bool inlineStrings) {
    QJsonArray rows{QJsonArray{"Case", "Value"}};
    for (const CellCase& c : cases) rows.append(QJsonArray{c.what, c.cell});
    return {{"date1904", date1904},
            {"inline", inlineStrings},
            {"sheets", QJsonArray{QJsonArray{"Cells", rows}}}};
}

void ExpectCells(const QList<CellCase>& cases, bool date1904, bool inlineStrings) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cells.xlsx");
    WriteXlsx(path, OneColumnBook(cases, date1904, inlineStrings));
    const auto book = XlsxBook::Open(path);
    ASSERT_EQ(book->SheetNames(), QStringList{"Cells"});
    const CellGrid grid = book->ReadGrid(0);
    for (int i = 0; i < cases.size(); ++i) {
        const CellCase& c = cases[i];
        SCOPED_TRACE(c.what);
        EXPECT_EQ(grid.Cell(i + 1, 0).text.toStdString(), c.what);
        const SheetCell cell = grid.Cell(i + 1, 1);
        EXPECT_EQ(cell.kind, c.kind);
        if (c.kind == SheetCell::Number || c.kind == SheetCell::Boolean)
            EXPECT_EQ(cell.number, c.text.toDouble());
        else
            EXPECT_EQ(cell.text.toStdString(), c.text.toStdString());
    }
}

TEST(XlsxBook, CellsReadAsTheyShowWithSharedStrings) { ExpectCells(kCells, false, false); }

TEST(XlsxBook, CellsReadAsTheyShowWithInlineStrings) { ExpectCells(kCells, false, true); }

TEST(XlsxBook, DatesCountFrom1904InThatSystem) { ExpectCells(kCells1904, true, false); }

TEST(XlsxBook, SheetsInWorkbookOrderReadAsTables) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tables.xlsx");
    const QJsonArray items{QJsonArray{"Code", "Name", "Price"}, QJsonArray{1, "Tea", 2.5},
                           QJsonArray{2, QJsonValue::Null, 3}, QJsonArray{},
                           QJsonArray{4, "Cake", Formatted(45292, 14)}};
    WriteXlsx(path, {{"sheets",
                      QJsonArray{QJsonArray{"Zeta", items}, QJsonArray{"Alpha", QJsonArray{}}}}});
    const auto book = XlsxBook::Open(path);
    EXPECT_EQ(book->SheetNames(), (QStringList{"Zeta", "Alpha"}));

    const SheetTable table = book->ReadSheet(0);
    ASSERT_EQ(table.columns.size(), 3);
    EXPECT_EQ(table.rowCount, 4);
    EXPECT_EQ(table.columns[0].name, "Code");
    EXPECT_EQ(table.columns[0].Values(), (QVector<QVariant>{1.0, 2.0, {}, 4.0}));
    EXPECT_EQ(table.columns[1].Values(), (QVector<QVariant>{"Tea", {}, {}, "Cake"}));
    // A column mixing numbers and a date reads as text.
    EXPECT_EQ(table.columns[2].Values(), (QVector<QVariant>{"2.5", "3", {}, "2024-01-01"}));

    const SheetTable empty = book->ReadSheet(1);
    EXPECT_EQ(empty.rowCount, 0);
    EXPECT_EQ(empty.columns.size(), 1);
}

struct RefusalCase {
    const char* what;
    QByteArray (*contents)(const QByteArray& workbook);  // null: no file at all
    const char* says;
};

const QList<RefusalCase> kRefusals = {
    {"missing file", nullptr, "Could not find"},
    {"empty file", [](const QByteArray&) { return QByteArray(); }, "empty file"},
    {"not a zip", [](const QByteArray&) { return QByteArray("Code;Name\n1;Tea\n"); },
     "not an Excel workbook"},
    {"truncated zip", [](const QByteArray& book) { return book.left(book.size() / 2); },
     "damaged or truncated"},
};

TEST(XlsxBook, RefusesWhatIsNoReadableWorkbook) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.xlsx");
    WriteXlsx(good, {{"sheets", QJsonArray{QJsonArray{"Items", QJsonArray{QJsonArray{"A"}}}}}});
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray workbook = goodFile.readAll();

    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(QString(c.what).replace(' ', '_') + ".xlsx");
        if (c.contents) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.contents(workbook));
        }
        try {
            XlsxBook::Open(path);
            ADD_FAILURE() << "read";
        } catch (const AppError& e) {
            EXPECT_TRUE(e.Description().contains(c.says)) << e.Description().toStdString();
            EXPECT_TRUE(e.Description().contains(path)) << e.Description().toStdString();
        }
    }
}

}  // namespace
