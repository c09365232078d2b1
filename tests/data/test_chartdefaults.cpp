// The chart settings rows a person starts with, and their deletion.
#include "DataFixture.h"

#include "data/clsDefaultChartValues.h"

#include <QList>

using testing_data::DataFixture;
using testing_data::errorOf;

namespace {

class ChartDefaults : public DataFixture {
protected:
    int addPerson(const QString& name)
    {
        gDB->Execute(QStringLiteral("insert into person (prsn_nm) values (?)"), {name}, dao::dbFailOnError);
        return count(QStringLiteral("select max(prsn_ky) from person"));
    }

    // The rows of a query, each as its values in column order.
    static QList<QVariantList> rows(const QString& sql)
    {
        QList<QVariantList> out;
        auto rs = gDB->OpenRecordset(sql, dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            QVariantList row;
            for (int i = 0; i < rs->columnCount(); ++i)
                row << rs->Fields(i).Value();
            out << row;
        }
        return out;
    }
    static QList<QVariantList> singlePlots(int person)
    {
        return rows(QStringLiteral("select plt_ky, chrt_id, chrt_tp, chrt_cl, chrt_thk, y_min, y_max from single_person_plot "
                                   "where prsn_ky = %1 order by plt_ky")
                        .arg(person));
    }
    static QVariantList weightRange(int person)
    {
        return rows(QStringLiteral("select y_min, y_max from single_person_plot where prsn_ky = %1 and plt_ky = 2").arg(person))
            .value(0);
    }
    static int chartRows(int person)
    {
        int n = 0;
        for (const char* t : {"person_plot", "single_person_plot", "multiple_person_plot", "chart_multiple_person_plot"})
            n += count(QStringLiteral("select count(*) from %1 where prsn_ky = %2").arg(QLatin1String(t)).arg(person));
        return n;
    }
};

TEST_F(ChartDefaults, NewPersonGetsTheTwentyDefaultRows)
{
    const int p = addPerson(QStringLiteral("Ann"));
    gWeightUnit = 1;
    clsDefaultChartValues().CreateDefaultPlots(p);

    EXPECT_EQ(20, chartRows(p));
    const QList<QVariantList> plots =
        rows(QStringLiteral("select plt_ky, plt_act, lgnd from person_plot where prsn_ky = %1 order by plt_ky").arg(p));
    ASSERT_EQ(7, plots.size());
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(i, plots[i][0].toInt());
        EXPECT_TRUE(plots[i][1].isNull()); // no plot is marked active
        EXPECT_TRUE(plots[i][2].isNull());
    }
    const QList<QVariantList> expected = {
        {0, 0, 11, 16744576, 5, 60, 200}, {1, 1, 0, 8388863, 5, 40, 110}, {2, 2, 1, 10276981, 5, 90, 350},
        {3, 3, 4, 9220607, 5, 0, 200},    {4, 4, 4, 9220607, 5, 0, 200},  {5, 5, 4, 9220607, 5, 0, 400},
    };
    const QList<QVariantList> single = singlePlots(p);
    ASSERT_EQ(expected.size(), single.size());
    for (int r = 0; r < expected.size(); ++r)
        for (int c = 0; c < expected[r].size(); ++c)
            EXPECT_EQ(expected[r][c].toInt(), single[r][c].toInt()) << "row " << r << " column " << c;

    EXPECT_EQ(QList<QVariantList>({{p, 6}}),
              rows(QStringLiteral("select prsn_ky, plt_ky from multiple_person_plot where prsn_ky = %1").arg(p)));
    const QList<QVariantList> series = rows(QStringLiteral("select plt_ky, chrt_id, chrt_tp, chrt_act, lbl_pos from "
                                                           "chart_multiple_person_plot where prsn_ky = %1 order by chrt_id")
                                                .arg(p));
    const QList<QVariantList> expectedSeries = {{6, 0, 11, -1, 1}, {6, 1, 0, -1, 2}, {6, 2, 0, 0, 0},
                                                {6, 3, 0, 0, 0},   {6, 4, 0, 0, 0},  {6, 5, 0, 0, 0}};
    ASSERT_EQ(expectedSeries.size(), series.size());
    for (int r = 0; r < series.size(); ++r) {
        EXPECT_EQ(expectedSeries[r][0].toInt(), series[r][0].toInt());
        EXPECT_EQ(expectedSeries[r][1].toInt(), series[r][1].toInt());
        EXPECT_EQ(expectedSeries[r][2].toInt(), series[r][2].toInt());
        EXPECT_EQ(expectedSeries[r][3].toInt() != 0, series[r][3].toBool()) << "row " << r;
        EXPECT_EQ(expectedSeries[r][4].toInt(), series[r][4].toInt());
    }
    // Yes is stored as -1.
    EXPECT_EQ(
        2, count(QStringLiteral("select count(*) from chart_multiple_person_plot where prsn_ky = %1 and chrt_act = -1").arg(p)));
    EXPECT_EQ(QStringLiteral("lb"), gWeightUnitText);
    EXPECT_EQ(0, gDB->transactionDepth());
}

TEST_F(ChartDefaults, WeightRangeFollowsTheWeightUnit)
{
    const int kg = addPerson(QStringLiteral("Kilo"));
    gWeightUnit = 2;
    clsDefaultChartValues().CreateDefaultPlots(kg);
    EXPECT_EQ(QVariantList({40, 150}), weightRange(kg));
    EXPECT_EQ(QStringLiteral("kg"), gWeightUnitText);
    EXPECT_EQ(40, gDefaultWeightYMin);
    EXPECT_EQ(150, gDefaultWeightYMax);

    const int lb = addPerson(QStringLiteral("Pound"));
    gWeightUnit = 1;
    clsDefaultChartValues().CreateDefaultPlots(lb);
    EXPECT_EQ(QVariantList({90, 350}), weightRange(lb));
    EXPECT_EQ(QStringLiteral("lb"), gWeightUnitText);

    // Any other code keeps the text and the range the caller left there.
    const int other = addPerson(QStringLiteral("Other"));
    gWeightUnit = 0;
    gWeightUnitText = QStringLiteral("st");
    gDefaultWeightYMin = 90;
    gDefaultWeightYMax = 250;
    clsDefaultChartValues().CreateDefaultPlots(other);
    EXPECT_EQ(QVariantList({90, 250}), weightRange(other));
    EXPECT_EQ(QStringLiteral("st"), gWeightUnitText);
}

TEST_F(ChartDefaults, BeforeTheUnitsAreReadTheSettingsRowGivesTheWeightRange)
{
    // As while a new database is built: no unit code and no range yet.
    const struct {
        const char* unit;
        QVariantList range;
    } rows[] = {{"lb", {90, 350}}, {"kg", {40, 150}}, {"st", {0, 0}}};
    int n = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.unit);
        gDB->Execute(QStringLiteral("update Application set WtUnit = '%1'").arg(QLatin1String(r.unit)), dao::dbFailOnError);
        gWeightUnit = 0;
        gWeightUnitText.clear();
        gDefaultWeightYMin = 0;
        gDefaultWeightYMax = 0;
        const int p = addPerson(QStringLiteral("Early %1").arg(++n));
        clsDefaultChartValues().CreateDefaultPlots(p);
        EXPECT_EQ(r.range, weightRange(p));
        // Start-up still reads the unit itself.
        EXPECT_EQ(0, gWeightUnit);
        EXPECT_TRUE(gWeightUnitText.isEmpty());
        EXPECT_EQ(0, gDefaultWeightYMax);
    }
    // The sample person of a new database has its weights inside its weight plot.
    EXPECT_EQ(QVariantList({90, 350}),
              weightRange(count(QStringLiteral("select prsn_ky from person where prsn_nm = 'Pellam Ostry'"))));
}

TEST_F(ChartDefaults, TablesThatAlreadyHoldRowsAreLeftAlone)
{
    const int p = addPerson(QStringLiteral("Ann"));
    gWeightUnit = 1;
    clsDefaultChartValues().CreateDefaultPlots(p);
    gDB->Execute(QStringLiteral("update single_person_plot set y_max = 300 where prsn_ky = %1 and plt_ky = 2").arg(p));

    // A second call adds and changes nothing, but still performs the unit step.
    gWeightUnit = 2;
    clsDefaultChartValues().CreateDefaultPlots(p);
    EXPECT_EQ(20, chartRows(p));
    EXPECT_EQ(QVariantList({90, 300}), weightRange(p));
    EXPECT_EQ(QStringLiteral("kg"), gWeightUnitText);

    // Only two plot rows of its own: those stay, the other three tables get their 13 rows.
    const int q = addPerson(QStringLiteral("Bo"));
    gDB->Execute(QStringLiteral("insert into person_plot (prsn_ky, plt_ky, lgnd) values (%1, 6, 'mine')").arg(q),
                 dao::dbFailOnError);
    gDB->Execute(QStringLiteral("insert into person_plot (prsn_ky, plt_ky) values (%1, 2)").arg(q), dao::dbFailOnError);
    clsDefaultChartValues().CreateDefaultPlots(q);
    EXPECT_EQ(2, count(QStringLiteral("select count(*) from person_plot where prsn_ky = %1").arg(q)));
    EXPECT_EQ(QStringLiteral("mine"),
              value(QStringLiteral("select lgnd from person_plot where prsn_ky = %1 and plt_ky = 6").arg(q)).toString());
    // Single plots whose parent plot row is missing are refused; the rest are written.
    EXPECT_EQ(QList<QVariantList>({{2, 2, 1, 10276981, 5, 40, 150}}), singlePlots(q));
    EXPECT_EQ(1, count(QStringLiteral("select count(*) from multiple_person_plot where prsn_ky = %1").arg(q)));
    EXPECT_EQ(6, count(QStringLiteral("select count(*) from chart_multiple_person_plot where prsn_ky = %1").arg(q)));
    EXPECT_EQ(0, gDB->transactionDepth());
}

TEST_F(ChartDefaults, RefusedRowsAreLeftOutAndTheRestWritten)
{
    // No such person: nothing can be written, and nothing is raised.
    EXPECT_EQ(0, errorOf([] { clsDefaultChartValues().CreateDefaultPlots(999); }));
    EXPECT_EQ(0, chartRows(999));

    // Without the sugar series in the catalogue, only the sugar rows are missing.
    gDB->Execute(QStringLiteral("delete from single_person_plot where chrt_id = 5"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from chart_multiple_person_plot where chrt_id = 5"), dao::dbFailOnError);
    gDB->Execute(QStringLiteral("delete from chart where chrt_id = 5"), dao::dbFailOnError);
    const int p = addPerson(QStringLiteral("Ann"));
    clsDefaultChartValues().CreateDefaultPlots(p);
    EXPECT_EQ(7, count(QStringLiteral("select count(*) from person_plot where prsn_ky = %1").arg(p)));
    EXPECT_EQ(5, count(QStringLiteral("select count(*) from single_person_plot where prsn_ky = %1").arg(p)));
    EXPECT_EQ(5, count(QStringLiteral("select count(*) from chart_multiple_person_plot where prsn_ky = %1").arg(p)));
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from single_person_plot where chrt_id = 5")));
    EXPECT_EQ(0, gDB->transactionDepth());
}

TEST_F(ChartDefaults, DeletePersonPlotsRemovesOnlyThatPersonsRows)
{
    const int p = addPerson(QStringLiteral("Ann"));
    const int q = addPerson(QStringLiteral("Bo"));
    clsDefaultChartValues().CreateDefaultPlots(p);
    clsDefaultChartValues().CreateDefaultPlots(q);

    clsDefaultChartValues().DeletePersonPlots(p);
    EXPECT_EQ(0, chartRows(p));
    EXPECT_EQ(20, chartRows(q));
    // Again, on a person without rows: nothing happens and nothing is raised.
    EXPECT_EQ(0, errorOf([&] { clsDefaultChartValues().DeletePersonPlots(p); }));
    EXPECT_EQ(0, gDB->transactionDepth());

    // Inside a caller's transaction that is rolled back, the rows come back whole.
    {
        dao::Transaction outer(*gDB);
        clsDefaultChartValues().DeletePersonPlots(q);
        EXPECT_EQ(0, chartRows(q));
    }
    EXPECT_EQ(20, chartRows(q));
    // Now the person itself can go.
    clsDefaultChartValues().DeletePersonPlots(q);
    EXPECT_EQ(1, gDB->Execute(QStringLiteral("delete from person where prsn_ky = %1").arg(q), dao::dbFailOnError));
}

} // namespace
