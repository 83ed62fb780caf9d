// Start writes a sheet as a set where it can. Held against the same imports
// written one record at a time, it must leave the same database, give the
// same counts, and fall back to the records one by one when it fails.
#include <QFile>
#include <algorithm>
#include <functional>

#include "FormFixture.h"
#include "database/DemoSchema.h"
#include "mapping/Catalogue.h"

namespace {

using Mapping = QList<QPair<QString, QString>>;

struct Import {
    QString sheet;
    QString table;
    Mapping map;
};

struct Scenario {
    const char* name;
    QList<TestSheet> sheets;
    QList<Import> imports;  // in order, each Verify then Start
    QStringList seed;       // statements run first
    QByteArray gsetup;      // GSETUP.ini, or empty for none
};

const Mapping kItemMap{{"Code", "ITEMCODE"},       {"Name", "ITEMNAME"},   {"Plu", "PLUCODE"},
                       {"Desc", "POSDESCRIPTION"}, {"Price", "UNITPRICE"}, {"When", "DATECREATED"}};

const QList<QVariantList> kItems{
    {"Code", "Name", "Plu", "Desc", "Price", "When"},
    {"I1", "Apple", "P1", "Apple plu", 1.5, QDate(2024, 1, 31)},
    {"I2", "Bread", "P1", "Shared plu", 2, QVariant()},  // P1 again: the first row makes it
    {"I3", "Cake", QVariant(), QVariant(), "", QVariant()},
    {"I3", "Cake again", "P3", "Dup", 3, QVariant()},  // repeated key: rejected
    {"I 4", "Bad code", "P4", "Bad", 4, QVariant()},   // a blank in a code: rejected
    {"1002", "Numeric code", 1002, "Numbers", 5, QVariant()},
};

const QList<QVariantList> kItemsAgain{
    {"Code", "Name", "Plu", "Desc", "Price", "When"},
    {"I1", "Apple renamed", "P9", "New plu", 9, QVariant()},
    {"I5", "Egg", "P5", "Egg plu", 0.5, QDate(2025, 6, 1)},
};

// A bill's lines: the TYPE column keeps only the D rows, which name the
// component and how much of it a serving takes.
const Mapping kBomMap{{"Group", "BOMGROUPCODE"},
                      {"Item", "ITEMCODE"},
                      {"Type", "TYPE"},
                      {"Comp", "BOMITEMCODE"},
                      {"Qty", "SERVEQTY"}};

// Components with portion prices; C4 is no item and costs nothing.
const QString kComponents =
    "Insert Into INVT_MT_ITEM (ITEMCODE, ITEMNAME, PORTIONUNITPRICE) Values ('C1', 'One', 1.5), "
    "('C2', 'Two', 0.25), ('C3', 'Three', 2), ('3003', 'Numbered', 4)";

// A stored bill G1/F1 with a line the sheets leave alone (C3) and one they
// change (C1), its totals as an earlier roll-up left them.
const QStringList kStoredBill{
    kComponents,
    "Insert Into INVT_MT_BOMMASTER (BOMGROUPCODE, ITEMCODE, ACTUALTOTALBOMCOST, TOTALBOMCOST, "
    "LASTUPDATE) Values ('G1', 'F1', 7.5, 7.5, '2020-02-03')",
    "Insert Into INVT_MT_BOM (BOMGROUPCODE, ITEMCODE, BOMITEMCODE, SERVEQTY, SERVEUNITCOST, "
    "SERVETOTALCOST) Values ('G1', 'F1', 'C3', 3, 2, 6), ('G1', 'F1', 'C1', 1, 1.5, 1.5)"};

const QList<QVariantList> kBills{
    {"Group", "Item", "Type", "Comp", "Qty"},
    {"G1", "F1", "H", QVariant(), QVariant()},
    {"G1", "F1", "D", "C1", 2},
    {"G1", "F1", "D", "C2", 3},
    {"G1", "F2", "D", "C1", 1},  // the same group, another item: a bill of its own
    {"G2", "F1", "D", "C4", 5},
    {"G2", "F1", "D", "C3", QVariant()},
    {40, 5005, "D", 3003, 2.5},  // codes read from number cells
};

const QList<QVariantList> kBillsAgain{
    {"Group", "Item", "Type", "Comp", "Qty"},
    {"G1", "F1", "D", "C2", 4},
    {"G2", "F1", "D", "C1", 1},
};

const Scenario kScenarios[] = {
    {"items with shared and numeric PLUs, then again with an update",
     {{"Items", kItems}, {"Again", kItemsAgain}},
     {{"Items", Table::kItem, kItemMap}, {"Again", Table::kItem, kItemMap}},
     {},
     {}},
    {"items over stored items and PLUs",
     {{"Items", kItems}},
     {{"Items", Table::kItem, kItemMap}},
     {"Insert Into MT_PLU (PLUCODE, ITEMCODE, UOMQTY, POSDESCRIPTION) Values ('P1', 'I1', 1, "
      "'stored')"},
     {}},
    {"stock items with defaults from the setup file, twice",
     {{"Stock",
       {{"Code", "Name"}, {"S1", QString("L").repeated(60)}, {"S2", "Short"}, {"S2", "Twice"}}}},
     {{"Stock", Table::kStockItem, {{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}}},
      {"Stock", Table::kStockItem, {{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}}}},
     {},
     "[DEFAULTDEFCODE]\r\nTax=T1\r\nGeneral='G1'\r\n"},
    {"members with dates and empty cells",
     {{"Members",
       {{"No", "Name", "Born", "Phone"},
        {"M1", "Ann", QDate(1990, 5, 17), QVariant()},
        {"M2", "Bob", QVariant(), "555"},
        {"M3", "", QVariant(), ""}}}},
     {{"Members",
       Table::kMember,
       {{"No", "MEMBERCODE"}, {"Name", "MEMBERNAME"}, {"Born", "BIRTHDATE"}, {"Phone", "PHONE"}}}},
     {},
     {}},
    {"bills of material, new, then changed and added to",
     {{"Bom", kBills}, {"Again", kBillsAgain}},
     {{"Bom", Table::kBom, kBomMap}, {"Again", Table::kBom, kBomMap}},
     {kComponents},
     {}},
    {"bill lines over a stored bill with a line not on the sheet",
     {{"Bom", kBills}},
     {{"Bom", Table::kBom, kBomMap}},
     kStoredBill,
     {}},
    {"a bill line given twice, the second written over the first",
     {{"Bom",
       {{"Group", "Item", "Type", "Comp", "Qty"},
        {"G1", "F1", "D", "C1", 2},
        {"G1", "F1", "D", "C1", 3}}}},
     {{"Bom", Table::kBom, kBomMap}},
     kStoredBill,
     {}},
};

// Items L0001 to L<count>, every step-th of them: every seventh without a
// price and every fifth with a date, so that rows give different columns.
QList<QVariantList> LongItems(int count, int step) {
    QList<QVariantList> rows{{"Code", "Name", "Plu", "Desc", "Price", "When"}};
    for (int i = 1; i <= count; i += step)
        rows.append({QString("L%1").arg(i, 4, 10, QChar('0')), QString("Long %1").arg(i),
                     QString("Q%1").arg(i, 4, 10, QChar('0')), QString("Plu %1").arg(i),
                     i % 7 == 0 ? QVariant() : QVariant(i / 4.0),
                     i % 5 == 0 ? QVariant(QDate(2024, 1, 1).addDays(i)) : QVariant()});
    return rows;
}

// Every table of the demo schema, each row's values but the identity as
// text, rows sorted, so that two databases can be compared.
QMap<QString, QList<QStringList>> DumpAll(DbConnection& db) {
    QMap<QString, QList<QStringList>> tables;
    for (const QString& table :
         CreatedTables(SplitStatements(DemoSchemaDdl(db.SqlDialect().Kind())))) {
        QList<QStringList> rows;
        const auto rs = db.Open("Select * From " + table);
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList row;
            for (int i = 0; i < rs->FieldCount(); ++i)
                if (rs->FieldAt(i).name.compare("ID", Qt::CaseInsensitive) != 0)
                    row << rs->FieldAt(i).name + "=" + rs->Value(i).toString();
            rows << row;
        }
        std::sort(rows.begin(), rows.end());
        tables.insert(table, rows);
    }
    return tables;
}

class SetWriteTest : public FormFixture {
protected:
    // Runs the scenario on fresh tables; answers the database it leaves and
    // the counts of each Start.
    QPair<QMap<QString, QList<QStringList>>, QStringList> Run(const Scenario& s, bool asSet) {
        DropDemoSchema(*db);
        CreateDemoSchema(*db);
        for (const QString& statement : s.seed) db->Execute(statement);
        QFile::remove(home + "/GSETUP.ini");
        if (!s.gsetup.isEmpty()) {
            QFile f(home + "/GSETUP.ini");
            f.open(QIODevice::WriteOnly);
            f.write(s.gsetup);
        }
        form->ConnectTarget(target);  // its kept statements knew the old tables
        form->WriteSheetAsSet = asSet;
        QStringList counts;
        for (const Import& import : s.imports) {
            LoadSheet(s.sheets, import.sheet);
            ChooseTable(import.table);
            Map(import.map);
            const int before = form->SqlConnection->StatementCount();
            VerifyAndStart();
            lastStatements = form->SqlConnection->StatementCount() - before;
            const InsertCounts& c = form->InsertTotals;
            counts << QString("%1 inserted, %2 updated, %3 skipped")
                          .arg(c.inserted)
                          .arg(c.updated)
                          .arg(c.skipped);
        }
        EXPECT_TRUE(op.errors.isEmpty()) << op.errors.value(0).ErrDescription.toStdString();
        return {DumpAll(*db), counts};
    }

    // Runs the scenario one record at a time and as a set, and expects the
    // same counts and the same tables.
    void ExpectTheSetToLeaveWhatRecordsLeave(const Scenario& s) {
        SCOPED_TRACE(s.name);
        const auto byRecord = Run(s, false);
        const auto bySet = Run(s, true);
        EXPECT_EQ(bySet.second, byRecord.second);
        for (const QString& table : byRecord.first.keys())
            EXPECT_EQ(bySet.first.value(table), byRecord.first.value(table)) << table.toStdString();
    }

    int lastStatements = 0;  // sent by the last import's Verify and Start

    // Writes the items and expects the set to fall back to one record at a
    // time, which names the failing sheet row and saves the items before it.
    // afterVerify runs between Verify and Start.
    void ExpectRecordByRecordFrom(
        const QList<QVariantList>& rows, int failingRow,
        const std::function<void()>& afterVerify = [] {}) {
        LoadSheet({{"Items", rows}}, "Items");
        ChooseTable(Table::kItem);
        Map(kItemMap);
        form->CVerify_Click();
        afterVerify();
        form->CStart_Click();
        ASSERT_EQ(op.errors.size(), 1);
        EXPECT_TRUE(op.errors[0].ErrDescription.startsWith(
            QString("Row %1 of the sheet: ").arg(failingRow)))
            << op.errors[0].ErrDescription.toStdString();
        const QList<QStringList> saved{{QString::number(failingRow - 2)}};
        EXPECT_EQ(Query("Select Count(*) From MT_ITEM"), saved);
        EXPECT_EQ(Query("Select Count(*) From MT_PLU"), saved);
    }
};

TEST_P(SetWriteTest, TheSetLeavesWhatRecordsOneByOneLeave) {
    for (const Scenario& s : kScenarios) ExpectTheSetToLeaveWhatRecordsLeave(s);
}

// An item sheet over stored items: every item it writes, new or updated,
// gives its texts and prices to each of its base-unit PLUs (UOMQTY 1), so
// that the till charges the item's new price; a PLU of six keeps its own.
TEST_P(SetWriteTest, EveryWrittenItemReachesItsBaseUnitPlus) {
    const QString sixPack =
        "Insert Into MT_PLU (PLUCODE, ITEMCODE, UOMQTY, POSDESCRIPTION, UNITPRICE) Values "
        "('COF-006', 'COF-001', 6, 'Six coffees', 12)";
    const struct {
        Scenario scenario;
        QList<QStringList> plus;  // PLUCODE, UOMQTY, POSDESCRIPTION, UNITPRICE
    } kCases[] = {
        {{"a second sheet changing a price and a description",
          {{"Items",
            {{"Code", "Name", "Plu", "Desc", "Price", "When"},
             {"COF-001", "Coffee", "COF-001", "Coffee", 2.2, QVariant()},
             {"TEA-001", "Tea", "TEA-001", "Tea", 1.8, QVariant()}}},
           {"Again",
            {{"Code", "Name", "Plu", "Desc", "Price", "When"},
             {"COF-001", "Coffee", "COF-001", "Coffee large", 2.4, QVariant()}}}},
          {{"Items", Table::kItem, kItemMap}, {"Again", Table::kItem, kItemMap}},
          {sixPack},
          {}},
         {{"COF-001", "1", "Coffee large", "2.4"},
          {"COF-006", "6", "Six coffees", "12"},
          {"TEA-001", "1", "Tea", "1.8"}}},
        {{"an item and two base-unit PLUs stored before, the PLU codes not mapped",
          {{"Prices",
            {{"Code", "Name", "Price"}, {"COF-001", "Coffee", 2.4}, {"TEA-001", "Tea", 1.8}}}},
          {{"Prices",
            Table::kItem,
            {{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}, {"Price", "UNITPRICE"}}}},
          {"Insert Into MT_ITEM (ITEMCODE, ITEMNAME, POSDESCRIPTION, UNITPRICE) Values ('COF-001', "
           "'Coffee', 'Coffee', 2.2)",
           "Insert Into MT_PLU (PLUCODE, ITEMCODE, UOMQTY, POSDESCRIPTION, UNITPRICE) Values "
           "('COF-001', 'COF-001', 1, 'Coffee', 2.2), ('5000001', 'COF-001', 1, 'Coffee', 2.2)",
           sixPack},
          {}},
         {{"5000001", "1", "Coffee", "2.4"},
          {"COF-001", "1", "Coffee", "2.4"},
          {"COF-006", "6", "Six coffees", "12"},
          {"TEA-001", "1", "Tea", "1.8"}}},
    };
    for (const auto& c : kCases) {
        for (const bool asSet : {false, true}) {
            SCOPED_TRACE(std::string(c.scenario.name) +
                         (asSet ? ", as a set" : ", record by record"));
            Run(c.scenario, asSet);
            EXPECT_EQ(
                Query("Select PLUCODE, UOMQTY, POSDESCRIPTION, UNITPRICE From MT_PLU Order By "
                      "PLUCODE"),
                c.plus);
        }
    }
}

// A sheet of several batches over tables already holding a third of its
// items and their PLUs: the stored items are updated and the others added,
// still as a set (one by one takes thousands of statements), leaving what
// records one by one leave.
TEST_P(SetWriteTest, ALongSheetOverStoredItemsGoesAsASet) {
    ExpectTheSetToLeaveWhatRecordsLeave(
        {"a long sheet over a third of it stored",
         {{"Some", LongItems(2100, 3)}, {"All", LongItems(2100, 1)}},
         {{"Some", Table::kItem, kItemMap}, {"All", Table::kItem, kItemMap}},
         {},
         {}});
    EXPECT_EQ(form->InsertTotals.inserted, 1400);
    EXPECT_EQ(form->InsertTotals.updated, 700);
    EXPECT_LE(lastStatements, 100);
}

// A sheet of several hundred new items with their PLUs goes in a few dozen
// statements at most; one by one it takes five a record, 3,000 here.
TEST_P(SetWriteTest, AWholeSheetGoesInAHandfulOfStatements) {
    QList<QVariantList> rows{{"Code", "Name", "Plu", "Desc", "Price", "When"}};
    for (int i = 1; i <= 600; ++i)
        rows.append({QString("I%1").arg(i), QString("Item %1").arg(i), QString("P%1").arg(i), "Plu",
                     i / 4.0, QDate(2024, 1, 1)});
    LoadSheet({{"Items", rows}}, "Items");
    ChooseTable(Table::kItem);
    Map(kItemMap);
    form->CVerify_Click();
    const int before = form->SqlConnection->StatementCount();
    form->CStart_Click();
    EXPECT_EQ(form->InsertTotals.inserted, 600);
    EXPECT_LE(form->SqlConnection->StatementCount() - before, 30);
    EXPECT_EQ(Query("Select Count(*) From MT_PLU"), (QList<QStringList>{{"600"}}));
    // New records are numbered in the sheet's order.
    QList<QStringList> inSheetOrder;
    for (int i = 1; i <= 600; ++i) inSheetOrder.append({QString("I%1").arg(i)});
    EXPECT_EQ(Query("Select ITEMCODE From MT_ITEM Order By ID"), inSheetOrder);
    // Progress keeps moving after the last row is read: the rows staged as
    // they are worked out, then each step by name.
    const qsizetype staged = op.progress.indexOf("Staging rows... 600 of 600");
    ASSERT_GE(staged, 0) << op.progress.join(" | ").toStdString();
    EXPECT_EQ(op.progress.mid(staged + 1),
              (QStringList{"Adding missing companion records...", "Finding stored records...",
                           "Updating stored records...", "Adding new records...",
                           "Copying items to their PLUs...", "Committing...", ""}));
}

// Thirty bills of ten lines each go in a handful of statements too: the
// headers, the lines and the costs of all of them together. One by one
// each line takes seven, over 2,100 here.
TEST_P(SetWriteTest, ABillOfMaterialSheetGoesInAHandfulOfStatements) {
    db->Execute(kComponents);
    QList<QVariantList> rows{{"Group", "Item", "Type", "Comp", "Qty"}};
    for (int bill = 1; bill <= 30; ++bill)
        for (int line = 1; line <= 10; ++line)
            rows.append({"G1", QString("F%1").arg(bill), "D", QString("C%1").arg(line), line});
    LoadSheet({{"Bom", rows}}, "Bom");
    ChooseTable(Table::kBom);
    Map(kBomMap);
    form->CVerify_Click();
    const int before = form->SqlConnection->StatementCount();
    form->CStart_Click();
    EXPECT_TRUE(op.notices.isEmpty()) << op.notices.value(0).toStdString();
    EXPECT_EQ(form->InsertTotals.inserted, 300);
    EXPECT_LE(form->SqlConnection->StatementCount() - before, 30);
    // C1 to C3 of each bill are priced: 1.5 + 2 * 0.25 + 3 * 2.
    EXPECT_EQ(Query("Select Count(*) From INVT_MT_BOMMASTER Where TOTALBOMCOST = 8"),
              (QList<QStringList>{{"30"}}));
}

// A record the database refuses in the middle of a large sheet: the set is
// rolled back, and one record at a time saves the records before it and
// names its row.
TEST_P(SetWriteTest, ARefusedRecordRollsTheSetBackAndTheRecordsBeforeItAreSaved) {
    db->Execute(GetParam() == "sqlite"
                    ? "Create Trigger NO_BAD Before Insert On MT_ITEM When NEW.ITEMNAME = 'bad' "
                      "Begin Select Raise(Abort, 'a bad name'); End"
                    : "Alter Table MT_ITEM Add Constraint NO_BAD Check (ITEMNAME <> 'bad')");
    QList<QVariantList> rows{{"Code", "Name", "Plu", "Desc", "Price", "When"}};
    for (int i = 1; i <= 400; ++i)
        rows.append({QString("I%1").arg(i), i == 251 ? QString("bad") : QString("Item %1").arg(i),
                     QString("P%1").arg(i), "Plu", 1, QVariant()});
    ExpectRecordByRecordFrom(rows, 252);
}

// A value refused while the records are still being worked out, beside the
// staging of the ones before it: the same fall back to one record at a time.
// Verify rejects the row; with its verdict taken away, Start still refuses
// to write a date column a text that is no date.
TEST_P(SetWriteTest, AValueRefusedWhileRecordsAreWorkedOutFallsBackToRecordByRecord) {
    QList<QVariantList> rows{{"Code", "Name", "Plu", "Desc", "Price", "When"}};
    for (int i = 1; i <= 2500; ++i)
        rows.append({QString("I%1").arg(i), QString("Item %1").arg(i), QString("P%1").arg(i), "Plu",
                     1, i == 1800 ? QVariant("no date") : QVariant(QDate(2024, 1, 2))});
    ExpectRecordByRecordFrom(rows, 1801, [this] {
        Grid& rejected = *form->SC[Minsert::kResultGrid];
        ASSERT_EQ(rejected.Rows(), 1);
        ASSERT_EQ(rejected.CellText(0, -1), "1801");
        rejected.RemoveRows(0, 1);
    });
    EXPECT_TRUE(op.errors[0].ErrDescription.contains(
        "\"no date\" cannot go into DATECREATED: it is not a date."))
        << op.errors[0].ErrDescription.toStdString();
}

INSTANTIATE_ON_ENGINES(SetWriteTest);

}  // namespace
