// The shared queries against a database made by the program's own creation path.
#include "data/DataFixture.h"

#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/modFunctions.h"
#include "platform/runtime/Conversions.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>
#include <vector>

using testing_data::DataFixture;
using testing_data::errorOf;

namespace {

QDateTime At(int y, int m, int d, int h = 0, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC); }

QString SqlNumber(const QVariant& v) { return vb::IsNull(v) ? QStringLiteral("Null") : vb::CStr(v); }

struct Reading {
    QDateTime when;
    QVariant lbp, hbp, plse, wt, temp, temp1, temp2;
    QVariant mood, regimen, goal;
    QString comment;
};

// Column texts of every row, in order.
std::vector<QString> Column(const std::shared_ptr<dao::Recordset>& rs, const QString& name)
{
    std::vector<QString> values;
    if (rs->RecordCount() > 0)
        rs->MoveFirst();
    for (; !rs->Eof(); rs->MoveNext())
        values.push_back(vb::CStr(rs->Fields(name).Value()));
    return values;
}

std::vector<int> IntColumn(const std::shared_ptr<dao::Recordset>& rs, int column)
{
    std::vector<int> values;
    if (rs->RecordCount() > 0)
        rs->MoveFirst();
    for (; !rs->Eof(); rs->MoveNext())
        values.push_back(rs->Fields(column).Value().toInt());
    return values;
}

struct ClockAt {
    explicit ClockAt(const QTime& time)
    {
        clsDataService::setClock([time] { return time; });
    }
    ~ClockAt() { clsDataService::setClock({}); }
    ClockAt(const ClockAt&) = delete;
    ClockAt& operator=(const ClockAt&) = delete;
};

} // namespace

class DataServiceTest : public DataFixture {
protected:
    static qint32 addPerson(const QString& name)
    {
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values (%1)").arg(vb::SqlText(name)), dao::dbFailOnError);
        return value(QStringLiteral("select max(PRSN_KY) from PERSON")).toInt();
    }
    static qint32 addRegimen(const QString& name, const QString& detail = QString())
    {
        gDB->Execute(
            QStringLiteral("insert into REGIMEN (RGMN_NM, RGMN_DTL) values (%1, %2)").arg(vb::SqlText(name), vb::SqlText(detail)),
            dao::dbFailOnError);
        return value(QStringLiteral("select max(RGMN_KY) from REGIMEN")).toInt();
    }
    static qint32 addGoal(const QString& name)
    {
        gDB->Execute(
            QStringLiteral("insert into DBTS_GOAL (GL_NM, GL_NL, GL_NH, GL_DL, GL_DH) values (%1, '80', '120', '60', '240')")
                .arg(vb::SqlText(name)),
            dao::dbFailOnError);
        return value(QStringLiteral("select max(GL_KY) from DBTS_GOAL")).toInt();
    }
    static void addReading(qint32 person, const Reading& r)
    {
        gDB->Execute(
            QStringLiteral(
                "insert into MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2, CMMNT, GL_KY) "
                "values (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13)")
                .arg(QString::number(person), modFunctions::SqlDateTime(r.when), SqlNumber(r.mood), SqlNumber(r.regimen),
                     SqlNumber(r.lbp), SqlNumber(r.hbp), SqlNumber(r.plse), SqlNumber(r.wt), SqlNumber(r.temp))
                .arg(SqlNumber(r.temp1), SqlNumber(r.temp2),
                     r.comment.isEmpty() ? QStringLiteral("Null") : vb::SqlText(r.comment), SqlNumber(r.goal)),
            dao::dbFailOnError);
    }
    static void addReading(qint32 person, const QDateTime& when, const QVariant& weight = QVariant())
    {
        Reading r;
        r.when = when;
        r.hbp = 120;
        r.lbp = 80;
        r.wt = weight;
        addReading(person, r);
    }
    // Plot rows 0 to 6, single plots 0 to 5 and the multiple plot's six series (in a shuffled
    // insertion order), as the default chart rows look.
    static void addChartRows(qint32 person)
    {
        for (int plot = 0; plot <= 6; ++plot)
            gDB->Execute(
                QStringLiteral("insert into PERSON_PLOT (PRSN_KY, PLT_KY, PLT_ACT) values (%1, %2, 0)").arg(person).arg(plot),
                dao::dbFailOnError);
        for (int plot = 0; plot <= 5; ++plot)
            gDB->Execute(
                QStringLiteral(
                    "insert into SINGLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID, CHRT_TP, CHRT_CL, CHRT_THK, Y_MIN, Y_MAX) "
                    "values (%1, %2, %2, 0, %3, 1, %4, %5)")
                    .arg(person)
                    .arg(plot)
                    .arg(255 + plot)
                    .arg(10 * plot)
                    .arg(200 + plot),
                dao::dbFailOnError);
        gDB->Execute(QStringLiteral("insert into MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY) values (%1, 6)").arg(person),
                     dao::dbFailOnError);
        for (int chart : {3, 0, 5, 1, 4, 2})
            gDB->Execute(
                QStringLiteral("insert into CHART_MULTIPLE_PERSON_PLOT (PRSN_KY, PLT_KY, CHRT_ID, CHRT_TP, CHRT_ACT, LBL_POS) "
                               "values (%1, 6, %2, 0, %3, %4)")
                    .arg(person)
                    .arg(chart)
                    .arg(chart < 3 ? -1 : 0)
                    .arg(chart < 3 ? 1 : 0),
                dao::dbFailOnError);
    }
    // The sample person of a new file, or 0 when the file has none.
    static qint32 samplePerson()
    {
        return value(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = 'Pellam Ostry'")).toInt();
    }
};

// ---------------------------------------------------------------------------------------------
// Chart settings

using ChartSettingsQueries = DataServiceTest;

TEST_F(ChartSettingsQueries, SinglePlotStandsOnItsRowAndKeepsTheCount)
{
    const qint32 p = addPerson(QStringLiteral("Chart person"));
    const qint32 bare = addPerson(QStringLiteral("No charts"));
    addChartRows(p);
    clsDataService ds;
    EXPECT_EQ(ds.RecordCount(), 0);

    auto rs = ds.GetSinglePersonPlot(2, p);
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(rs->Fields(QStringLiteral("y_max")).Value().toInt(), 202);
    EXPECT_EQ(rs->Fields(QStringLiteral("y_min")).Value().toInt(), 20);
    EXPECT_EQ(rs->Fields(QStringLiteral("chrt_cl")).Value().toInt(), 257);
    EXPECT_EQ(rs->Fields(QStringLiteral("chrt_thk")).Value().toInt(), 1);
    EXPECT_EQ(rs->Fields(QStringLiteral("chrt_tp")).Value().toInt(), 0);
    EXPECT_EQ(
        ds.lastStatement(),
        QStringLiteral(" select y_min,y_max,chrt_cl,chrt_thk,chrt_tp  from single_person_plot  where plt_ky = 2 and prsn_ky = %1")
            .arg(p));
    // The limits dialog edits through it.
    rs->Edit();
    rs->Fields(QStringLiteral("y_max")).setValue(300);
    rs->Update();
    EXPECT_EQ(count(QStringLiteral("select Y_MAX from SINGLE_PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 2").arg(p)), 300);

    // No rows: an empty set and a count of 0, no error.
    std::shared_ptr<dao::Recordset> none;
    ASSERT_NO_THROW(none = ds.GetSinglePersonPlot(2, bare));
    EXPECT_TRUE(none->Eof());
    EXPECT_EQ(ds.RecordCount(), 0);
    ASSERT_NO_THROW(none = ds.GetSinglePersonPlot(6, p)); // the multiple plot has no single row
    EXPECT_TRUE(none->Eof());
    EXPECT_EQ(ds.RecordCount(), 0);
}

TEST_F(ChartSettingsQueries, MultiPlotSeriesComeByChartIdAndStandOnTheLast)
{
    const qint32 p = addPerson(QStringLiteral("Multi person"));
    addChartRows(p);
    clsDataService ds;
    auto rs = ds.GetMultiPlotCharts(6, p);
    EXPECT_EQ(ds.RecordCount(), 6);
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Fields(QStringLiteral("chrt_id")).Value().toInt(), 5);
    EXPECT_EQ(rs->AbsolutePosition(), 5);
    EXPECT_EQ(IntColumn(rs, 0), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields(QStringLiteral("chrt_act")).Value(), QVariant(true));
    EXPECT_EQ(rs->Fields(QStringLiteral("lbl_pos")).Value().toInt(), 1);
    rs->Edit();
    rs->Fields(QStringLiteral("chrt_act")).setValue(false);
    rs->Fields(QStringLiteral("lbl_pos")).setValue(2);
    rs->Update();
    EXPECT_EQ(count(QStringLiteral("select LBL_POS from CHART_MULTIPLE_PERSON_PLOT where PRSN_KY = %1 and CHRT_ID = 0").arg(p)),
              2);
    EXPECT_EQ(count(QStringLiteral("select CHRT_ACT from CHART_MULTIPLE_PERSON_PLOT where PRSN_KY = %1 and CHRT_ID = 0").arg(p)),
              0);

    auto keys = ds.GetMultiPlotKeys(p);
    EXPECT_EQ(IntColumn(keys, 0), (std::vector<int>(6, 6)));

    auto empty = ds.GetMultiPlotCharts(3, p);
    EXPECT_TRUE(empty->Eof());
    EXPECT_EQ(ds.RecordCount(), 0);
}

TEST_F(ChartSettingsQueries, SinglePlotsAppearanceAndActivePlot)
{
    const qint32 p = addPerson(QStringLiteral("Looks"));
    const qint32 bare = addPerson(QStringLiteral("Plain"));
    addChartRows(p);
    clsDataService ds;

    auto plots = ds.GetSinglePersonPlots(p);
    EXPECT_EQ(plots->RecordCount(), 6);
    plots->FindFirst(QStringLiteral("plt_ky = 4"));
    ASSERT_FALSE(plots->NoMatch());
    EXPECT_EQ(plots->Fields(QStringLiteral("y_max")).Value().toInt(), 204);
    plots->Edit();
    plots->Fields(QStringLiteral("chrt_tp")).setValue(1);
    plots->Fields(QStringLiteral("chrt_cl")).setValue(0xFF00);
    plots->Update();
    EXPECT_EQ(count(QStringLiteral("select CHRT_TP from SINGLE_PERSON_PLOT where PRSN_KY = %1 and PLT_KY = 4").arg(p)), 1);
    EXPECT_TRUE(ds.GetSinglePersonPlots(bare)->Eof());

    auto looks = ds.GetPlotAppearance(p);
    ASSERT_FALSE(looks->Eof());
    EXPECT_EQ(looks->Fields(QStringLiteral("plt_pnl_cl")).Value().toLongLong(), -2147483633LL);
    EXPECT_EQ(looks->Fields(QStringLiteral("plt_bck_cl")).Value().toInt(), 16777215);
    EXPECT_EQ(looks->Fields(QStringLiteral("plt_3d_prcnt")).Value().toInt(), 9);
    looks->Edit();
    looks->Fields(QStringLiteral("plt_3d_prcnt")).setValue(0);
    looks->Update();
    EXPECT_EQ(count(QStringLiteral("select PLT_3D_PRCNT from PERSON where PRSN_KY = %1").arg(p)), 0);

    EXPECT_EQ(ds.GetActivePlotKey(p), 0);
    EXPECT_EQ(ds.GetActivePlotKey(bare), 0);
    gDB->Execute(QStringLiteral("update PERSON_PLOT set PLT_ACT = -1 where PRSN_KY = %1 and PLT_KY = 4").arg(p));
    EXPECT_EQ(ds.GetActivePlotKey(p), 4);
}

// ---------------------------------------------------------------------------------------------
// Measurements and stored averages

class MeasureDataQueries : public DataServiceTest {
protected:
    void SetUp() override
    {
        DataServiceTest::SetUp();
        person = addPerson(QStringLiteral("Reader"));
        other = addPerson(QStringLiteral("Other reader"));
        empty = addPerson(QStringLiteral("No readings"));
        const qint32 walk = addRegimen(QStringLiteral("Walk'n"), QStringLiteral("every day"));
        const qint32 goal = addGoal(QStringLiteral("Before lunch"));
        Reading full;
        full.when = At(2027, 3, 8, 15, 5);
        full.hbp = 141;
        full.lbp = 91;
        full.plse = 70;
        full.wt = 172.5;
        full.temp = 98.6;
        full.temp1 = 3;
        full.temp2 = 110;
        full.mood = 3;
        full.regimen = walk;
        full.goal = goal;
        full.comment = QStringLiteral("it's fine");
        addReading(person, full);
        addReading(person, At(2027, 3, 9, 7, 0), 172.0);
        addReading(person, At(2027, 1, 2, 23, 59)); // inserted last, earliest
        addReading(other, At(2027, 2, 1, 8, 0));
    }
    qint32 person = 0;
    qint32 other = 0;
    qint32 empty = 0;
};

TEST_F(MeasureDataQueries, DailyRowsComeByDateWithTheirNamesOrNull)
{
    clsDataService ds;
    auto rs = ds.GetMeasureData(person, PlotCategory::Daily);
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), 3);
    std::vector<QDateTime> dates;
    for (; !rs->Eof(); rs->MoveNext())
        dates.push_back(rs->Fields(QStringLiteral("msrd_dt")).Value().toDateTime());
    EXPECT_EQ(dates, (std::vector<QDateTime>{At(2027, 1, 2, 23, 59), At(2027, 3, 8, 15, 5), At(2027, 3, 9, 7, 0)}));

    rs->MoveFirst();
    EXPECT_TRUE(rs->Fields(QStringLiteral("md_nm")).Value().isNull());
    EXPECT_TRUE(rs->Fields(QStringLiteral("rgmn_nm")).Value().isNull());
    EXPECT_TRUE(rs->Fields(QStringLiteral("gl_nm")).Value().isNull());
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(QStringLiteral("md_nm")).Value().toString(), QStringLiteral("Happy"));
    EXPECT_EQ(rs->Fields(QStringLiteral("rgmn_nm")).Value().toString(), QStringLiteral("Walk'n"));
    EXPECT_EQ(rs->Fields(QStringLiteral("gl_nm")).Value().toString(), QStringLiteral("Before lunch"));
    EXPECT_EQ(rs->Fields(QStringLiteral("hbp")).Value().toInt(), 141);
    EXPECT_EQ(rs->Fields(QStringLiteral("lbp")).Value().toInt(), 91);
    EXPECT_EQ(rs->Fields(QStringLiteral("plse")).Value().toInt(), 70);
    EXPECT_FLOAT_EQ(rs->Fields(QStringLiteral("wt")).Value().toFloat(), 172.5f);
    EXPECT_FLOAT_EQ(rs->Fields(QStringLiteral("temp")).Value().toFloat(), 98.6f);
    EXPECT_FLOAT_EQ(rs->Fields(QStringLiteral("temp1")).Value().toFloat(), 3.0f);
    EXPECT_FLOAT_EQ(rs->Fields(QStringLiteral("temp2")).Value().toFloat(), 110.0f);

    // Read-only: the chart draws from it, nobody writes through it.
    EXPECT_NE(errorOf([&] { rs->Edit(); }), 0);
    EXPECT_TRUE(ds.GetMeasureData(empty, PlotCategory::Daily)->Eof());

    // A period: from its first minute, up to before its end.
    rs = ds.GetMeasureData(person, PlotCategory::Daily, At(2027, 1, 2, 23, 59), At(2027, 3, 9, 7, 0));
    dates.clear();
    for (; !rs->Eof(); rs->MoveNext())
        dates.push_back(rs->Fields(QStringLiteral("msrd_dt")).Value().toDateTime());
    EXPECT_EQ(dates, (std::vector<QDateTime>{At(2027, 1, 2, 23, 59), At(2027, 3, 8, 15, 5)}));
}

TEST_F(MeasureDataQueries, AveragesComeByPeriodForEachLevel)
{
    const struct {
        const char* table;
        const char* column;
        int level;
    } levels[] = {{"AVERAGE_DAY", "dt", PlotCategory::DayAverage},
                  {"AVERAGE_WEEK", "week", PlotCategory::WeeklyAverage},
                  {"AVERAGE_MONTH", "mnth", PlotCategory::MonthlyAverage}};
    for (const auto& level : levels) {
        const QString table = QString::fromLatin1(level.table);
        gDB->Execute(QStringLiteral("delete from %1 where PRSN_KY in (%2, %3)").arg(table).arg(person).arg(other));
        for (const QDate& d : {QDate(2027, 3, 1), QDate(2026, 11, 1), QDate(2027, 1, 1)})
            gDB->Execute(QStringLiteral("insert into %1 values (%2, %3, 80, 120, 70, 170.5, 98.5, 1.5, 100)")
                             .arg(table)
                             .arg(person)
                             .arg(modFunctions::SqlDate(d)),
                         dao::dbFailOnError);
        gDB->Execute(QStringLiteral("insert into %1 values (%2, #2/1/2027#, 1, 2, 3, 4, 5, 6, 7)").arg(table).arg(other),
                     dao::dbFailOnError);

        clsDataService ds;
        auto rs = ds.GetMeasureData(person, level.level);
        ASSERT_TRUE(rs) << level.table;
        const QString column = QString::fromLatin1(level.column);
        std::vector<QDate> periods;
        for (; !rs->Eof(); rs->MoveNext())
            periods.push_back(rs->Fields(column).Value().toDateTime().date());
        EXPECT_EQ(periods, (std::vector<QDate>{QDate(2026, 11, 1), QDate(2027, 1, 1), QDate(2027, 3, 1)})) << level.table;
        rs->MoveFirst();
        for (const char* name : {"lbp", "hbp", "plse", "wt", "temp", "temp1", "temp2"})
            EXPECT_FALSE(rs->Fields(QString::fromLatin1(name)).Value().isNull()) << level.table << " " << name;
        EXPECT_FLOAT_EQ(rs->Fields(QStringLiteral("temp1")).Value().toFloat(), 1.5f);
        EXPECT_TRUE(ds.GetMeasureData(empty, level.level)->Eof()) << level.table;

        // A period takes its first day and stops before its end.
        rs = ds.GetMeasureData(person, level.level, At(2027, 1, 1, 0, 0), At(2027, 3, 1, 0, 0));
        ASSERT_EQ(rs->RecordCount(), 1) << level.table;
        EXPECT_EQ(rs->Fields(column).Value().toDateTime().date(), QDate(2027, 1, 1)) << level.table;
    }
}

TEST_F(MeasureDataQueries, OtherLevelsGiveNoRecordset)
{
    clsDataService ds;
    EXPECT_EQ(ds.GetMeasureData(person, -1), nullptr);
    EXPECT_EQ(ds.GetMeasureData(person, 4), nullptr);
}

TEST_F(MeasureDataQueries, WeightHistoryIsNewestFirstWithoutBlanks)
{
    gPersonKey = person;
    clsDataService ds;
    auto rs = ds.GetWeightHistory();
    std::vector<std::pair<double, QDateTime>> rows;
    for (; !rs->Eof(); rs->MoveNext())
        rows.emplace_back(rs->Fields(QStringLiteral("wt")).Value().toDouble(),
                          rs->Fields(QStringLiteral("msrd_dt")).Value().toDateTime());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].second, At(2027, 3, 9, 7, 0));
    EXPECT_FLOAT_EQ(float(rows[0].first), 172.0f);
    EXPECT_EQ(rows[1].second, At(2027, 3, 8, 15, 5));
    gPersonKey = empty;
    EXPECT_TRUE(ds.GetWeightHistory()->Eof());
}

TEST_F(MeasureDataQueries, FirstAndLastDatesOfTheCurrentPerson)
{
    clsDataService ds;
    gPersonKey = person;
    EXPECT_EQ(ds.GetFirstMeasureDate(), At(2027, 1, 2, 23, 59));
    EXPECT_EQ(ds.GetLastMeasureDate(), At(2027, 3, 9, 7, 0));
    gPersonKey = other;
    EXPECT_EQ(ds.GetFirstMeasureDate(), At(2027, 2, 1, 8, 0));
    EXPECT_EQ(ds.GetLastMeasureDate(), At(2027, 2, 1, 8, 0));
    gPersonKey = empty;
    EXPECT_FALSE(ds.GetFirstMeasureDate().isValid());
    EXPECT_FALSE(ds.GetLastMeasureDate().isValid());
    gPersonKey = -1;
    EXPECT_FALSE(ds.GetLastMeasureDate().isValid());
}

TEST_F(MeasureDataQueries, LastMeasureTimeOfThePersonOrOfAnyone)
{
    clsDataService ds;
    gPersonKey = person;
    EXPECT_EQ(ds.GetLastMeasureTime(1), QStringLiteral("07:00 AM"));
    gPersonKey = other;
    EXPECT_EQ(ds.GetLastMeasureTime(1), QStringLiteral("08:00 AM"));
    gPersonKey = empty;
    EXPECT_EQ(ds.GetLastMeasureTime(1), QStringLiteral("12:00 AM"));

    // Anyone: the latest reading in the file, whoever it belongs to.
    addReading(other, At(2099, 12, 31, 12, 30));
    EXPECT_EQ(ds.GetLastMeasureTime(2), QStringLiteral("12:30 PM"));
    addReading(empty, At(2100, 1, 1, 0, 5));
    EXPECT_EQ(ds.GetLastMeasureTime(2), QStringLiteral("12:05 AM"));
    EXPECT_EQ(ds.GetLastMeasureTime(1), QStringLiteral("12:05 AM"));
}

TEST_F(MeasureDataQueries, LastMeasureTimeOfAnEmptyFileIsMidnight)
{
    gDB->Execute(QStringLiteral("delete from MEASURE"));
    clsDataService ds;
    EXPECT_EQ(ds.GetLastMeasureTime(2), QStringLiteral("12:00 AM"));
    gPersonKey = person;
    EXPECT_EQ(ds.GetLastMeasureTime(1), QStringLiteral("12:00 AM"));
}

// ---------------------------------------------------------------------------------------------
// Person and regimen lists

using ListQueries = DataServiceTest;

TEST_F(ListQueries, PersonsWithMeasuresOnceEachByName)
{
    const qint32 zed = addPerson(QStringLiteral("zed"));
    const qint32 adam = addPerson(QStringLiteral("Adam"));
    const qint32 mike = addPerson(QStringLiteral("mike"));
    addPerson(QStringLiteral("Nobody"));
    for (int day = 1; day <= 3; ++day) {
        addReading(zed, At(2027, 1, day));
        addReading(mike, At(2027, 1, day));
    }
    addReading(adam, At(2027, 1, 1));

    clsDataService ds;
    auto rs = ds.GetPersonsWithMeasures();
    const std::vector<QString> names = Column(rs, QStringLiteral("prsn_nm"));
    EXPECT_EQ(int(names.size()), count(QStringLiteral("select count(*) from (select distinct PRSN_KY from MEASURE)")));
    std::vector<QString> mine;
    for (const QString& n : names)
        if (n == QStringLiteral("zed") || n == QStringLiteral("Adam") || n == QStringLiteral("mike") ||
            n == QStringLiteral("Nobody"))
            mine.push_back(n);
    EXPECT_EQ(mine, (std::vector<QString>{QStringLiteral("Adam"), QStringLiteral("mike"), QStringLiteral("zed")}));
    for (std::size_t i = 1; i < names.size(); ++i)
        EXPECT_LE(names[i - 1].compare(names[i], Qt::CaseInsensitive), 0);
    rs->MoveFirst();
    rs->FindFirst(QStringLiteral("prsn_nm = 'mike'"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Fields(QStringLiteral("prsn_ky")).Value().toInt(), mike);
}

TEST_F(ListQueries, RegimensOfAPersonOnceEachByName)
{
    const qint32 p = addPerson(QStringLiteral("Regimen user"));
    const qint32 q = addPerson(QStringLiteral("Someone else"));
    const qint32 walk = addRegimen(QStringLiteral("TWalk"), QStringLiteral("30 minutes"));
    const qint32 aerobic = addRegimen(QStringLiteral("Taerobic"), QStringLiteral("class"));
    const qint32 pills = addRegimen(QStringLiteral("TPill's"), QString());
    const qint32 swim = addRegimen(QStringLiteral("TSwim"), QStringLiteral("pool"));
    addRegimen(QStringLiteral("TUnused"), QStringLiteral("never"));
    int day = 1;
    for (qint32 regimen : {walk, pills, walk, aerobic, walk}) {
        Reading r;
        r.when = At(2027, 2, day++);
        r.hbp = 120;
        r.regimen = regimen;
        addReading(p, r);
    }
    addReading(p, At(2027, 2, 20)); // no regimen
    Reading r;
    r.when = At(2027, 2, 1);
    r.regimen = swim;
    r.hbp = 120;
    addReading(q, r);

    clsDataService ds;
    auto rs = ds.GetPersonRegimens(p);
    EXPECT_EQ(Column(rs, QStringLiteral("rgmn_nm")),
              (std::vector<QString>{QStringLiteral("Taerobic"), QStringLiteral("TPill's"), QStringLiteral("TWalk")}));
    EXPECT_EQ(Column(rs, QStringLiteral("rgmn_dtl")),
              (std::vector<QString>{QStringLiteral("class"), QString(), QStringLiteral("30 minutes")}));
    EXPECT_TRUE(ds.GetPersonRegimens(addPerson(QStringLiteral("Fresh")))->Eof());
}

// ---------------------------------------------------------------------------------------------
// Years and months

using CalendarQueries = DataServiceTest;

TEST_F(CalendarQueries, YearsAndMonthsAscending)
{
    const qint32 p = addPerson(QStringLiteral("Calendar"));
    const qint32 q = addPerson(QStringLiteral("Neighbour"));
    for (const QDateTime& when : {At(2027, 11, 5), At(2026, 11, 30), At(2027, 7, 1), At(2027, 2, 3), At(2027, 2, 14, 9, 30),
                                  At(2025, 5, 5), At(2027, 12, 31, 23, 59)})
        addReading(p, when);
    addReading(q, At(2027, 3, 1));
    addReading(q, At(2024, 3, 1));

    clsDataService ds;
    EXPECT_EQ(IntColumn(ds.GetMeasureYears(p), 0), (std::vector<int>{2025, 2026, 2027}));
    EXPECT_EQ(ds.GetMeasureYearList(p), (std::vector<int>{2025, 2026, 2027}));
    EXPECT_EQ(IntColumn(ds.GetMeasureMonths(2027, p), 0), (std::vector<int>{2, 7, 11, 12}));
    EXPECT_EQ(IntColumn(ds.GetMeasureMonths(2026, p), 0), (std::vector<int>{11}));
    EXPECT_TRUE(ds.GetMeasureMonths(2024, p)->Eof());
    // The selector takes the last row as the latest month.
    auto months = ds.GetMeasureMonths(2027, p);
    months->MoveLast();
    EXPECT_EQ(months->Fields(0).Value().toInt(), 12);
}

TEST_F(CalendarQueries, PersonWithReadingsInOneMonth)
{
    const qint32 p = addPerson(QStringLiteral("One month"));
    for (const QDateTime& when : {At(2026, 6, 17, 8), At(2026, 6, 3, 18), At(2026, 6, 28, 8), At(2026, 6, 3, 7)})
        addReading(p, when);
    clsDataService ds;
    EXPECT_EQ(IntColumn(ds.GetMeasureYears(p), 0), (std::vector<int>{2026}));
    EXPECT_EQ(ds.GetMeasureYearList(p), (std::vector<int>{2026}));
    EXPECT_EQ(IntColumn(ds.GetMeasureMonths(2026, p), 0), (std::vector<int>{6}));
    gPersonKey = p;
    for (const QString& period : PeriodName::all()) {
        auto rs = ds.GetMonthlyCounts(p, period);
        ASSERT_FALSE(rs->Eof()) << period.toStdString();
        EXPECT_EQ(rs->RecordCount(), 1) << period.toStdString();
        EXPECT_EQ(rs->Fields(QStringLiteral("yr")).Value().toInt(), 2026);
        EXPECT_EQ(rs->Fields(QStringLiteral("mnth")).Value().toInt(), 6);
        EXPECT_EQ(rs->Fields(QStringLiteral("countrecord")).Value().toInt(), 4);
    }
}

TEST_F(CalendarQueries, PersonWithoutReadings)
{
    const qint32 p = addPerson(QStringLiteral("Blank"));
    clsDataService ds;
    EXPECT_TRUE(ds.GetMeasureYears(p)->Eof());
    EXPECT_TRUE(ds.GetMeasureYearList(p).empty());
    EXPECT_TRUE(ds.GetMeasureMonths(2027, p)->Eof());
    gPersonKey = p;
    for (const QString& period : PeriodName::all()) {
        EXPECT_EQ(ds.GetPeriodFilter(QStringLiteral("MSRD_DT"), period), QString()) << period.toStdString();
        std::shared_ptr<dao::Recordset> rs;
        ASSERT_NO_THROW(rs = ds.GetMonthlyCounts(p, period)) << period.toStdString();
        EXPECT_TRUE(rs->Eof());
    }
}

// ---------------------------------------------------------------------------------------------
// Periods

using PeriodQueries = DataServiceTest;

TEST_F(PeriodQueries, PeriodsCountBackFromTheLatestReading)
{
    const qint32 p = addPerson(QStringLiteral("Periodic"));
    addReading(p, At(2019, 6, 1));
    addReading(p, At(2027, 3, 15, 21, 0));
    addReading(p, At(2027, 3, 2));
    gPersonKey = p;
    clsDataService ds;
    const QString column = QStringLiteral("MSRD_DT");
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last1Month), QStringLiteral(" And MSRD_DT >= #3/1/2027#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last3Months), QStringLiteral(" And MSRD_DT >= #1/1/2027#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last6Months), QStringLiteral(" And MSRD_DT >= #10/1/2026#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last1Year), QStringLiteral(" And MSRD_DT >= #1/1/2027#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last2Years), QStringLiteral(" And MSRD_DT >= #1/1/2026#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last3Years), QStringLiteral(" And MSRD_DT >= #1/1/2025#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::AllPeriod), QString());
    for (const char* unknown : {"", "last 1 month", "Last 4 Months", "Last 1 Month "})
        EXPECT_EQ(ds.GetPeriodFilter(column, QString::fromLatin1(unknown)), QString()) << unknown;
    EXPECT_EQ(ds.GetPeriodFilter(QStringLiteral("f.msrd_dt"), PeriodName::Last1Month),
              QStringLiteral(" And f.msrd_dt >= #3/1/2027#"));
}

TEST_F(PeriodQueries, PeriodStartWrapsIntoThePreviousYear)
{
    const qint32 feb = addPerson(QStringLiteral("February"));
    const qint32 jan = addPerson(QStringLiteral("January"));
    addReading(feb, At(2027, 2, 10));
    addReading(jan, At(2027, 1, 31, 23, 59));
    clsDataService ds;
    const QString column = QStringLiteral("MSRD_DT");
    gPersonKey = feb;
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last3Months), QStringLiteral(" And MSRD_DT >= #12/1/2026#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last6Months), QStringLiteral(" And MSRD_DT >= #9/1/2026#"));
    gPersonKey = jan;
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last1Month), QStringLiteral(" And MSRD_DT >= #1/1/2027#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last3Months), QStringLiteral(" And MSRD_DT >= #11/1/2026#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last6Months), QStringLiteral(" And MSRD_DT >= #8/1/2026#"));
    EXPECT_EQ(ds.GetPeriodFilter(column, PeriodName::Last3Years), QStringLiteral(" And MSRD_DT >= #1/1/2025#"));
}

class MonthlyCountQueries : public DataServiceTest {
protected:
    using Row = std::tuple<int, int, int>;
    static std::vector<Row> rows(const std::shared_ptr<dao::Recordset>& rs)
    {
        std::vector<Row> out;
        for (; !rs->Eof(); rs->MoveNext())
            out.emplace_back(rs->Fields(QStringLiteral("yr")).Value().toInt(), rs->Fields(QStringLiteral("mnth")).Value().toInt(),
                             rs->Fields(QStringLiteral("countrecord")).Value().toInt());
        return out;
    }
};

TEST_F(MonthlyCountQueries, YearsAscendingMonthsDescendingWithinTheYear)
{
    const qint32 p = addPerson(QStringLiteral("Counter"));
    for (const QDateTime& when :
         {At(2026, 11, 3), At(2026, 11, 20, 8, 15), At(2026, 12, 24), At(2027, 1, 1), At(2027, 1, 2), At(2027, 1, 31, 23, 59)})
        addReading(p, when);
    gPersonKey = p;
    clsDataService ds;
    EXPECT_EQ(rows(ds.GetMonthlyCounts(p, PeriodName::AllPeriod)),
              (std::vector<Row>{{2026, 12, 1}, {2026, 11, 2}, {2027, 1, 3}}));
    EXPECT_EQ(rows(ds.GetMonthlyCounts(p, PeriodName::Last1Month)), (std::vector<Row>{{2027, 1, 3}}));
    EXPECT_EQ(rows(ds.GetMonthlyCounts(p, PeriodName::Last3Months)),
              (std::vector<Row>{{2026, 12, 1}, {2026, 11, 2}, {2027, 1, 3}}));
    EXPECT_EQ(rows(ds.GetMonthlyCounts(p, PeriodName::Last1Year)), (std::vector<Row>{{2027, 1, 3}}));
    EXPECT_EQ(rows(ds.GetMonthlyCounts(p, PeriodName::Last2Years)),
              (std::vector<Row>{{2026, 12, 1}, {2026, 11, 2}, {2027, 1, 3}}));
    EXPECT_NE(errorOf([&] { ds.GetMonthlyCounts(p, PeriodName::AllPeriod)->Edit(); }), 0);
}

TEST_F(MonthlyCountQueries, PeriodIsCountedFromTheCurrentPerson)
{
    const qint32 p = addPerson(QStringLiteral("Counted"));
    const qint32 current = addPerson(QStringLiteral("Current"));
    for (const QDateTime& when : {At(2026, 11, 3), At(2026, 12, 24), At(2027, 1, 2)})
        addReading(p, when);
    addReading(current, At(2026, 12, 5));
    gPersonKey = current;
    clsDataService ds;
    EXPECT_EQ(rows(ds.GetMonthlyCounts(p, PeriodName::Last1Month)), (std::vector<Row>{{2026, 12, 1}, {2027, 1, 1}}));
}

// ---------------------------------------------------------------------------------------------
// Settings captions and the proposed entry time

using SettingsQueries = DataServiceTest;

TEST_F(SettingsQueries, CaptionsOfTheSettingsRow)
{
    clsDataService ds;
    EXPECT_EQ(ds.GetMeasureCaption(1, 1), QStringLiteral("Custom1"));
    EXPECT_EQ(ds.GetMeasureCaption(2, 1), QStringLiteral("Custom2"));
    EXPECT_EQ(ds.GetMeasureCaption(1, 2), QStringLiteral("Unit1"));
    EXPECT_EQ(ds.GetMeasureCaption(2, 2), QStringLiteral("Unit2"));
    EXPECT_EQ(ds.GetMeasureCaption(3, 2), QStringLiteral("mg/dl"));
    EXPECT_EQ(ds.GetMeasureCaption(4, 2), QStringLiteral("lb"));
    for (auto [item, what] : {std::pair{3, 1}, std::pair{4, 1}, std::pair{0, 0}, std::pair{5, 2}, std::pair{1, 3}})
        EXPECT_EQ(ds.GetMeasureCaption(item, what), QString()) << item << "," << what;

    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Doctor''s', Temp1Unit = Null, WtUnit = 'kg'"),
                 dao::dbFailOnError);
    EXPECT_EQ(ds.GetMeasureCaption(1, 1), QStringLiteral("Doctor's"));
    EXPECT_EQ(ds.GetMeasureCaption(2, 2), QString());
    EXPECT_EQ(ds.GetMeasureCaption(4, 2), QStringLiteral("kg"));
}

class EntryTimeQueries : public DataServiceTest {
protected:
    static void option(const QVariant& value)
    {
        gDB->Execute(QStringLiteral("update Application set OptnTime = %1").arg(SqlNumber(value)), dao::dbFailOnError);
    }
    static QString at(const QTime& now)
    {
        ClockAt clock(now);
        return clsDataService().GetDefaultEntryTime();
    }
};

TEST_F(EntryTimeQueries, NullOptionIsTheCurrentTime)
{
    option(QVariant());
    EXPECT_EQ(at(QTime(10, 52, 31)), QStringLiteral("10:52 AM"));
    EXPECT_EQ(at(QTime(0, 7)), QStringLiteral("12:07 AM"));
    EXPECT_EQ(at(QTime(12, 0)), QStringLiteral("12:00 PM"));
    EXPECT_EQ(at(QTime(23, 59, 59)), QStringLiteral("11:59 PM"));
    option(1);
    EXPECT_EQ(at(QTime(13, 5)), QStringLiteral("01:05 PM"));
}

TEST_F(EntryTimeQueries, MidnightAndRoundedTimes)
{
    option(0);
    EXPECT_EQ(at(QTime(15, 47)), QStringLiteral("12:00 AM"));
    option(2);
    EXPECT_EQ(at(QTime(10, 52)), QStringLiteral("10:45 AM"));
    EXPECT_EQ(at(QTime(10, 53)), QStringLiteral("11:00 AM"));
    EXPECT_EQ(at(QTime(10, 52, 30)), QStringLiteral("11:00 AM")); // tie: to the even quarter (44)
    EXPECT_EQ(at(QTime(10, 37, 30)), QStringLiteral("10:30 AM")); // tie: to the even quarter (42)
    EXPECT_EQ(at(QTime(23, 52, 29)), QStringLiteral("11:45 PM"));
    EXPECT_EQ(at(QTime(23, 53)), QStringLiteral("12:00 AM"));
    EXPECT_EQ(at(QTime(0, 7)), QStringLiteral("12:00 AM"));
    EXPECT_EQ(at(QTime(0, 8)), QStringLiteral("12:15 AM"));
    option(3);
    EXPECT_EQ(at(QTime(14, 29)), QStringLiteral("02:00 PM"));
    EXPECT_EQ(at(QTime(14, 31)), QStringLiteral("03:00 PM"));
    EXPECT_EQ(at(QTime(14, 30)), QStringLiteral("02:00 PM"));
    EXPECT_EQ(at(QTime(15, 30)), QStringLiteral("04:00 PM"));
    EXPECT_EQ(at(QTime(11, 30)), QStringLiteral("12:00 PM"));
    EXPECT_EQ(at(QTime(23, 29)), QStringLiteral("11:00 PM"));
    EXPECT_EQ(at(QTime(23, 30)), QStringLiteral("12:00 AM"));
}

TEST_F(EntryTimeQueries, PreviousMeasurementTimes)
{
    const qint32 p = addPerson(QStringLiteral("Early bird"));
    const qint32 q = addPerson(QStringLiteral("Night owl"));
    const qint32 none = addPerson(QStringLiteral("Newcomer"));
    addReading(p, At(2027, 3, 1, 6, 15));
    addReading(p, At(2027, 3, 2, 7, 45));
    addReading(q, At(2200, 1, 1, 22, 10));
    option(4);
    gPersonKey = p;
    EXPECT_EQ(at(QTime(12, 0)), QStringLiteral("07:45 AM"));
    gPersonKey = none;
    EXPECT_EQ(at(QTime(12, 0)), QStringLiteral("12:00 AM"));
    option(5);
    EXPECT_EQ(at(QTime(12, 0)), QStringLiteral("10:10 PM"));
}

TEST_F(EntryTimeQueries, UnknownOptionGivesNoTime)
{
    for (int unknown : {6, 7, -1, 100}) {
        option(unknown);
        EXPECT_EQ(at(QTime(9, 0)), QString()) << unknown;
    }
}

// ---------------------------------------------------------------------------------------------
// The sample person of a new file

using SamplePersonQueries = DataServiceTest;

TEST_F(SamplePersonQueries, QueriesAgreeWithTheStoredReadings)
{
    const qint32 sample = samplePerson();
    ASSERT_NE(sample, 0) << "a new file holds the sample person";
    gPersonKey = sample;
    clsDataService ds;
    const int readings = count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(sample));
    ASSERT_GT(readings, 0);

    auto persons = ds.GetPersonsWithMeasures();
    persons->FindFirst(QStringLiteral("prsn_ky = %1").arg(sample));
    EXPECT_FALSE(persons->NoMatch());

    // Each level in date order, as many rows as stored.
    const struct {
        int level;
        const char* column;
        QString countSql;
    } levels[] = {
        {PlotCategory::Daily, "msrd_dt", QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(sample)},
        {PlotCategory::DayAverage, "dt", QStringLiteral("select count(*) from AVERAGE_DAY where PRSN_KY = %1").arg(sample)},
        {PlotCategory::WeeklyAverage, "week", QStringLiteral("select count(*) from AVERAGE_WEEK where PRSN_KY = %1").arg(sample)},
        {PlotCategory::MonthlyAverage, "mnth",
         QStringLiteral("select count(*) from AVERAGE_MONTH where PRSN_KY = %1").arg(sample)},
    };
    for (const auto& level : levels) {
        auto rs = ds.GetMeasureData(sample, level.level);
        ASSERT_TRUE(rs);
        EXPECT_EQ(rs->RecordCount(), count(level.countSql)) << level.column;
        QDateTime previous;
        for (; !rs->Eof(); rs->MoveNext()) {
            const QDateTime d = rs->Fields(QString::fromLatin1(level.column)).Value().toDateTime();
            ASSERT_TRUE(d.isValid());
            if (previous.isValid()) {
                EXPECT_LT(previous, d) << level.column;
            }
            previous = d;
        }
    }

    // Years and months cover every reading.
    int monthsWithReadings = 0;
    const std::vector<int> years = IntColumn(ds.GetMeasureYears(sample), 0);
    ASSERT_FALSE(years.empty());
    EXPECT_EQ(ds.GetMeasureYearList(sample), years);
    EXPECT_EQ(years.front(), ds.GetFirstMeasureDate().date().year());
    EXPECT_EQ(years.back(), ds.GetLastMeasureDate().date().year());
    for (int year : years) {
        const std::vector<int> months = IntColumn(ds.GetMeasureMonths(year, sample), 0);
        ASSERT_FALSE(months.empty());
        EXPECT_TRUE(std::is_sorted(months.begin(), months.end())) << year;
        monthsWithReadings += int(months.size());
    }
    EXPECT_EQ(ds.GetMonthlyCounts(sample, PeriodName::AllPeriod)->RecordCount(), monthsWithReadings);

    // Every period counts the readings on or after its first day, the longer the more.
    std::vector<int> totals;
    for (const QString& period : PeriodName::all()) {
        auto rs = ds.GetMonthlyCounts(sample, period);
        int total = 0;
        for (; !rs->Eof(); rs->MoveNext())
            total += rs->Fields(QStringLiteral("countrecord")).Value().toInt();
        const QString filter = ds.GetPeriodFilter(QStringLiteral("MSRD_DT"), period);
        EXPECT_EQ(total, count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1").arg(sample) + filter))
            << period.toStdString();
        totals.push_back(total);
    }
    EXPECT_EQ(totals[0], readings);
    EXPECT_LE(totals[1], totals[2]); // 1 month <= 3 months <= 6 months
    EXPECT_LE(totals[2], totals[3]);
    EXPECT_LE(totals[4], totals[5]); // 1 year <= 2 years <= 3 years <= all
    EXPECT_LE(totals[5], totals[6]);
    EXPECT_LE(totals[6], totals[0]);
    auto lastMonth = ds.GetMonthlyCounts(sample, PeriodName::Last1Month);
    ASSERT_EQ(lastMonth->RecordCount(), 1);
    EXPECT_EQ(lastMonth->Fields(QStringLiteral("mnth")).Value().toInt(), ds.GetLastMeasureDate().date().month());

    // Regimens used, and weights newest first.
    EXPECT_EQ(ds.GetPersonRegimens(sample)->RecordCount(),
              count(QStringLiteral(
                        "select count(*) from (select distinct RGMN_KY from MEASURE where PRSN_KY = %1 and RGMN_KY is not null)")
                        .arg(sample)));
    auto weights = ds.GetWeightHistory();
    EXPECT_EQ(weights->RecordCount(),
              count(QStringLiteral("select count(*) from MEASURE where PRSN_KY = %1 and WT is not null").arg(sample)));
    QDateTime newer;
    for (; !weights->Eof(); weights->MoveNext()) {
        const QDateTime d = weights->Fields(QStringLiteral("msrd_dt")).Value().toDateTime();
        if (newer.isValid()) {
            EXPECT_GT(newer, d);
        }
        newer = d;
    }
}
