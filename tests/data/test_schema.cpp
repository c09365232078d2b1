// The database file as the program creates it: files, tables, keys, relations and seed rows.
#include "DataFixture.h"

#include "data/clsEncrypt.h"

#include <QSet>

using namespace testing_data;

namespace {

QStringList sorted(QStringList list)
{
    list.sort(Qt::CaseInsensitive);
    return list;
}

QStringList firstLayerTables()
{
    return {QStringLiteral("REGIMEN"), QStringLiteral("PERSON"), QStringLiteral("MOOD"), QStringLiteral("MEASURE"),
            QStringLiteral("PERSON_PLOT"), QStringLiteral("CHART"), QStringLiteral("SINGLE_PERSON_PLOT"),
            QStringLiteral("MULTIPLE_PERSON_PLOT"), QStringLiteral("CHART_MULTIPLE_PERSON_PLOT"),
            QStringLiteral("AVERAGE_WEEK"), QStringLiteral("AVERAGE_MONTH"), QStringLiteral("APPLICATION")};
}

QStringList relationNames()
{
    return {QStringLiteral("R/7"), QStringLiteral("Reference_45"), QStringLiteral("R/12"), QStringLiteral("Reference_29"),
            QStringLiteral("R/30"), QStringLiteral("R/14"), QStringLiteral("MOODMEASURE"), QStringLiteral("PERSONMEASURE"),
            QStringLiteral("REGIMENMEASURE"), QStringLiteral("PERSONAVERAGE_MONTH"), QStringLiteral("PERSONAVERAGE_WEEK")};
}

QStringList filesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

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

TEST_F(CreationTest, RefusesAFileThatIsNotOneOfOurDatabasesAndLeavesItAlone)
{
    QDir().mkpath(programFolder() + QStringLiteral("/database"));
    const QByteArray junk("This is no database, only a text file with the database's name.\n");
    {
        QFile f(databasePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    EXPECT_EQ(errorOf([] { clsCreateMDB().OpenOrCreateDatabase(); }), dao::errUnrecognisedFormat);
    QFile f(databasePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), junk);
    EXPECT_FALSE(gDB);
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
    EXPECT_EQ(gDB->TableDefs(QStringLiteral("PERSON")).Fields(QStringLiteral("HGT")).Properties()(QStringLiteral("Format")).Value().toString(),
              QStringLiteral("0.00"));
    creator.SetFieldProperty(fld, QStringLiteral("Format"), dao::dbText, QStringLiteral("0.0"));
    EXPECT_EQ(gDB->TableDefs(QStringLiteral("PERSON")).Fields(QStringLiteral("HGT")).Properties()(QStringLiteral("Format")).Value().toString(),
              QStringLiteral("0.0"));
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(SetFieldPropertyTest, AnotherFailureIsShownAndTheBuildGoesOn)
{
    dao::Field fld = gDB->TableDefs(QStringLiteral("MEASURE")).Fields(QStringLiteral("WT"));
    closeDatabase();   // the property exists, but can no longer be written
    clsCreateMDB().SetFieldProperty(fld, QStringLiteral("Format"), dao::dbText, QStringLiteral("0.00"));
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].prompt, QStringLiteral("Couldn't set property 'Format' on field 'WT'"));
    EXPECT_EQ(messages.entries[0].title, QStringLiteral("SetFieldProperty"));
    EXPECT_EQ(messages.entries[0].buttons, dataMessage::vbExclamation);
}
