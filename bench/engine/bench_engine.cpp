// Engine overhead against plain SQLite on the same rows:
//  (a) 100,000 measurement INSERTs one statement each, Jet text through Database::Execute
//      against sqlite3_exec of the same statements already in SQLite's dialect, and against the
//      floor: one prepared INSERT into a plain table of the same columns (no key, index, check
//      or relation), its values bound row by row; and, to tell the engine's own cost from that
//      of the table's rules, the same prepared INSERT into a table of the engine's schema;
//  (b) opening a 100,000-row snapshot and walking it against a bare sqlite3_step loop;
//  (c) 1,000 FindFirst calls on a 10,000-row dynaset.
#include "platform/dao/dao.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using namespace dao;

namespace {

constexpr int kRows = 100000;

void buildSchema(Database& db)
{
    auto add = [](TableDef& td, const char* name, int type, int size = 0, bool required = false) {
        Field f = td.CreateField(QString::fromLatin1(name), type, size);
        f.setRequired(required);
        td.Fields().Append(f);
        return f;
    };
    auto key = [](TableDef& td, std::initializer_list<const char*> cols) {
        Index idx = td.CreateIndex(QStringLiteral("PrimaryKey"));
        for (const char* c : cols)
            idx.Fields().Append(idx.CreateField(QString::fromLatin1(c)));
        idx.setPrimary(true);
        td.Indexes().Append(idx);
    };
    TableDef person = db.CreateTableDef(QStringLiteral("PERSON"));
    add(person, "PRSN_KY", dbLong).setAttributes(dbAutoIncrField);
    add(person, "PRSN_NM", dbText, 30, true);
    db.TableDefs().Append(person);
    key(person, {"PRSN_KY"});
    TableDef mood = db.CreateTableDef(QStringLiteral("MOOD"));
    add(mood, "MD_KY", dbInteger, 0, true);
    add(mood, "MD_NM", dbText, 10, true);
    db.TableDefs().Append(mood);
    key(mood, {"MD_KY"});
    TableDef regimen = db.CreateTableDef(QStringLiteral("REGIMEN"));
    add(regimen, "RGMN_KY", dbLong).setAttributes(dbAutoIncrField);
    add(regimen, "RGMN_NM", dbText, 10, true);
    db.TableDefs().Append(regimen);
    key(regimen, {"RGMN_KY"});
    TableDef m = db.CreateTableDef(QStringLiteral("MEASURE"));
    add(m, "PRSN_KY", dbLong, 0, true);
    add(m, "MSRD_DT", dbDate, 0, true);
    add(m, "MD_KY", dbInteger);
    add(m, "RGMN_KY", dbLong);
    for (const char* c : {"LBP", "HBP", "PLSE"})
        add(m, c, dbInteger);
    for (const char* c : {"WT", "TEMP", "TEMP1", "TEMP2"})
        add(m, c, dbSingle);
    Field cm = add(m, "CMMNT", dbText, 100);
    cm.setAllowZeroLength(true);
    add(m, "GL_KY", dbLong);
    db.TableDefs().Append(m);
    key(m, {"PRSN_KY", "MSRD_DT"});
    Index byDate = m.CreateIndex(QStringLiteral("MSRD_DT"));
    byDate.Fields().Append(byDate.CreateField(QStringLiteral("MSRD_DT")));
    m.Indexes().Append(byDate);
    for (auto [name, parent, col] : {std::tuple{"MOODMEASURE", "MOOD", "MD_KY"}, std::tuple{"PERSONMEASURE", "PERSON", "PRSN_KY"},
                                     std::tuple{"REGIMENMEASURE", "REGIMEN", "RGMN_KY"}}) {
        Relation r = db.CreateRelation(QString::fromLatin1(name), QString::fromLatin1(parent), QStringLiteral("MEASURE"));
        Field f = r.CreateField(QString::fromLatin1(col));
        f.setForeignName(QString::fromLatin1(col));
        r.Fields().Append(f);
        db.Relations().Append(r);
    }
    db.Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('Bench')"));
    db.Execute(QStringLiteral("insert into MOOD values (1, 'Normal')"));
    db.Execute(QStringLiteral("insert into REGIMEN (RGMN_NM) values ('Walk')"));
}

struct Reading {
    QDateTime at;
    int lbp, hbp, plse;
    double wt;
};

std::vector<Reading> readings(int n)
{
    std::vector<Reading> out;
    out.reserve(std::size_t(n));
    const QDateTime start(QDate(2017, 1, 1), QTime(7, 5), Qt::UTC);
    for (int i = 0; i < n; ++i)
        out.push_back({start.addSecs(qint64(i) * 6 * 3600), 70 + i % 25, 110 + i % 40, 60 + i % 30, 150.0 + (i % 100) / 10.0});
    return out;
}

QString jetStatement(const Reading& r)
{
    return QStringLiteral(
               "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1,TEMP2, CMMNT, GL_KY) "
               "VALUES(1, #%1#, 1, 1, %2, %3, %4, %5, Null, Null, Null, 'morning reading', NULL)")
        .arg(r.at.toString(QStringLiteral("M/d/yyyy hh:mm:ss AP")))
        .arg(r.lbp)
        .arg(r.hbp)
        .arg(r.plse)
        .arg(r.wt);
}

QByteArray sqliteStatement(const Reading& r)
{
    return QStringLiteral(
               "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1,TEMP2, CMMNT, GL_KY) "
               "VALUES(1, '%1', 1, 1, %2, %3, %4, %5, Null, Null, Null, 'morning reading', NULL)")
        .arg(r.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        .arg(r.lbp)
        .arg(r.hbp)
        .arg(r.plse)
        .arg(r.wt)
        .toUtf8();
}

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

void print(const char* name, double value, const char* unit) { std::printf("%s: %.2f %s\n", name, value, unit); }
void ratio(const char* name, double value) { std::printf("ratio %s: %.2f\n", name, value); }

} // namespace

int main()
{
    QTemporaryDir dir;
    const auto rows = readings(kRows);
    std::vector<QString> jet;
    std::vector<QByteArray> plain;
    jet.reserve(rows.size());
    plain.reserve(rows.size());
    for (const Reading& r : rows) {
        jet.push_back(jetStatement(r));
        plain.push_back(sqliteStatement(r));
    }

    // (a) Each side into its own fresh file of the same schema, each in one transaction; the two
    // sides take turns in chunks so that the machine's other load falls on both alike.
    double engineMs = 0, sqliteMs = 0, floorMs = 0, rulesMs = 0;
    {
        auto engineDb = Database::create(dir.filePath(QStringLiteral("engine0.db")));
        auto plainDb = Database::create(dir.filePath(QStringLiteral("plain0.db")));
        auto floorDb = Database::create(dir.filePath(QStringLiteral("floor0.db")));
        buildSchema(*engineDb);
        buildSchema(*plainDb);
        sqlite3* h = plainDb->handle();
        sqlite3* f = floorDb->handle();
        auto rulesDb = Database::create(dir.filePath(QStringLiteral("rules0.db")));
        buildSchema(*rulesDb);
        sqlite3* g = rulesDb->handle();
        sqlite3_exec(f,
                     "CREATE TABLE MEASURE (PRSN_KY INTEGER, MSRD_DT TEXT, MD_KY INTEGER, RGMN_KY INTEGER, LBP INTEGER, "
                     "HBP INTEGER, PLSE INTEGER, WT REAL, TEMP REAL, TEMP1 REAL, TEMP2 REAL, CMMNT TEXT, GL_KY INTEGER)",
                     nullptr, nullptr, nullptr);
        std::vector<QByteArray> dates;
        dates.reserve(rows.size());
        for (const Reading& r : rows)
            dates.push_back(r.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8());
        QElapsedTimer t;
        t.start();
        engineDb->BeginTrans();
        engineMs += ms(t);
        t.restart();
        sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
        sqliteMs += ms(t);
        t.restart();
        sqlite3_exec(f, "BEGIN", nullptr, nullptr, nullptr);
        const char* insertSql = "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2, "
                                "CMMNT, GL_KY) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)";
        sqlite3_stmt* ins = nullptr;
        sqlite3_prepare_v2(f, insertSql, -1, &ins, nullptr);
        floorMs += ms(t);
        t.restart();
        sqlite3_exec(g, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* ruled = nullptr;
        sqlite3_prepare_v2(g, insertSql, -1, &ruled, nullptr);
        rulesMs += ms(t);
        auto bindRow = [&](sqlite3_stmt* st, std::size_t i) {
            const Reading& r = rows[i];
            sqlite3_bind_int(st, 1, 1);
            sqlite3_bind_text(st, 2, dates[i].constData(), int(dates[i].size()), SQLITE_STATIC);
            sqlite3_bind_int(st, 3, 1);
            sqlite3_bind_int(st, 4, 1);
            sqlite3_bind_int(st, 5, r.lbp);
            sqlite3_bind_int(st, 6, r.hbp);
            sqlite3_bind_int(st, 7, r.plse);
            sqlite3_bind_double(st, 8, r.wt);
            for (int c : {9, 10, 11, 13})
                sqlite3_bind_null(st, c);
            sqlite3_bind_text(st, 12, "morning reading", -1, SQLITE_STATIC);
        };
        constexpr std::size_t chunk = 2000;
        for (std::size_t from = 0; from < rows.size(); from += chunk) {
            const std::size_t to = std::min(rows.size(), from + chunk);
            t.restart();
            for (std::size_t i = from; i < to; ++i)
                engineDb->Execute(jet[i]);
            engineMs += ms(t);
            t.restart();
            for (std::size_t i = from; i < to; ++i)
                if (sqlite3_exec(h, plain[i].constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                    std::fprintf(stderr, "insert failed: %s\n", sqlite3_errmsg(h));
            sqliteMs += ms(t);
            t.restart();
            for (std::size_t i = from; i < to; ++i) {
                bindRow(ins, i);
                if (sqlite3_step(ins) != SQLITE_DONE)
                    std::fprintf(stderr, "insert failed: %s\n", sqlite3_errmsg(f));
                sqlite3_reset(ins);
            }
            floorMs += ms(t);
            t.restart();
            for (std::size_t i = from; i < to; ++i) {
                bindRow(ruled, i);
                if (sqlite3_step(ruled) != SQLITE_DONE)
                    std::fprintf(stderr, "insert failed: %s\n", sqlite3_errmsg(g));
                sqlite3_reset(ruled);
            }
            rulesMs += ms(t);
        }
        t.restart();
        engineDb->CommitTrans();
        engineMs += ms(t);
        t.restart();
        sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
        sqliteMs += ms(t);
        t.restart();
        sqlite3_finalize(ins);
        sqlite3_exec(f, "COMMIT", nullptr, nullptr, nullptr);
        floorMs += ms(t);
        t.restart();
        sqlite3_finalize(ruled);
        sqlite3_exec(g, "COMMIT", nullptr, nullptr, nullptr);
        rulesMs += ms(t);
    }
    print("insert 100000 rows engine", engineMs, "ms");
    print("insert 100000 rows sqlite3_exec", sqliteMs, "ms");
    print("insert 100000 rows prepared into a plain table", floorMs, "ms");
    print("insert 100000 rows prepared into the engine's table", rulesMs, "ms");
    print("insert one row engine", engineMs * 1000.0 / kRows, "us");
    ratio("insert engine/sqlite", engineMs / sqliteMs);
    ratio("insert engine/prepared plain table", engineMs / floorMs);
    ratio("insert engine/prepared into the engine's table", engineMs / rulesMs);

    // (b) Walk every field of every row.
    auto db = Database::open(dir.filePath(QStringLiteral("engine0.db")));
    const QString select = QStringLiteral("SELECT * FROM MEASURE ORDER BY PRSN_KY, MSRD_DT");
    double walkMs = 1e18, stepMs = 1e18, openMs = 0;
    volatile double sink = 0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        auto rs = db->OpenRecordset(select, dbOpenSnapshot);
        const double opened = ms(t);
        const int n = rs->Fields().Count();
        double sum = 0;
        for (; !rs->Eof(); rs->MoveNext())
            for (int i = 0; i < n; ++i) {
                const QVariant v = rs->Fields(i).Value();
                sum += v.isNull() ? 0 : 1;
            }
        sink = sink + sum;
        const double total = ms(t);
        if (total < walkMs) {
            walkMs = total;
            openMs = opened;
        }

        t.restart();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db->handle(), "SELECT * FROM MEASURE ORDER BY PRSN_KY, MSRD_DT", -1, &st, nullptr);
        sum = 0;
        const int cols = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int i = 0; i < cols; ++i) {
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER: sum += double(sqlite3_column_int64(st, i)); break;
                case SQLITE_FLOAT: sum += sqlite3_column_double(st, i); break;
                case SQLITE_TEXT: sum += sqlite3_column_bytes(st, i) + (sqlite3_column_text(st, i)[0] == 'x'); break;
                default: break;
                }
            }
        sqlite3_finalize(st);
        sink = sink + sum;
        stepMs = std::min(stepMs, ms(t));
    }
    print("walk 100000-row snapshot engine", walkMs, "ms");
    print("walk 100000-row snapshot engine, of which opening it", openMs, "ms");
    print("walk 100000 rows sqlite3_step", stepMs, "ms");
    ratio("walk engine/sqlite", walkMs / stepMs);

    // (c) Finds by date on a 10,000-row dynaset, spread over the set.
    auto rs =
        db->OpenRecordset(QStringLiteral("SELECT * FROM MEASURE WHERE MSRD_DT < #11/5/2023# ORDER BY MSRD_DT"), dbOpenDynaset);
    rs->MoveLast();
    const int setRows = rs->RecordCount();
    QElapsedTimer t;
    t.start();
    int found = 0;
    for (int i = 0; i < 1000; ++i) {
        const Reading& r = rows[std::size_t((i * 7919) % setRows)];
        rs->FindFirst(QStringLiteral("MSRD_DT = #%1#").arg(r.at.toString(QStringLiteral("M/d/yyyy h:m AP"))));
        found += rs->NoMatch() ? 0 : 1;
    }
    const double findMs = ms(t);
    std::printf("find set rows: %d\n", setRows);
    print("1000 FindFirst on the set", findMs, "ms");
    print("FindFirst average", findMs * 1000.0 / 1000.0, "us");
    std::printf("finds matched: %d\n", found);
    return found == 1000 ? 0 : 1;
}
