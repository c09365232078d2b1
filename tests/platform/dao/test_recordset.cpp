// Recordsets as the forms use them: moves, finds, edits through the data control's set.
#include "EngineFixture.h"

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;

namespace {

class RecordsetTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        for (const char* n : {"Cy", "Ann", "Bob"})
            addPerson(QLatin1String(n));
    }
};

struct Log : RecordsetObserver {
    QList<std::pair<Change, int>> seen;
    void recordsetChanged(Change c, int row) override { seen.append({c, row}); }
};

TEST_F(RecordsetTest, MovesReachTheEndsAndRefusePastThem)
{
    auto empty = db->OpenRecordset("select * from REGIMEN", dbOpenSnapshot);
    EXPECT_TRUE(empty->Eof());
    EXPECT_TRUE(empty->Bof());
    EXPECT_EQ(-1, empty->AbsolutePosition());
    EXPECT_EQ(errNoCurrentRecord, errorOf([&] { empty->MoveFirst(); }));
    EXPECT_EQ(errNoCurrentRecord, errorOf([&] { empty->MoveLast(); }));
    EXPECT_EQ(errNoCurrentRecord, errorOf([&] { empty->Fields(0).Value(); }));

    auto rs = db->OpenRecordset("SELECT PRSN_KY, PRSN_NM FROM PERSON ORDER BY PRSN_NM", dbOpenDynaset);
    EXPECT_EQ(3, rs->RecordCount());
    EXPECT_EQ(QStringLiteral("Ann"), rs->Fields(1).Value().toString());
    rs->MoveLast();
    EXPECT_EQ(2, rs->AbsolutePosition());
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(errNoCurrentRecord, errorOf([&] { rs->MoveNext(); }));
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    rs->setAbsolutePosition(1);
    EXPECT_EQ(QStringLiteral("Bob"), rs->Fields(QStringLiteral("prsn_nm")).Value().toString());
    EXPECT_EQ(errInvalidArgument, errorOf([&] { rs->setAbsolutePosition(3); }));
}

TEST_F(RecordsetTest, FindsFollowWhereRulesAndKeepThePositionOnFailure)
{
    db->Execute("insert into MEASURE (PRSN_KY, MSRD_DT, HBP) values (1, #3/1/2027 8:00 AM#, 120)");
    db->Execute("insert into MEASURE (PRSN_KY, MSRD_DT, HBP) values (1, #3/8/2027 07:05:00 PM#, 130)");
    db->Execute("insert into MEASURE (PRSN_KY, MSRD_DT, HBP) values (2, #2/27/2027#, 140)");
    auto rs = db->OpenRecordset("select * from MEASURE order by MSRD_DT", dbOpenDynaset);
    rs->FindFirst(QStringLiteral("msrd_dt >= #3/1/2027#"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(120, rs->Fields(QStringLiteral("HBP")).Value().toInt());
    rs->FindNext(QStringLiteral("msrd_dt >= #3/1/2027#"));
    EXPECT_EQ(130, rs->Fields(QStringLiteral("HBP")).Value().toInt());
    rs->FindFirst(QStringLiteral("MSRD_DT = #3/8/2027 07:05:00 PM#"));
    EXPECT_EQ(1, rs->AbsolutePosition() - 1);
    rs->FindFirst(QStringLiteral("prsn_ky = 2"));
    EXPECT_EQ(0, rs->AbsolutePosition());
    rs->FindFirst(QStringLiteral("prsn_ky = 5 or HBP > 200"));
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(0, rs->AbsolutePosition());
    rs->FindFirst(QStringLiteral("CMMNT IS NULL AND (HBP = 130 OR HBP = 999)"));
    EXPECT_EQ(130, rs->Fields(QStringLiteral("HBP")).Value().toInt());
    EXPECT_EQ(errFieldNotRecognised, errorOf([&] { rs->FindFirst(QStringLiteral("NOPE = 1")); }));
}

TEST_F(RecordsetTest, NewRowsWaitAtTheEndWithTheirCounter)
{
    auto rs = db->OpenRecordset("SELECT PRSN_KY, PRSN_NM, AGE, HGT, SEX, COMMENT FROM PERSON ORDER BY PRSN_NM", dbOpenDynaset);
    Log log;
    rs->addObserver(&log);
    rs->AddNew();
    rs->Fields(QStringLiteral("PRSN_NM")).setValue(QStringLiteral("Aaron"));
    rs->Fields(QStringLiteral("AGE")).setValue(QStringLiteral("50")); // text into a number field
    rs->Fields(QStringLiteral("HGT")).setValue(70.3);
    rs->Update();
    EXPECT_EQ(0, rs->AbsolutePosition()); // back where it was
    EXPECT_EQ(4, rs->RecordCount());
    rs->MoveLast();
    EXPECT_EQ(QStringLiteral("Aaron"), rs->Fields(1).Value().toString());
    EXPECT_EQ(4, rs->Fields(0).Value().toInt());
    EXPECT_EQ(50, rs->Fields(2).Value().toInt());
    EXPECT_DOUBLE_EQ(70.3, rs->Fields(3).Value().toDouble());
    EXPECT_TRUE(log.seen.contains({RecordsetObserver::Change::RowAppended, 3}));
    rs->removeObserver(&log);
    rs->Requery();
    EXPECT_EQ(QStringLiteral("Aaron"), rs->Fields(1).Value().toString());
}

TEST_F(RecordsetTest, AFailedUpdateKeepsTheEditUntilAMove)
{
    auto rs = db->OpenRecordset("SELECT PRSN_KY, PRSN_NM FROM PERSON ORDER BY PRSN_NM", dbOpenDynaset);
    rs->Edit();
    rs->Fields(1).setValue(QStringLiteral("BOB"));
    EXPECT_EQ(errDuplicateKey, errorOf([&] { rs->Update(); }));
    EXPECT_EQ(dbEditInProgress, rs->EditMode());
    EXPECT_EQ(QStringLiteral("BOB"), rs->Fields(1).Value().toString());
    rs->MoveNext();
    rs->MovePrevious();
    EXPECT_EQ(dbEditNone, rs->EditMode());
    EXPECT_EQ(QStringLiteral("Ann"), rs->Fields(1).Value().toString());
    EXPECT_EQ(errUpdateWithoutEdit, errorOf([&] { rs->Fields(1).setValue(QStringLiteral("x")); }));
    EXPECT_EQ(errOverflow, errorOf([&] {
                  rs->Edit();
                  rs->Fields(0).setValue(99999999999.0);
              }));
}

TEST_F(RecordsetTest, DeleteLeavesNoCurrentRowUntilTheNextMove)
{
    auto rs = db->OpenRecordset("SELECT PRSN_KY, PRSN_NM FROM PERSON ORDER BY PRSN_NM", dbOpenDynaset);
    rs->MoveLast(); // Cy
    rs->Delete();
    EXPECT_EQ(2, rs->RecordCount());
    EXPECT_EQ(errRecordDeleted, errorOf([&] { rs->Fields(1).Value(); }));
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    rs->MoveLast();
    EXPECT_EQ(QStringLiteral("Bob"), rs->Fields(1).Value().toString());
    rs->MoveFirst();
    rs->Delete();
    rs->MoveNext();
    EXPECT_EQ(QStringLiteral("Bob"), rs->Fields(1).Value().toString());
    EXPECT_EQ(1, count("select count(*) from PERSON"));
}

TEST_F(RecordsetTest, EditedRowsStayAndComputedColumnsAreRefreshedButReadOnly)
{
    db->Execute("insert into MEASURE (PRSN_KY, MSRD_DT, CMMNT, TEMP2) values (1, #3/1/2027#, 'a', 5)");
    auto rs = db->OpenRecordset("select PRSN_KY, CMMNT, TEMP2, CMMNT & '!' from MEASURE where TEMP2 = 5", dbOpenDynaset);
    ASSERT_TRUE(rs->Updatable());
    rs->Edit();
    rs->Fields(QStringLiteral("TEMP2")).setValue(QVariant());
    rs->Fields(QStringLiteral("CMMNT")).setValue(QStringLiteral("b"));
    rs->Update();
    EXPECT_EQ(1, rs->RecordCount());
    EXPECT_TRUE(rs->Fields(2).Value().isNull());
    EXPECT_EQ(QStringLiteral("b!"), rs->Fields(3).Value().toString());
    rs->Edit();
    EXPECT_EQ(3164, errorOf([&] { rs->Fields(3).setValue(QStringLiteral("x")); }));
    rs->CancelUpdate();
    rs->Requery();
    EXPECT_TRUE(rs->Eof());

    auto snap = db->OpenRecordset("select * from PERSON", dbOpenSnapshot);
    EXPECT_EQ(errReadOnlyRecordset, errorOf([&] { snap->Edit(); }));
    auto ro = db->OpenRecordset("select * from PERSON", dbOpenDynaset, dbReadOnly);
    EXPECT_EQ(errReadOnlyRecordset, errorOf([&] { ro->AddNew(); }));
}

TEST_F(RecordsetTest, FieldNamesKeepTheirDeclaredCaseAndAreFoundInAnyCase)
{
    auto rs = db->OpenRecordset("select temp1lbl, wtunit from application", dbOpenDynaset);
    EXPECT_EQ(QStringLiteral("Temp1LBL"), rs->Fields(0).Name());
    EXPECT_EQ(QStringLiteral("WtUnit"), rs->Fields(QStringLiteral("WTUNIT")).Name());
    EXPECT_EQ(errItemNotFound, errorOf([&] { rs->Fields(QStringLiteral("TempLbl")); }));
    auto all = db->OpenRecordset(" SELECT * "
                                 "   FROM Application",
                                 dbOpenSnapshot);
    QStringList names;
    for (const Field& f : all->Fields())
        names << f.Name();
    EXPECT_TRUE(names.contains(QStringLiteral("Temp1LBL")));
    // A table without a key is updatable too.
    all = db->OpenRecordset("select gblPrsnKy, ShowAtStartup from application", dbOpenDynaset);
    all->Edit();
    all->Fields(0).setValue(7);
    all->Fields(1).setValue(true);
    all->Update();
    EXPECT_EQ(1, count("select count(*) from application where gblPrsnKy = 7 and ShowAtStartup = -1"));
    EXPECT_EQ(true, all->Fields(1).Value().toBool());
}

TEST_F(RecordsetTest, ValuesAssignedToTextFieldsTakeTheirShortestForm)
{
    db->Execute("insert into REGIMEN (RGMN_NM) values ('Walk')");
    auto rs = db->OpenRecordset("select * from REGIMEN", dbOpenDynaset);
    rs->Edit();
    rs->Fields(QStringLiteral("RGMN_DTL")).setValue(80.0);
    rs->Update();
    EXPECT_EQ(QStringLiteral("80"), rs->Fields(QStringLiteral("RGMN_DTL")).Value().toString());
    rs->Edit();
    rs->Fields(QStringLiteral("RGMN_DTL")).setValue(6.7);
    rs->Update();
    EXPECT_EQ(QStringLiteral("6.7"), rs->Fields(QStringLiteral("RGMN_DTL")).Value().toString());
    rs->Edit();
    rs->Fields(QStringLiteral("RGMN_NM")).setValue(QStringLiteral("way too long name"));
    EXPECT_EQ(errFieldTooSmall, errorOf([&] { rs->Update(); }));
}

} // namespace
