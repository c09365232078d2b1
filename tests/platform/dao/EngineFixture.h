#pragma once
// A temporary database with the shape of the program's own tables, built through the engine's
// definition objects, for the engine's tests.
#include "platform/dao/dao.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace testing_dao {

// Each row of a query run straight on SQLite (what the file holds, past the engine), its
// columns' texts joined by '|'.
inline QStringList sqliteRows(sqlite3* db, const QByteArray& sql)
{
    QStringList out;
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr)) << sqlite3_errmsg(db);
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList cells;
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            cells << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
        out << cells.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    return out;
}

template <typename F>
int errorOf(F&& f)
{
    try {
        f();
    } catch (const dao::Error& e) {
        return e.Number();
    }
    return 0;
}

inline dao::Field field(dao::TableDef& td, const char* name, int type, int size = 0, bool required = false,
                        bool zeroLength = false)
{
    dao::Field f = td.CreateField(QString::fromLatin1(name), type, size);
    f.setRequired(required);
    f.setAllowZeroLength(zeroLength);
    td.Fields().Append(f);
    return f;
}

inline void index(dao::TableDef& td, const char* name, std::initializer_list<const char*> cols, bool primary, bool unique = false)
{
    dao::Index idx = td.CreateIndex(QString::fromLatin1(name));
    for (const char* c : cols)
        idx.Fields().Append(idx.CreateField(QString::fromLatin1(c)));
    idx.setPrimary(primary);
    idx.setUnique(unique);
    td.Indexes().Append(idx);
}

inline void relation(dao::Database& db, const char* name, const char* table, const char* foreign,
                     std::initializer_list<const char*> cols, int attributes = 0)
{
    dao::Relation r = db.CreateRelation(QString::fromLatin1(name), QString::fromLatin1(table), QString::fromLatin1(foreign));
    for (const char* c : cols) {
        dao::Field f = r.CreateField(QString::fromLatin1(c));
        f.setForeignName(QString::fromLatin1(c));
        r.Fields().Append(f);
    }
    r.setAttributes(r.Attributes() + attributes);
    db.Relations().Append(r);
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("test.mdb"));
        db = dao::Database::create(path);
        buildSchema(*db);
    }
    void TearDown() override
    {
        if (db)
            db->Close();
    }

    static void buildSchema(dao::Database& db)
    {
        using namespace dao;
        {
            TableDef td = db.CreateTableDef(QStringLiteral("REGIMEN"));
            Field k = td.CreateField(QStringLiteral("RGMN_KY"), dbLong);
            k.setAttributes(k.Attributes() | dbAutoIncrField);
            td.Fields().Append(k);
            field(td, "RGMN_NM", dbText, 10, true);
            field(td, "RGMN_DTL", dbText, 200, false, true);
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"RGMN_KY"}, true);
            index(td, "RGMN_NM", {"RGMN_NM"}, false, true);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("PERSON"));
            Field k = td.CreateField(QStringLiteral("PRSN_KY"), dbLong);
            k.setAttributes(dbAutoIncrField);
            td.Fields().Append(k);
            field(td, "PRSN_NM", dbText, 30, true);
            field(td, "AGE", dbInteger);
            field(td, "HGT", dbSingle);
            field(td, "SEX", dbText, 1, false, true);
            field(td, "COMMENT", dbText, 100, false, true);
            Field pnl = field(td, "PLT_PNL_CL", dbLong);
            pnl.setDefaultValue(QStringLiteral("-2147483633"));
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"PRSN_KY"}, true);
            index(td, "PRSN_NM", {"PRSN_NM"}, false, true);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("MOOD"));
            field(td, "MD_KY", dbInteger, 0, true);
            field(td, "MD_NM", dbText, 10, true);
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"MD_KY"}, true);
            index(td, "MD_NM", {"MD_NM"}, false, true);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("MEASURE"));
            field(td, "PRSN_KY", dbLong, 0, true);
            field(td, "MSRD_DT", dbDate, 0, true);
            field(td, "MD_KY", dbInteger);
            field(td, "RGMN_KY", dbLong);
            field(td, "LBP", dbInteger);
            field(td, "HBP", dbInteger);
            field(td, "PLSE", dbInteger);
            field(td, "WT", dbSingle);
            field(td, "TEMP", dbSingle);
            field(td, "TEMP1", dbSingle);
            field(td, "TEMP2", dbSingle);
            field(td, "CMMNT", dbText, 100, false, true);
            field(td, "GL_KY", dbLong);
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"PRSN_KY", "MSRD_DT"}, true);
            index(td, "MSRD_DT", {"MSRD_DT"}, false);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("PERSON_PLOT"));
            field(td, "PRSN_KY", dbLong, 0, true);
            field(td, "PLT_KY", dbInteger, 0, true);
            field(td, "PLT_ACT", dbBoolean);
            field(td, "LGND", dbText, 20);
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"PRSN_KY", "PLT_KY"}, true);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("CHART"));
            field(td, "CHRT_ID", dbInteger, 0, true);
            field(td, "CHRT_NM", dbText, 20, true);
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"CHRT_ID"}, true);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("SINGLE_PERSON_PLOT"));
            field(td, "PRSN_KY", dbLong, 0, true);
            field(td, "PLT_KY", dbInteger, 0, true);
            field(td, "CHRT_ID", dbInteger, 0, true);
            field(td, "Y_MIN", dbInteger);
            field(td, "Y_MAX", dbInteger);
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"PRSN_KY", "PLT_KY"}, true);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("MULTIPLE_PERSON_PLOT"));
            field(td, "PRSN_KY", dbLong, 0, true);
            field(td, "PLT_KY", dbInteger, 0, true);
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"PRSN_KY", "PLT_KY"}, true);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("CHART_MULTIPLE_PERSON_PLOT"));
            field(td, "PRSN_KY", dbLong, 0, true);
            field(td, "PLT_KY", dbInteger, 0, true);
            field(td, "CHRT_ID", dbInteger, 0, true);
            field(td, "CHRT_TP", dbInteger);
            field(td, "CHRT_ACT", dbBoolean);
            field(td, "LBL_POS", dbInteger);
            db.TableDefs().Append(td);
            index(td, "PrimaryKey", {"PLT_KY", "PRSN_KY", "CHRT_ID"}, true);
        }
        {
            TableDef td = db.CreateTableDef(QStringLiteral("APPLICATION"));
            field(td, "ShowAtStartup", dbBoolean);
            field(td, "WtUnit", dbText, 2);
            field(td, "TempUnit", dbText, 1);
            field(td, "gblPrsnKy", dbLong).setDefaultValue(QStringLiteral("-1"));
            field(td, "Temp1LBL", dbText, 12);
            db.TableDefs().Append(td);
        }
        relation(db, "R/7", "PERSON", "PERSON_PLOT", {"PRSN_KY"});
        relation(db, "Reference_45", "PERSON_PLOT", "SINGLE_PERSON_PLOT", {"PRSN_KY", "PLT_KY"},
                 dbRelationDeleteCascade + dbRelationUpdateCascade);
        relation(db, "R/12", "CHART", "SINGLE_PERSON_PLOT", {"CHRT_ID"});
        relation(db, "Reference_29", "PERSON_PLOT", "MULTIPLE_PERSON_PLOT", {"PRSN_KY", "PLT_KY"},
                 dbRelationDeleteCascade + dbRelationUpdateCascade);
        relation(db, "R/30", "MULTIPLE_PERSON_PLOT", "CHART_MULTIPLE_PERSON_PLOT", {"PRSN_KY", "PLT_KY"});
        relation(db, "R/14", "CHART", "CHART_MULTIPLE_PERSON_PLOT", {"CHRT_ID"});
        relation(db, "MOODMEASURE", "MOOD", "MEASURE", {"MD_KY"});
        relation(db, "PERSONMEASURE", "PERSON", "MEASURE", {"PRSN_KY"});
        relation(db, "REGIMENMEASURE", "REGIMEN", "MEASURE", {"RGMN_KY"});

        for (int i = 0; i < 6; ++i)
            db.Execute(QStringLiteral("insert into Chart Values(%1, 'C%1')").arg(i));
        const char* moods[] = {"Normal", "Excited", "Happy", "Melancholy", "Depressed", "Anxious"};
        for (int i = 0; i < 6; ++i)
            db.Execute(QStringLiteral("insert into Mood(MD_KY, MD_NM) Values(%1, '%2')").arg(i + 1).arg(QLatin1String(moods[i])));
        db.Execute(QStringLiteral("insert into Application (ShowAtStartup, WtUnit, TempUnit) values (0, 'lb', 'F')"));
    }

    int count(const QString& sql)
    {
        auto rs = db->OpenRecordset(sql, dao::dbOpenSnapshot);
        return rs->Fields(0).Value().toInt();
    }

    int addPerson(const QString& name)
    {
        db->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('%1')")
                        .arg(QString(name).replace(QLatin1Char('\''), QLatin1String("''"))),
                    dao::dbFailOnError);
        auto rs = db->OpenRecordset(QStringLiteral("select max(PRSN_KY) from PERSON"), dao::dbOpenSnapshot);
        return rs->Fields(0).Value().toInt();
    }

    QTemporaryDir dir;
    QString path;
    dao::DatabasePtr db;
};

} // namespace testing_dao
