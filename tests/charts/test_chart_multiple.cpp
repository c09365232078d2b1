// The multiple plot dialog, opened from the chart window's button and driven as the user would.
#include "ChartDialogFixture.h"

#include "charts/clsTChartInterface.h"
#include "charts/frmChartMultiple.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <vector>

using testing_charts::ChartDialogFixture;

namespace {

class ChartMultiple : public ChartDialogFixture {
protected:
    // Opens the chart window on the multiple plot, then the dialog from its button.
    void open(const std::function<void(frmChartMultiple&)>& user)
    {
        if (!form().Loaded())
            form().Load();
        form().optFact[PlotKey::Multiple]->setChecked(true);
        run<frmChartMultiple>(form().cmdMultipleCharts, user);
    }

    // The stored rows as "lbl_pos/act" by chart id, e.g. "1/T 0/F 2/T 0/F 0/F 0/F".
    QString storedRows()
    {
        QStringList out;
        auto rs = gDB->OpenRecordset(QStringLiteral("select LBL_POS, CHRT_ACT from CHART_MULTIPLE_PERSON_PLOT "
                                                    "where PRSN_KY = %1 and PLT_KY = 6 order by CHRT_ID")
                                         .arg(samplePerson),
                                     dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext())
            out << rs->Fields(0).Value().toString() + (rs->Fields(1).Value().toBool() ? "/T" : "/F");
        return out.join(QLatin1Char(' '));
    }

    // The dialog's options as "left index|right index|disabled right options", -1 for none.
    static QString options(const frmChartMultiple& d)
    {
        int left = -1, right = -1;
        QString disabled;
        for (int i = 0; i < 6; ++i) {
            const auto n = static_cast<std::size_t>(i);
            if (d.optLeftLbl[n]->isChecked())
                left = i;
            if (d.optRightLbl[n]->isChecked())
                right = i;
            if (!d.optRightLbl[n]->isEnabled())
                disabled += QString::number(i);
        }
        return QStringLiteral("%1|%2|%3").arg(left).arg(right).arg(disabled);
    }

    // Which plot series are drawn, and on which side ("L" or "R"), e.g. "0L 2R".
    QString drawn()
    {
        QStringList out;
        for (int plot = 0; plot <= 5; ++plot)
            if (chart().Series(plot).Active() || (plot == 0 && chart().Series(11).Active()))
                out << QString::number(plot) + (chart().Series(plot).VerticalAxis() == 0 ? "L" : "R");
        return out.join(QLatin1Char(' '));
    }
};

// ---- opening -------------------------------------------------------------------------------

TEST_F(ChartMultiple, OpeningShowsAndDrawsTheStoredChoice)
{
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temperature', Temp1LBL = 'Glucose'"), dao::dbFailOnError);
    storeMultiple({{0, 1}, {2, 2}});
    gPersonKey = -1; // the dialog takes the chart window's person
    open([this](frmChartMultiple& d) {
        EXPECT_EQ(QStringLiteral("Multiple Charts "), d.windowTitle());
        EXPECT_EQ(QStringLiteral("Plot with Left Label"), d.Frame2->title());
        EXPECT_EQ(QStringLiteral("Plot with Right Label"), d.Frame3->title());
        QStringList left, right;
        for (int i = 0; i < 6; ++i) {
            left << d.optLeftLbl[static_cast<std::size_t>(i)]->text();
            right << d.optRightLbl[static_cast<std::size_t>(i)]->text();
        }
        const QStringList captions{"BloodPressure", "Pulse", "Weight", "Temperature:", "Glucose:", "Sugar"};
        EXPECT_EQ(captions, left);
        EXPECT_EQ(captions, right);
        EXPECT_EQ(QStringLiteral("&Save"), d.cmdSave->text());
        EXPECT_EQ(QStringLiteral("&Cancel/Close"), d.cmdCancel->text());

        EXPECT_EQ(samplePerson, gPersonKey);
        EXPECT_EQ(PlotKey::Multiple, d.ShownPlot());
        EXPECT_EQ(QStringLiteral("0|2|0"), options(d));
        EXPECT_EQ(10, d.LeftChoice());
        EXPECT_EQ(12, d.RightChoice());
        // Blood pressure as candles on the left in its range, weight on the right in its own.
        EXPECT_EQ("0L 2R", drawn());
        EXPECT_TRUE(chart().Series(0).Active());
        EXPECT_EQ(60.0, chart().Axis(tchart::LeftAxis).Minimum);
        EXPECT_EQ(200.0, chart().Axis(tchart::LeftAxis).Maximum);
        EXPECT_EQ(90.0, chart().Axis(tchart::RightAxis).Minimum);
        EXPECT_EQ(350.0, chart().Axis(tchart::RightAxis).Maximum);
        d.cmdCancel_Click();
        EXPECT_FALSE(d.Loaded());
    });
    EXPECT_EQ(QStringList{QStringLiteral("frmChartMultiple")}, services().modal().Log());
}

// ---- choosing ------------------------------------------------------------------------------

TEST_F(ChartMultiple, EachChoicePreviewsAndKeepsAPlotOnOneSideOnly)
{
    // Starting from blood pressure on the left and pulse on the right.
    enum Side { Left, Right };
    const struct {
        const char* name;
        std::vector<std::pair<Side, int>> clicks;
        const char* options; // left|right|disabled right options
        int leftChoice, rightChoice;
        const char* drawn;
    } cases[] = {
        {"nothing clicked", {}, "0|1|0", 10, 11, "0L 1R"},
        {"the right plot moves to the left", {{Left, 1}}, "1|-1|1", 11, 0, "1L"},
        {"another plot on the left", {{Left, 2}}, "2|1|2", 12, 11, "1R 2L"},
        {"another plot on the right", {{Right, 5}}, "0|5|0", 10, 15, "0L 5R"},
        {"left twice, the first one freed", {{Left, 2}, {Left, 3}}, "3|1|3", 13, 11, "1R 3L"},
        {"right, then the same plot to the left", {{Right, 4}, {Left, 4}}, "4|-1|4", 14, 0, "4L"},
        {"the chosen options again: no choice is cleared", {{Left, 0}, {Right, 1}}, "0|1|0", 10, 11, "0L 1R"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storeMultiple({{0, 1}, {1, 2}});
        open([&](frmChartMultiple& d) {
            for (const auto& [side, plot] : c.clicks) {
                QRadioButton* option = (side == Left ? d.optLeftLbl : d.optRightLbl)[static_cast<std::size_t>(plot)];
                ASSERT_TRUE(option->isEnabled());
                option->click();
            }
            EXPECT_EQ(QLatin1String(c.options), options(d));
            EXPECT_EQ(c.leftChoice, d.LeftChoice());
            EXPECT_EQ(c.rightChoice, d.RightChoice());
            EXPECT_EQ(QLatin1String(c.drawn), drawn());
            d.cmdCancel_Click();
        });
        // Nothing was saved: closing draws the stored choice again.
        EXPECT_EQ(QStringLiteral("1/T 2/T 0/F 0/F 0/F 0/F"), storedRows());
        EXPECT_EQ("0L 1R", drawn());
    }
}

// ---- saving and closing --------------------------------------------------------------------

TEST_F(ChartMultiple, SaveStoresEachRowsSideAndWhetherItIsOn)
{
    enum Side { Left, Right };
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> storedBefore;
        std::vector<std::pair<Side, int>> clicks;
        const char* storedAfter;
    } cases[] = {
        {"pulse on the left, nothing on the right", {{0, 1}, {1, 2}}, {{Left, 1}}, "0/F 1/T 0/F 0/F 0/F 0/F"},
        {"blood pressure left, weight right", {{0, 1}, {1, 2}}, {{Right, 2}}, "1/T 0/F 2/T 0/F 0/F 0/F"},
        {"sugar and the second custom measurement", {}, {{Left, 5}, {Right, 4}}, "0/F 0/F 0/F 0/F 2/T 1/T"},
        {"a plot on without a side shows unchosen and goes off", {{1, 2}, {3, 0}}, {}, "0/F 2/T 0/F 0/F 0/F 0/F"},
        {"nothing chosen at all", {}, {}, "0/F 0/F 0/F 0/F 0/F 0/F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storeMultiple(c.storedBefore);
        open([&](frmChartMultiple& d) {
            for (const auto& [side, plot] : c.clicks)
                (side == Left ? d.optLeftLbl : d.optRightLbl)[static_cast<std::size_t>(plot)]->click();
            d.cmdSave_Click();
            EXPECT_TRUE(d.Loaded()); // the dialog stays open
            d.cmdCancel_Click();
        });
        EXPECT_EQ(QLatin1String(c.storedAfter), storedRows());
    }
    // The last, empty, multiple plot draws as an empty chart.
    EXPECT_EQ("", drawn());
    EXPECT_TRUE(messages().Log().empty());
}

TEST_F(ChartMultiple, ClosingTheWindowRedrawsTheStoredPlotLikeCancel)
{
    open([this](frmChartMultiple& d) {
        d.optRightLbl[3]->click();
        d.cmdSave_Click();
        d.optLeftLbl[2]->click();
        EXPECT_EQ("2L 3R", drawn());
        d.close(); // the window's close box
        EXPECT_FALSE(d.Loaded());
    });
    EXPECT_EQ(QStringLiteral("1/T 0/F 0/F 2/T 0/F 0/F"), storedRows());
    EXPECT_EQ("0L 3R", drawn());
    EXPECT_TRUE(form().optFact[PlotKey::Multiple]->isChecked());
}

TEST_F(ChartMultiple, SettingsGoneMeanwhileAreToldAndTheChartStaysDrawable)
{
    answer(vb::vbOK);
    open([this](frmChartMultiple& d) {
        deletePerson(samplePerson);
        d.optLeftLbl[2]->click(); // no stored row to preview from
        d.cmdSave_Click();
        EXPECT_EQ(QStringLiteral("The multiple plot of this person is no longer stored. Nothing was saved."), lastBox().text);
        EXPECT_EQ(vb::vbExclamation, lastBox().icon);
        d.cmdCancel_Click();
    });
    EXPECT_EQ(1u, messages().Log().size());
    EXPECT_EQ(QString(), storedRows());
    EXPECT_EQ("", drawn());
    EXPECT_TRUE(services().runtime().Errors().isEmpty());
}

} // namespace
