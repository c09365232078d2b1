#include "platform/dao/Error.h"
#include "platform/dao/JetSql.h"
#include "platform/dao/SqlFunctions.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include <ostream>

using namespace dao::jetsql;

// Readable failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

int errorNumberOf(const QString& jet)
{
    try {
        translate(jet);
    } catch (const dao::Error& e) {
        return e.Number();
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Date literals

struct LiteralCase {
    const char* body;
    QDateTime expected;
};

TEST(JetDateLiteral, ReadsEveryFormTheProgramWrites)
{
    const LiteralCase cases[] = {
        {"3/8/2027", at(2027, 3, 8)},
        {"3/8/2027 3:5 PM", at(2027, 3, 8, 15, 5)},
        {"1/1/2027 12:0 AM", at(2027, 1, 1, 0, 0)},
        {"3/8/2027 12:30 PM", at(2027, 3, 8, 12, 30)},
        {"3/18/2007 11:59:59 PM", at(2007, 3, 18, 23, 59, 59)},
        {"3/8/2027 07:05:00 PM", at(2027, 3, 8, 19, 5)},
        {"3/8/2027 7:05am", at(2027, 3, 8, 7, 5)},
        {"1/5/99 ", at(1999, 1, 5)},
        {"  3/8/2027  ", at(2027, 3, 8)},
        {"3/8/2027 3 PM", at(2027, 3, 8, 15)},
        {"3/8/2027 0:15 AM", at(2027, 3, 8, 0, 15)},
        {"3/8/2027 19:05", at(2027, 3, 8, 19, 5)},
        {"2027-3-8", at(2027, 3, 8)},
        {"2027-03-08 19:05:07", at(2027, 3, 8, 19, 5, 7)},
        {"2/29/2028", at(2028, 2, 29)},
        {"2/29/2000", at(2000, 2, 29)},
    };
    for (const LiteralCase& c : cases) {
        SCOPED_TRACE(c.body);
        const auto dt = parseDateLiteral(QString::fromLatin1(c.body));
        ASSERT_TRUE(dt.has_value());
        EXPECT_EQ(*dt, c.expected);
        EXPECT_EQ(dt->timeSpec(), Qt::UTC);
    }
}

TEST(JetDateLiteral, TwoDigitYearsPivotAtThirty)
{
    const std::pair<const char*, int> cases[] = {
        {"1/1/00", 2000}, {"1/1/29", 2029}, {"1/1/30", 1930}, {"1/1/99", 1999}, {"1/1/5", 2005},
    };
    for (const auto& [body, year] : cases) {
        SCOPED_TRACE(body);
        const auto dt = parseDateLiteral(QString::fromLatin1(body));
        ASSERT_TRUE(dt.has_value());
        EXPECT_EQ(dt->date().year(), year);
    }
}

TEST(JetDateLiteral, RejectsWhatIsNoDate)
{
    const char* bad[] = {
        "13/1/2027",
        "0/1/2027",
        "2/30/2027",
        "2/29/2027",
        "2/29/1900",
        "4/31/2027",
        "3/8/2027 13:00 PM",
        "3/8/2027 7:75",
        "3/8/2027 24:00",
        "3/8/2027 7:05:60",
        "3/8/2027 15", // a bare hour without AM/PM is no time
        "3/8/2027 7:05 XM",
        "3/8/2027 7:05 PM x",
        "3/8",
        "3/8/",
        "/8/2027",
        "3/8/20277",
        "abc",
        "",
        "   ",
        "3-8-2027",
        "2027/3/8",
    };
    for (const char* body : bad) {
        SCOPED_TRACE(body);
        EXPECT_FALSE(parseDateLiteral(QString::fromLatin1(body)).has_value());
        const QString literal = QStringLiteral("#%1#").arg(QLatin1String(body));
        try {
            translate(QStringLiteral("SELECT * FROM MEASURE WHERE MSRD_DT = ") + literal);
            ADD_FAILURE() << "no error";
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.Number(), dao::errSyntaxInExpression);
            EXPECT_TRUE(e.Description().contains(literal)) << qPrintable(e.Description());
        }
    }
    EXPECT_EQ(errorNumberOf(QStringLiteral("SELECT * FROM T WHERE D = #3/8/2027")), dao::errSyntaxInExpression);
}

TEST(JetDateLiteral, CanonicalTextRoundTrips)
{
    const QDateTime dt = at(2027, 3, 8, 19, 5, 7);
    EXPECT_EQ(canonicalDate(dt), QStringLiteral("2027-03-08 19:05:07"));
    EXPECT_EQ(canonicalDateUtf8(dt), QByteArray("2027-03-08 19:05:07"));
    EXPECT_EQ(canonicalDate(at(987, 1, 2)), QStringLiteral("0987-01-02 00:00:00"));
    EXPECT_TRUE(canonicalDate(QDateTime()).isEmpty());
    EXPECT_EQ(parseCanonicalDate(u"2027-03-08 19:05:07"), dt);
    EXPECT_EQ(parseCanonicalDate(u"2028-02-29 00:00:00"), at(2028, 2, 29));

    // The shape test is only the shape; the parse also checks the calendar and the clock.
    EXPECT_TRUE(looksCanonicalDate(u"2027-02-30 00:00:00"));
    for (const char16_t* text : {u"2027-02-30 00:00:00", u"2027-13-01 00:00:00", u"2027-03-08 24:00:00", u"2027-03-08 19:60:00",
                                 u"2027-3-8 19:05:07", u"2027-03-08T19:05:07", u"2027-03-08 19:05:07.5", u"2027-03-08", u""}) {
        SCOPED_TRACE(QString::fromUtf16(text).toStdString());
        EXPECT_FALSE(parseCanonicalDate(text).has_value());
    }
    for (const char16_t* text : {u"2027-3-8 19:05:07", u"2027-03-08T19:05:07", u"2027-03-08 19:05:0x", u"2027-03-08"})
        EXPECT_FALSE(looksCanonicalDate(text));
}

// ---------------------------------------------------------------------------------------------
// Translated statements run by SQLite

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

class JetSqlOnSqlite : public ::testing::Test {
protected:
    void SetUp() override
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
        db_.reset(raw);
        dao::registerJetFunctions(raw); // the translation names the engine's collation
        exec("CREATE TABLE DBTS_GOAL (GL_KY INTEGER PRIMARY KEY, GL_DTL TEXT, GL_NL INTEGER, GL_NH INTEGER,"
             " GL_DL INTEGER, GL_DH INTEGER, GL_NM TEXT)");
        exec("INSERT INTO DBTS_GOAL VALUES (1, 'bp', 80, 120, 60, 140, 'Pressure'),"
             " (2, NULL, NULL, 90, NULL, 100, 'Sugar')");
        exec("CREATE TABLE PERSON (PRSN_KY INTEGER PRIMARY KEY, PRSN_NM TEXT)");
        exec("INSERT INTO PERSON VALUES (7, 'O''Brien'), (8, 'Smith')");
        exec("CREATE TABLE MEASURE (MSR_KY INTEGER PRIMARY KEY, PRSN_KY INTEGER, MSRD_DT TEXT, MD_KY INTEGER,"
             " RGMN_KY INTEGER, CMMNT TEXT, FLAG INTEGER)");
        exec("INSERT INTO MEASURE VALUES (1, 7, '2027-02-28 08:00:00', 1, 1, 'it''s fine', 0),"
             " (2, 7, '2027-03-08 19:05:00', 2, 1, 'say \"hi\"', 0), (3, 8, '2027-03-09 07:00:00', NULL, 2, NULL, 0)");
        exec("CREATE TABLE MEDICINE (MD_KY INTEGER PRIMARY KEY, MD_NM TEXT)");
        exec("INSERT INTO MEDICINE VALUES (1, 'Aspirin'), (2, 'Insulin')");
    }

    void exec(const QByteArray& sql)
    {
        char* message = nullptr;
        const int rc = sqlite3_exec(db_.get(), sql.constData(), nullptr, nullptr, &message);
        const std::unique_ptr<char, decltype(&sqlite3_free)> owned(message, &sqlite3_free);
        ASSERT_EQ(rc, SQLITE_OK) << sql.constData() << ": " << (message ? message : "");
    }

    // Every row as its values joined with '|', Null shown as "NULL".
    QStringList rows(const QByteArray& sql)
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql.constData(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql.constData() << ": " << sqlite3_errmsg(db_.get());
            return {};
        }
        const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(raw, &sqlite3_finalize);
        QStringList out;
        while (sqlite3_step(raw) == SQLITE_ROW) {
            QStringList row;
            for (int i = 0; i < sqlite3_column_count(raw); ++i) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
                row << (text ? QString::fromUtf8(text) : QStringLiteral("NULL"));
            }
            out << row.join(u'|');
        }
        return out;
    }

    QStringList jetRows(const char* jet) { return rows(translate(QString::fromUtf8(jet)).sql); }
    void jetExec(const char* jet) { exec(translate(QString::fromUtf8(jet)).sql); }

    Connection db_{nullptr, &sqlite3_close};
};

TEST_F(JetSqlOnSqlite, ConcatenationReadsNullAsEmptyText)
{
    EXPECT_EQ(jetRows("SELECT GL_KY, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH, GL_NM, ' < ' & GL_DL,  GL_DL & ' to ' &  GL_NL,"
                      "  GL_NL & ' to ' & GL_NH,  GL_NH & ' to ' & GL_DH,  '> ' & GL_DH    FROM DBTS_GOAL  ORDER BY GL_NM"),
              QStringList({"1|bp|80|120|60|140|Pressure| < 60|60 to 80|80 to 120|120 to 140|> 140",
                           "2|NULL|NULL|90|NULL|100|Sugar| < | to | to 90|90 to 100|> 100"}));
}

TEST_F(JetSqlOnSqlite, ConcatenationOperandsFollowJetPrecedence)
{
    struct Case {
        const char* jet;
        QStringList expected;
    };
    const Case cases[] = {
        // Arithmetic binds tighter than '&'.
        {"SELECT GL_NL + 1 & '!' FROM DBTS_GOAL WHERE GL_KY = 1", {"81!"}},
        {"SELECT 'n=' & GL_NH - GL_NL * 2 FROM DBTS_GOAL WHERE GL_KY = 1", {"n=-40"}},
        // '&' binds tighter than comparisons and AND/OR/NOT.
        {"SELECT GL_KY FROM DBTS_GOAL WHERE GL_NM & 'x' = 'Sugarx' OR GL_DTL & '' = 'bp'", {"1", "2"}},
        {"SELECT GL_KY FROM DBTS_GOAL WHERE NOT GL_DTL & '!' = '!' ORDER BY GL_KY", {"1"}},
        {"SELECT GL_KY FROM DBTS_GOAL WHERE GL_DTL & GL_NL IS NULL", {}},
        // Function arguments, parentheses, aliases with and without AS.
        {"SELECT upper(GL_NM & '-' & GL_DTL) FROM DBTS_GOAL ORDER BY GL_KY", {"PRESSURE-BP", "SUGAR-"}},
        {"SELECT (GL_NM & '/') & GL_NH AS t FROM DBTS_GOAL WHERE GL_KY = 2", {"Sugar/90"}},
        {"SELECT g.GL_NM & ':' g2, g.GL_KY FROM DBTS_GOAL g WHERE g.GL_KY = 2", {"Sugar:|2"}},
        {"SELECT substr(GL_NM, 1, 2) & GL_KY FROM DBTS_GOAL WHERE GL_KY = 1", {"Pr1"}},
        {"SELECT Null & Null FROM DBTS_GOAL WHERE GL_KY = 1", {""}},
        // The text inside quotes is never an operator.
        {"SELECT 'a & b' & \"c&d\" FROM DBTS_GOAL WHERE GL_KY = 1", {"a & bc&d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jet);
        EXPECT_EQ(jetRows(c.jet), c.expected);
    }
}

TEST_F(JetSqlOnSqlite, QualifiedSetTargetsUpdateOnlyTheMatchingRow)
{
    jetExec("UPDATE MEASURE SET MEASURE.RGMN_KY = 3, MEASURE.MD_KY = 1 WHERE MEASURE.MSR_KY = 2");
    EXPECT_EQ(rows("SELECT MSR_KY, RGMN_KY, MD_KY FROM MEASURE ORDER BY MSR_KY"), QStringList({"1|1|1", "2|3|1", "3|2|NULL"}));
    jetExec("UPDATE MEASURE SET [MEASURE].[CMMNT] = 'x' & MEASURE.CMMNT WHERE MEASURE.MSR_KY = 1");
    EXPECT_EQ(rows("SELECT CMMNT FROM MEASURE WHERE MSR_KY = 1"), QStringList({"xit's fine"}));
}

TEST_F(JetSqlOnSqlite, DoubleQuotedTextIsText)
{
    EXPECT_EQ(jetRows("SELECT MSR_KY FROM MEASURE WHERE CMMNT = \"it's fine\""), QStringList({"1"}));
    EXPECT_EQ(jetRows("SELECT MSR_KY FROM MEASURE WHERE CMMNT = \"say \"\"hi\"\"\""), QStringList({"2"}));
    EXPECT_EQ(jetRows("SELECT [PRSN_NM] FROM [PERSON] WHERE PRSN_NM = 'O''Brien'"), QStringList({"O'Brien"}));
}

TEST_F(JetSqlOnSqlite, TrueAndFalseAreMinusOneAndZero)
{
    jetExec("UPDATE MEASURE SET FLAG = True WHERE MSR_KY = 2");
    EXPECT_EQ(rows("SELECT MSR_KY, FLAG FROM MEASURE WHERE FLAG <> 0"), QStringList({"2|-1"}));
    EXPECT_EQ(jetRows("SELECT MSR_KY FROM MEASURE WHERE FLAG = tRUE"), QStringList({"2"}));
    EXPECT_EQ(jetRows("SELECT count(*) FROM MEASURE WHERE FLAG = False"), QStringList({"2"}));
    EXPECT_EQ(jetRows("SELECT -True, 1 - -1, 'True', \"false\" FROM MEASURE WHERE MSR_KY = 1"), QStringList({"1|2|True|false"}));
}

TEST_F(JetSqlOnSqlite, TrailingSemicolonIsDropped)
{
    const Translation tr = translate(QStringLiteral("DELETE FROM MEASURE WHERE MSR_KY = 3 ;  \n"));
    EXPECT_FALSE(tr.sql.trimmed().endsWith(';'));
    EXPECT_EQ(tr.wherePart, QByteArray("MSR_KY = 3"));
    exec(tr.sql);
    EXPECT_EQ(rows("SELECT count(*) FROM MEASURE"), QStringList({"2"}));
}

TEST_F(JetSqlOnSqlite, JoinsAliasesAndOtherSyntaxPassThrough)
{
    EXPECT_EQ(jetRows("SELECT f.MSR_KY, p.PRSN_NM, d.MD_NM FROM (MEASURE f INNER JOIN PERSON p ON f.PRSN_KY = p.PRSN_KY)"
                      " LEFT JOIN MEDICINE AS d ON f.MD_KY = d.MD_KY ORDER BY f.MSR_KY Desc"),
              QStringList({"3|Smith|NULL", "2|O'Brien|Insulin", "1|O'Brien|Aspirin"}));
    EXPECT_EQ(jetRows("SELECT DISTINCT PRSN_KY FROM MEASURE ORDER BY PRSN_KY"), QStringList({"7", "8"}));
    EXPECT_EQ(jetRows("SELECT distinct(PRSN_KY) FROM MEASURE WHERE MD_KY IS NOT NULL"), QStringList({"7"}));
    EXPECT_EQ(jetRows("SELECT PRSN_KY, count(*) AS n FROM MEASURE GROUP BY PRSN_KY HAVING count(*) > 1"), QStringList({"7|2"}));
    EXPECT_EQ(jetRows("SELECT MSR_KY FROM MEASURE WHERE MSRD_DT BETWEEN #3/1/2027# AND #3/8/2027 11:59:59 PM#"
                      " AND MD_KY <> -1 AND RGMN_KY < 1.5"),
              QStringList({"2"}));
    EXPECT_EQ(jetRows("SELECT MSR_KY FROM MEASURE WHERE MSRD_DT = #3/8/2027 07:05:00 PM#"), QStringList({"2"}));
}

TEST_F(JetSqlOnSqlite, DeleteWithStarKeepsItsCondition)
{
    jetExec("DELETE * FROM MEASURE WHERE MSRD_DT < #3/1/2027#");
    jetExec("DELETE MEASURE.* FROM MEASURE WHERE MSR_KY = 3");
    EXPECT_EQ(rows("SELECT MSR_KY FROM MEASURE"), QStringList({"2"}));
}

TEST_F(JetSqlOnSqlite, InsertedDateLiteralIsStoredInCanonicalForm)
{
    jetExec("INSERT INTO MEASURE (MSR_KY, PRSN_KY, MSRD_DT, MD_KY, CMMNT, FLAG) VALUES(9, 7, #3/8/2027 3:5 PM#, Null, "
            "'text', True)");
    EXPECT_EQ(rows("SELECT MSRD_DT, MD_KY, CMMNT, FLAG FROM MEASURE WHERE MSR_KY = 9"),
              QStringList({"2027-03-08 15:05:00|NULL|text|-1"}));
}

// The engine rebuilds statements from the parts; they must fit back together.
TEST_F(JetSqlOnSqlite, SelectPartsReassembleIntoTheSameQuery)
{
    const char* queries[] = {
        "SELECT f.MSR_KY, f.CMMNT & '!' FROM measure f WHERE f.PRSN_KY = 7 ORDER BY f.MSR_KY DESC",
        "SELECT * FROM MEASURE AS m WHERE m.MSRD_DT >= #3/1/2027#",
        "SELECT MSR_KY FROM MEASURE ORDER BY MSR_KY",
        "SELECT MSR_KY FROM MEASURE WHERE PRSN_KY IN (SELECT PRSN_KY FROM PERSON WHERE PRSN_NM = 'Smith')",
    };
    for (const char* jet : queries) {
        SCOPED_TRACE(jet);
        const Translation tr = translate(QString::fromUtf8(jet));
        ASSERT_TRUE(tr.singleTable);
        QByteArray rebuilt = "SELECT " + tr.selectList + " FROM " + tr.fromPart;
        if (!tr.wherePart.isEmpty())
            rebuilt += " WHERE " + tr.wherePart;
        if (!tr.tailPart.isEmpty())
            rebuilt += ' ' + tr.tailPart;
        EXPECT_EQ(rows(rebuilt), rows(tr.sql));
        EXPECT_FALSE(rows(tr.sql).isEmpty());
        const QByteArray withRowid = "SELECT \"" + tr.tableAlias.toUtf8() + "\".rowid FROM " + tr.fromPart;
        EXPECT_EQ(rows(withRowid).size(), 3);
    }
}

// ---------------------------------------------------------------------------------------------
// The parts of each kind of statement

TEST(JetTranslation, SplitsEachKindOfStatement)
{
    struct Case {
        const char* jet;
        StatementKind kind;
        const char* table;
        const char* alias;
        bool single;
        const char* selectList;
        const char* fromPart;
        const char* wherePart;
        const char* tailPart;
    };
    using K = StatementKind;
    const Case cases[] = {
        {"SELECT * FROM measure f WHERE f.x = True ORDER BY f.y", K::Select, "measure", "f", true, "*", "measure f", "f.x = -1",
         "ORDER BY f.y"},
        {"select a, b from [My Table] as t", K::Select, "My Table", "t", true, "a, b", "\"My Table\" as t", "", ""},
        {"SELECT a FROM t", K::Select, "t", "t", true, "a", "t", "", ""},
        {"SELECT DISTINCT a FROM t", K::Select, "", "", false, "a", "t", "", ""},
        {"SELECT a, count(*) FROM t GROUP BY a", K::Select, "", "", false, "a, count(*)", "t", "", "GROUP BY a"},
        {"SELECT Max(a) FROM t WHERE b = 1", K::Select, "", "", false, "Max(a)", "t", "b = 1", ""},
        {"SELECT (SELECT max(b) FROM u) AS m, a FROM t", K::Select, "t", "t", true, "(SELECT max(b) FROM u) AS m, a", "t", "",
         ""},
        {"SELECT a FROM t, u WHERE t.k = u.k", K::Select, "", "", false, "a", "t, u", "t.k = u.k", ""},
        {"SELECT a FROM t INNER JOIN u ON t.k = u.k", K::Select, "", "", false, "a", "t INNER JOIN u ON t.k = u.k", "", ""},
        {"SELECT a FROM (SELECT a FROM t) AS s", K::Select, "", "", false, "a", "(SELECT a FROM t) AS s", "", ""},
        {"SELECT a FROM t WHERE b IN (SELECT b FROM u WHERE c = 1) ORDER BY a", K::Select, "t", "t", true, "a", "t",
         "b IN (SELECT b FROM u WHERE c = 1)", "ORDER BY a"},
        {"SELECT a FROM t WHERE b = 1 UNION SELECT a FROM u", K::Select, "", "", false, "a", "t", "b = 1",
         "UNION SELECT a FROM u"},
        {"DELETE FROM MEASURE WHERE PRSN_KY = 7;", K::Delete, "MEASURE", "", false, "", "", "PRSN_KY = 7", ""},
        {"DELETE * FROM MEASURE", K::Delete, "MEASURE", "", false, "", "", "", ""},
        {"UPDATE MEASURE SET MEASURE.A = 1 WHERE MEASURE.B = 2", K::Update, "MEASURE", "", false, "", "", "MEASURE.B = 2", ""},
        {"CREATE TABLE x (a INTEGER)", K::Other, "", "", false, "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jet);
        const Translation tr = translate(QString::fromUtf8(c.jet));
        EXPECT_EQ(tr.kind, c.kind);
        EXPECT_EQ(tr.table, QString::fromUtf8(c.table));
        EXPECT_EQ(tr.tableAlias, QString::fromUtf8(c.alias));
        EXPECT_EQ(tr.singleTable, c.single);
        EXPECT_EQ(tr.selectList, QByteArray(c.selectList));
        EXPECT_EQ(tr.fromPart, QByteArray(c.fromPart));
        EXPECT_EQ(tr.wherePart, QByteArray(c.wherePart));
        EXPECT_EQ(tr.tailPart, QByteArray(c.tailPart));
    }
}

TEST(JetTranslation, InsertAndUpdateParts)
{
    Translation tr = translate(QStringLiteral(
        "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1,TEMP2, CMMNT, GL_KY) "
        "VALUES(7, #3/8/2027 07:05:00 PM#, Null, 3, 80, 120, 72, 150.5, Null, Null, Null, 'text', NULL)"));
    EXPECT_EQ(tr.kind, StatementKind::InsertValues);
    EXPECT_EQ(tr.table, QStringLiteral("MEASURE"));
    EXPECT_EQ(tr.insertColumns, QStringList({"PRSN_KY", "MSRD_DT", "MD_KY", "RGMN_KY", "LBP", "HBP", "PLSE", "WT", "TEMP",
                                             "TEMP1", "TEMP2", "CMMNT", "GL_KY"}));
    EXPECT_TRUE(tr.selectPart.isEmpty());

    tr = translate(QStringLiteral("INSERT INTO [Goal Copy] ([Low], High) SELECT GL_NL, GL_NH & '' FROM DBTS_GOAL;"));
    EXPECT_EQ(tr.kind, StatementKind::InsertSelect);
    EXPECT_EQ(tr.table, QStringLiteral("Goal Copy"));
    EXPECT_EQ(tr.insertColumns, QStringList({"Low", "High"}));
    EXPECT_EQ(tr.selectPart, QByteArray("SELECT GL_NL, (ifnull(GL_NH ,'')||ifnull( '',''))"
                                        " FROM DBTS_GOAL"));

    tr = translate(QStringLiteral("insert into T values (1, 'a')"));
    EXPECT_EQ(tr.kind, StatementKind::InsertValues);
    EXPECT_EQ(tr.table, QStringLiteral("T"));
    EXPECT_TRUE(tr.insertColumns.isEmpty());

    tr = translate(QStringLiteral("UPDATE MEASURE SET MEASURE.RGMN_KY = 3, MD_KY = abs(-1) WHERE MEASURE.MSR_KY = 5"));
    EXPECT_EQ(tr.kind, StatementKind::Update);
    EXPECT_EQ(tr.setPart, QByteArray("RGMN_KY = 3, MD_KY = abs(-1)"));
    EXPECT_EQ(tr.wherePart, QByteArray("MEASURE.MSR_KY = 5"));
}

TEST(JetTranslation, UnreadableTextIsASyntaxError)
{
    EXPECT_EQ(errorNumberOf(QStringLiteral("SELECT * FROM T WHERE A = 'open")), dao::errSyntax);
    EXPECT_EQ(errorNumberOf(QStringLiteral("SELECT * FROM T WHERE A = \"open")), dao::errSyntax);
    EXPECT_EQ(errorNumberOf(QStringLiteral("SELECT [open FROM T")), dao::errSyntax);
    EXPECT_EQ(errorNumberOf(QStringLiteral("SELECT 'it''s' FROM T")), 0);
}

TEST(JetTranslation, KeepsTextOutsideAsciiIntact)
{
    const Translation tr = translate(QStringLiteral("SELECT [Größe] & \"é'\" FROM Maß m"));
    EXPECT_EQ(QString::fromUtf8(tr.sql), QStringLiteral("SELECT (ifnull(\"Größe\" ,'')||ifnull( 'é''',''))"
                                                        " FROM Maß m"));
    EXPECT_EQ(tr.table, QStringLiteral("Maß"));
    EXPECT_EQ(tr.tableAlias, QStringLiteral("m"));
}

} // namespace
