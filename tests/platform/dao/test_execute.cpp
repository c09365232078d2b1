// Statements as the program writes them: Jet dialect, date literals, and Jet's way of leaving
// out the rows that break a rule.
#include "EngineFixture.h"

#include <sqlite3.h>

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;

namespace {

class ExecuteTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        p1 = addPerson(QStringLiteral("Ann"));
        p2 = addPerson(QStringLiteral("Bob"));
        for (int p : {p1, p2})
            for (int k = 0; k <= 6; ++k)
                db->Execute(QStringLiteral("insert into PERSON_PLOT (PRSN_KY, PLT_KY) values (%1, %2)").arg(p).arg(k));
    }
    int p1 = 0, p2 = 0;
};

// Rows of the multiple plot stored under other plot keys are folded onto key 6.
TEST_F(ExecuteTest, FoldOfTheMultiplePlotSkipsTheRowsThatBreakARule)
{
    db->Execute(QStringLiteral("insert into MULTIPLE_PERSON_PLOT values (%1, 5)").arg(p1));
    db->Execute(QStringLiteral("insert into MULTIPLE_PERSON_PLOT values (%1, 5)").arg(p2));
    db->Execute(QStringLiteral("insert into MULTIPLE_PERSON_PLOT values (%1, 6)").arg(p2));
    for (int c = 0; c < 3; ++c)
        db->Execute(
            QStringLiteral("insert into CHART_MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID, CHRT_ACT) values (%1, 5, %2, -1)")
                .arg(p1)
                .arg(c));
    db->Execute(QStringLiteral("insert into CHART_MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID) values (%1, 5, 0)").arg(p2));
    db->Execute(QStringLiteral("insert into CHART_MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID) values (%1, 5, 1)").arg(p2));
    db->Execute(QStringLiteral("insert into CHART_MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID) values (%1, 6, 0)").arg(p2));

    // Bob already has his key-6 row: only Ann's is added.
    EXPECT_EQ(
        1,
        db->Execute(
            "INSERT INTO MULTIPLE_PERSON_PLOT(PRSN_KY, PLT_KY) SELECT PRSN_KY, 6 FROM MULTIPLE_PERSON_PLOT WHERE PLT_KY <> 6"));
    // Bob's series 0 would collide with the one already under key 6: it stays behind.
    EXPECT_EQ(5, db->Execute("UPDATE CHART_MULTIPLE_PERSON_PLOT SET PLT_KY = 6"));
    // Bob's old parent row still has that series row: it is kept.
    EXPECT_EQ(1, db->Execute("DELETE FROM MULTIPLE_PERSON_PLOT WHERE PLT_KY <> 6"));

    EXPECT_EQ(2, count("select count(*) from MULTIPLE_PERSON_PLOT where PLT_KY = 6"));
    EXPECT_EQ(QStringLiteral("%1").arg(p2), [&] {
        auto rs = db->OpenRecordset("select PRSN_KY from MULTIPLE_PERSON_PLOT where PLT_KY <> 6", dbOpenSnapshot);
        return rs->Fields(0).Value().toString();
    }());
    EXPECT_EQ(5, count("select count(*) from CHART_MULTIPLE_PERSON_PLOT where PLT_KY = 6"));
    EXPECT_EQ(3, count("select count(*) from CHART_MULTIPLE_PERSON_PLOT where PLT_KY = 6 and CHRT_ACT = -1"));

    // With the fail-on-error option the same kind of statement is undone as a whole.
    EXPECT_EQ(errDuplicateKey, errorOf([&] { db->Execute("UPDATE CHART_MULTIPLE_PERSON_PLOT SET PLT_KY = 6", dbFailOnError); }));
    EXPECT_EQ(1, count("select count(*) from CHART_MULTIPLE_PERSON_PLOT where PLT_KY = 5"));
    EXPECT_EQ(errRelatedRecordsExist, errorOf([&] { db->Execute("DELETE FROM MULTIPLE_PERSON_PLOT", dbFailOnError); }));
    EXPECT_EQ(3, count("select count(*) from MULTIPLE_PERSON_PLOT"));
}

TEST_F(ExecuteTest, ErrorsThatAreNoRuleAlwaysRaiseAndChangeNothing)
{
    EXPECT_EQ(errSyntaxInExpression, errorOf([&] { db->Execute("insert into MEASURE values (1, 2"); }));
    EXPECT_EQ(errSyntaxInExpression, errorOf([&] {
                  db->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT) values (%1, #2/30/2027#)").arg(p1));
              }));
    EXPECT_EQ(errSyntax, errorOf([&] {
                  db->Execute(
                      QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, CMMNT) values (%1, #3/8/2027#, 'it's')").arg(p1));
              }));
    EXPECT_EQ(errTableNotFound, errorOf([&] { db->Execute("delete from NOSUCH"); }));
    EXPECT_EQ(0, count("select count(*) from MEASURE"));
    EXPECT_EQ(0, db->transactionDepth());
}

TEST_F(ExecuteTest, DateLiteralsAreStoredAndComparedToTheSecond)
{
    const QString insert = QStringLiteral(
        "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1,TEMP2, CMMNT, GL_KY) "
        "VALUES(%1, %2, Null, Null, 80, 120, 72, 150.5, Null, Null, Null, 'text', NULL)");
    db->Execute(insert.arg(p1).arg("#3/8/2027 07:05:00 PM#"), dbFailOnError);
    db->Execute(insert.arg(p1).arg("#3/8/2027 12:0 AM#"), dbFailOnError);
    db->Execute(insert.arg(p1).arg("#3/8/2027 11:59:59 PM#"), dbFailOnError);
    db->Execute(insert.arg(p1).arg("#1/5/99 #"), dbFailOnError);
    db->Execute(insert.arg(p1).arg("# 1/5/29#"), dbFailOnError);
    // The same minute written another way is the same key.
    EXPECT_EQ(0, db->Execute(insert.arg(p1).arg("#3/8/2027 7:5 PM#")));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from MEASURE where MSRD_DT = #3/8/2027 7:5 PM#")));
    EXPECT_EQ(3, count("select count(*) from measure where msrd_dt between #3/8/2027# and #3/8/2027 11:59:59 PM#"));
    EXPECT_EQ(1, count("select count(*) from measure where year(msrd_dt) = 1999 and month(msrd_dt) = 1"));
    EXPECT_EQ(1, count("select count(*) from measure where msrd_dt = #1/5/2029#"));
    auto rs = db->OpenRecordset(QStringLiteral("select max(msrd_dt) from measure"), dbOpenSnapshot);
    EXPECT_EQ(QDateTime(QDate(2029, 1, 5), QTime(0, 0), Qt::UTC), rs->Fields(0).Value().toDateTime());
    // Updates and deletes address the row by its date the same way.
    EXPECT_EQ(
        1, db->Execute(
               QStringLiteral("UPDATE MEASURE SET HBP = 130 WHERE PRSN_KY = %1 AND MSRD_DT = #3/8/2027 07:05:00 PM#").arg(p1)));
    EXPECT_EQ(1, db->Execute(QStringLiteral("delete from measure where prsn_ky = %1 and msrd_dt = #3/8/2027 7:5 PM#").arg(p1)));
}

TEST_F(ExecuteTest, TheProgramsStatementShapesRun)
{
    db->Execute("insert into REGIMEN (RGMN_NM, RGMN_DTL) values ('Walk', \"30 min\")");
    db->Execute(
        QStringLiteral("insert into measure values (%1, #1/5/99 #, Null, Null, 80, 120, 72, 150, Null, Null, Null, '', Null)")
            .arg(p1));
    db->Execute(
        QStringLiteral("insert into measure values (%1, #1/6/99 #, 3, Null, 82, 124, 70, 151.5, Null, Null, Null, '', Null)")
            .arg(p1));
    EXPECT_EQ(2, db->Execute(QStringLiteral("UPDATE MEASURE   SET MEASURE.RGMN_KY = 1  where MEASURE.PRSN_KY = %1").arg(p1)));

    auto rs = db->OpenRecordset(
        QStringLiteral(
            " SELECT  M.RGMN_KY, M.MD_KY, MSRD_DT, M.HBP, format(M.WT,'0.0'), R.RGMN_NM, MO.MD_NM, M.CMMNT "
            " FROM ((PERSON AS P INNER JOIN MEASURE AS M ON P.PRSN_KY = M.PRSN_KY) LEFT JOIN MOOD AS MO ON M.MD_KY = MO.MD_KY) "
            " LEFT JOIN REGIMEN AS R ON M.RGMN_KY = R.RGMN_KY WHERE P.PRSN_KY = %1 ORDER BY M.MSRD_DT Desc")
            .arg(p1),
        dbOpenDynaset);
    ASSERT_EQ(2, rs->RecordCount());
    EXPECT_FALSE(rs->Updatable());
    EXPECT_EQ(QStringLiteral("151.5"), rs->Fields(4).Value().toString());
    EXPECT_EQ(QStringLiteral("Happy"), rs->Fields(QStringLiteral("md_nm")).Value().toString());
    EXPECT_EQ(QStringLiteral("Walk"), rs->Fields(QStringLiteral("RGMN_NM")).Value().toString());
    rs->MoveNext();
    EXPECT_TRUE(rs->Fields(QStringLiteral("MD_NM")).Value().isNull());
    EXPECT_EQ(QStringLiteral("150.0"), rs->Fields(4).Value().toString());

    auto months = db->OpenRecordset(
        QStringLiteral(" select  year(f.msrd_dt) as yr, month(f.msrd_dt) as mnth, count(*) as countrecord  from measure f "
                       " where f.prsn_ky = %1 And MSRD_DT >= #1/1/1999# group by year(f.msrd_dt), month(f.msrd_dt) "
                       " order by year(f.msrd_dt), month(f.msrd_dt) desc ;")
            .arg(p1),
        dbOpenSnapshot);
    EXPECT_EQ(1999, months->Fields(QStringLiteral("yr")).Value().toInt());
    EXPECT_EQ(2, months->Fields(QStringLiteral("countrecord")).Value().toInt());

    // '&' joins text and reads Null as the empty text.
    auto cat = db->OpenRecordset(QStringLiteral("select RGMN_NM & ' (' & RGMN_DTL & ')', '<' & Null & '>' from REGIMEN"),
                                 dbOpenSnapshot);
    EXPECT_EQ(QStringLiteral("Walk (30 min)"), cat->Fields(0).Value().toString());
    EXPECT_EQ(QStringLiteral("<>"), cat->Fields(1).Value().toString());
}

TEST_F(ExecuteTest, QuotesAndLettersBeyondAsciiRoundTrip)
{
    const QStringList names = {QStringLiteral("O'Brien"), QStringLiteral("Zoë Ångström"), QStringLiteral("名前 \"quoted\"")};
    for (const QString& n : names)
        addPerson(n);
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM PERSON"), dbOpenDynaset);
    for (const QString& n : names) {
        rs->FindFirst(QStringLiteral("PRSN_NM='%1'").arg(QString(n).replace(QLatin1Char('\''), QLatin1String("''"))));
        ASSERT_FALSE(rs->NoMatch()) << n.toStdString();
        EXPECT_EQ(n, rs->Fields(QStringLiteral("PRSN_NM")).Value().toString());
    }
    rs->FindFirst(QStringLiteral("PRSN_NM='o''brien'"));
    EXPECT_FALSE(rs->NoMatch());
    // Through a recordset edit as well.
    rs->Edit();
    rs->Fields(QStringLiteral("COMMENT")).setValue(QStringLiteral("Doctor's \"note\" — ½"));
    rs->Update();
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from PERSON where COMMENT = 'Doctor''s \"note\" — ½'")));
}

} // namespace

namespace {

// Runs the same statement once more from inside a running one, while that one is mid-step.
struct Reentry {
    Database* db = nullptr;
    QString sql;
    int depth = 0;
};

void reenter(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* r = static_cast<Reentry*>(sqlite3_user_data(ctx));
    if (r->depth++ == 0)
        r->db->Execute(r->sql, Params{QStringLiteral("inner")});
    --r->depth;
    sqlite3_result_value(ctx, argv[0]);
}

} // namespace

// Prepared statements are kept between calls: each call must still see its own values, the
// current tables and an open file.
TEST_F(ExecuteTest, TheSameStatementRunsNestedAfterASchemaChangeAndAfterReopening)
{
    const QString insert = QStringLiteral("INSERT INTO REGIMEN (RGMN_NM) VALUES (reenter(?))");
    Reentry r{db.get(), insert};
    ASSERT_EQ(SQLITE_OK, sqlite3_create_function(db->handle(), "reenter", 1, SQLITE_UTF8, &r, reenter, nullptr, nullptr));
    EXPECT_EQ(1, db->Execute(insert, Params{QStringLiteral("outer")}));
    EXPECT_EQ(2, count("select count(*) from REGIMEN where RGMN_NM in ('outer', 'inner')"));
    // A rule broken on the cached statement's second use is still reported, and the values of
    // the failed use are not carried into the next one.
    EXPECT_EQ(errFieldTooSmall, errorOf([&] { db->Execute(insert, Params{QStringLiteral("far too long")}, dbFailOnError); }));
    EXPECT_EQ(errTooFewParameters, errorOf([&] { db->Execute(insert); }));

    const QString plain = QStringLiteral("INSERT INTO SCRATCH (N) VALUES (?)");
    auto makeScratch = [&](bool wider) {
        TableDef td = db->CreateTableDef(QStringLiteral("SCRATCH"));
        if (wider)
            testing_dao::field(td, "M", dbText, 5);
        testing_dao::field(td, "N", wider ? dbLong : dbText, 5);
        db->TableDefs().Append(td);
    };
    makeScratch(false);
    EXPECT_EQ(1, db->Execute(plain, Params{1}));
    db->TableDefs().Delete(QStringLiteral("SCRATCH"));
    EXPECT_EQ(errTableNotFound, errorOf([&] { db->Execute(plain, Params{2}); }));
    makeScratch(true);
    EXPECT_EQ(1, db->Execute(plain, Params{3}));
    EXPECT_EQ(1, count("select count(*) from SCRATCH where N = 3 and M is null"));

    db->Close();
    EXPECT_EQ(errObjectClosed, errorOf([&] { db->Execute(plain, Params{4}); }));
    db = Database::open(path);
    EXPECT_EQ(1, db->Execute(plain, Params{5}));
    EXPECT_EQ(2, count("select count(*) from SCRATCH"));
}
