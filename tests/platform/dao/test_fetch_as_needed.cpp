// A set that reads its rows as they are asked for answers every question as a set read whole
// when it was opened: counts, moves, finds and values, and the rows it shows do not change when
// the connection writes before they are read.
#include "EngineFixture.h"

#include <QFile>

using namespace dao;
using testing_dao::EngineTest;

namespace {

constexpr int kRows = 1000;

class FetchAsNeededTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        db->Execute(QStringLiteral("CREATE TABLE T (K INTEGER, V VARCHAR(20), N FLOAT)"));
        db->BeginTrans();
        // N is empty at both ends: a computed column over it has no value in the first rows
        // read, from either end.
        for (int k = 1; k <= kRows; ++k)
            db->Execute(QStringLiteral("INSERT INTO T VALUES (%1, 'v%2', %3)")
                            .arg(k)
                            .arg(k % 300)
                            .arg(k > 300 && k < 700 ? QString::number(k) + QStringLiteral(".5") : QStringLiteral("Null")));
        db->CommitTrans();
    }

    RecordsetPtr open(const QString& sql, bool asNeeded)
    {
        return db->OpenRecordset(sql, dbOpenSnapshot, asNeeded ? dbFetchAsNeeded : 0);
    }

    static QList<QVariantList> walk(Recordset& rs)
    {
        QList<QVariantList> rows;
        for (; !rs.Eof(); rs.MoveNext()) {
            QVariantList row;
            for (int c = 0; c < rs.columnCount(); ++c)
                row << rs.Fields(c).Value();
            rows << row;
        }
        return rows;
    }
};

const QString kSql = QStringLiteral("SELECT K, V, N * 2 AS C FROM T ORDER BY K DESC");
// Read straight from the table, with no sorting first: later writes would reach the rows read.
const QString kScan = QStringLiteral("SELECT K, V, N * 2 AS C FROM T");

TEST_F(FetchAsNeededTest, AnswersAsASetReadWhole)
{
    const QList<QVariantList> rows = walk(*open(kSql, false));
    ASSERT_EQ(kRows, rows.size());
    // Each way of reaching rows not read yet, and the position it must reach.
    const std::tuple<const char*, std::function<void(Recordset&)>, int> cases[] = {
        {"set position", [](Recordset& rs) { rs.setAbsolutePosition(kRows - 2); }, kRows - 2},
        {"move last", [](Recordset& rs) { rs.MoveLast(); }, kRows - 1},
        {"find first", [](Recordset& rs) { rs.FindFirst(QStringLiteral("K = 3")); }, kRows - 3},
        {"find last", [](Recordset& rs) { rs.FindLast(QStringLiteral("V = 'v1'")); }, kRows - 1},
        {"find previous", [](Recordset& rs) { rs.FindPrevious(QStringLiteral("K = 1")); }, 0},
    };
    for (const auto& [what, go, position] : cases) {
        auto rs = open(kSql, true);
        EXPECT_EQ(kRows, rs->RecordCount()) << what;
        go(*rs);
        EXPECT_EQ(position, rs->AbsolutePosition()) << what;
        EXPECT_EQ(rows[position][0], rs->Fields(0).Value()) << what;
    }

    auto rs = open(kSql, true);
    EXPECT_EQ(dbDouble, rs->Fields(2).Type());                // from a value past the first rows read
    EXPECT_EQ(rows[kRows - 1][2], rs->valueAt(kRows - 1, 2)); // a view jumping to the last row
    EXPECT_FALSE(rs->valueAt(kRows, 0).isValid());
    EXPECT_EQ(rows, walk(*rs));
    rs->Requery();
    EXPECT_EQ(rows, walk(*rs));
}

TEST_F(FetchAsNeededTest, CountsStatementsWhoseRowsAreNotTheTablesRows)
{
    for (const char* sql : {"SELECT DISTINCT V FROM T ORDER BY V", "SELECT V, count(*) AS N FROM T GROUP BY V"}) {
        auto whole = open(QString::fromLatin1(sql), false);
        auto rs = open(QString::fromLatin1(sql), true);
        EXPECT_EQ(whole->RecordCount(), rs->RecordCount()) << sql;
        EXPECT_EQ(walk(*whole), walk(*rs)) << sql;
    }
}

TEST_F(FetchAsNeededTest, RowsStayAsOpenedWhenTheConnectionWrites)
{
    const QList<QVariantList> before = walk(*open(kScan, false));
    const std::pair<const char*, std::function<void()>> writes[] = {
        {"update", [&] { db->Execute(QStringLiteral("UPDATE T SET V = 'changed'")); }},
        {"delete", [&] { db->Execute(QStringLiteral("DELETE FROM T WHERE K < 900")); }},
        {"insert", [&] { db->Execute(QStringLiteral("INSERT INTO T VALUES (5000, 'new', 1)")); }},
        {"edit through another set",
         [&] {
             auto other = db->OpenRecordset(QStringLiteral("SELECT * FROM T WHERE K = 1"), dbOpenDynaset);
             other->Edit();
             other->Fields(QStringLiteral("V")).setValue(QStringLiteral("edited"));
             other->Update();
         }},
        {"close", [&] { db->Close(); }},
    };
    for (const auto& [what, write] : writes) {
        db->Close();
        QFile::remove(path);
        SetUp();
        auto rs = open(kScan, true);
        write();
        EXPECT_EQ(kRows, rs->RecordCount()) << what;
        EXPECT_EQ(before, walk(*rs)) << what;
    }
}

} // namespace
