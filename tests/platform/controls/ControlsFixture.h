#pragma once
// A temporary database with a person table and a reading table, for the controls' tests and the
// grid benchmark; bulk rows go in through SQLite directly.
#include "platform/dao/dao.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace testing_controls {

inline void addField(dao::TableDef& td, const char* name, int type, int size = 0)
{
    dao::Field f = td.CreateField(QString::fromLatin1(name), type, size);
    if (type == dao::dbText)
        f.setAllowZeroLength(true);
    td.Fields().Append(f);
}

// PERSON (PRSN_KY counter, PRSN_NM, AGE, HGT, ACTV Yes/No, BORN date) and
// READING (RD_KY counter, PRSN_KY, MSRD_DT, HBP, WT, CMMNT).
inline dao::DatabasePtr createDatabase(const QString& path)
{
    using namespace dao;
    DatabasePtr db = Database::create(path);
    {
        TableDef td = db->CreateTableDef(QStringLiteral("PERSON"));
        Field k = td.CreateField(QStringLiteral("PRSN_KY"), dbLong);
        k.setAttributes(dbAutoIncrField);
        td.Fields().Append(k);
        addField(td, "PRSN_NM", dbText, 30);
        addField(td, "AGE", dbInteger);
        addField(td, "HGT", dbSingle);
        addField(td, "ACTV", dbBoolean);
        addField(td, "BORN", dbDate);
        db->TableDefs().Append(td);
    }
    {
        TableDef td = db->CreateTableDef(QStringLiteral("READING"));
        Field k = td.CreateField(QStringLiteral("RD_KY"), dbLong);
        k.setAttributes(dbAutoIncrField);
        td.Fields().Append(k);
        addField(td, "PRSN_KY", dbLong);
        addField(td, "MSRD_DT", dbDate);
        addField(td, "HBP", dbInteger);
        addField(td, "WT", dbSingle);
        addField(td, "CMMNT", dbText, 100);
        db->TableDefs().Append(td);
    }
    return db;
}

// n readings of person 1, one a minute from 1 Jan 2024 8:00, with a weight of 60 + i/10 kg and a
// comment on every tenth row.
inline void addReadings(dao::Database& db, int n)
{
    sqlite3* h = db.handle();
    sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "INSERT INTO READING (PRSN_KY, MSRD_DT, HBP, WT, CMMNT) VALUES (1, ?, ?, ?, ?)", -1, &st, nullptr);
    const QDateTime start(QDate(2024, 1, 1), QTime(8, 0), Qt::UTC);
    for (int i = 0; i < n; ++i) {
        const QByteArray when = start.addSecs(60LL * i).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
        sqlite3_bind_text(st, 1, when.constData(), int(when.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 2, 100 + i % 80);
        sqlite3_bind_double(st, 3, 60.0 + (i % 1000) / 10.0);
        const QByteArray comment = QByteArray("note ") + QByteArray::number(i);
        if (i % 10 == 0)
            sqlite3_bind_text(st, 4, comment.constData(), int(comment.size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(st, 4);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace testing_controls
