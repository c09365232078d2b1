// The database file as the program creates it: files, tables, keys, relations and seed rows.
#include "DataFixture.h"
#include "support/FileBytes.h"

#include "data/clsEncrypt.h"
#include "platform/runtime/Conversions.h"

#include <QSet>
#include <sqlite3.h>

using namespace testing_data;
using testing_files::readBytes;
using testing_files::setImmutable;
using testing_files::writeBytes;

namespace {

QStringList sorted(QStringList list)
{
    list.sort(Qt::CaseInsensitive);
    return list;
}

QStringList firstLayerTables()
{
    return {QStringLiteral("REGIMEN"),
            QStringLiteral("PERSON"),
            QStringLiteral("MOOD"),
            QStringLiteral("MEASURE"),
            QStringLiteral("PERSON_PLOT"),
            QStringLiteral("CHART"),
            QStringLiteral("SINGLE_PERSON_PLOT"),
            QStringLiteral("MULTIPLE_PERSON_PLOT"),
            QStringLiteral("CHART_MULTIPLE_PERSON_PLOT"),
            QStringLiteral("AVERAGE_WEEK"),
            QStringLiteral("AVERAGE_MONTH"),
            QStringLiteral("APPLICATION")};
}

QStringList relationNames()
{
    return {QStringLiteral("R/7"),
            QStringLiteral("Reference_45"),
            QStringLiteral("R/12"),
            QStringLiteral("Reference_29"),
            QStringLiteral("R/30"),
            QStringLiteral("R/14"),
            QStringLiteral("MOODMEASURE"),
            QStringLiteral("PERSONMEASURE"),
            QStringLiteral("REGIMENMEASURE"),
            QStringLiteral("PERSONAVERAGE_MONTH"),
            QStringLiteral("PERSONAVERAGE_WEEK")};
}

QStringList filesOf(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

// A build that breaks down after the relations, before the seed rows are in.
class FailingCreateMDB : public clsCreateMDB {
public:
    void LoadDefaultData() override
    {
        clsCreateMDB::LoadDefaultData();
        throw dao::Error(dao::errReservedError, QStringLiteral("Disk trouble while building."));
    }
};

// Counts the builds, so that a test can tell an open from a creation.
class CountingCreateMDB : public clsCreateMDB {
public:
    int builds = 0;

protected:
    void CreateRegimenTable() override
    {
        ++builds;
        clsCreateMDB::CreateRegimenTable();
    }
};

} // namespace

// ---- opening and creating ------------------------------------------------------------------

using CreationTest = ProgramFolderTest;

TEST_F(CreationTest, BuildsTheFirstLayoutWhenNoFileExists)
{
    ASSERT_FALSE(QFileInfo::exists(programFolder() + QStringLiteral("/database")));
    openFirstLayer();

    EXPECT_EQ(databasePath(), programFolder() + QStringLiteral("/database/Ravelcombrick-2.mdb"));
    EXPECT_TRUE(QFileInfo::exists(databasePath()));
    EXPECT_EQ(filesOf(programFolder() + QStringLiteral("/database")), QStringList{QStringLiteral("Ravelcombrick-2.mdb")});
    ASSERT_TRUE(gWS && gDB);
    EXPECT_EQ(gWS->Name(), QStringLiteral("QJ"));
    EXPECT_EQ(gWS->UserName(), QStringLiteral("Ravelcombrick-1"));
    EXPECT_EQ(QFileInfo(gDB->Name()).canonicalFilePath(), QFileInfo(databasePath()).canonicalFilePath());
    EXPECT_EQ(dao::DBEngine::SystemDB(), programFolder() + QStringLiteral("/database/Ravelcombrick-2.mdw"));

    EXPECT_EQ(sorted(gDB->TableDefs().names()), sorted(firstLayerTables()));
    EXPECT_EQ(gDB->Relations().names(), relationNames());
    EXPECT_EQ(count(QStringLiteral("select count(*) from MOOD")), 6);
    EXPECT_EQ(count(QStringLiteral("select count(*) from CHART")), 6);
    EXPECT_EQ(count(QStringLiteral("select count(*) from APPLICATION")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from REGIMEN")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PERSON")), 0);

    auto app = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
    EXPECT_EQ(gDB->fieldNames(QStringLiteral("APPLICATION")),
              (QStringList{QStringLiteral("ShowAtStartup"), QStringLiteral("WtUnit"), QStringLiteral("HtUnit"),
                           QStringLiteral("TempUnit"), QStringLiteral("DtFormat"), QStringLiteral("gblPrsnKy")}));
    EXPECT_EQ(app->Fields(QStringLiteral("ShowAtStartup")).Value(), QVariant(false));
    EXPECT_EQ(app->Fields(QStringLiteral("WtUnit")).Value().toString(), QStringLiteral("lb"));
    EXPECT_EQ(app->Fields(QStringLiteral("HtUnit")).Value().toString(), QStringLiteral("ft"));
    EXPECT_EQ(app->Fields(QStringLiteral("TempUnit")).Value().toString(), QStringLiteral("F"));
    EXPECT_EQ(app->Fields(QStringLiteral("DtFormat")).Value().toString(), QStringLiteral("mm/dd/yy"));
    EXPECT_EQ(app->Fields(QStringLiteral("gblPrsnKy")).Value().toInt(), -1);

    dao::Container dbs = gDB->Containers(QStringLiteral("Databases"));
    dao::Document doc = dbs.Documents(QStringLiteral("MSysDb"));
    doc.setUserName(QStringLiteral("Users"));
    EXPECT_EQ(doc.Permissions(), 0);
    doc.setUserName(QStringLiteral("Admins"));
    EXPECT_EQ(doc.Permissions(), 0);
}

TEST_F(CreationTest, OpensAnExistingFileWithoutBuildingOrSeeding)
{
    openFirstLayer();
    gDB->Execute(QStringLiteral("delete from Mood where MD_KY = 6"));
    closeDatabase();

    CountingCreateMDB creator;
    creator.OpenOrCreateDatabase();
    EXPECT_EQ(creator.builds, 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from MOOD")), 5);
}

TEST_F(CreationTest, CopiesThePreviousVersionFileWhenTheCurrentOneIsMissing)
{
    // A file of the previous major version: our own first layout, with a row to recognise it by.
    openFirstLayer();
    gDB->Execute(QStringLiteral("insert into Regimen (RGMN_NM, RGMN_DTL) values ('Walk', 'From v1')"));
    closeDatabase();
    const QString previous = clsCreateMDB::previousDatabasePath();
    ASSERT_TRUE(QFile::rename(databasePath(), previous));

    CountingCreateMDB creator;
    creator.OpenOrCreateDatabase();
    EXPECT_EQ(creator.builds, 0);
    EXPECT_TRUE(QFileInfo::exists(previous));
    EXPECT_TRUE(QFileInfo::exists(databasePath()));
    EXPECT_EQ(value(QStringLiteral("select RGMN_DTL from Regimen")).toString(), QStringLiteral("From v1"));
}

namespace {

// Runs statements with plain SQLite, as the earlier version would (none of our functions, so
// no triggers or checks); the first value of the last row.
QByteArray plain(const QString& path, const char* sql, const char* vfs = nullptr, sqlite3** keep = nullptr)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    QByteArray first;
    const auto take = [](void* to, int, char** values, char**) {
        *static_cast<QByteArray*>(to) = values[0];
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql, take, &first, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    if (keep)
        *keep = db;
    else
        sqlite3_close(db);
    return first;
}

// Keeps a copy of each journal SQLite deletes, which it does last in a commit.
int deleteKeepingJournal(sqlite3_vfs*, const char* name, int syncDir)
{
    QFile::copy(QString::fromUtf8(name), QString::fromUtf8(name) + QStringLiteral(".kept"));
    sqlite3_vfs* unix = sqlite3_vfs_find("unix");
    return unix->xDelete(unix, name, syncDir);
}

// The file and journal that a crash in `write` on `committed` leaves: killed before its commit,
// once the change has spilled into the file, or inside it, with only every other page written.
std::pair<QByteArray, QByteArray> crashed(const QString& scratch, const QByteArray& committed, const QByteArray& write,
                                          bool insideCommit)
{
    EXPECT_TRUE(writeBytes(scratch, committed));
    sqlite3_vfs keeping = *sqlite3_vfs_find("unix");
    keeping.zName = "keeping-journal";
    keeping.xDelete = deleteKeepingJournal;
    sqlite3_vfs_register(&keeping, 0);
    sqlite3* db = nullptr;
    plain(scratch, "PRAGMA ignore_check_constraints=ON; PRAGMA cache_size=10; BEGIN", "keeping-journal", &db);
    EXPECT_EQ(sqlite3_exec(db, write.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    std::pair<QByteArray, QByteArray> left{readBytes(scratch), readBytes(scratch + QStringLiteral("-journal"))};
    if (insideCommit) {
        EXPECT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        left = {readBytes(scratch), readBytes(scratch + QStringLiteral("-journal.kept"))};
        for (qsizetype page = 4096; page < committed.size(); page += 8192)
            left.first.replace(page, 4096, committed.mid(page, 4096));
    }
    sqlite3_close(db); // an open write is rolled back
    sqlite3_vfs_unregister(&keeping);
    QFile::remove(scratch + QStringLiteral("-journal.kept"));
    return left;
}

} // namespace

TEST_F(CreationTest, TheEarlierVersionsFileIsTakenOverAsLastCommittedOrLeftAsItIs)
{
    const QString previous = clsCreateMDB::previousDatabasePath();
    const QString journal = previous + QStringLiteral("-journal");
    const QString scratch = programFolder() + QStringLiteral("/scratch");
    const QString folder = programFolder() + QStringLiteral("/database");
    // The earlier version's file: a person's readings over eight years and their averages.
    openFirstLayer();
    closeDatabase();
    plain(databasePath(), "INSERT INTO PERSON(PRSN_NM) VALUES('Ann');"
                          "WITH RECURSIVE d(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d WHERE n < 2999) "
                          "INSERT INTO MEASURE(PRSN_KY, MSRD_DT, WT) "
                          "SELECT 1, datetime('2015-01-01', '+' || n || ' days'), 150 + n % 7 FROM d;"
                          "INSERT INTO AVERAGE_MONTH(PRSN_KY, MNTH, WT) "
                          "SELECT 1, strftime('%Y-%m-01 00:00:00', MSRD_DT), avg(WT) FROM MEASURE GROUP BY 2");
    const char* readings = "SELECT (SELECT group_concat(MSRD_DT || WT) FROM MEASURE) || "
                           "(SELECT group_concat(MNTH || WT) FROM AVERAGE_MONTH)";
    const QByteArray committed = readBytes(databasePath());
    const QByteArray committedReadings = plain(databasePath(), readings);
    ASSERT_TRUE(QFile::remove(databasePath()));
    const char* save = "UPDATE MEASURE SET WT = WT + 50; UPDATE AVERAGE_MONTH SET WT = WT + 50;"
                       "INSERT INTO MEASURE(PRSN_KY, MSRD_DT, WT) VALUES(1, '2024-01-01 00:00:00', 99)";
    const auto before = crashed(scratch, committed, save, false);
    // Deleting a year of readings changes the file's structure: half of it written is damage.
    const auto inside = crashed(scratch, committed, save + QByteArray(";DELETE FROM MEASURE WHERE MSRD_DT < '2016'"), true);
    ASSERT_TRUE(QFile::remove(scratch));
    plain(scratch, "CREATE TABLE t(x); WITH RECURSIVE d(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d WHERE n < 99) "
                   "INSERT INTO t SELECT randomblob(300) FROM d");
    const QByteArray foreign = crashed(scratch, readBytes(scratch), "UPDATE t SET x = randomblob(300)", false).second;

    struct Case {
        const char* what;
        QByteArray file, journal;
        int error;                          // 0 when it is taken over
        const char* words;                  // said in the error or a message
        const char* otherProgram = nullptr; // holds this open on the file
        bool readOnly = false;
    };
    const Case cases[] = {
        {"killed before its commit", before.first, before.second, 0, ""},
        {"killed inside its commit", inside.first, inside.second, 0, ""},
        {"read-only, killed before its commit", before.first, before.second, 0, "", nullptr, true},
        {"another file's journal", committed, foreign, 0, "-journal', does not belong to it and was left"},
        {"damaged", inside.first.left(8192), inside.second, dao::errDamaged,
         "' (with its journal 'Ravelcombrick-1.mdb-journal' beside it), but it could not be taken over: it is damaged. "
         "It was left as it is, and no new database was made. Put a sound copy of it from a backup in its place"},
        {"no database", "Not a database.\n", "", dao::errUnrecognisedFormat,
         "', but it could not be taken over: it is no database of this program."},
        {"held for a write", committed, "", dao::errFileInUse,
         "', but it could not be taken over: another program is using it. It was left as it is, and no new database "
         "was made. Close that program, then start",
         "BEGIN IMMEDIATE; DELETE FROM MEASURE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeBytes(previous, c.file));
        ASSERT_TRUE(c.journal.isEmpty() || writeBytes(journal, c.journal));
        sqlite3* other = nullptr;
        if (c.otherProgram)
            plain(previous, c.otherProgram, nullptr, &other);
        const QByteArray held = readBytes(previous) + readBytes(journal);
        const QStringList files = filesOf(folder);
        for (const QString& file : {previous, journal})
            setImmutable(file, c.readOnly && QFile::setPermissions(file, QFile::ReadOwner));
        messages.entries.clear();
        QString said;
        try {
            clsCreateMDB().OpenOrCreateDatabase();
            EXPECT_EQ(plain(databasePath(), readings), committedReadings);
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.Number(), c.error);
            said = e.Description().section(QStringLiteral("earlier version are still in '") + previous, 1);
        }
        for (const auto& m : messages.entries)
            said += m.prompt;
        EXPECT_EQ(said.isEmpty(), !*c.words);
        EXPECT_TRUE(said.contains(QLatin1String(c.words))) << said.toStdString();
        closeDatabase();
        EXPECT_EQ(readBytes(previous) + readBytes(journal), held);
        EXPECT_EQ(filesOf(folder), c.error ? files : files + QStringList{QStringLiteral("Ravelcombrick-2.mdb")});

        sqlite3_close(other);
        for (const QString& file : {previous, journal, databasePath()}) {
            setImmutable(file, false);
            QFile::remove(file);
        }
    }
}

TEST_F(CreationTest, RefusesAFileThatIsNotOneOfOurDatabasesAndLeavesItAlone)
{
    QDir().mkpath(programFolder() + QStringLiteral("/database"));
    const QByteArray junk("This is no database, only a text file with the database's name.\n");
    ASSERT_TRUE(writeBytes(databasePath(), junk));
    EXPECT_EQ(errorOf([] { clsCreateMDB().OpenOrCreateDatabase(); }), dao::errUnrecognisedFormat);
    EXPECT_EQ(readBytes(databasePath()), junk);
    EXPECT_FALSE(gDB);
}

TEST_F(CreationTest, RefusesADatabaseOfAnotherProgramAndLeavesItAlone)
{
    QDir().mkpath(programFolder() + QStringLiteral("/database"));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(databasePath()).constData(), &other), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(other, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('keep me');", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(other);
    const QByteArray before = readBytes(databasePath());

    EXPECT_EQ(errorOf([] { clsCreateMDB().OpenOrCreateDatabase(); }), dao::errUnrecognisedFormat);
    EXPECT_EQ(readBytes(databasePath()), before);
}

TEST_F(CreationTest, AFolderThatCannotBeMadeReachesTheCallerAndLeavesNothing)
{
    // A plain file stands where the database folder should be.
    {
        QFile blocker(programFolder() + QStringLiteral("/database"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    EXPECT_NE(errorOf([] { clsCreateMDB().OpenOrCreateDatabase(); }), 0);
    EXPECT_FALSE(gDB);
    EXPECT_TRUE(QFileInfo(programFolder() + QStringLiteral("/database")).isFile());
    EXPECT_EQ(filesOf(programFolder()), QStringList{QStringLiteral("database")});
}

TEST_F(CreationTest, AFailedBuildLeavesNoFileAndTheNextStartBuildsAGoodOne)
{
    FailingCreateMDB failing;
    EXPECT_EQ(errorOf([&] { failing.OpenOrCreateDatabase(); }), dao::errReservedError);
    EXPECT_FALSE(gDB);
    EXPECT_FALSE(QFileInfo::exists(databasePath()));
    EXPECT_TRUE(filesOf(programFolder() + QStringLiteral("/database")).isEmpty());

    closeDatabase();
    openFirstLayer();
    EXPECT_EQ(sorted(gDB->TableDefs().names()), sorted(firstLayerTables()));
    EXPECT_EQ(count(QStringLiteral("select count(*) from MOOD")), 6);
}

TEST_F(CreationTest, LeftoversOfAnInterruptedBuildAreClearedAway)
{
    const QString db = programFolder() + QStringLiteral("/database");
    QDir().mkpath(db);
    for (const char* name : {"Ravelcombrick-2.mdb.4242.building", "Ravelcombrick-2.mdb.4242.building-journal"}) {
        QFile f(db + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    openFirstLayer();
    EXPECT_EQ(filesOf(db), QStringList{QStringLiteral("Ravelcombrick-2.mdb")});
}

TEST_F(CreationTest, CloseDatabaseLetsGoOfBothObjects)
{
    openFirstLayer();
    const dao::DatabasePtr db = gDB;
    clsCreateMDB().CloseDatabase();
    EXPECT_FALSE(gDB);
    EXPECT_FALSE(gWS);
    EXPECT_FALSE(db->isOpen());
}

TEST(EncryptTest, TheWorkspacePasswordHasFourteenCharactersAndIsStable)
{
    const QString secret = clsEncrypt().GetDatabaseSecret();
    EXPECT_EQ(secret.size(), 14);
    EXPECT_EQ(secret, clsEncrypt().GetDatabaseSecret());
    for (QChar c : secret)
        EXPECT_TRUE(c.unicode() > 32 && c.unicode() < 127);
}

// ---- field properties ----------------------------------------------------------------------

using SetFieldPropertyTest = FirstLayerFixture;

TEST_F(SetFieldPropertyTest, CreatesAMissingPropertyAndChangesAnExistingOne)
{
    dao::Field fld = gDB->TableDefs(QStringLiteral("PERSON")).Fields(QStringLiteral("HGT"));
    clsCreateMDB creator;
    creator.SetFieldProperty(fld, QStringLiteral("Format"), dao::dbText, QStringLiteral("0.00"));
    EXPECT_EQ(gDB->TableDefs(QStringLiteral("PERSON"))
                  .Fields(QStringLiteral("HGT"))
                  .Properties()(QStringLiteral("Format"))
                  .Value()
                  .toString(),
              QStringLiteral("0.00"));
    creator.SetFieldProperty(fld, QStringLiteral("Format"), dao::dbText, QStringLiteral("0.0"));
    EXPECT_EQ(gDB->TableDefs(QStringLiteral("PERSON"))
                  .Fields(QStringLiteral("HGT"))
                  .Properties()(QStringLiteral("Format"))
                  .Value()
                  .toString(),
              QStringLiteral("0.0"));
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(SetFieldPropertyTest, AnotherFailureIsShownAndTheBuildGoesOn)
{
    dao::Field fld = gDB->TableDefs(QStringLiteral("MEASURE")).Fields(QStringLiteral("WT"));
    closeDatabase(); // the property exists, but can no longer be written
    clsCreateMDB().SetFieldProperty(fld, QStringLiteral("Format"), dao::dbText, QStringLiteral("0.00"));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].prompt, QStringLiteral("Couldn't set property 'Format' on field 'WT'"));
    EXPECT_EQ(messages.entries[0].title, QStringLiteral("SetFieldProperty"));
    EXPECT_EQ(messages.entries[0].buttons, dataMessage::vbExclamation);
}

// ---- the final layout of a new file --------------------------------------------------------

namespace {

QString formatOf(const QString& table, const QString& field)
{
    try {
        return gDB->TableDefs(table).Fields(field).Properties()(QStringLiteral("Format")).Value().toString();
    } catch (const dao::Error&) {
        return QStringLiteral("(none)");
    }
}

QStringList averageColumns(const char* period)
{
    return {QStringLiteral("PRSN_KY int32 req"), QLatin1String(period) + QStringLiteral(" date req"),
            QStringLiteral("LBP int16"),         QStringLiteral("HBP int16"),
            QStringLiteral("PLSE int16"),        QStringLiteral("WT single"),
            QStringLiteral("TEMP single"),       QStringLiteral("TEMP1 single"),
            QStringLiteral("TEMP2 single")};
}

QStringList rowTexts(const QString& sql)
{
    QStringList out;
    auto rs = gDB->OpenRecordset(sql, dao::dbOpenSnapshot);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList values;
        for (int i = 0; i < rs->columnCount(); ++i)
            values << (rs->Fields(i).Value().isNull() ? QStringLiteral("Null") : vb::CStr(rs->Fields(i).Value()));
        out << values.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace

using NewFileTest = DataFixture;

TEST_F(NewFileTest, HoldsTheFifteenTablesWithTheirColumnsInOrder)
{
    QStringList all = firstLayerTables();
    all << QStringLiteral("AVERAGE_DAY") << QStringLiteral("DBTS_GOAL") << QStringLiteral("GridColumnPersistance");
    EXPECT_EQ(sorted(gDB->TableDefs().names()), sorted(all));

    EXPECT_EQ(columnsOf(QStringLiteral("REGIMEN")),
              (QStringList{"RGMN_KY counter", "RGMN_NM text(10) req", "RGMN_DTL text(200) zl"}));
    EXPECT_EQ(columnsOf(QStringLiteral("PERSON")),
              (QStringList{"PRSN_KY counter", "PRSN_NM text(30) req", "AGE int16", "HGT single", "SEX text(1) zl",
                           "COMMENT text(100) zl", "PLT_PNL_CL int32 =-2147483633", "PLT_BCK_CL int32 =16777215",
                           "PLT_3D_PRCNT int16 =9"}));
    EXPECT_EQ(columnsOf(QStringLiteral("MOOD")), (QStringList{"MD_KY int16 req", "MD_NM text(10) req"}));
    EXPECT_EQ(columnsOf(QStringLiteral("MEASURE")),
              (QStringList{"PRSN_KY int32 req", "MSRD_DT date req", "MD_KY int16", "RGMN_KY int32", "LBP int16", "HBP int16",
                           "PLSE int16", "WT single", "TEMP single", "TEMP1 single", "TEMP2 single", "CMMNT text(100) zl",
                           "GL_KY int32"}));
    EXPECT_EQ(columnsOf(QStringLiteral("PERSON_PLOT")),
              (QStringList{"PRSN_KY int32 req", "PLT_KY int16 req", "PLT_ACT yesno", "LGND text(20)"}));
    EXPECT_EQ(columnsOf(QStringLiteral("CHART")), (QStringList{"CHRT_ID int16 req", "CHRT_NM text(20) req"}));
    EXPECT_EQ(columnsOf(QStringLiteral("SINGLE_PERSON_PLOT")),
              (QStringList{"PRSN_KY int32 req", "PLT_KY int16 req", "CHRT_ID int16 req", "CHRT_TP int16", "CHRT_CL int32",
                           "CHRT_THK int16", "Y_MIN int16", "Y_MAX int16"}));
    EXPECT_EQ(columnsOf(QStringLiteral("MULTIPLE_PERSON_PLOT")), (QStringList{"PRSN_KY int32 req", "PLT_KY int16 req"}));
    EXPECT_EQ(columnsOf(QStringLiteral("CHART_MULTIPLE_PERSON_PLOT")),
              (QStringList{"PRSN_KY int32 req", "PLT_KY int16 req", "CHRT_ID int16 req", "CHRT_TP int16", "CHRT_ACT yesno",
                           "LBL_POS int16"}));
    EXPECT_EQ(columnsOf(QStringLiteral("AVERAGE_WEEK")), averageColumns("WEEK"));
    EXPECT_EQ(columnsOf(QStringLiteral("AVERAGE_MONTH")), averageColumns("MNTH"));
    EXPECT_EQ(columnsOf(QStringLiteral("AVERAGE_DAY")), averageColumns("DT"));
    EXPECT_EQ(columnsOf(QStringLiteral("APPLICATION")),
              (QStringList{"ShowAtStartup yesno", "WtUnit text(2)", "HtUnit text(2)", "DtFormat text(8)", "gblPrsnKy int32 =-1",
                           "TempUnit text(12)", "Temp1Unit text(12)", "TempLBL text(12)", "Temp1LBL text(12)", "OptnTime int16",
                           "Temp2Unit text(10)", "ImportFileName text(30)", "PICTURE text(30)"}));
    EXPECT_EQ(columnsOf(QStringLiteral("DBTS_GOAL")),
              (QStringList{"GL_KY counter", "GL_NM text(25)", "GL_DTL text(200)", "GL_NL text(20)", "GL_NH text(20)",
                           "GL_DL text(20)", "GL_DH text(20) zl"}));
    QStringList grid{QStringLiteral("GRID_NM text(20) req")};
    for (int n = 1; n <= 30; ++n)
        grid << QStringLiteral("COL%1 int16").arg(n);
    EXPECT_EQ(columnsOf(QStringLiteral("GridColumnPersistance")), grid);
}

TEST_F(NewFileTest, KeysIndexesAndDisplayFormats)
{
    EXPECT_EQ(indexesOf(QStringLiteral("REGIMEN")),
              (QStringList{"PrimaryKey(RGMN_KY) primary clustered", "RGMN_NM(RGMN_NM) unique"}));
    EXPECT_EQ(indexesOf(QStringLiteral("PERSON")),
              (QStringList{"PrimaryKey(PRSN_KY) primary clustered", "PRSN_NM(PRSN_NM) unique"}));
    EXPECT_EQ(indexesOf(QStringLiteral("MOOD")), (QStringList{"PrimaryKey(MD_KY) primary clustered", "MD_NM(MD_NM) unique"}));
    EXPECT_EQ(indexesOf(QStringLiteral("MEASURE")),
              (QStringList{"PrimaryKey(PRSN_KY,MSRD_DT) primary clustered", "MSRD_DT(MSRD_DT)", "PERSON_KY(PRSN_KY)"}));
    EXPECT_EQ(indexesOf(QStringLiteral("PERSON_PLOT")), (QStringList{"PrimaryKey(PRSN_KY,PLT_KY) primary clustered"}));
    EXPECT_EQ(indexesOf(QStringLiteral("CHART")), (QStringList{"PrimaryKey(CHRT_ID) primary clustered"}));
    EXPECT_EQ(indexesOf(QStringLiteral("SINGLE_PERSON_PLOT")), (QStringList{"PrimaryKey(PRSN_KY,PLT_KY) primary clustered"}));
    EXPECT_EQ(indexesOf(QStringLiteral("MULTIPLE_PERSON_PLOT")), (QStringList{"PrimaryKey(PRSN_KY,PLT_KY) primary clustered"}));
    EXPECT_EQ(indexesOf(QStringLiteral("CHART_MULTIPLE_PERSON_PLOT")),
              (QStringList{"PrimaryKey(PLT_KY,PRSN_KY,CHRT_ID) primary clustered"}));
    EXPECT_EQ(indexesOf(QStringLiteral("AVERAGE_WEEK")),
              (QStringList{"PrimaryKey(PRSN_KY,WEEK) primary clustered", "PRSN_KY(PRSN_KY)", "WEEK(WEEK)"}));
    EXPECT_EQ(indexesOf(QStringLiteral("AVERAGE_MONTH")),
              (QStringList{"PrimaryKey(PRSN_KY,MNTH) primary clustered", "MON(MNTH)", "PRSN_KY(PRSN_KY)"}));
    EXPECT_EQ(indexesOf(QStringLiteral("AVERAGE_DAY")), (QStringList{"PrimaryKey(PRSN_KY,DT) primary clustered"}));
    EXPECT_EQ(indexesOf(QStringLiteral("APPLICATION")), QStringList());
    EXPECT_EQ(indexesOf(QStringLiteral("DBTS_GOAL")), (QStringList{"PrimaryKey(GL_KY) primary clustered"}));
    EXPECT_EQ(indexesOf(QStringLiteral("GridColumnPersistance")), (QStringList{"PrimaryKey(GRID_NM) primary clustered"}));

    EXPECT_EQ(formatOf(QStringLiteral("MEASURE"), QStringLiteral("MSRD_DT")), QStringLiteral("Short Date"));
    EXPECT_EQ(formatOf(QStringLiteral("MEASURE"), QStringLiteral("WT")), QStringLiteral("0.0"));
    EXPECT_EQ(formatOf(QStringLiteral("MEASURE"), QStringLiteral("TEMP")), QStringLiteral("0.0"));
    EXPECT_EQ(formatOf(QStringLiteral("MEASURE"), QStringLiteral("TEMP1")), QStringLiteral("(none)"));
    EXPECT_EQ(formatOf(QStringLiteral("AVERAGE_WEEK"), QStringLiteral("WEEK")), QStringLiteral("Short Date"));
    EXPECT_EQ(formatOf(QStringLiteral("AVERAGE_MONTH"), QStringLiteral("MNTH")), QStringLiteral("Short Date"));
    EXPECT_EQ(formatOf(QStringLiteral("AVERAGE_MONTH"), QStringLiteral("WT")), QStringLiteral("0.0"));
    EXPECT_EQ(formatOf(QStringLiteral("AVERAGE_DAY"), QStringLiteral("DT")), QStringLiteral("(none)"));
    EXPECT_EQ(formatOf(QStringLiteral("APPLICATION"), QStringLiteral("ShowAtStartup")), QStringLiteral("Yes/No"));
}

TEST_F(NewFileTest, TheElevenRelationsWithTheirColumnsAndCascades)
{
    QStringList described;
    for (const QString& name : gDB->Relations().names()) {
        const dao::Relation r = gDB->Relations()(name);
        QStringList cols;
        for (const dao::Field& f : r.Fields())
            cols << f.Name() + QLatin1Char('=') + f.ForeignName();
        described << QStringLiteral("%1 %2>%3 %4 %5")
                         .arg(r.Name(), r.Table(), r.ForeignTable(), cols.join(QLatin1Char(',')))
                         .arg(r.Attributes());
    }
    EXPECT_EQ(described,
              (QStringList{"R/7 PERSON>PERSON_PLOT PRSN_KY=PRSN_KY 0",
                           "Reference_45 PERSON_PLOT>SINGLE_PERSON_PLOT PRSN_KY=PRSN_KY,PLT_KY=PLT_KY 4352",
                           "R/12 CHART>SINGLE_PERSON_PLOT CHRT_ID=CHRT_ID 0",
                           "Reference_29 PERSON_PLOT>MULTIPLE_PERSON_PLOT PRSN_KY=PRSN_KY,PLT_KY=PLT_KY 4352",
                           "R/30 MULTIPLE_PERSON_PLOT>CHART_MULTIPLE_PERSON_PLOT PRSN_KY=PRSN_KY,PLT_KY=PLT_KY 0",
                           "R/14 CHART>CHART_MULTIPLE_PERSON_PLOT CHRT_ID=CHRT_ID 0", "MOODMEASURE MOOD>MEASURE MD_KY=MD_KY 0",
                           "PERSONMEASURE PERSON>MEASURE PRSN_KY=PRSN_KY 0", "REGIMENMEASURE REGIMEN>MEASURE RGMN_KY=RGMN_KY 0",
                           "PERSONAVERAGE_MONTH PERSON>AVERAGE_MONTH PRSN_KY=PRSN_KY 0",
                           "PERSONAVERAGE_WEEK PERSON>AVERAGE_WEEK PRSN_KY=PRSN_KY 0"}));
}

TEST_F(NewFileTest, RelationsRefuseOrphansCascadeAndRestrict)
{
    const int sample = count(QStringLiteral("select min(PRSN_KY) from PERSON"));
    ASSERT_GT(sample, 0);

    // Orphans are refused: with the option as an error, without it silently.
    for (const char* orphan : {"insert into MEASURE (PRSN_KY, MSRD_DT) values (999, #1/2/2007#)",
                               "insert into MEASURE (PRSN_KY, MSRD_DT, MD_KY) values (%1, #1/2/2007#, 7)",
                               "insert into MEASURE (PRSN_KY, MSRD_DT, RGMN_KY) values (%1, #1/2/2007#, 9999)"}) {
        SCOPED_TRACE(orphan);
        const QString sql = QString::fromUtf8(orphan).replace(QLatin1String("%1"), QString::number(sample));
        EXPECT_EQ(errorOf([&] { gDB->Execute(sql, dao::dbFailOnError); }), dao::errRelatedRecordRequired);
    }
    EXPECT_EQ(gDB->Execute(QStringLiteral("insert into AVERAGE_WEEK (PRSN_KY, WEEK) values (999, #1/7/2007#)")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_WEEK where PRSN_KY = 999")), 0);
    // The goal key is bound by no relation.
    EXPECT_EQ(
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, GL_KY) values (%1, #1/2/2007#, 12345)").arg(sample),
                     dao::dbFailOnError),
        1);

    // The multiple plot still has its series: deleting its plot row is refused as a whole.
    EXPECT_EQ(errorOf([&] {
                  gDB->Execute(QStringLiteral("delete from PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 6").arg(sample),
                               dao::dbFailOnError);
              }),
              dao::errRelatedRecordsExist);
    EXPECT_EQ(count(QStringLiteral("select count(*) from MULTIPLE_PERSON_PLOT where PRSN_KY = %1").arg(sample)), 1);
    // A single plot row goes with its plot row.
    ASSERT_EQ(count(QStringLiteral("select count(*) from SINGLE_PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 0").arg(sample)), 1);
    gDB->Execute(QStringLiteral("delete from PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 0").arg(sample), dao::dbFailOnError);
    EXPECT_EQ(count(QStringLiteral("select count(*) from SINGLE_PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 0").arg(sample)), 0);

    // A person with measurements can't go; once the related rows are gone it can, and its
    // day averages, bound by nothing, stay.
    EXPECT_EQ(
        errorOf([&] { gDB->Execute(QStringLiteral("delete from PERSON where PRSN_KY = %1").arg(sample), dao::dbFailOnError); }),
        dao::errRelatedRecordsExist);
    const int days = count(QStringLiteral("select count(*) from AVERAGE_DAY where PRSN_KY = %1").arg(sample));
    ASSERT_GT(days, 0);
    for (const char* table : {"MEASURE", "AVERAGE_WEEK", "AVERAGE_MONTH", "CHART_MULTIPLE_PERSON_PLOT", "MULTIPLE_PERSON_PLOT",
                              "SINGLE_PERSON_PLOT", "PERSON_PLOT", "PERSON"})
        gDB->Execute(QStringLiteral("delete from %1 where PRSN_KY = %2").arg(QLatin1String(table)).arg(sample),
                     dao::dbFailOnError);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PERSON")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_DAY where PRSN_KY = %1").arg(sample)), days);
}

TEST_F(NewFileTest, NamesAreUniqueWhateverTheCaseAndEmptyTextOnlyWhereAllowed)
{
    // In order: a statement and the error it raises, 0 where it writes its one row.
    const struct {
        const char* sql;
        int error;
    } cases[] = {
        {"insert into PERSON (PRSN_NM) values ('pellam OSTRY')", dao::errDuplicateKey},
        {"insert into MOOD (MD_KY, MD_NM) values (7, 'HAPPY')", dao::errDuplicateKey},
        {"insert into REGIMEN (RGMN_NM, RGMN_DTL) values ('Qigong', '')", 0},
        {"insert into REGIMEN (RGMN_NM) values ('QIGONG')", dao::errDuplicateKey},
        {"insert into REGIMEN (RGMN_NM) values ('Étude')", 0},
        {"insert into REGIMEN (RGMN_NM) values ('éTUDE')", dao::errDuplicateKey},
        {"insert into PERSON (PRSN_NM) values ('Zoë Brontë-øster')", 0},
        {"insert into PERSON (PRSN_NM) values ('ZOË BRONTË-ØSTER')", dao::errDuplicateKey},
        {"update PERSON set PRSN_NM = 'zoë brontë-Øster' where PRSN_NM = 'pellam ostry'", dao::errDuplicateKey},
        {"insert into MOOD (MD_KY, MD_NM) values (8, 'Ängstlich')", 0},
        {"insert into MOOD (MD_KY, MD_NM) values (9, 'äNGSTLICH')", dao::errDuplicateKey},
        {"insert into REGIMEN (RGMN_NM) values ('')", dao::errZeroLength},
        {"update Application set WtUnit = ''", dao::errZeroLength},
        {"update DBTS_GOAL set GL_NL = '' where GL_KY = 1", dao::errZeroLength},
        {"update DBTS_GOAL set GL_DH = '' where GL_KY = 1", 0},
        {"insert into PERSON (PRSN_NM, SEX, COMMENT) values ('Ann', '', '')", 0},
        {"insert into PERSON (AGE) values (3)", dao::errRequired},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        const QString sql = QString::fromUtf8(c.sql);
        if (c.error) {
            EXPECT_EQ(errorOf([&] { gDB->Execute(sql, dao::dbFailOnError); }), c.error);
        } else {
            EXPECT_EQ(gDB->Execute(sql, dao::dbFailOnError), 1);
        }
    }
}

TEST_F(NewFileTest, WholeNumberColumnsHoldWholeNumbersAndYesNoColumnsOnlyMinusOneOrZero)
{
    const int sample = count(QStringLiteral("select PRSN_KY from PERSON"));
    gDB->Execute(QStringLiteral("delete from MEASURE"), dao::dbFailOnError);
    // Written by SQL as reals; stored rounded half to even, so aggregates see what is stored.
    struct Case {
        const char* day;
        const char* hbp;
        const char* plse;
        int storedHbp;
        int storedPlse;
    };
    const Case cases[] = {
        {"1/1/2024", "120.5", "-0.5", 120, 0},
        {"1/2/2024", "122.5", "72.4999", 122, 72},
        {"1/3/2024", "121.5", "80.6", 122, 81},
        {"1/4/2024", "-3.5", "'64.5'", -4, 64},
    };
    for (const Case& c : cases)
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, PLSE) values (%1, #%2#, %3, %4)")
                         .arg(sample)
                         .arg(QLatin1String(c.day), QLatin1String(c.hbp), QLatin1String(c.plse)),
                     dao::dbFailOnError);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.day);
        EXPECT_EQ(rowTexts(QStringLiteral("select typeof(HBP), HBP, typeof(PLSE), PLSE from MEASURE where MSRD_DT = #%1#")
                               .arg(QLatin1String(c.day))),
                  QStringList{QStringLiteral("integer|%1|integer|%2").arg(c.storedHbp).arg(c.storedPlse)});
    }
    EXPECT_EQ(rowTexts(QStringLiteral("select max(HBP), avg(HBP), sum(PLSE) from MEASURE")), QStringList{"122|90|217"});
    EXPECT_EQ(count(QStringLiteral("select count(*) from MEASURE where HBP = (select max(HBP) from MEASURE)")), 2);
    // Changes are stored the same way; the day averages are whole numbers too.
    gDB->Execute(QStringLiteral("update MEASURE set LBP = 80.5, GL_KY = 3.5 where MSRD_DT = #1/1/2024#"), dao::dbFailOnError);
    EXPECT_EQ(rowTexts(QStringLiteral("select LBP, GL_KY from MEASURE where MSRD_DT = #1/1/2024#")), QStringList{"80|4"});
    gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, PLSE) values (%1, #1/2/2024 6:00 PM#, 75)").arg(sample),
                 dao::dbFailOnError);
    clsModifyMDB().FillAverageDay();
    EXPECT_EQ(rowTexts(QStringLiteral("select typeof(PLSE), PLSE from AVERAGE_DAY where DT = #1/2/2024#")),
              QStringList{"integer|74"});

    // Yes/No: any number but 0 is True, stored as -1.
    gDB->Execute(QStringLiteral("delete from PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 0").arg(sample));
    gDB->Execute(QStringLiteral("insert into PERSON_PLOT (PRSN_KY, PLT_KY, PLT_ACT) values (%1, 0, 1)").arg(sample),
                 dao::dbFailOnError);
    gDB->Execute(QStringLiteral("update PERSON_PLOT set PLT_ACT = 0.25 where PRSN_KY = %1 and PLT_KY = 1").arg(sample),
                 dao::dbFailOnError);
    gDB->Execute(QStringLiteral("update PERSON_PLOT set PLT_ACT = 0 where PRSN_KY = %1 and PLT_KY = 2").arg(sample),
                 dao::dbFailOnError);
    EXPECT_EQ(rowTexts(QStringLiteral("select PLT_KY from PERSON_PLOT where PRSN_KY = %1 and PLT_ACT = True and PLT_ACT = -1 "
                                      "and PLT_KY < 3 order by PLT_KY")
                           .arg(sample)),
              (QStringList{"0", "1"}));
    EXPECT_EQ(count(QStringLiteral("select count(*) from PERSON_PLOT where PLT_ACT not in (0, -1)")), 0);
}

TEST_F(NewFileTest, SeedRowsSettingsGoalsAndGridRows)
{
    EXPECT_EQ(rowTexts(QStringLiteral("select MD_KY, MD_NM from MOOD order by MD_KY")),
              (QStringList{"1|Normal", "2|Excited", "3|Happy", "4|Melancholy", "5|Depressed", "6|Anxious"}));
    // Rows 4 and 5 keep the names the creation gave them.
    EXPECT_EQ(rowTexts(QStringLiteral("select CHRT_ID, CHRT_NM from CHART order by CHRT_ID")),
              (QStringList{"0|BP", "1|PLSE", "2|WT", "3|TEMP", "4|TEMP1", "5|SUGAR"}));
    EXPECT_EQ(rowTexts(QStringLiteral("select WtUnit, HtUnit, DtFormat, gblPrsnKy, TempUnit, Temp1Unit, TempLBL, Temp1LBL, "
                                      "OptnTime, Temp2Unit, ImportFileName, PICTURE from Application")),
              (QStringList{"lb|ft|mm/dd/yy|-1|Unit1|Unit2|Custom1|Custom2|Null|mg/dl|Null|Null"}));
    EXPECT_EQ(value(QStringLiteral("select ShowAtStartup from Application")), QVariant(false));

    EXPECT_EQ(rowTexts(QStringLiteral("select GL_KY, GL_NM, GL_DTL, GL_NL, GL_NH, GL_DL, GL_DH from DBTS_GOAL order by GL_KY")),
              (QStringList{"1|1.Very Early Morning|Early morning around 3:00 AM|80|180|60|240",
                           "2|2.Before Breakfast|Fasting - Before Break Fast|80|120|60|240",
                           "3|3.1-2 Hrs after Breakfast|1-2 Hours after Breakfast|80|180|60|240",
                           "4|4.Before Lunch|Fasting - Before Lunch|80|120|60|240",
                           "5|5.1-2 Hrs after Lunch|1-2 Hours after Lunch|80|180|60|240",
                           "6|6.Before Dinner|Fasting - Before Dinner|80|120|60|240",
                           "7|7.1-2 Hrs after Diner|1-2 Hours after Dinner|80|180|60|240",
                           "8|8.Bed time|During the day and before bed|100|140|60|240"}));
    // Stored as texts: compared as text, "80" is what was written.
    EXPECT_EQ(value(QStringLiteral("select GL_NL from DBTS_GOAL where GL_KY = 1")), QVariant(QStringLiteral("80")));

    EXPECT_EQ(sorted(rowTexts(QStringLiteral("select GRID_NM from GridColumnPersistance"))),
              sorted({"vsFGInfo", "vsFGDSetGoal", "vsFGShow", "vsFGPerson", "vsFGRegimen"}));
    QStringList widths;
    for (int n = 1; n <= 30; ++n)
        widths << QStringLiteral("COL%1").arg(n);
    EXPECT_EQ(count(QStringLiteral("select count(*) from GridColumnPersistance where ") +
                    widths.join(QStringLiteral(" is null and ")) + QStringLiteral(" is null")),
              5);
}

TEST_F(NewFileTest, HoldsTheSamplePersonWithItsData)
{
    EXPECT_EQ(rowTexts(QStringLiteral("select PRSN_NM, AGE, SEX from PERSON")), QStringList{QStringLiteral("Pellam Ostry|35|M")});
    const int sample = count(QStringLiteral("select PRSN_KY from PERSON"));
    const int measures = count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(sample));
    EXPECT_GE(measures, 300); // a year of daily readings
    EXPECT_GT(count(QStringLiteral("select count(*) from REGIMEN")), 0);
    EXPECT_GT(count(QStringLiteral("select count(*) from MEASURE where RGMN_KY is not null")), 0);
    EXPECT_GT(count(QStringLiteral("select count(*) from MEASURE where MD_KY is not null")), 0);

    EXPECT_EQ(count(QStringLiteral("select count(*) from PERSON_PLOT where PRSN_KY = %1").arg(sample)), 7);
    EXPECT_EQ(count(QStringLiteral("select count(*) from SINGLE_PERSON_PLOT where PRSN_KY = %1").arg(sample)), 6);
    EXPECT_EQ(count(QStringLiteral("select count(*) from MULTIPLE_PERSON_PLOT where PRSN_KY = %1").arg(sample)), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from CHART_MULTIPLE_PERSON_PLOT where PRSN_KY = %1").arg(sample)), 6);

    // Averages: a month row for each month, a week row for each week, a day row for each day
    // with readings.
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_MONTH")),
              count(QStringLiteral("select count(*) from (select distinct year(MSRD_DT), month(MSRD_DT) from MEASURE)")));
    EXPECT_GE(count(QStringLiteral("select count(*) from AVERAGE_WEEK")), 52);
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_DAY")),
              count(QStringLiteral("select count(*) from (select distinct datevalue(MSRD_DT) from MEASURE)")));
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_DAY a where a.HBP is not null and a.HBP = "
                                   "(select m.HBP from MEASURE m where m.PRSN_KY = a.PRSN_KY and m.MSRD_DT = a.DT)")),
              count(QStringLiteral("select count(*) from MEASURE where HBP is not null")));
}
