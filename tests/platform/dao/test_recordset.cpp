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

// Rows over several storage blocks, walked the short way (nothing but moves and reads) and the
// long way (an observer, a pending edit): each row read as stored, each move still heard.
TEST_F(RecordsetTest, AWalkOverManyRowsReadsEveryCellAndTheLongWayStillNotifies)
{
    constexpr int kRows = 1500;
    const QDateTime start(QDate(2020, 1, 1), QTime(6, 0), Qt::UTC);
    auto comment = [](int i) { return i % 7 == 3 ? QVariant() : QVariant(QStringLiteral("note %1").arg(i / 4)); };
    db->BeginTrans();
    for (int i = 0; i < kRows; ++i)
        db->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, LBP, WT, CMMNT) values (1, ?, ?, ?, ?)"),
                    Params{start.addSecs(qint64(i) * 3600), i % 3 ? QVariant(i) : QVariant(), i * 0.5, comment(i)},
                    dbFailOnError);
    db->CommitTrans();

    auto rs = db->OpenRecordset("select MSRD_DT, LBP, WT, CMMNT from MEASURE order by MSRD_DT", dbOpenDynaset);
    ASSERT_EQ(kRows, rs->RecordCount());
    int i = 0;
    for (; !rs->Eof(); rs->MoveNext(), ++i) {
        ASSERT_EQ(i, rs->AbsolutePosition());
        ASSERT_EQ(start.addSecs(qint64(i) * 3600), rs->Fields(0).Value().toDateTime()) << i;
        ASSERT_EQ(i % 3 ? QVariant(i) : QVariant(), rs->Fields(1).Value()) << i;
        ASSERT_EQ(i * 0.5, rs->Fields(2).Value().toDouble()) << i;
        ASSERT_EQ(comment(i), rs->Fields(3).Value()) << i;
        ASSERT_EQ(rs->Fields(1).Value(), rs->Fields(QLatin1String(i % 2 ? "lbp" : "LBP")).Value()) << i;
        ASSERT_EQ(comment(i), rs->Fields(QStringLiteral("Cmmnt")).Value()) << i;
    }
    EXPECT_EQ(errItemNotFound, errorOf([&] { rs->Fields(QStringLiteral("CMMNT2")); }));
    EXPECT_EQ(kRows, i);
    EXPECT_EQ(-1, rs->AbsolutePosition());
    EXPECT_EQ(errNoCurrentRecord, errorOf([&] { rs->MoveNext(); }));

    Log log;
    rs->addObserver(&log);
    rs->MoveFirst();
    for (; !rs->Eof(); rs->MoveNext()) {
    }
    ASSERT_EQ(kRows + 1, log.seen.size());
    EXPECT_EQ(std::make_pair(RecordsetObserver::Change::Reposition, kRows - 1), log.seen[kRows - 1]);
    EXPECT_EQ(std::make_pair(RecordsetObserver::Change::Reposition, -1), log.seen.last());
    rs->removeObserver(&log);

    rs->setAbsolutePosition(kRows - 2);
    rs->Edit();
    rs->Fields(3).setValue(QStringLiteral("changed"));
    rs->MoveNext(); // leaves the edit unsaved
    EXPECT_EQ(dbEditNone, rs->EditMode());
    rs->MovePrevious();
    EXPECT_EQ(comment(kRows - 2), rs->Fields(3).Value());
    EXPECT_EQ(errItemNotFound, errorOf([&] { rs->Fields(4); }));
    EXPECT_EQ(errItemNotFound, errorOf([&] { rs->Fields(-1); }));
    rs->Close();
    EXPECT_EQ(errObjectClosed, errorOf([&] { rs->Eof(); }));
    EXPECT_EQ(errObjectClosed, errorOf([&] { rs->MoveNext(); }));
    EXPECT_EQ(errObjectClosed, errorOf([&] { rs->Fields(0).Value(); }));
}

// A text repeated down a column is kept and decoded once: a row written, requeried or read
// again must still show its own text, never the one read before.
TEST_F(RecordsetTest, RepeatedTextsReadTheirOwnValueAfterWritesAndRequeries)
{
    for (int i = 0; i < 4; ++i)
        db->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, CMMNT) values (1, #3/%1/2027#, 'same')").arg(i + 1));
    auto rs = db->OpenRecordset("select MSRD_DT, CMMNT, PRSN_KY from MEASURE order by MSRD_DT", dbOpenDynaset);
    auto texts = [&] {
        QStringList out;
        for (int r = 0; r < rs->RecordCount(); ++r)
            out << rs->valueAt(r, 1).toString();
        return out;
    };
    EXPECT_EQ(QStringList({"same", "same", "same", "same"}), texts());
    rs->setAbsolutePosition(1);
    rs->Edit();
    rs->Fields(1).setValue(QStringLiteral("other"));
    rs->Update();
    EXPECT_EQ(QStringList({"same", "other", "same", "same"}), texts());
    EXPECT_EQ(QStringLiteral("other"), rs->Fields(1).Value().toString());

    struct Step {
        const char* sql;
        QStringList expected;
    };
    const Step steps[] = {
        {"update MEASURE set CMMNT = 'saMe'", {"saMe", "saMe", "saMe", "saMe"}},
        {"update MEASURE set CMMNT = 'same'", {"same", "same", "same", "same"}},
        {"update MEASURE set CMMNT = Null where MSRD_DT = #3/3/2027#", {"same", "same", "", "same"}},
    };
    for (const Step& s : steps) {
        db->Execute(QString::fromLatin1(s.sql));
        rs->Requery();
        EXPECT_EQ(s.expected, texts()) << s.sql;
    }
    db->Execute("update MEASURE set CMMNT = 'new' where MSRD_DT = #3/4/2027#");
    ASSERT_TRUE(rs->refreshRow(3, true, QStringLiteral("MSRD_DT = #3/4/2027#")));
    EXPECT_EQ(QStringList({"same", "same", "", "new"}), texts());
    rs->AddNew();
    rs->Fields(0).setValue(QDateTime(QDate(2027, 3, 9), QTime(0, 0), Qt::UTC));
    rs->Fields(1).setValue(QStringLiteral("new"));
    rs->Fields(2).setValue(1);
    rs->Update();
    EXPECT_EQ(QStringList({"same", "same", "", "new", "new"}), texts());
}

} // namespace
