// Database files: opening, transactions, compaction and backup.
#include "EngineFixture.h"

#include <QFile>

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;

namespace {

TEST_F(EngineTest, FilesThatAreMissingForeignOrAlreadyThereAreRefused)
{
    EXPECT_EQ(errFileNotFound, errorOf([&] { Database::open(dir.filePath("missing.mdb")); }));
    QFile junk(dir.filePath("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_EQ(errUnrecognisedFormat, errorOf([&] { Database::open(junk.fileName()); }));
    EXPECT_EQ(4096, QFileInfo(junk.fileName()).size()); // left as it was
    EXPECT_EQ(errDatabaseExists, errorOf([&] { Database::create(path); }));
    auto ws = DBEngine::CreateWorkspace(QStringLiteral("QJ"), QStringLiteral("user"), QString());
    EXPECT_EQ(errFileNotFound, errorOf([&] { ws->OpenDatabase(dir.filePath("gone.mdb")); }));
    ASSERT_FALSE(DBEngine::Errors().empty());
    EXPECT_EQ(errFileNotFound, DBEngine::Errors().front().Number());
}

TEST_F(EngineTest, TransactionsCommitOrRollBackAndNest)
{
    {
        Transaction t(*db);
        addPerson(QStringLiteral("Kept"));
        t.commit();
    }
    try {
        Transaction t(*db);
        addPerson(QStringLiteral("Lost"));
        {
            Transaction inner(*db);
            addPerson(QStringLiteral("Inner"));
            inner.commit();
        }
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(0, db->transactionDepth());
    EXPECT_EQ(1, count("select count(*) from PERSON"));
    db->BeginTrans();
    addPerson(QStringLiteral("Outer"));
    db->BeginTrans();
    addPerson(QStringLiteral("Inner"));
    db->Rollback();
    db->CommitTrans();
    EXPECT_EQ(2, count("select count(*) from PERSON"));
    EXPECT_EQ(3034, errorOf([&] { db->CommitTrans(); }));
    // A guard undoes what inner code began and left open.
    try {
        Transaction t(*db);
        db->BeginTrans();
        addPerson(QStringLiteral("Left open"));
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(0, db->transactionDepth());
    EXPECT_EQ(2, count("select count(*) from PERSON"));
    // A transaction left open at close is undone, never half kept.
    db->BeginTrans();
    addPerson(QStringLiteral("Unfinished"));
    db->Close();
    db = Database::open(path);
    EXPECT_EQ(2, count("select count(*) from PERSON"));
}

TEST_F(EngineTest, SchemaChangesInsideATransactionAreUndoneWithIt)
{
    {
        Transaction t(*db);
        TableDef app = db->TableDefs(QStringLiteral("APPLICATION"));
        app.Fields().Append(app.CreateField(QStringLiteral("PICTURE"), dbText, 30));
        TableDef goal = db->CreateTableDef(QStringLiteral("DBTS_GOAL"));
        testing_dao::field(goal, "GL_NM", dbText, 25);
        db->TableDefs().Append(goal);
    }
    EXPECT_FALSE(db->fieldNames(QStringLiteral("APPLICATION")).contains(QStringLiteral("PICTURE")));
    EXPECT_FALSE(db->TableDefs().names().contains(QStringLiteral("DBTS_GOAL")));
}

TEST_F(EngineTest, CompactionAndBackupGiveFilesThatOpenWithTheSameRows)
{
    for (int i = 0; i < 50; ++i)
        addPerson(QStringLiteral("P%1").arg(i));
    db->Execute("delete from PERSON where PRSN_KY > 10");
    db->Close();
    const QString compact = path + QStringLiteral("_compact");
    DBEngine::CompactDatabase(path, compact);
    EXPECT_LE(QFileInfo(compact).size(), QFileInfo(path).size());
    EXPECT_EQ(errDatabaseExists, errorOf([&] { DBEngine::CompactDatabase(path, compact); }));
    EXPECT_NE(0, errorOf([&] { DBEngine::CompactDatabase(path, dir.filePath("no/such/folder/x.mdb")); }));
    EXPECT_FALSE(DBEngine::Errors().empty());

    auto copy = Database::open(compact);
    auto rs = copy->OpenRecordset("select count(*) from PERSON", dbOpenSnapshot);
    EXPECT_EQ(10, rs->Fields(0).Value().toInt());
    // The rules travel with the copy.
    EXPECT_EQ(errDuplicateKey, errorOf([&] { copy->Execute("insert into PERSON (PRSN_NM) values ('p1')", dbFailOnError); }));
    EXPECT_EQ(11, [&] {
        copy->Execute("insert into PERSON (PRSN_NM) values ('New')");
        auto r = copy->OpenRecordset("select PRSN_KY from PERSON where PRSN_NM = 'New'", dbOpenSnapshot);
        return r->Fields(0).Value().toInt() > 50 ? 11 : 0; // counters are not reused after compaction
    }());

    const QString backup = dir.filePath("backup.mdb");
    copy->BackupTo(backup);
    EXPECT_EQ(errInvalidArgument, errorOf([&] { copy->BackupTo(compact); }));
    auto b = Database::open(backup);
    auto rb = b->OpenRecordset("select count(*) from PERSON", dbOpenSnapshot);
    EXPECT_EQ(11, rb->Fields(0).Value().toInt());
    EXPECT_EQ(9, b->Relations().Count());
}

} // namespace
