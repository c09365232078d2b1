// The two upgrade layers, their markers and failures, the sample-data load, the day averages
// and the conversion of the default goal limits between the sugar units.
#include "DataFixture.h"
#include "support/FileBytes.h"

#include "data/clsAverage.h"
#include "data/modFunctions.h"
#include "platform/runtime/Conversions.h"

#include <sqlite3.h>

using namespace testing_data;

namespace {

QStringList rows(const QString& sql)
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

QStringList goals() { return rows(QStringLiteral("select GL_KY, GL_NL, GL_NH, GL_DL, GL_DH from DBTS_GOAL order by GL_KY")); }

class FailingLayer2 : public clsModifyMDB {
public:
    void FillAverageDay() override
    {
        clsModifyMDB::FillAverageDay();
        throw dao::Error(dao::errReservedError, QStringLiteral("Trouble at the last step."));
    }
};

class FailingStep1 : public clsModifyMDB {
protected:
    void updateFields() override
    {
        clsModifyMDB::updateFields();
        throw dao::Error(3051, QStringLiteral("The file is locked."));
    }
};

// Layer 2 with trouble while the sample data loads: a disk that fills up after a few more
// pages, or an interruption, after which SQLite rolls the whole transaction back by itself.
class TroubledLayer2 : public clsModifyMDB {
public:
    explicit TroubledLayer2(bool interrupt) : interrupt_(interrupt) {}
    TroubledLayer2(const TroubledLayer2&) = delete;
    TroubledLayer2& operator=(const TroubledLayer2&) = delete;
    // The handler counts in this object: it must not outlive it.
    ~TroubledLayer2() override
    {
        if (gDB)
            sqlite3_progress_handler(gDB->handle(), 0, nullptr, nullptr);
    }
    void LoadSampleData() override
    {
        sqlite3* db = gDB->handle();
        if (interrupt_) {
            // Interrupted until a write is, which costs the transaction; once only.
            sqlite3_progress_handler(
                db, 1,
                [](void* p) {
                    int& calls = *static_cast<int*>(p);
                    if (calls < 0 || sqlite3_get_autocommit(gDB->handle())) {
                        calls = calls > 50 ? -1 : calls;
                        return 0;
                    }
                    return ++calls > 50 ? 1 : 0;
                },
                &calls_);
        } else {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, "PRAGMA page_count", -1, &st, nullptr);
            sqlite3_step(st);
            const QByteArray limit = "PRAGMA max_page_count = " + QByteArray::number(sqlite3_column_int(st, 0) + 2);
            sqlite3_finalize(st);
            sqlite3_exec(db, limit.constData(), nullptr, nullptr, nullptr);
        }
        clsModifyMDB::LoadSampleData();
    }

private:
    bool interrupt_;
    int calls_ = 0;
};

class FailingLayer3 : public clsModifyMDB1 {
public:
    void SetDefaultSugarUnit() override { throw dao::Error(dao::errReservedError, QStringLiteral("Trouble.")); }
};

class UpgradeTest : public ProgramFolderTest {
protected:
    // Splash texts written while the database is built.
    std::vector<QString> splash;
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        modFunctions::setSplashStatusHook([this](const QString& text) { splash.push_back(text); });
    }
    void TearDown() override
    {
        modFunctions::setSplashStatusHook({});
        ProgramFolderTest::TearDown();
    }
    static bool hasColumn(const QString& table, const QString& column) { return gDB->fieldNames(table).contains(column); }
};

} // namespace

// ---- layers and markers --------------------------------------------------------------------

TEST_F(UpgradeTest, AFirstLayerFileIsUpgradedAtTheNextStartToTheLayoutOfANewFile)
{
    openUpgraded();
    const QStringList fresh = layoutOf();
    EXPECT_EQ(splash, (std::vector<QString>{QStringLiteral("Building Database ..."), QStringLiteral("Loading Sample data ...")}));
    closeDatabase();
    ASSERT_TRUE(QFile::remove(databasePath()));

    // A file of the first layout with a person of its own, chart settings of her own and no
    // CHART rows 4 and 5.
    openFirstLayer();
    EXPECT_FALSE(clsModifyMDB().IsVersion20());
    EXPECT_FALSE(clsModifyMDB1().IsUpdated());
    gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('Ann')"), dao::dbFailOnError);
    gDB->Execute(
        QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP, WT) values (1, #3/14/2007 8:30 AM#, 120, 80, 150.5)"),
        dao::dbFailOnError);
    gDB->Execute(QStringLiteral("insert into PERSON_PLOT (PRSN_KY, PLT_KY) values (1, 0)"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("insert into SINGLE_PERSON_PLOT values (1, 0, 0, 1, 255, 1, 10, 20)"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from CHART where CHRT_ID >= 4"), dao::dbFailOnError);
    closeDatabase();

    splash.clear();
    openUpgraded();
    EXPECT_TRUE(splash == std::vector<QString>{QStringLiteral("Loading Sample data ...")});
    EXPECT_EQ(layoutOf(), fresh);
    EXPECT_TRUE(clsModifyMDB().IsVersion20());
    EXPECT_TRUE(clsModifyMDB1().IsUpdated());

    EXPECT_EQ(rows(QStringLiteral("select CHRT_ID, CHRT_NM from CHART where CHRT_ID >= 4 order by CHRT_ID")),
              (QStringList{"4|Temp1", "5|Sugar"}));
    EXPECT_EQ(rows(QStringLiteral("select TempUnit, TempLBL, Temp2Unit from Application")), QStringList{"Unit1|Custom1|mg/dl"});
    // Her reading is kept, with the new columns empty, and averaged like the sample's.
    EXPECT_EQ(rows(QStringLiteral("select HBP, LBP, WT, TEMP1, TEMP2, CMMNT, GL_KY from MEASURE where PRSN_KY = 1")),
              QStringList{"120|80|150.5|Null|Null|Null|Null"});
    EXPECT_EQ(rows(QStringLiteral("select DT, HBP, WT from AVERAGE_DAY where PRSN_KY = 1")),
              QStringList{vb::CStr(QDateTime(QDate(2007, 3, 14), QTime(0, 0), Qt::UTC)) + QStringLiteral("|120|150.5")});
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_MONTH where PRSN_KY = 1")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_WEEK where PRSN_KY = 1")), 1);
    // Her chart settings are the defaults now, all twenty rows of them.
    EXPECT_EQ(rows(QStringLiteral("select CHRT_TP, CHRT_CL, CHRT_THK, Y_MIN, Y_MAX from SINGLE_PERSON_PLOT "
                                  "where PRSN_KY = 1 and PLT_KY = 0")),
              QStringList{"11|16744576|5|60|200"});
    int chartRows = 0;
    for (const char* t : {"PERSON_PLOT", "SINGLE_PERSON_PLOT", "MULTIPLE_PERSON_PLOT", "CHART_MULTIPLE_PERSON_PLOT"})
        chartRows += count(QStringLiteral("select count(*) from %1 where PRSN_KY = 1").arg(QLatin1String(t)));
    EXPECT_EQ(chartRows, 20);
    // And the sample person joined her.
    EXPECT_EQ(count(QStringLiteral("select count(*) from PERSON")), 2);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(UpgradeTest, AnUpgradedFileRunsNoLayerAgain)
{
    openUpgraded();
    gDB->Execute(QStringLiteral("delete from DBTS_GOAL where GL_KY = 8"));
    gDB->Execute(QStringLiteral("update Application set Temp2Unit = 'mmol/l', TempLBL = 'Mine'"));
    closeDatabase();

    splash.clear();
    clsCreateMDB().OpenOrCreateDatabase();
    EXPECT_FALSE(clsModifyMDB().runUpgrade());
    EXPECT_FALSE(clsModifyMDB1().runUpgrade());
    EXPECT_TRUE(splash.empty());
    EXPECT_EQ(count(QStringLiteral("select count(*) from DBTS_GOAL")), 7);
    EXPECT_EQ(rows(QStringLiteral("select TempLBL, Temp2Unit from Application")), QStringList{"Mine|mmol/l"});
}

TEST_F(UpgradeTest, AFileWithTheSecondMarkerOnlyGetsTheThirdLayer)
{
    openUpgraded();
    const QStringList fresh = layoutOf();
    gDB->TableDefs(QStringLiteral("APPLICATION")).Fields().Delete(QStringLiteral("PICTURE"));
    gDB->Execute(QStringLiteral("update Application set Temp2Unit = 'mmol/l'"));
    const int measures = count(QStringLiteral("select count(*) from MEASURE"));
    EXPECT_FALSE(clsModifyMDB1().IsUpdated());

    EXPECT_FALSE(clsModifyMDB().runUpgrade());
    EXPECT_TRUE(clsModifyMDB1().runUpgrade());
    EXPECT_EQ(layoutOf(), fresh);
    // The column that was there stays; the unit is set again.
    EXPECT_EQ(rows(QStringLiteral("select Temp2Unit, ImportFileName, PICTURE from Application")), QStringList{"mg/dl|Null|Null"});
    EXPECT_EQ(count(QStringLiteral("select count(*) from MEASURE")), measures);
}

TEST_F(UpgradeTest, MarkersAreWholeColumnNamesWithTheirCase)
{
    openFirstLayer();
    dao::TableDef app = gDB->TableDefs(QStringLiteral("APPLICATION"));
    app.Fields().Append(app.CreateField(QStringLiteral("Temp1LBLx"), dao::dbText, 12));
    app.Fields().Append(app.CreateField(QStringLiteral("picture"), dao::dbText, 30));
    EXPECT_FALSE(clsModifyMDB().IsVersion20());
    EXPECT_FALSE(clsModifyMDB1().IsUpdated());

    // No settings table at all: the tests say False.
    gDB->TableDefs().Delete(QStringLiteral("APPLICATION"));
    EXPECT_FALSE(clsModifyMDB().IsVersion20());
    EXPECT_FALSE(clsModifyMDB1().IsUpdated());
}

// ---- failures ------------------------------------------------------------------------------

TEST_F(UpgradeTest, AFailingSecondLayerLeavesTheFileAsItWasAndRunsAgainNextTime)
{
    openFirstLayer();
    const QStringList before = layoutOf();

    EXPECT_EQ(errorOf([] { FailingLayer2().runUpgrade(); }), dao::errReservedError);
    EXPECT_EQ(gDB->transactionDepth(), 0);
    EXPECT_FALSE(clsModifyMDB().IsVersion20());
    EXPECT_EQ(layoutOf(), before);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PERSON")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from MEASURE")), 0);
    EXPECT_EQ(rows(QStringLiteral("select TempUnit from Application")), QStringList{"F"});
    EXPECT_TRUE(messages.entries.empty()); // the error is the caller's to report

    // The next start runs the layer again, from the start.
    closeDatabase();
    openUpgraded();
    EXPECT_TRUE(clsModifyMDB1().IsUpdated());
    EXPECT_EQ(count(QStringLiteral("select count(*) from DBTS_GOAL")), 8);
    EXPECT_EQ(count(QStringLiteral("select min(GL_KY) from DBTS_GOAL")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PERSON")), 1);
}

TEST_F(UpgradeTest, ALayerThatFailsOnAFullDiskOrADroppedTransactionKeepsNothingAndSaysSoTruly)
{
    const struct {
        bool interrupt;
        const char* description;
    } cases[] = {
        {false, "Not enough space on disk."},
        {true, "The database stopped the upgrade's transaction after an error (a full disk, say); nothing of the upgrade was "
               "kept, and it runs again at the next start."},
    };
    openFirstLayer();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        const QByteArray before = testing_files::readBytes(databasePath());
        QString description;
        try {
            TroubledLayer2(c.interrupt).runUpgrade();
        } catch (const dao::Error& e) {
            description = e.Description();
        }
        EXPECT_EQ(description, QLatin1String(c.description));
        EXPECT_EQ(0, gDB->transactionDepth());
        EXPECT_EQ(testing_files::readBytes(databasePath()), before);
        sqlite3_exec(gDB->handle(), "PRAGMA max_page_count = 1000000", nullptr, nullptr, nullptr);
        sqlite3_progress_handler(gDB->handle(), 0, nullptr, nullptr);
    }
    // With room again, the next start runs the whole layer.
    EXPECT_TRUE(clsModifyMDB().runUpgrade());
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from PERSON")));
}

TEST_F(UpgradeTest, AFailingFirstStepIsShownAndUndone)
{
    openFirstLayer();
    const QStringList before = layoutOf();
    EXPECT_EQ(errorOf([] { FailingStep1().runUpgrade(); }), 3051);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].prompt,
              QStringLiteral("Failed to update fields from Version 1.5 to 2.0 in Ravelcombrick\n3051 The file is locked."));
    EXPECT_EQ(messages.entries[0].buttons, dataMessage::vbOKOnly);
    EXPECT_EQ(messages.entries[0].title, QStringLiteral("Ravelcombrick"));
    EXPECT_EQ(layoutOf(), before);
    EXPECT_FALSE(clsModifyMDB().IsVersion20());
    EXPECT_EQ(gDB->transactionDepth(), 0);
}

TEST_F(UpgradeTest, AFailingThirdLayerLeavesNoMarker)
{
    openFirstLayer();
    ASSERT_TRUE(clsModifyMDB().runUpgrade());
    const QStringList before = layoutOf();
    EXPECT_EQ(errorOf([] { FailingLayer3().runUpgrade(); }), dao::errReservedError);
    EXPECT_EQ(layoutOf(), before);
    EXPECT_FALSE(hasColumn(QStringLiteral("APPLICATION"), QStringLiteral("Temp2Unit")));
    EXPECT_FALSE(clsModifyMDB1().IsUpdated());
    EXPECT_TRUE(clsModifyMDB1().runUpgrade());
    EXPECT_TRUE(clsModifyMDB1().IsUpdated());
}

TEST_F(UpgradeTest, WithoutSampleFilesTheSchemaIsCompletedAndNothingIsShown)
{
    ASSERT_TRUE(QDir(programFolder() + QStringLiteral("/Sample")).removeRecursively());
    openUpgraded();
    EXPECT_TRUE(clsModifyMDB1().IsUpdated());
    EXPECT_EQ(count(QStringLiteral("select count(*) from DBTS_GOAL")), 8);
    EXPECT_EQ(count(QStringLiteral("select count(*) from GridColumnPersistance")), 5);
    EXPECT_EQ(count(QStringLiteral("select count(*) from PERSON")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_MONTH")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_DAY")), 0);
    EXPECT_EQ(gDB->transactionDepth(), 0);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(UpgradeTest, AMissingAndABrokenSampleFileLeaveTheOthersToLoad)
{
    const QString sample = programFolder() + QStringLiteral("/Sample/Pellam Ostry-daily-%1-99.txt");
    ASSERT_TRUE(QFile::exists(sample.arg(3)));
    ASSERT_TRUE(QFile::remove(sample.arg(3)));
    {
        QFile broken(sample.arg(5));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("Daily Value for Pellam Ostry - May 1999\n\nRegimens: 1\nthis line has no colon\n\n"
                     "Date      High BP   Low BP    Pulse\n---\n05/01/1999 abc       def       xyz\n13/45/1999\n\x01\x02\n");
    }
    openUpgraded();
    EXPECT_EQ(gDB->transactionDepth(), 0);
    EXPECT_EQ(rows(QStringLiteral("select distinct month(MSRD_DT) from MEASURE order by month(MSRD_DT)")),
              (QStringList{"1", "2", "4", "6", "7", "8", "9", "10", "11", "12"}));
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_MONTH")), 10);
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_DAY")),
              count(QStringLiteral("select count(*) from (select distinct datevalue(MSRD_DT) from MEASURE)")));
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(UpgradeTest, TheStandaloneStepsTrapTheirErrorsAndShowThem)
{
    openUpgraded();
    // The columns exist already: step 1 fails at once and says so.
    clsModifyMDB().UpdateFields15To20();
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_TRUE(messages.entries[0].prompt.startsWith(
        QStringLiteral("Failed to update fields from Version 1.5 to 2.0 in Ravelcombrick\n")));
    // The chart rows are there: nothing to do, nothing to show.
    clsModifyMDB().AddChartRows();
    EXPECT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(rows(QStringLiteral("select CHRT_NM from CHART where CHRT_ID >= 4 order by CHRT_ID")),
              (QStringList{"TEMP1", "SUGAR"}));
}

// ---- day averages --------------------------------------------------------------------------

TEST_F(UpgradeTest, DayAveragesHoldEveryReadingOfTheDayAndStayInStepAfterwards)
{
    openUpgraded();
    gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('Ann')"), dao::dbFailOnError);
    const int ann = count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = 'Ann'"));
    const QString insert =
        QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP, LBP, WT, TEMP2) values (%1, %2, %3, 80, %4, %5)");
    gDB->Execute(insert.arg(ann).arg(QStringLiteral("#5/2/2007 8:00 AM#")).arg(120).arg(150.0).arg(QStringLiteral("Null")),
                 dao::dbFailOnError);
    gDB->Execute(insert.arg(ann).arg(QStringLiteral("#5/2/2007 6:00 PM#")).arg(130).arg(151.0).arg(99), dao::dbFailOnError);
    clsModifyMDB().FillAverageDay();

    const QString day = QStringLiteral("select DT, HBP, LBP, WT, TEMP, TEMP2 from AVERAGE_DAY where PRSN_KY = %1").arg(ann);
    const QString midnight = vb::CStr(QDateTime(QDate(2007, 5, 2), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(rows(day), QStringList{midnight + QStringLiteral("|125|80|150.5|Null|99")});
    // The sample's rows were made again, not doubled.
    EXPECT_EQ(count(QStringLiteral("select count(*) from AVERAGE_DAY")),
              count(QStringLiteral("select count(*) from (select distinct prsn_ky, datevalue(MSRD_DT) from MEASURE)")));

    // A third reading that day: the stored averages find and update the same row.
    gDB->Execute(insert.arg(ann).arg(QStringLiteral("#5/2/2007 9:00 PM#")).arg(140).arg(152.0).arg(QStringLiteral("Null")),
                 dao::dbFailOnError);
    gPersonKey = ann;
    clsAverage().UpdateAverages(QDateTime(QDate(2007, 5, 2), QTime(21, 0), Qt::UTC), 0);
    EXPECT_EQ(rows(day), QStringList{midnight + QStringLiteral("|130|80|151|Null|99")});
}

// ---- goal unit conversion ------------------------------------------------------------------

using GoalUnitTest = DataFixture;

namespace {

const QStringList kMgdl{"1|80|180|60|240", "2|80|120|60|240", "3|80|180|60|240", "4|80|120|60|240",
                        "5|80|180|60|240", "6|80|120|60|240", "7|80|180|60|240", "8|100|140|60|240"};
const QStringList kMmol{"1|4.5|10|3.5|13", "2|4.5|6.7|3.5|13", "3|4.5|10|3.5|13", "4|4.5|6.7|3.5|13",
                        "5|4.5|10|3.5|13", "6|4.5|6.7|3.5|13", "7|4.5|10|3.5|13", "8|5.5|7.8|3.5|13"};

} // namespace

TEST_F(GoalUnitTest, TheDefaultRowsSwitchBothWaysAndBackToTheSameTexts)
{
    ASSERT_EQ(goals(), kMgdl);
    const QStringList texts = rows(QStringLiteral("select * from DBTS_GOAL order by GL_KY"));

    clsModifyMDB1().ConvertGoalUnits(2); // already mg/dl: nothing to do
    EXPECT_EQ(goals(), kMgdl);
    clsModifyMDB1().ConvertGoalUnits(1);
    EXPECT_EQ(goals(), kMmol);
    EXPECT_EQ(value(QStringLiteral("select GL_NH from DBTS_GOAL where GL_KY = 2")), QVariant(QStringLiteral("6.7")));
    clsModifyMDB1().ConvertGoalUnits(1); // already mmol/l
    EXPECT_EQ(goals(), kMmol);
    clsModifyMDB1().ConvertGoalUnits(2);
    EXPECT_EQ(rows(QStringLiteral("select * from DBTS_GOAL order by GL_KY")), texts);

    for (qint16 mode : {qint16(0), qint16(3), qint16(-1)}) {
        clsModifyMDB1().ConvertGoalUnits(mode);
        EXPECT_EQ(goals(), kMgdl);
    }
    EXPECT_EQ(gDB->transactionDepth(), 0);
}

TEST_F(GoalUnitTest, RowsTheUserAddedOrChangedKeepTheirNumbers)
{
    gDB->Execute(QStringLiteral("update DBTS_GOAL set GL_NH = '130' where GL_KY = 2"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("update DBTS_GOAL set GL_NL = '80', GL_NH = '180' where GL_KY = 4"),
                 dao::dbFailOnError); // group 1's set
    gDB->Execute(QStringLiteral("update DBTS_GOAL set GL_DH = '' where GL_KY = 6"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("update DBTS_GOAL set GL_DL = Null where GL_KY = 8"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("update DBTS_GOAL set GL_NL = '80.0', GL_DH = ' 240 ' where GL_KY = 3"), dao::dbFailOnError);
    gDB->Execute(
        QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_NL, GL_NH, GL_DL, GL_DH) values ('Mine', '80', '180', '60', '240')"),
        dao::dbFailOnError);
    gDB->Execute(QStringLiteral("update MEASURE set TEMP2 = 123, GL_KY = 1 where MSRD_DT = #1/1/1999#"), dao::dbFailOnError);
    const QStringList before = goals();

    clsModifyMDB1().ConvertGoalUnits(1);
    EXPECT_EQ(goals(), (QStringList{"1|4.5|10|3.5|13", "2|80|130|60|240", "3|4.5|10|3.5|13", "4|80|180|60|240", "5|4.5|10|3.5|13",
                                    "6|80|120|60|", "7|4.5|10|3.5|13", "8|100|140|Null|240", "9|80|180|60|240"}));
    EXPECT_EQ(value(QStringLiteral("select TEMP2 from MEASURE where MSRD_DT = #1/1/1999#")).toDouble(), 123.0);

    clsModifyMDB1().ConvertGoalUnits(2);
    QStringList back = before;
    back[2] = QStringLiteral("3|80|180|60|240"); // the row that read as the defaults is written back plainly
    EXPECT_EQ(goals(), back);
}
