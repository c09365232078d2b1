#pragma once
// The program's own database in a temporary program folder, and a person with many years of
// readings, for the benchmarks that time the windows.
#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/clsCreateMDB.h"
#include "data/clsModifyMDB.h"
#include "data/clsModifyMDB1.h"
#include "support/BenchSupport.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>

namespace bench {

inline long long countOf(sqlite3* db, const std::string& sql)
{
    Stmt s(db, sql);
    s.step();
    return sqlite3_column_int64(s.get(), 0);
}

// Created and upgraded as at start-up; closed when it goes.
class ProgramDatabase {
public:
    ProgramDatabase()
    {
        clsCreateMDB().OpenOrCreateDatabase();
        clsModifyMDB().runUpgrade();
        clsModifyMDB1().runUpgrade();
    }
    ~ProgramDatabase()
    {
        if (gDB || gWS)
            clsCreateMDB().CloseDatabase();
    }
    ProgramDatabase(const ProgramDatabase&) = delete;
    ProgramDatabase& operator=(const ProgramDatabase&) = delete;

private:
    ProgramFolder folder_;
};

constexpr int kBigPersonYears = 10;
constexpr int kBigPersonReadingsADay = 4;

// A person with ten years of four readings a day from 1 January of firstYear (14,600 readings) with
// moods, a regimen, sugar with a goal and comments, and its stored averages, written by plain
// SQLite. The person's row is made by the given INSERT.
inline int addBigPerson(const std::string& personInsert = "INSERT INTO PERSON (PRSN_NM) VALUES ('Bench Person')",
                        int firstYear = 2014)
{
    sqlite3* db = gDB->handle();
    exec(db, personInsert);
    const int person = int(sqlite3_last_insert_rowid(db));
    exec(db, "INSERT INTO REGIMEN (RGMN_NM, RGMN_DTL) VALUES ('Walk', 'daily walk')");
    const int regimen = int(sqlite3_last_insert_rowid(db));
    const int goal = int(countOf(db, "SELECT min(GL_KY) FROM DBTS_GOAL"));
    exec(db, "BEGIN");
    {
        Stmt ins(db,
                 "INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2, CMMNT, GL_KY) "
                 "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
        const QDate first(firstYear, 1, 1);
        static const int hours[kBigPersonReadingsADay] = {7, 12, 17, 22};
        int i = 0;
        for (int d = 0; d < kBigPersonYears * 365; ++d)
            for (int h : hours) {
                const QByteArray when =
                    QDateTime(first.addDays(d), QTime(h, 15), Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
                sqlite3_bind_int(ins.get(), 1, person);
                sqlite3_bind_text(ins.get(), 2, when.constData(), int(when.size()), SQLITE_TRANSIENT);
                if (i % 3)
                    sqlite3_bind_int(ins.get(), 3, 1 + i % 5);
                else
                    sqlite3_bind_null(ins.get(), 3);
                if (i % 4)
                    sqlite3_bind_int(ins.get(), 4, regimen);
                else
                    sqlite3_bind_null(ins.get(), 4);
                sqlite3_bind_int(ins.get(), 5, 70 + i % 25);
                sqlite3_bind_int(ins.get(), 6, 110 + i % 45);
                sqlite3_bind_int(ins.get(), 7, 55 + i % 40);
                sqlite3_bind_double(ins.get(), 8, double(float(150.0 + (i % 300) / 10.0)));
                sqlite3_bind_double(ins.get(), 9, double(float(97.0 + (i % 30) / 10.0)));
                sqlite3_bind_null(ins.get(), 10);
                const QByteArray comment = "reading " + QByteArray::number(i);
                sqlite3_bind_text(ins.get(), 12, comment.constData(), int(comment.size()), SQLITE_TRANSIENT);
                if (i % 2) {
                    sqlite3_bind_double(ins.get(), 11, double(float(90.0 + (i % 80))));
                    sqlite3_bind_int(ins.get(), 13, goal);
                } else {
                    sqlite3_bind_null(ins.get(), 11);
                    sqlite3_bind_null(ins.get(), 13);
                }
                ins.step();
                ins.reset();
                ++i;
            }
    }
    exec(db, "COMMIT");
    exec(db, "DELETE FROM AVERAGE_DAY");
    exec(db,
         "INSERT INTO AVERAGE_DAY SELECT prsn_ky, datevalue(msrd_dt), cint(avg(lbp)), cint(avg(hbp)), cint(avg(plse)), "
         "csng(avg(wt)), csng(avg(temp)), csng(avg(temp1)), csng(avg(temp2)) FROM MEASURE GROUP BY prsn_ky, datevalue(msrd_dt)");
    clsAverage().RebuildAllAverages();
    return person;
}

} // namespace bench
