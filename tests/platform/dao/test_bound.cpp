// Values bound to '?' placeholders: translation keeps them in order and leaves the ones inside
// quotes as text; Execute and OpenRecordset carry every kind of value to SQLite as a value.
#include "EngineFixture.h"

#include "platform/dao/JetSql.h"

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;

namespace {

TEST(JetPlaceholders, CountedInOrderAndNotInsideQuotes)
{
    struct Case {
        const char* jet;
        int parameters;
        int leading;
        const char* sqlite; // expected translation, when given
    };
    const Case cases[] = {
        {"SELECT * FROM MEASURE WHERE PRSN_KY = ? AND CMMNT = 'why?'", 1, 0,
         "SELECT * FROM MEASURE WHERE PRSN_KY = ? AND CMMNT = 'why?' COLLATE dao_nocase"},
        {"UPDATE MEASURE SET CMMNT = ?, WT = ? WHERE PRSN_KY = ? AND MSRD_DT = ?", 4, 2, nullptr},
        {"UPDATE MEASURE SET MEASURE.CMMNT = \"a?\" & ? WHERE PRSN_KY = ?", 2, 1, nullptr},
        {"DELETE * FROM MEASURE WHERE PRSN_KY = ? AND MSRD_DT = ?", 2, 0, nullptr},
        {"INSERT INTO MEASURE (PRSN_KY, MSRD_DT, CMMNT) VALUES (?, #1/2/2007 8:00 AM#, '?')", 1, 1,
         "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, CMMNT) VALUES (?, '2007-01-02 08:00:00', '?')"},
        {"SELECT ? & PRSN_NM FROM PERSON WHERE [PRSN?] = ? ORDER BY 1", 2, 1, nullptr},
        {"SELECT count(*) FROM MEASURE WHERE PRSN_KY = 1", 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        const jetsql::Translation tr = jetsql::translate(QString::fromUtf8(c.jet));
        EXPECT_EQ(c.parameters, tr.parameters) << c.jet;
        EXPECT_EQ(c.leading, tr.leadingParameters) << c.jet;
        if (c.sqlite) {
            EXPECT_EQ(QByteArray(c.sqlite), tr.sql) << c.jet;
        }
    }
    // '&' takes a placeholder as an operand like any value.
    EXPECT_EQ(QByteArray("SELECT (ifnull(? ,'')||ifnull( PRSN_NM,'')) FROM PERSON"),
              jetsql::translate(QStringLiteral("SELECT ? & PRSN_NM FROM PERSON")).sql);
    // A numbered placeholder would bind out of order.
    EXPECT_EQ(errSyntax, errorOf([] { jetsql::translate(QStringLiteral("SELECT * FROM PERSON WHERE PRSN_KY = ?1")); }));
}

class BoundTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ann = addPerson(QStringLiteral("Ann"));
    }
    QVariantList row(const QString& where, const Params& values = {})
    {
        auto rs = db->OpenRecordset(QStringLiteral("SELECT MSRD_DT, LBP, WT, CMMNT, MD_KY FROM MEASURE WHERE ") + where, values,
                                    dbOpenSnapshot);
        QVariantList out;
        if (rs->Eof())
            return out;
        for (int i = 0; i < 5; ++i)
            out << rs->Fields(i).Value();
        return out;
    }
    int ann = 0;
};

TEST_F(BoundTest, EveryKindOfValueRoundTrips)
{
    const QString insert =
        QStringLiteral("INSERT INTO MEASURE (PRSN_KY, MSRD_DT, LBP, WT, CMMNT, MD_KY) VALUES (?, ?, ?, ?, ?, ?)");
    const QDateTime when(QDate(2007, 3, 14), QTime(20, 5, 9), Qt::UTC);
    const QString comment = QStringLiteral("O'Brien said \"fine\"; -- drop table ?, Zoë 名前 #1/1/2000#");
    EXPECT_EQ(1, db->Execute(insert, {ann, when, 80, 71.5, comment, QVariant()}, dbFailOnError));
    // A date is stored as every other date is: a Jet literal finds it.
    const QVariantList r = row(QStringLiteral("PRSN_KY = %1 AND MSRD_DT = #3/14/2007 8:05:09 PM#").arg(ann));
    ASSERT_EQ(5, r.size());
    EXPECT_EQ(when, r[0].toDateTime());
    EXPECT_EQ(80, r[1].toInt());
    EXPECT_DOUBLE_EQ(71.5, r[2].toDouble());
    EXPECT_EQ(comment, r[3].toString());
    EXPECT_TRUE(r[4].isNull());
    // And the bound date finds it too, as a QDate finds midnight.
    EXPECT_EQ(comment, row(QStringLiteral("PRSN_KY = ? AND MSRD_DT = ?"), {ann, when}).value(3).toString());
    EXPECT_EQ(1, db->Execute(insert, {ann, QDate(2007, 3, 15), Params::value_type(), 1.25, QString(), 1}, dbFailOnError));
    EXPECT_EQ(QString(), row(QStringLiteral("MSRD_DT = ?"), {QDate(2007, 3, 15)}).value(3).toString());

    // Update and delete, with the values before and after the WHERE.
    EXPECT_EQ(1, db->Execute(QStringLiteral("UPDATE MEASURE SET CMMNT = ? & '!', LBP = ? WHERE PRSN_KY = ? AND MSRD_DT = ?"),
                             {QStringLiteral("it's"), 81, ann, when}, dbFailOnError));
    EXPECT_EQ(QStringLiteral("it's!"), row(QStringLiteral("MSRD_DT = ?"), {when}).value(3).toString());
    EXPECT_EQ(1,
              db->Execute(QStringLiteral("DELETE FROM MEASURE WHERE PRSN_KY = ? AND MSRD_DT = ?"), {ann, when}, dbFailOnError));
    EXPECT_TRUE(row(QStringLiteral("MSRD_DT = ?"), {when}).isEmpty());

    // Too few or too many values raise and change nothing.
    EXPECT_EQ(3061, errorOf([&] { db->Execute(insert, {ann, when}); }));
    EXPECT_EQ(3061, errorOf([&] { db->Execute(QStringLiteral("DELETE FROM MEASURE"), Params{1}); }));
    // A lone value in braces is taken for the options: it is refused, not run with Null.
    EXPECT_EQ(3061, errorOf([&] { db->Execute(QStringLiteral("DELETE FROM MEASURE WHERE PRSN_KY = ?"), {ann}); }));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from MEASURE")));
}

TEST_F(BoundTest, WithoutFailOnErrorTheRowsThatBreakARuleAreSkipped)
{
    const int bob = addPerson(QStringLiteral("Bob"));
    const QString insert = QStringLiteral("INSERT INTO MEASURE (PRSN_KY, MSRD_DT, LBP) VALUES (?, ?, ?)");
    const QDateTime when(QDate(2007, 3, 14), QTime(8, 0), Qt::UTC);
    for (int p : {ann, bob})
        db->Execute(insert, {p, when, 70}, dbFailOnError);
    db->Execute(insert, {ann, when.addDays(1), 75}, dbFailOnError);
    // A duplicate key: skipped silently, or raised with the option.
    EXPECT_EQ(0, db->Execute(insert, {ann, when, 90}));
    EXPECT_EQ(errDuplicateKey, errorOf([&] { db->Execute(insert, {ann, when, 90}, dbFailOnError); }));
    // Moving both of Ann's readings onto Bob's day: the one that collides stays, row by row, with
    // the SET's value and the WHERE's values each bound to their own part.
    EXPECT_EQ(1, db->Execute(QStringLiteral("UPDATE MEASURE SET PRSN_KY = ? WHERE PRSN_KY = ? AND LBP < ?"), {bob, ann, 100}));
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(bob)));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(ann)));
    // An insert from a select of the same rows: all collide but the one of a new day.
    EXPECT_EQ(1, db->Execute(QStringLiteral("INSERT INTO MEASURE (PRSN_KY, MSRD_DT, LBP) SELECT ?, MSRD_DT, LBP FROM MEASURE "
                                            "WHERE PRSN_KY = ?"),
                             {ann, bob}));
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(ann)));
}

TEST_F(BoundTest, AnUpdatableRecordsetKeepsItsValuesForEditsAndRequeries)
{
    const QDateTime when(QDate(2007, 3, 14), QTime(8, 0), Qt::UTC);
    db->Execute(QStringLiteral("INSERT INTO MEASURE (PRSN_KY, MSRD_DT, CMMNT) VALUES (?, ?, ?)"),
                {ann, when, QStringLiteral("a")}, dbFailOnError);
    auto rs = db->OpenRecordset(QStringLiteral("SELECT ? & CMMNT AS Shown, CMMNT FROM MEASURE WHERE PRSN_KY = ?"),
                                {QStringLiteral("x'"), ann}, dbOpenDynaset);
    ASSERT_TRUE(rs->Updatable());
    ASSERT_EQ(1, rs->RecordCount());
    EXPECT_EQ(QStringLiteral("x'a"), rs->Fields(0).Value().toString());
    rs->Edit();
    rs->Fields(1).setValue(QStringLiteral("b"));
    rs->Update(); // the row is read back with the select list's value bound again
    EXPECT_EQ(QStringLiteral("x'b"), rs->Fields(0).Value().toString());
    rs->Requery();
    EXPECT_EQ(1, rs->RecordCount());
    EXPECT_EQ(QStringLiteral("x'b"), rs->Fields(0).Value().toString());
}

} // namespace
