// Rules the tables keep and changes made to them while the program runs.
#include "EngineFixture.h"

using namespace dao;
using testing_dao::EngineTest;
using testing_dao::errorOf;

namespace {

TEST_F(EngineTest, TextRulesIgnoreLetterCaseAndRefuseEmptyOrLongText)
{
    addPerson(QStringLiteral("Ann"));
    EXPECT_EQ(errDuplicateKey, errorOf([&] { db->Execute("insert into PERSON (PRSN_NM) values ('ANN')", dbFailOnError); }));
    EXPECT_EQ(0, db->Execute("insert into PERSON (PRSN_NM) values ('aNN')")); // skipped without a word
    EXPECT_EQ(1, count("select count(*) from PERSON where PRSN_NM = 'aNn'"));
    EXPECT_EQ(errZeroLength, errorOf([&] { db->Execute("insert into PERSON (PRSN_NM) values ('')", dbFailOnError); }));
    EXPECT_EQ(errFieldTooSmall, errorOf([&] {
                  db->Execute("insert into PERSON (PRSN_NM) values ('" + QString(31, QLatin1Char('x')) + "')", dbFailOnError);
              }));
    EXPECT_EQ(errRequired, errorOf([&] { db->Execute("insert into PERSON (AGE) values (3)", dbFailOnError); }));
    // Zero-length text is allowed where the column says so.
    EXPECT_EQ(1, db->Execute("insert into PERSON (PRSN_NM, COMMENT, SEX) values ('Bo', '', '')", dbFailOnError));

    auto rs = db->OpenRecordset("select PRSN_NM from PERSON order by PRSN_NM", dbOpenSnapshot);
    db->Execute("insert into PERSON (PRSN_NM) values ('bea')");
    rs->Requery();
    QStringList order;
    for (; !rs->Eof(); rs->MoveNext())
        order << rs->Fields(0).Value().toString();
    EXPECT_EQ(QStringList({"Ann", "bea", "Bo"}), order);
}

TEST_F(EngineTest, NumbersKeepTheirTypeRules)
{
    const int p = addPerson(QStringLiteral("Ann"));
    EXPECT_EQ(errNumericOverflow, errorOf([&] {
                  db->Execute(QStringLiteral("update PERSON set AGE = 40000 where PRSN_KY = %1").arg(p), dbFailOnError);
              }));
    EXPECT_EQ(0, db->Execute(QStringLiteral("update PERSON set AGE = 40000 where PRSN_KY = %1").arg(p)));
    EXPECT_EQ(errTypeConversion, errorOf([&] {
                  db->Execute(QStringLiteral("update PERSON set AGE = 'old' where PRSN_KY = %1").arg(p), dbFailOnError);
              }));
    // Reals written into integer columns read rounded half to even, as the engine converts them.
    db->Execute(
        QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, LBP, HBP, PLSE) values (%1, #3/8/2027#, 71.5, 72.5, 80.25)")
            .arg(p));
    auto rs = db->OpenRecordset("select LBP, HBP, PLSE from MEASURE", dbOpenSnapshot);
    EXPECT_EQ(72, rs->Fields("LBP").Value().toInt());
    EXPECT_EQ(72, rs->Fields("HBP").Value().toInt());
    EXPECT_EQ(80, rs->Fields("PLSE").Value().toInt());
    EXPECT_EQ(QMetaType::Int, rs->Fields("LBP").Value().typeId());
    // Yes/No holds -1 for true.
    db->Execute("update Application set ShowAtStartup = True");
    EXPECT_EQ(1, count("select count(*) from Application where ShowAtStartup = -1"));
    // Defaults come in when a row names no value.
    EXPECT_EQ(-2147483633, [&] {
        auto r = db->OpenRecordset("select PLT_PNL_CL from PERSON", dbOpenSnapshot);
        return r->Fields(0).Value().toInt();
    }());
}

TEST_F(EngineTest, CountersStartAtOneFollowInsertOrderAndAreNeverReused)
{
    for (const char* n : {"Walk", "Swim", "Pills"})
        db->Execute(QStringLiteral("insert into REGIMEN (RGMN_NM) values ('%1')").arg(QLatin1String(n)));
    db->Execute("delete from REGIMEN where RGMN_KY = 3");
    db->Execute("insert into REGIMEN (RGMN_NM) values ('Run')");
    auto rs = db->OpenRecordset("select RGMN_KY, RGMN_NM from REGIMEN order by RGMN_KY", dbOpenSnapshot);
    QList<int> keys;
    for (; !rs->Eof(); rs->MoveNext())
        keys << rs->Fields(0).Value().toInt();
    EXPECT_EQ(QList<int>({1, 2, 4}), keys);
}

TEST_F(EngineTest, RelationsRefuseOrphansCascadeAndRestrict)
{
    const int p = addPerson(QStringLiteral("Ann"));
    EXPECT_EQ(errRelatedRecordRequired,
              errorOf([&] { db->Execute("insert into MEASURE (PRSN_KY, MSRD_DT) values (99, #3/8/2027#)", dbFailOnError); }));
    EXPECT_EQ(0, db->Execute("insert into MEASURE (PRSN_KY, MSRD_DT) values (99, #3/8/2027#)"));
    // A Null part exempts a row from its relation.
    EXPECT_EQ(
        1, db->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, RGMN_KY) values (%1, #3/8/2027#, Null)").arg(p)));

    for (int k = 0; k <= 6; ++k)
        db->Execute(QStringLiteral("insert into PERSON_PLOT (PRSN_KY, PLT_KY) values (%1, %2)").arg(p).arg(k));
    db->Execute(QStringLiteral("insert into SINGLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID) values (%1, 2, 2)").arg(p));
    db->Execute(QStringLiteral("insert into MULTIPLE_PERSON_PLOT values (%1, 6)").arg(p));
    db->Execute(QStringLiteral("insert into CHART_MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID) values (%1, 6, 1)").arg(p));

    // Restricted: the person still has measurements and plots.
    EXPECT_EQ(errRelatedRecordsExist,
              errorOf([&] { db->Execute(QStringLiteral("delete from PERSON where PRSN_KY = %1").arg(p), dbFailOnError); }));
    // Cascade: the single plot row goes with its parent.
    db->Execute(QStringLiteral("delete from PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 2").arg(p), dbFailOnError);
    EXPECT_EQ(0, count("select count(*) from SINGLE_PERSON_PLOT"));
    // The cascade to MULTIPLE_PERSON_PLOT is restricted by its series rows: nothing is deleted.
    EXPECT_EQ(errRelatedRecordsExist, errorOf([&] {
                  db->Execute(QStringLiteral("delete from PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 6").arg(p), dbFailOnError);
              }));
    EXPECT_EQ(1, count("select count(*) from PERSON_PLOT where PLT_KY = 6"));
    EXPECT_EQ(1, count("select count(*) from MULTIPLE_PERSON_PLOT"));
    // Cascade update carries the key to the children.
    db->Execute(QStringLiteral("insert into SINGLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID) values (%1, 3, 3)").arg(p));
    db->Execute(QStringLiteral("update PERSON_PLOT set PLT_KY = 33 where PRSN_KY = %1 and PLT_KY = 3").arg(p), dbFailOnError);
    EXPECT_EQ(1, count("select count(*) from SINGLE_PERSON_PLOT where PLT_KY = 33"));
    // Taking a person apart in the order of the relations works.
    db->Execute(QStringLiteral("delete from CHART_MULTIPLE_PERSON_PLOT where PRSN_KY = %1").arg(p), dbFailOnError);
    db->Execute(QStringLiteral("delete from PERSON_PLOT where PRSN_KY = %1").arg(p), dbFailOnError);
    db->Execute(QStringLiteral("delete from MEASURE where PRSN_KY = %1").arg(p), dbFailOnError);
    db->Execute(QStringLiteral("delete from PERSON where PRSN_KY = %1").arg(p), dbFailOnError);
    EXPECT_EQ(0, count("select count(*) from MULTIPLE_PERSON_PLOT"));
}

TEST_F(EngineTest, DefinitionsAreReadBackWithTheirNamesTypesAndIndexes)
{
    EXPECT_EQ(10, db->TableDefs().Count());
    TableDef m = db->TableDefs(QStringLiteral("measure"));
    EXPECT_EQ(QStringLiteral("MEASURE"), m.Name());
    ASSERT_EQ(13, m.Fields().Count());
    EXPECT_EQ(QStringLiteral("MSRD_DT"), m.Fields(1).Name());
    EXPECT_EQ(dbDate, m.Fields(QStringLiteral("msrd_dt")).Type());
    EXPECT_EQ(100, m.Fields(QStringLiteral("CMMNT")).Size());
    EXPECT_TRUE(m.Fields(QStringLiteral("CMMNT")).AllowZeroLength());
    EXPECT_TRUE(m.Fields(QStringLiteral("PRSN_KY")).Required());
    Index pk = m.Indexes()(QStringLiteral("PrimaryKey"));
    EXPECT_TRUE(pk.Primary());
    EXPECT_EQ(2, pk.Fields().Count());
    // The same index name serves several tables.
    EXPECT_TRUE(db->TableDefs(QStringLiteral("PERSON")).Indexes()(QStringLiteral("PrimaryKey")).Primary());
    EXPECT_TRUE(db->TableDefs(QStringLiteral("PERSON")).Fields(QStringLiteral("PRSN_KY")).Attributes() & dbAutoIncrField);
    EXPECT_EQ(9, db->Relations().Count());
    Relation r = db->Relations()(QStringLiteral("Reference_45"));
    EXPECT_EQ(dbRelationDeleteCascade + dbRelationUpdateCascade, r.Attributes());
    EXPECT_EQ(QStringLiteral("PERSON_PLOT"), r.Table());
    EXPECT_EQ(errItemNotFound, errorOf([&] { db->TableDefs(QStringLiteral("NOPE")); }));
    // A collection taken from a definition that is gone at once stays usable.
    QStringList names;
    for (const Field& f : db->TableDefs(QStringLiteral("MOOD")).Fields())
        names << f.Name();
    EXPECT_EQ(QStringList({"MD_KY", "MD_NM"}), names);
}

TEST_F(EngineTest, TheFormatPropertyIsCreatedWhenMissingAndKept)
{
    Field f = db->TableDefs(QStringLiteral("MEASURE")).Fields(QStringLiteral("WT"));
    EXPECT_EQ(errPropertyNotFound, errorOf([&] { f.Properties()[QStringLiteral("Format")].setValue(QStringLiteral("0.0")); }));
    f.Properties().Append(f.CreateProperty(QStringLiteral("Format"), dbText, QStringLiteral("0.0")));
    db->Close();
    db = Database::open(path);
    Field again = db->TableDefs(QStringLiteral("MEASURE")).Fields(QStringLiteral("WT"));
    EXPECT_EQ(QStringLiteral("0.0"), again.Properties()[QStringLiteral("format")].Value().toString());
    again.Properties()[QStringLiteral("Format")].setValue(QStringLiteral("0.00"));
    EXPECT_EQ(QStringLiteral("0.00"), db->TableDefs(QStringLiteral("MEASURE"))
                                          .Fields(QStringLiteral("WT"))
                                          .Properties()[QStringLiteral("Format")]
                                          .Value()
                                          .toString());
}

TEST_F(EngineTest, ColumnsAreAddedAtTheEndAndDeletedWithTheirValues)
{
    db->Execute("update Application set TempUnit = 'F', Temp1LBL = 'Custom2'");
    TableDef app = db->TableDefs(QStringLiteral("APPLICATION"));
    app.Fields().Delete(QStringLiteral("TempUnit"));
    app.Fields().Append(app.CreateField(QStringLiteral("TempUnit"), dbText, 12));
    EXPECT_EQ(QStringList({"ShowAtStartup", "WtUnit", "gblPrsnKy", "Temp1LBL", "TempUnit"}),
              db->fieldNames(QStringLiteral("Application")));
    auto rs = db->OpenRecordset("select * from Application", dbOpenSnapshot);
    EXPECT_TRUE(rs->Fields(QStringLiteral("TempUnit")).Value().isNull());
    EXPECT_EQ(QStringLiteral("Custom2"), rs->Fields(QStringLiteral("Temp1LBL")).Value().toString());
    // The new column keeps its rules.
    EXPECT_EQ(errFieldTooSmall,
              errorOf([&] { db->Execute("update Application set TempUnit = '1234567890123'", dbFailOnError); }));
    // Integer columns added later keep their range like the others.
    app.Fields().Append(app.CreateField(QStringLiteral("OptnTime"), dbInteger));
    EXPECT_EQ(errNumericOverflow, errorOf([&] { db->Execute("update Application set OptnTime = 32768", dbFailOnError); }));
    db->Execute("update Application set OptnTime = 2.5");
    EXPECT_EQ(2, count("select OptnTime from Application"));
    EXPECT_EQ(3280, errorOf([&] { db->TableDefs(QStringLiteral("MEASURE")).Fields().Delete(QStringLiteral("MSRD_DT")); }));
}

TEST_F(EngineTest, TablesIndexesAndRelationsCanBeAddedToAFileInUse)
{
    const int p = addPerson(QStringLiteral("Ann"));
    db->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, HBP) values (%1, #3/8/2027#, 120)").arg(p));
    TableDef day = db->CreateTableDef(QStringLiteral("AVERAGE_DAY"));
    testing_dao::field(day, "PRSN_KY", dbLong, 0, true);
    testing_dao::field(day, "DT", dbDate, 0, true);
    testing_dao::field(day, "HBP", dbInteger);
    db->TableDefs().Append(day);
    db->Execute(QStringLiteral("insert into AVERAGE_DAY values (%1, #3/8/2027#, 120)").arg(p));
    // A primary key added after the table exists.
    testing_dao::index(day, "PrimaryKey", {"PRSN_KY", "DT"}, true);
    EXPECT_EQ(errDuplicateKey, errorOf([&] {
                  db->Execute(QStringLiteral("insert into AVERAGE_DAY values (%1, #3/8/2027#, 121)").arg(p), dbFailOnError);
              }));
    // A relation added over rows that keep it.
    testing_dao::relation(*db, "PERSONAVERAGE_DAY", "PERSON", "AVERAGE_DAY", {"PRSN_KY"});
    EXPECT_EQ(errRelatedRecordRequired,
              errorOf([&] { db->Execute("insert into AVERAGE_DAY values (77, #3/9/2027#, 1)", dbFailOnError); }));
    // A relation over rows that break it is refused.
    db->Execute("insert into AVERAGE_DAY values (1, #3/10/2027#, 1)");
    db->Execute("delete from AVERAGE_DAY");
    TableDef orphan = db->CreateTableDef(QStringLiteral("ORPHAN"));
    testing_dao::field(orphan, "PRSN_KY", dbLong);
    db->TableDefs().Append(orphan);
    db->Execute("insert into ORPHAN values (55)");
    EXPECT_EQ(3367, errorOf([&] { testing_dao::relation(*db, "R_ORPHAN", "PERSON", "ORPHAN", {"PRSN_KY"}); }));
}

} // namespace
