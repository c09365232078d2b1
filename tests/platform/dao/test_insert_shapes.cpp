// Plain INSERTs of literal values share one translation per shape: the values read from a text
// of a known shape must be those the translator would bind, and texts the translator reads
// another way must not be taken for a shape at all.
#include "EngineFixture.h"
#include "platform/dao/JetSql.h"

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;

namespace {

struct Shaped {
    bool ok = false;
    QString shape;
    std::vector<jetsql::Translation::Literal> literals;
    QByteArray text;
};

Shaped shapeOf(const QString& jet, jetsql::InsertShape&& reader = {})
{
    Shaped s;
    s.ok = reader.read(jet);
    s.shape = reader.shape;
    s.literals = reader.literals;
    s.text = reader.literalText;
    return s;
}

// The bound values as one readable line: kind and value of each.
QString describe(const std::vector<jetsql::Translation::Literal>& literals, const QByteArray& text)
{
    QStringList out;
    for (const auto& l : literals) {
        switch (l.kind) {
        case jetsql::Translation::Literal::Integer: out << QStringLiteral("i:%1").arg(l.integer); break;
        case jetsql::Translation::Literal::Real: out << QStringLiteral("r:%1").arg(l.real, 0, 'g', 17); break;
        case jetsql::Translation::Literal::Text:
            out << QStringLiteral("t:") + QString::fromUtf8(text.mid(l.offset, l.size));
            break;
        }
    }
    return out.join(QLatin1Char('|'));
}

const char* const kAccepted[] = {
    "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, CMMNT) VALUES(7, #3/8/2027 07:05:00 PM#, \"it's\")",
    "insert into T values (1, 2.5, 'a''b', #3/8/2027 07:05:00 PM#, True)",
    "  Insert Into T Values (-7, -0.1, \"dq \"\"x\"\" 'y'\", #1/5/99 #, False)",
    "insert into T values (007, 1e3, '', #2027-03-08#, 0)",
    "insert into T values (12345678901234567, 3.14159265358979323846, 'Ünïcödé', Null, -1)",
    "insert into T values (99999999999999999999, .5, '?', Null, 1)",
    "insert into T values (1 + 2, 0.1e-2, 1.5E+2, - 1, --3)",
    "insert into [my table] ([it's], [values]) values ('x', 2)",
    "insert into T (a, b) values ('😀 ünï', 'line\nbreak')",
};

const char* const kDeclined[] = {
    "insert into T values (?, 5)",                                      // a placeholder of its own
    "insert into T values ('a' & 'b', 5)",                              // a chain
    "insert into T values ('R&D', 5)",                                  // a '&' in a text is seen too
    "insert into T values ((select max(x) from U), 5)",                 // a query
    "insert into T values (Now(), 5)",                                  // a function
    "insert into T values (Null, Null)",                                // nothing to bind
    "insert into T values (5, 'x');",                                   // a ';'
    "insert into T values (#13/45/2020#, 5)",                           // no date: the translator tells
    "insert into T values ('open, 5)",                                  // an unclosed text
    "insert into T select 5, 'x' from U",                               // no VALUES
    "insert into T (a) select 'values' from U",                         //
    "update T set a = 5 where b = 'x'",                                 // other statements
    "select 5 from T where a = 'values (1)'",                           //
    "insert into T (a, b) select 1, 2 from U where c = '#' values (3)", // quotes before VALUES
    "insert into T values (Null.5, 1)",                                 // a qualifier's dot
};

TEST(InsertShapeTest, ValuesAreReadAsTheTranslatorBindsThem)
{
    for (const char* jet : kAccepted) {
        const QString text = QString::fromUtf8(jet);
        const Shaped s = shapeOf(text);
        ASSERT_TRUE(s.ok) << jet;
        const jetsql::Translation tr = jetsql::translate(text, true);
        EXPECT_EQ(describe(tr.literals, tr.literalText), describe(s.literals, s.text)) << jet;
    }
}

TEST(InsertShapeTest, TextsTheTranslatorReadsAnotherWayAreNoShape)
{
    for (const char* jet : kDeclined)
        EXPECT_FALSE(shapeOf(QString::fromUtf8(jet)).ok) << jet;
}

TEST(InsertShapeTest, OnlyTheValuesDifferWithinAShape)
{
    struct Pair {
        const char* a;
        const char* b;
        bool same;
    };
    const Pair pairs[] = {
        {"insert into T values (1, 'a', #1/2/2020#)", "insert into T values (22, 'bb''c', #12/31/1999 1:05 PM#)", true},
        {"insert into T values (1, True)", "insert into T values (1, False)", false},
        {"insert into T values (1, 2)", "insert into T values (1, 2.5)", false}, // a whole number and a decimal
        {"insert into T values (1, 'x')", "insert into T values (1, #1/1/2020#)", false},
        {"insert into T values (1, 'x')", "insert into T values (1, -'x')", false},
        {"insert into T values (1)", "insert into U values (1)", false},
        {"insert into T (a) values (1)", "insert into T (b) values (1)", false},
        {"insert into T values (1, 99999999999999999999)", "insert into T values (1, 99999999999999999998)", false},
    };
    for (const Pair& p : pairs) {
        const Shaped a = shapeOf(QString::fromUtf8(p.a));
        const Shaped b = shapeOf(QString::fromUtf8(p.b));
        ASSERT_TRUE(a.ok && b.ok) << p.a;
        EXPECT_EQ(p.same, a.shape == b.shape) << p.a << " / " << p.b;
        if (p.same) {
            EXPECT_EQ(jetsql::translate(QString::fromUtf8(p.a), true).sql, jetsql::translate(QString::fromUtf8(p.b), true).sql);
        }
    }
}

// One reader over many texts skips the text up to VALUES when it is the last one's: whatever
// came before, each text reads as it would alone.
TEST(InsertShapeTest, AReaderReadsEachTextAsAFreshOneWould)
{
    QStringList texts;
    for (const char* jet : kAccepted)
        texts << QString::fromUtf8(jet);
    for (const char* jet : kDeclined)
        texts << QString::fromUtf8(jet);
    for (const char* jet :
         {"insert into T values (1)", "insert into T valuesx (1)", "insert into T values (2)", "insert into T values",
          "insert into T values(3)", "insert into T values (#1/1/2020#)", "insert into T values)(4)",
          "insert into T values (Now())", "insert into T values (5)", "insert into T valuesNull (8)",
          "insert into T valueS ('x')", "insert into T value (6)", "insert into T (values) values (7)"})
        texts << QString::fromUtf8(jet);
    // Every text after every other.
    jetsql::InsertShape reader;
    for (const QString& before : texts) {
        for (const QString& text : texts) {
            reader.read(before);
            const Shaped fresh = shapeOf(text);
            const bool ok = reader.read(text);
            EXPECT_EQ(fresh.ok, ok) << before.toStdString() << " / " << text.toStdString();
            if (ok && fresh.ok) {
                EXPECT_EQ(fresh.shape, reader.shape) << text.toStdString();
                EXPECT_EQ(describe(fresh.literals, fresh.text), describe(reader.literals, reader.literalText));
            }
        }
    }
}

class ShapedExecuteTest : public EngineTest {};

// Rows of one shape through Execute, one after another: each row keeps its own values.
TEST_F(ShapedExecuteTest, EachRowOfAShapeKeepsItsOwnValues)
{
    db->Execute(QStringLiteral("CREATE TABLE T (I INTEGER, R FLOAT, S VARCHAR(20), D DATETIME)"));
    const QString row = QStringLiteral("insert into T values (%1, %2, '%3', #%4#)");
    const struct {
        int i;
        const char* r;
        const char* s;
        const char* d;
        const char* stored;
    } rows[] = {
        {1, "2.5", "a", "1/2/2020", "1|2.5|a|2020-01-02 00:00:00"},
        {-2, "0.125", "it''s", "12/31/1999 1:05 PM", "-2|0.125|it's|1999-12-31 13:05:00"},
        {3, "1e3", "Ünï", "2027-03-08 10:00", "3|1000.0|Ünï|2027-03-08 10:00:00"},
        {4, "7.75", "", "2/29/2024 11:59:59 PM", "4|7.75||2024-02-29 23:59:59"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(1, db->Execute(row.arg(r.i).arg(QLatin1String(r.r)).arg(QString::fromUtf8(r.s)).arg(QLatin1String(r.d)),
                                 dbFailOnError));
    QStringList expected;
    for (const auto& r : rows)
        expected << QString::fromUtf8(r.stored);
    EXPECT_EQ(expected, testing_dao::sqliteRows(db->handle(), "SELECT I, R, S, D FROM T ORDER BY rowid"));
}

// A row of a known shape that breaks a rule gives the same error as the first of its shape.
TEST_F(ShapedExecuteTest, ARowOfAKnownShapeKeepsTheEnginesErrors)
{
    addPerson(QStringLiteral("Ann"));
    const QString row = QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, LBP, CMMNT) values (%1, #1/%2/2020#, %3, '%4')");
    EXPECT_EQ(1, db->Execute(row.arg(1).arg(1).arg(80).arg(QStringLiteral("first"))));
    const struct {
        int person, day, lbp;
        const char* comment;
        int error;
    } cases[] = {
        {1, 1, 81, "again", errDuplicateKey},
        {99, 2, 80, "nobody", errRelatedRecordRequired},
        {1, 3, 70000, "high", errNumericOverflow},
        {1, 5, 80,
         "a comment far longer than its field may hold, written out at length to see it refused: "
         "one hundred characters is the most",
         errFieldTooSmall},
        {1, 6, 82, "fine", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.error, errorOf([&] {
                      db->Execute(row.arg(c.person).arg(c.day).arg(c.lbp).arg(QLatin1String(c.comment)), dbFailOnError);
                  }))
            << c.comment;
    EXPECT_EQ(3075, errorOf([&] { db->Execute(row.arg(1).arg(45).arg(80).arg(QStringLiteral("bad date"))); }));
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from MEASURE")));
}

} // namespace
