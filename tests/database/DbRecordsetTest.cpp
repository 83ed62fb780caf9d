#include <gtest/gtest.h>

#include <QDateTime>

#include "DbTestSupport.h"
#include "base/AppError.h"
#include "database/DemoSchema.h"

namespace {

// A PLU record of the demo schema's MT_PLU.
struct Plu {
    const char* plu;
    const char* item;
    const char* description;
    int uomQty;
};

class DbRecordsetTest : public FreshDatabase {
protected:
    void SetUp() override {
        FreshDatabase::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        CreateDemoSchema(*db_);
    }

    void Insert(const Plu& p) {
        db_->Execute(
            "Insert Into MT_PLU (PLUCODE, ITEMCODE, POSDESCRIPTION, UOMQTY) Values (?, ?, ?, ?)",
            {p.plu, p.item, p.description, p.uomQty});
    }

    // PLU code and description of every MT_PLU record, in PLU code order.
    QStringList Plus() {
        QStringList plus;
        const auto rs = db_->Open("Select PLUCODE, POSDESCRIPTION From MT_PLU Order By PLUCODE");
        for (; !rs->Eof(); rs->MoveNext())
            plus << rs->Value(0).toString() + "=" + rs->Value(1).toString();
        return plus;
    }

    std::unique_ptr<Recordset> OpenPlu(const QString& plu, const QStringList& columns = {}) {
        return db_->OpenTable({"MT_PLU", columns, {{"PLUCODE", plu}}});
    }

    // Moves to the record whose field has that value.
    static void Seek(Recordset& rs, const QString& field, const QString& value) {
        while (!rs.Eof() && rs.Value(field).toString() != value) rs.MoveNext();
        ASSERT_FALSE(rs.Eof()) << "no record with " << field.toStdString() << " "
                               << value.toStdString();
    }
};

TEST_P(DbRecordsetTest, ReadsEveryRowWithCountPositionsNamesAndValues) {
    Insert({"A", "I1", "Apple", 1});
    Insert({"B", "I1", "Banana", 12});
    db_->Execute("Update MT_PLU Set UNITPRICE = ?, DATECREATED = ? Where PLUCODE = ?",
                 {1.25, QDateTime(QDate(2024, 3, 9), QTime(8, 30)), "B"});

    const auto rs =
        db_->Open("Select PLUCODE, UOMQTY, UNITPRICE, DATECREATED From MT_PLU Order By PLUCODE");
    ASSERT_EQ(rs->RecordCount(), 2);
    ASSERT_EQ(rs->FieldCount(), 4);
    EXPECT_EQ(rs->FieldAt(0).name, "PLUCODE");
    EXPECT_EQ(rs->FieldAt(3).name, "DATECREATED");
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_EQ(rs->Value("PLUCODE").toString(), "A");
    EXPECT_TRUE(rs->Value("UNITPRICE").isNull());
    rs->MoveNext();
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    EXPECT_EQ(rs->Value("uomqty").toLongLong(), 12);
    EXPECT_DOUBLE_EQ(rs->Value("UNITPRICE").toDouble(), 1.25);
    EXPECT_EQ(rs->Value("DATECREATED").toDateTime(), QDateTime(QDate(2024, 3, 9), QTime(8, 30)));
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());

    const auto none = db_->Open("Select PLUCODE From MT_PLU Where PLUCODE = ?", {"Z"});
    EXPECT_TRUE(none->Eof());
    EXPECT_EQ(none->RecordCount(), 0);
    EXPECT_EQ(none->FieldAt(0).name, "PLUCODE");
}

TEST_P(DbRecordsetTest, UpdateChangesOnlyTheRecordReadAmongEqualOnes) {
    for (const char* plu : {"A", "B", "C"}) Insert({plu, "I1", "Same", 1});

    const auto rs = db_->OpenTable({"MT_PLU", {}, {{"ITEMCODE", "I1"}}});
    ASSERT_EQ(rs->RecordCount(), 3);
    Seek(*rs, "PLUCODE", "B");
    rs->SetValue("POSDESCRIPTION", "Changed");
    rs->Update();

    EXPECT_EQ(Plus(), QStringList({"A=Same", "B=Changed", "C=Same"}));
}

TEST_P(DbRecordsetTest, UpdateWritesOnlyTheFieldsThatChanged) {
    Insert({"A", "I1", "Apple", 1});
    const auto first = OpenPlu("A");
    const auto second = OpenPlu("A");

    first->SetValue("POSDESCRIPTION", "Green apple");
    first->Update();
    second->SetValue("UOMQTY", "6");
    second->Update();

    const auto rs = OpenPlu("A");
    EXPECT_EQ(rs->Value("POSDESCRIPTION").toString(), "Green apple");
    EXPECT_EQ(rs->Value("UOMQTY").toLongLong(), 6);
}

TEST_P(DbRecordsetTest, WithoutTheKeyAmongItsFieldsUpdateFindsTheRecordByItsCriteria) {
    Insert({"A", "I1", "Same", 1});
    Insert({"B", "I1", "Same", 1});

    const auto rs = OpenPlu("B", {"POSDESCRIPTION", "UOMQTY"});
    rs->SetValue("POSDESCRIPTION", "Changed");
    rs->Update();

    EXPECT_EQ(Plus(), QStringList({"A=Same", "B=Changed"}));
}

TEST_P(DbRecordsetTest, AnAliasedFieldReadsAndWritesItsColumn) {
    Insert({"A", "I1", "Apple", 1});

    const auto rs = OpenPlu("A", {"PLUCODE", "POSDESCRIPTION As DESCRIPTION", "ITEMCODE as ITEM"});
    ASSERT_EQ(rs->FieldAt(1).name, "DESCRIPTION");
    ASSERT_EQ(rs->FieldAt(2).name, "ITEM");
    EXPECT_EQ(rs->Value("DESCRIPTION").toString(), "Apple");
    rs->SetValue("DESCRIPTION", "Pear");
    rs->SetValue("ITEM", "I2");
    rs->Update();

    const auto check = db_->Open("Select POSDESCRIPTION, ITEMCODE From MT_PLU");
    EXPECT_EQ(check->Value(0).toString(), "Pear");
    EXPECT_EQ(check->Value(1).toString(), "I2");
}

TEST_P(DbRecordsetTest, AddNewInsertsTheFieldsSetAndLeavesIdToTheDatabase) {
    const auto rs = OpenPlu("N");
    ASSERT_TRUE(rs->Eof());
    rs->AddNew();
    rs->SetValue("ID", 999);
    rs->SetValue("PLUCODE", "N");
    rs->SetValue("UOMQTY", "3");
    rs->SetValue("UNITPRICE", "2.5");
    rs->SetValue("DATECREATED", "2024-05-01");
    rs->Update();
    rs->Requery();

    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_FALSE(rs->Value("ID").isNull());
    EXPECT_NE(rs->Value("ID").toLongLong(), 999);
    EXPECT_EQ(rs->Value("UOMQTY").toLongLong(), 3);
    EXPECT_DOUBLE_EQ(rs->Value("UNITPRICE").toDouble(), 2.5);
    EXPECT_EQ(rs->Value("DATECREATED").toDateTime(), QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    EXPECT_TRUE(rs->Value("ITEMCODE").isNull());

    // The new record changes like any other.
    rs->SetValue("POSDESCRIPTION", "New");
    rs->Update();
    EXPECT_EQ(Plus(), QStringList({"N=New"}));
}

TEST_P(DbRecordsetTest, AKeyHoldingASingleQuoteIsFoundAndChanged) {
    const QString key = "O'NEIL";
    auto rs = OpenPlu(key);
    rs->AddNew();
    rs->SetValue("PLUCODE", key);
    rs->SetValue("POSDESCRIPTION", "Quoted");
    rs->Update();

    rs = OpenPlu(key);
    ASSERT_EQ(rs->RecordCount(), 1);
    rs->SetValue("POSDESCRIPTION", "It's changed");
    rs->Update();
    EXPECT_EQ(Plus(), QStringList({"O'NEIL=It's changed"}));
}

TEST_P(DbRecordsetTest, NullValuesAreReadWrittenAndFound) {
    Insert({"A", "I1", "Apple", 1});

    auto rs = OpenPlu("A");
    EXPECT_TRUE(rs->Value("UNITPRICE").isNull());
    EXPECT_TRUE(rs->Value("DATECREATED").isNull());
    rs->SetValue("POSDESCRIPTION", QVariant());
    rs->SetValue("UOMQTY", QVariant());
    rs->SetValue("DATECREATED", "");
    rs->Update();

    rs = db_->OpenTable({"MT_PLU", {"PLUCODE", "UOMQTY"}, {{"POSDESCRIPTION", QVariant()}}});
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Value("PLUCODE").toString(), "A");
    EXPECT_TRUE(rs->Value("UOMQTY").isNull());
    // Found by the null criterion, changed through it.
    rs->SetValue("UOMQTY", 4);
    rs->Update();
    EXPECT_EQ(OpenPlu("A")->Value("UOMQTY").toLongLong(), 4);
}

TEST_P(DbRecordsetTest, AStatementWithValuesIsReusedWithOthers) {
    for (const char* plu : {"A", "B", "C"}) Insert({plu, "I1", plu, 1});
    for (const char* plu : {"C", "A", "B"}) {
        const auto rs = OpenPlu(plu);
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(rs->Value("POSDESCRIPTION").toString(), plu);
    }
}

TEST_P(DbRecordsetTest, OneQueryWithANullOrAValueCriterionReadsAndWritesItsOwnRecord) {
    Insert({"A", "I1", "Apple", 1});
    Insert({"B", "I1", "Pear", 1});
    db_->Execute("Update MT_PLU Set POSDESCRIPTION = NULL Where PLUCODE = 'A'");
    // Without the key among the fields the criteria find the record to write.
    for (const QVariant& description : {QVariant(), QVariant("Pear"), QVariant()}) {
        const auto rs = db_->OpenTable({"MT_PLU", {"UOMQTY"}, {{"POSDESCRIPTION", description}}});
        ASSERT_EQ(rs->RecordCount(), 1);
        rs->SetValue("UOMQTY", rs->Value("UOMQTY").toLongLong() + 1);
        rs->Update();
    }
    EXPECT_EQ(OpenPlu("A")->Value("UOMQTY").toLongLong(), 3);
    EXPECT_EQ(OpenPlu("B")->Value("UOMQTY").toLongLong(), 2);
}

TEST_P(DbRecordsetTest, UpdatingARecordThatWasDeletedMeanwhileFails) {
    Insert({"A", "I1", "Apple", 1});
    const auto rs = OpenPlu("A");
    Reconnect()->Execute("Delete From MT_PLU");
    rs->SetValue("POSDESCRIPTION", "Gone");
    try {
        rs->Update();
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Number(), -2147217864);
        EXPECT_TRUE(e.Description().contains("Row cannot be located"));
    }
}

TEST_P(DbRecordsetTest, AClosedConnectionRefusesEveryOperation) {
    Insert({"A", "I1", "Apple", 1});
    const auto rs = OpenPlu("A");
    db_->Close();
    EXPECT_FALSE(db_->IsOpen());
    rs->SetValue("POSDESCRIPTION", "Late");
    for (const auto& operation : std::vector<std::function<void()>>{
             [&] { db_->Open("Select 1"); },
             [&] { db_->Execute("Delete From MT_PLU"); },
             [&] { rs->Update(); },
         }) {
        try {
            operation();
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.Number(), ErrorNumber::ConnectionClosed);
        }
    }
}

INSTANTIATE_ON_EVERY_BACKEND(DbRecordsetTest);

}  // namespace
