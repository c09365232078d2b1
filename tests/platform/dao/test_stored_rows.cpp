// What a recordset holds and how written values reach SQLite: the values of a plain INSERT bound
// rather than written into its SQL (stored exactly as the SQL would store them), the stored
// cells read back with their kinds, and one row read again into an open set where it belongs.
#include "EngineFixture.h"
#include "platform/dao/JetSql.h"

#include <sqlite3.h>

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;

namespace {

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::UTC);
}

QStringList storedRows(sqlite3* db, const char* table)
{
    return testing_dao::sqliteRows(
        db, QByteArray("SELECT typeof(I), quote(I), typeof(R), quote(R), typeof(S), quote(S), quote(D), quote(B) FROM ") + table +
                " ORDER BY rowid");
}

class BoundLiteralsTest : public EngineTest {};

// Each statement through Execute (values bound) against the same statement with its values
// written into the SQL, as translated without binding: the stored values must not differ.
TEST_F(BoundLiteralsTest, BoundValuesAreStoredExactlyAsTheWrittenOnes)
{
    for (const char* table : {"T_BOUND", "T_WRITTEN"})
        db->Execute(QStringLiteral("CREATE TABLE %1 (I INTEGER, R FLOAT, S VARCHAR(20), D DATETIME, B BOOLEAN)")
                        .arg(QLatin1String(table)));
    const char* const values[] = {
        "(1, 2.5, 'a''b', #3/8/2027 07:05:00 PM#, True)",
        "(-7, -0.1, \"dq \"\"x\"\" 'y'\", #1/5/99 #, False)",
        "(007, 1e3, '', #2027-03-08#, 0)",
        "(12345678901234567, 3.14159265358979323846, 'Ünïcödé', Null, -1)", // the long decimal stays SQL
        "(99999999999999999999, .5, '?', Null, 1)",                         // too big for 64 bits: stays SQL
        "(1 + 2, 10 / 4, 'x' , Null, Null)",                                // expressions of literals
        "('80', '150.5', 80, '2027-03-08 10:00:00', '1');",                 // texts into numbers and back
        "(0.1e-2, 1.5E+2, 4.5, #12/31/9999 11:59:59 PM#, - 1)",
    };
    for (const char* v : values) {
        const QString text = QStringLiteral("insert into T_BOUND values %1").arg(QString::fromUtf8(v));
        EXPECT_EQ(1, db->Execute(text, dbFailOnError)) << v;
        QString written = text;
        written.replace(QLatin1String("T_BOUND"), QLatin1String("T_WRITTEN"));
        const QByteArray sql = jetsql::translate(written).sql;
        EXPECT_EQ(SQLITE_OK, sqlite3_exec(db->handle(), sql.constData(), nullptr, nullptr, nullptr)) << sql.constData();
    }
    const QStringList bound = storedRows(db->handle(), "T_BOUND");
    EXPECT_EQ(int(std::size(values)), bound.size());
    EXPECT_EQ(storedRows(db->handle(), "T_WRITTEN"), bound);
}

TEST_F(BoundLiteralsTest, OnlyThePlainValuesOfAnInsertAreBound)
{
    struct Case {
        const char* jet;
        const char* sql; // with binding; nullptr: the same as without
        int literals;
    };
    const Case cases[] = {
        {"insert into Chart Values(3, 'TEMP')", "insert into Chart Values(?, ?)", 2},
        {"INSERT INTO MEASURE (PRSN_KY, MSRD_DT, CMMNT) VALUES(7, #3/8/2027 07:05:00 PM#, \"it's\");",
         "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, CMMNT) VALUES(?, ?, ?)", 3},
        {"insert into T values (-1, True, Null)", "insert into T values (-?, -1, Null)", 1},
        // Left as they are: placeholders of the statement's own, '&', queries, other statements.
        {"insert into T values (?, 5)", nullptr, 0},
        {"insert into T values ('a' & 'b', 5)", nullptr, 0},
        {"insert into T values ((select max(x) from U order by 1), 5)", nullptr, 0},
        {"insert into T select 5, 'x' from U", nullptr, 0},
        {"select 5, 'x' from U where a = 1", nullptr, 0},
        {"update T set a = 5 where b = 'x'", nullptr, 0},
        {"delete from T where d = #1/1/2020#", nullptr, 0},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.jet);
        const jetsql::Translation plain = jetsql::translate(text);
        const jetsql::Translation bound = jetsql::translate(text, true);
        EXPECT_EQ(QByteArray(c.sql ? c.sql : plain.sql.constData()), bound.sql) << c.jet;
        EXPECT_EQ(std::size_t(c.literals), bound.literals.size()) << c.jet;
        EXPECT_EQ(plain.parameters, bound.parameters) << c.jet;
        EXPECT_TRUE(plain.literals.empty());
    }
    // Statements that differ only in their values share their SQL, hence one prepared statement.
    EXPECT_EQ(jetsql::translate(QStringLiteral("insert into T values (1, 'a', #1/2/2020#)"), true).sql,
              jetsql::translate(QStringLiteral("insert into T values (22, 'bb''c', #12/31/1999 1:05 PM#)"), true).sql);
}

TEST_F(BoundLiteralsTest, BoundInsertsKeepTheEnginesErrorsAndSkips)
{
    addPerson(QStringLiteral("Ann"));
    const QString row = QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, LBP) values (%1, #1/2/2020#, %2)");
    EXPECT_EQ(1, db->Execute(row.arg(1).arg(80)));
    EXPECT_EQ(0, db->Execute(row.arg(1).arg(81)));    // a duplicate key: left out silently
    EXPECT_EQ(0, db->Execute(row.arg(99).arg(80)));   // no such person: left out silently
    EXPECT_EQ(0, db->Execute(row.arg(1).arg(70000))); // out of the 16-bit range: left out
    EXPECT_EQ(errDuplicateKey, errorOf([&] { db->Execute(row.arg(1).arg(82), dbFailOnError); }));
    EXPECT_EQ(3075,
              errorOf([&] { db->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT) values (1, #13/45/2020#)")); }));
    EXPECT_EQ(errTooFewParameters, errorOf([&] { db->Execute(row.arg(1).arg(83), Params{1}); }));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from MEASURE")));
    EXPECT_EQ(80, count(QStringLiteral("select LBP from MEASURE")));
}

class StoredCellsTest : public EngineTest {};

TEST_F(StoredCellsTest, CellsReadBackWithTheirKinds)
{
    // Stored texts of a date column: the canonical ones are dates, anything else stays text.
    struct Case {
        const char* stored;
        QVariant expected;
    };
    const Case cases[] = {
        {"2027-03-08 19:05:00", at(2027, 3, 8, 19, 5)},
        {"2024-02-29 23:59:59", at(2024, 2, 29, 23, 59, 59)},
        {"0001-01-01 00:00:00", at(1, 1, 1)},
        {"9999-12-31 23:59:59", at(9999, 12, 31, 23, 59, 59)},
        {"1899-12-30 00:00:00", at(1899, 12, 30)},
        {"2023-02-29 10:00:00", QStringLiteral("2023-02-29 10:00:00")}, // no such day
        {"0000-01-01 00:00:00", QStringLiteral("0000-01-01 00:00:00")}, // no year 0
        {"2023-01-05 24:00:00", QStringLiteral("2023-01-05 24:00:00")},
        {"2023-1-5 00:00:00", QStringLiteral("2023-1-5 00:00:00")},
        {"2023-01-05T00:00:00", QStringLiteral("2023-01-05T00:00:00")},
        {"2023-0a-05 10:00:00", QStringLiteral("2023-0a-05 10:00:00")}, // a letter, a space, a sign
        {"2023-01-05 10: 0:00", QStringLiteral("2023-01-05 10: 0:00")},
        {"2023-01-05 10:00:-1", QStringLiteral("2023-01-05 10:00:-1")},
        {"2023-12-31 23:59:5/", QStringLiteral("2023-12-31 23:59:5/")}, // the characters around the digits
        {"2023-12-31 23:59:5:", QStringLiteral("2023-12-31 23:59:5:")},
    };
    addPerson(QStringLiteral("Ann"));
    sqlite3* h = db->handle();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        // Written past the engine's checks, as another program might.
        const QByteArray sql = "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, LBP) VALUES (1, '" + QByteArray(cases[i].stored) + "', " +
                               QByteArray::number(int(i)) + ")";
        sqlite3_exec(h, "PRAGMA ignore_check_constraints=ON", nullptr, nullptr, nullptr);
        ASSERT_EQ(SQLITE_OK, sqlite3_exec(h, sql.constData(), nullptr, nullptr, nullptr)) << sqlite3_errmsg(h);
    }
    auto rs = db->OpenRecordset(QStringLiteral("select MSRD_DT, LBP from MEASURE order by LBP"), dbOpenSnapshot);
    ASSERT_EQ(int(std::size(cases)), rs->RecordCount());
    for (int r = 0; r < rs->RecordCount(); ++r) {
        const QVariant v = rs->valueAt(r, 0);
        EXPECT_EQ(cases[r].expected.typeId(), v.typeId()) << cases[r].stored;
        EXPECT_EQ(cases[r].expected, v) << cases[r].stored;
        if (v.typeId() == QMetaType::QDateTime) {
            EXPECT_EQ(Qt::UTC, v.toDateTime().timeSpec());
        }
    }

    // Computed columns: the value decides the kind, the first value the field's type.
    auto computed =
        db->OpenRecordset(QStringLiteral("select '2020-01-02 03:04:05', 'x', 5000000000, 7, 2.5, x'00ff', Null"), dbOpenSnapshot);
    const QVariant expected[] = {
        at(2020, 1, 2, 3, 4, 5),   QStringLiteral("x"), QVariant(qint64(5000000000)), QVariant(7), QVariant(2.5),
        QByteArray("\x00\xff", 2), QVariant()};
    const int types[] = {dbDate, dbText, dbLong, dbLong, dbDouble, dbText, 0};
    for (int c = 0; c < computed->columnCount(); ++c) {
        EXPECT_EQ(expected[c].typeId(), computed->Fields(c).Value().typeId()) << c;
        EXPECT_EQ(expected[c], computed->Fields(c).Value()) << c;
        EXPECT_EQ(types[c], computed->columnType(c)) << c;
    }
}

class RefreshRowTest : public EngineTest {
protected:
    struct Log : RecordsetObserver {
        QList<std::pair<Change, int>> seen;
        void recordsetChanged(Change c, int row) override
        {
            if (c != Change::Reposition)
                seen.append({c, row});
        }
    };
    void addReading(const QDateTime& when, int lbp)
    {
        db->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, LBP) values (?, ?, ?)"), Params{person, when, lbp},
                    dbFailOnError);
    }
    QList<QDateTime> dates(const RecordsetPtr& rs)
    {
        QList<QDateTime> out;
        for (int r = 0; r < rs->RecordCount(); ++r)
            out << rs->valueAt(r, 0).toDateTime();
        return out;
    }
    int person = 0;
};

TEST_F(RefreshRowTest, ARowReadAgainGoesInPlaceAndTheCurrentRowStays)
{
    person = addPerson(QStringLiteral("Ann"));
    const int other = addPerson(QStringLiteral("Bob"));
    for (int d : {1, 3, 5})
        addReading(at(2024, 1, d), 70 + d);
    // A join with a value of its own, newest first, as the Measurement form shows a person.
    auto rs = db->OpenRecordset(QStringLiteral("SELECT M.MSRD_DT, M.LBP, P.PRSN_NM FROM PERSON AS P INNER JOIN MEASURE AS M "
                                               "ON P.PRSN_KY = M.PRSN_KY WHERE P.PRSN_KY = ? ORDER BY M.MSRD_DT Desc"),
                                Params{person}, dbOpenDynaset);
    Log log;
    rs->addObserver(&log);
    rs->setAbsolutePosition(1); // the 3rd
    log.seen.clear();

    struct Step {
        const char* what;
        std::function<void()> write;
        int row;
        bool replace;
        QDateTime key;
        bool read;
        QList<QDateTime> rows;
        int position; // of the 3rd, which stays current
        RecordsetObserver::Change change;
    };
    const Step steps[] = {
        {"a new row in the middle",
         [&] { addReading(at(2024, 1, 4), 74); },
         1,
         false,
         at(2024, 1, 4),
         true,
         {at(2024, 1, 5), at(2024, 1, 4), at(2024, 1, 3), at(2024, 1, 1)},
         2,
         RecordsetObserver::Change::RowInserted},
        {"a changed row",
         [&] { db->Execute(QStringLiteral("update MEASURE set LBP = 99 where LBP = 75")); },
         0,
         true,
         at(2024, 1, 5),
         true,
         {at(2024, 1, 5), at(2024, 1, 4), at(2024, 1, 3), at(2024, 1, 1)},
         2,
         RecordsetObserver::Change::RowChanged},
        {"a new last row",
         [&] { addReading(at(2023, 12, 31), 60); },
         4,
         false,
         at(2023, 12, 31),
         true,
         {at(2024, 1, 5), at(2024, 1, 4), at(2024, 1, 3), at(2024, 1, 1), at(2023, 12, 31)},
         2,
         RecordsetObserver::Change::RowInserted},
        {"a deleted row",
         [&] { db->Execute(QStringLiteral("delete from MEASURE where LBP = 71")); },
         3,
         true,
         at(2024, 1, 1),
         false,
         {at(2024, 1, 5), at(2024, 1, 4), at(2024, 1, 3), at(2023, 12, 31)},
         2,
         RecordsetObserver::Change::RowRemoved},
        {"another person's row is not this set's",
         [&] {
             db->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, LBP) values (?, ?, 50)"),
                         Params{other, at(2024, 1, 2)});
         },
         3,
         false,
         at(2024, 1, 2),
         false,
         {at(2024, 1, 5), at(2024, 1, 4), at(2024, 1, 3), at(2023, 12, 31)},
         2,
         RecordsetObserver::Change::Closed},
    };
    for (const Step& s : steps) {
        log.seen.clear();
        s.write();
        EXPECT_EQ(s.read, rs->refreshRow(s.row, s.replace, QStringLiteral("M.MSRD_DT = ?"), Params{s.key})) << s.what;
        EXPECT_EQ(s.rows, dates(rs)) << s.what;
        EXPECT_EQ(s.rows.size(), rs->RecordCount()) << s.what;
        EXPECT_EQ(s.position, rs->AbsolutePosition()) << s.what;
        EXPECT_EQ(at(2024, 1, 3), rs->Fields(0).Value().toDateTime()) << s.what;
        if (s.change == RecordsetObserver::Change::Closed) {
            EXPECT_TRUE(log.seen.isEmpty()) << s.what;
        } else {
            EXPECT_EQ((QList<std::pair<RecordsetObserver::Change, int>>{{s.change, s.row}}), log.seen) << s.what;
        }
    }
    EXPECT_EQ(99, rs->valueAt(0, 1).toInt());
    EXPECT_EQ(QStringLiteral("Ann"), rs->valueAt(1, 2).toString());
    EXPECT_EQ(errInvalidArgument, errorOf([&] { rs->refreshRow(5, false, QStringLiteral("M.LBP = 1")); }));
    EXPECT_EQ(errInvalidArgument, errorOf([&] { rs->refreshRow(4, true, QStringLiteral("M.LBP = 1")); }));
    EXPECT_EQ(errInvalidArgument, errorOf([&] { rs->refreshRow(-1, false, QStringLiteral("M.LBP = 1")); }));
    rs->removeObserver(&log);
}

TEST_F(RefreshRowTest, ARowReadAgainIntoAnUpdatableSetCanBeEditedAndDeleted)
{
    person = addPerson(QStringLiteral("Ann"));
    addReading(at(2024, 1, 1), 71);
    addReading(at(2024, 1, 3), 73);
    auto rs = db->OpenRecordset(QStringLiteral("select MSRD_DT, LBP from MEASURE where PRSN_KY = ? order by MSRD_DT"),
                                Params{person}, dbOpenDynaset);
    addReading(at(2024, 1, 2), 72);
    ASSERT_TRUE(rs->refreshRow(1, false, QStringLiteral("MSRD_DT = ?"), Params{at(2024, 1, 2)}));
    rs->setAbsolutePosition(1);
    rs->Edit();
    rs->Fields(1).setValue(82);
    rs->Update();
    EXPECT_EQ(82, count(QStringLiteral("select LBP from MEASURE where MSRD_DT = '2024-01-02 00:00:00'")));
    rs->setAbsolutePosition(2);
    rs->Delete();
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from MEASURE where LBP = 73")));
    EXPECT_EQ(2, rs->RecordCount());
}

} // namespace
