// The report for the doctor's own sections: the period title, the patient table, the summary
// statistics and the fixed pieces, each from a database of the test's own making.
#include "reports/GridFixture.h"

#include "data/clsDataService.h"
#include "reports/DoctorReportSections.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace {

using testing_reports::at;
using testing_reports::GridFixture;
using testing_reports::Reading;
namespace dr = doctorreport;

QDate day(int y, int m, int d) { return QDate(y, m, d); }

// ---------------------------------------------------------------------------------------------
// Period title

TEST(ReportTitle, StartsWhereTheDataFilterStartsNeverBeforeTheFirstReading)
{
    struct Case {
        const char* period;
        QDate first, last, start;
    };
    const Case cases[] = {
        {"All Period", day(2005, 3, 9), day(2007, 6, 15), day(2005, 3, 9)},
        {"Last 1 Month", day(2005, 3, 9), day(2007, 6, 15), day(2007, 6, 1)},
        {"Last 3 Months", day(2005, 3, 9), day(2007, 6, 15), day(2007, 4, 1)},
        {"Last 6 Months", day(2005, 3, 9), day(2007, 2, 15), day(2006, 9, 1)},
        // The tables count whole calendar years: the title names the same start.
        {"Last 1 Year", day(2005, 3, 9), day(2007, 6, 15), day(2007, 1, 1)},
        {"Last 2 Years", day(2005, 3, 9), day(2007, 6, 15), day(2006, 1, 1)},
        // All readings in one month: the start is the first reading.
        {"Last 3 Years", day(2007, 6, 2), day(2007, 6, 15), day(2007, 6, 2)},
        {"Yesterday", day(2005, 3, 9), day(2007, 6, 15), day(2005, 3, 9)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.start, dr::TitleStart(QLatin1String(c.period), c.first, c.last)) << c.period;
}

TEST(ReportTitle, NamesBothMonthsInItsTable)
{
    EXPECT_EQ(QStringLiteral("<table width='90%' cellspacing='2' cellpadding='1'>\r\n<tr><td class='ReportTitleStyle'>Report for "
                             "the period July, 2006 through June, 2007\r\n</td>\r\n</tr>\r\n</table>"),
              dr::PeriodTitleHtml(day(2006, 7, 1), day(2007, 6, 15)));
}

// ---------------------------------------------------------------------------------------------
// Patient table

TEST(ReportPatient, HeightAsThePersonWindowShowsItForEachUnit)
{
    struct Case {
        std::optional<double> height;
        int unit;
        const char* text;
    };
    const Case cases[] = {
        {70, 1, "5' 10\""},
        {std::nullopt, 1, "Unknown"},
        {180, 2, "180cm"},
        // Centimetres with an empty box still name the unit.
        {std::nullopt, 2, "cm"},
        // No unit in force: both kinds of boxes stay shown, feet first.
        {70, 0, "5' 10\""},
        {std::nullopt, 0, "cm"},
    };
    for (const Case& c : cases) {
        const QVariant stored = c.height ? QVariant(*c.height) : QVariant();
        EXPECT_EQ(QString::fromUtf8(c.text), dr::HeightText(stored, c.unit)) << c.unit;
    }
}

TEST(ReportPatient, WeightNamesItsUnitAndDateOnlyForAKnownUnit)
{
    const QDateTime measured = at(2007, 6, 5);
    struct Case {
        QVariant weight;
        int unit;
        const char* text;
    };
    const Case cases[] = {
        {150.0, 1, "150 lb  (last measured on Jun 05 , 2007)"},
        {68.5, 2, "68.5 kg (last measured on Jun 05 , 2007)"},
        {150.0, 0, "Unknown"},
        {QVariant(), 1, "Unknown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QLatin1String(c.text), dr::WeightText(c.weight, measured, c.unit)) << c.unit;
}

TEST(ReportPatient, TableEscapesTheDataAndKeepsItsLayout)
{
    dr::PatientInfo patient;
    patient.name = QStringLiteral("<b>Ann & \"Zo\u00eb\"</b>");
    patient.age = QStringLiteral("41");
    patient.gender = QStringLiteral("Female");
    patient.bmi = QStringLiteral("22.1");
    patient.height = QStringLiteral("5' 6\"");
    patient.weight = QStringLiteral("Unknown");
    EXPECT_EQ(QStringLiteral("<table width='446' cellspacing='2' cellpadding='1'>\r\n"
                             "<tr><td width='105'>Patient Name:</td>\r\n"
                             "<td width='325'>&lt;b&gt;Ann &amp; \"Zo\u00eb\"&lt;/b&gt;</td>\r\n</tr>\r\n"
                             "<tr><td>Age:</td>\r\n<td>41</td>\r\n</tr>\r\n"
                             "<tr><td>Gender:</td>\r\n<td>Female</td>\r\n</tr>\r\n"
                             "<tr><td>BMI:</td>\r\n<td>22.1</td>\r\n</tr>\r\n"
                             "<tr><td>Height:</td>\r\n<td>5' 6\"</td>\r\n</tr>\r\n"
                             "<tr><td>Weight:</td>\r\n<td>Unknown</td>\r\n</tr>\r\n</table>"),
              dr::PatientTableHtml(patient));
}

class ReportDataTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        person = addPerson(QStringLiteral("Ann"));
        gPersonKey = person;
    }
    qint32 person = 0;

    static Reading weighing(const QDateTime& when, std::optional<double> wt)
    {
        Reading r(when);
        r.weight = wt;
        return r;
    }
};

TEST_F(ReportDataTest, PatientWeightIsTheNewestReadingsAndUnknownsStayUnknown)
{
    gDB->Execute(QStringLiteral("update PERSON set AGE = 41, HGT = 66, SEX = 'F' where PRSN_KY = %1").arg(person));
    add(person, weighing(at(2007, 1, 10), 200));
    add(person, weighing(at(2007, 6, 5), 150));
    add(person, weighing(at(2007, 3, 1), 180));
    add(person, Reading(at(2007, 6, 20), 120, 80)); // newer, but without a weight
    dr::PatientInfo patient = dr::ReadPatient(person, 1, 1);
    EXPECT_EQ(QStringLiteral("Ann"), patient.name);
    EXPECT_EQ(QStringLiteral("41"), patient.age);
    EXPECT_EQ(QStringLiteral("Female"), patient.gender);
    EXPECT_EQ(QStringLiteral("5' 6\""), patient.height);
    EXPECT_EQ(QStringLiteral("150 lb  (last measured on Jun 05 , 2007)"), patient.weight);

    const qint32 bare = addPerson(QStringLiteral("Bo"));
    add(bare, Reading(at(2007, 6, 20), 120, 80));
    patient = dr::ReadPatient(bare, 2, 2);
    EXPECT_EQ(QStringLiteral(""), patient.age);
    EXPECT_EQ(QStringLiteral("Unknown"), patient.gender);
    EXPECT_EQ(QStringLiteral("cm"), patient.height);
    EXPECT_EQ(QStringLiteral("Unknown"), patient.weight);
    EXPECT_EQ(QStringLiteral("Unknown"), patient.bmi);
}

// ---------------------------------------------------------------------------------------------
// Summary statistics

TEST(ReportStatistics, MedianOfOddAndEvenCounts)
{
    struct Case {
        std::vector<double> values;
        const char* median;
    };
    const Case cases[] = {
        {{}, ""},
        {{0.5}, ".5"},
        {{120, 130, 140}, "130.0"},
        {{120, 130, 140, 150}, "135.0"},
        {{1, 2}, "1.5"},
        {{98.25, 98.75}, "98.5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QLatin1String(c.median), dr::MedianText(c.values)) << c.values.size();
}

TEST_F(ReportDataTest, StatisticsOfEachColumnWithTheDatesOfTheirExtremes)
{
    Reading a(at(2007, 6, 1), 120, 80, 70, 0.5);
    Reading b(at(2007, 6, 2), 140, 70, 70);
    Reading c(at(2007, 6, 3), 130, 90, 60);
    // The same maximum again later: the earlier date is named.
    Reading d(at(2007, 6, 4), 140, 75, 65);
    a.sugar = 101.5;
    for (const Reading& r : {a, b, c, d})
        add(person, r);

    const QString filter = clsDataService().GetPeriodFilter(QStringLiteral("MSRD_DT"), PeriodName::AllPeriod);
    const dr::StatsTable stats = dr::ComputeMeasurementStatistics(person, filter);
    struct Row {
        int row;
        std::array<const char*, 6> cells;
    };
    const Row rows[] = {
        {0, {"140", "120", "132.5", "135.0", " as on Jun. 02, 07", " as on Jun. 01, 07"}},
        {1, {"90", "70", "78.8", "77.5", " as on Jun. 03, 07", " as on Jun. 02, 07"}},
        {2, {"70", "60", "66.3", "67.5", " as on Jun. 01, 07", " as on Jun. 03, 07"}},
        {3, {"0.5", "0.5", "0.5", ".5", " as on Jun. 01, 07", " as on Jun. 01, 07"}},
        {4, {"", "", "", "", "", ""}},
        {6, {"101.5", "101.5", "101.5", "101.5", " as on Jun. 01, 07", " as on Jun. 01, 07"}},
    };
    for (const Row& r : rows) {
        for (int col = 0; col < 6; ++col)
            EXPECT_EQ(QLatin1String(r.cells[col]), stats[r.row][col]) << "row " << r.row << " column " << col;
    }
}

TEST_F(ReportDataTest, StatisticsKeepToThePeriod)
{
    add(person, Reading(at(2006, 12, 31), 200, 120));
    add(person, Reading(at(2007, 1, 1), 130, 85));
    add(person, Reading(at(2007, 6, 15), 120, 80));
    struct Case {
        const QString& period;
        const char* max;
        const char* median;
    };
    const Case cases[] = {
        {PeriodName::AllPeriod, "200", "130.0"},
        {PeriodName::Last1Year, "130", "125.0"},
        {PeriodName::Last1Month, "120", "120.0"},
    };
    for (const Case& c : cases) {
        const QString filter = clsDataService().GetPeriodFilter(QStringLiteral("MSRD_DT"), c.period);
        const dr::StatsTable stats = dr::ComputeMeasurementStatistics(person, filter);
        EXPECT_EQ(QLatin1String(c.max), stats[0][0]) << c.period.toStdString();
        EXPECT_EQ(QLatin1String(c.median), stats[0][3]) << c.period.toStdString();
    }
}

TEST(ReportSummary, RowsFollowTheTickedColumnsWithEscapedLabels)
{
    dr::StatsTable stats{};
    stats[0] = {QStringLiteral("140"),
                QStringLiteral("120"),
                QStringLiteral("130.0"),
                QStringLiteral("130.0"),
                QStringLiteral(" as on Jun. 02, 07"),
                QStringLiteral(" as on Jun. 01, 07")};
    dr::SummaryLabels labels{QStringLiteral("lb"),      QStringLiteral("Temp<1>"), QStringLiteral("O2 & co"),
                             QStringLiteral("\u00b0F"), QStringLiteral("%"),       QStringLiteral("mg/dl")};
    const QString head = QStringLiteral("<p class='pSpacer'></p><table width='90%'> \r\n<tr>\r\n<td align='center' "
                                        "class='TableHeader' colspan='5'>\r\nSummary of measurements during reporting "
                                        "period</td>\r\n</tr><tr>\r\n<td width='30%'>Measurement</td>\r\n<td width='20%' "
                                        "align='center'>Maximum</td>\r\n<td width='20%' align='center'>Minimum</td>\r\n<td "
                                        "width='15%' align='center'>Average</td>\r\n<td width='15%' "
                                        "align='center'>Median</td>\r\n</tr>");
    auto row = [](const QString& label, const QString& max, const QString& min, const QString& avg, const QString& med) {
        const QString cell = QStringLiteral("<td width='20%' align='center'>");
        return QStringLiteral("<tr>\r\n<td width='30%'>") + label + QStringLiteral("</td>\r\n") + cell + max +
               QStringLiteral("</td>\r\n") + cell + min + QStringLiteral("</td>\r\n") + cell + avg + QStringLiteral("</td>\r\n") +
               cell + med + QStringLiteral("</td>\r\n</tr>");
    };
    const dr::SummaryColumns none{false, false, false, false, false, false};
    const dr::SummaryColumns bpOnly{true, false, false, false, false, false};
    const dr::SummaryColumns customs{false, false, true, true, true, true};

    EXPECT_EQ(head + QStringLiteral("</table>"), dr::SummaryTableHtml(stats, none, labels));
    EXPECT_EQ(head +
                  row(QStringLiteral("High Blood Pressure"), QStringLiteral("140 as on Jun. 02, 07"),
                      QStringLiteral("120 as on Jun. 01, 07"), QStringLiteral("130.0"), QStringLiteral("130.0")) +
                  row(QStringLiteral("Low Blood Pressure"), {}, {}, {}, {}) + QStringLiteral("</table>"),
              dr::SummaryTableHtml(stats, bpOnly, labels));
    EXPECT_EQ(head + row(QStringLiteral("Weight (lb)"), {}, {}, {}, {}) +
                  row(QStringLiteral("Temp&lt;1&gt; (\u00b0F)"), {}, {}, {}, {}) +
                  row(QStringLiteral("O2 &amp; co (%)"), {}, {}, {}, {}) + row(QStringLiteral("Sugar(mg/dl)"), {}, {}, {}, {}) +
                  QStringLiteral("</table>"),
              dr::SummaryTableHtml(stats, customs, labels));
}

// ---------------------------------------------------------------------------------------------
// Fixed pieces

TEST(ReportFixedPieces, LegendFrameAndFootnote)
{
    const QString legend = dr::BPColorTableHtml();
    EXPECT_TRUE(
        legend.startsWith(QStringLiteral("<table width='538'>\r\n<tr class='TableHeader'><td colspan='3' "
                                         "align='center'>Color Code used in Chart and Table for Blood Pressue</td></tr>")));
    EXPECT_TRUE(legend.contains(QStringLiteral("<tr>\r\n<td width='20%' align='center'  bgcolor='#99FF99'>&nbsp;</td>\r\n"
                                               "<td width='40%' align='center'>&lt; 85</td>\r\n<td align='center' "
                                               "width='40%'>&lt; 130</td>\r\n</tr>")));
    EXPECT_TRUE(legend.contains(QStringLiteral("<td width='20%' align='center' bgcolor='#FFFF99'>&nbsp;</td>")));
    EXPECT_TRUE(legend.endsWith(QStringLiteral("</tr></table>\r\n<p class='pSpacer'></p>\r\n")));

    EXPECT_EQ(QStringLiteral("<img src='temp/12.jpeg' hspace='15' vspace='15' align='top'> \r\n"), dr::ChartImageHtml(12));
    EXPECT_EQ(QStringLiteral("<table border='1' width='10'><tr><td> \r\n"), dr::ChartMonthOpenHtml());

    const QString foot = dr::FootnoteHtml();
    EXPECT_TRUE(foot.startsWith(QStringLiteral("<p class='pFooter'><b>Note for Doctor: </b>You may suggest the patient a ")));
    EXPECT_TRUE(foot.contains(QStringLiteral("<table border='0' width='750'>")));
    EXPECT_TRUE(foot.contains(QStringLiteral("&nbsp;\u2022 Last 1 Years")));
    EXPECT_TRUE(foot.contains(QStringLiteral("<b>Disclaimer:</b>")));
    EXPECT_TRUE(foot.contains(dr::kMakerAddress));
    // Line ends are CR LF only.
    EXPECT_EQ(foot.count(QStringLiteral("\n")), foot.count(QStringLiteral("\r\n")));
}

} // namespace
