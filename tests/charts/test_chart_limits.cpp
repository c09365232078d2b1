// The vertical limits dialog, opened from the chart window's button and driven as the user would.
#include "ChartDialogFixture.h"

#include "charts/clsTChartInterface.h"
#include "charts/frmChartLimits.h"
#include "data/modHealth.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/Interaction.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>

using testing_charts::ChartDialogFixture;

namespace {

const QString Refusal = QStringLiteral("The value of lower limit must be less than that of upperlimit.");

class ChartLimits : public ChartDialogFixture {
protected:
    void SetUp() override
    {
        ChartDialogFixture::SetUp();
        modHealth::setBeepHook([] { vb::Beep(); });
    }
    void TearDown() override
    {
        modHealth::setBeepHook({});
        ChartDialogFixture::TearDown();
    }

    // Opens the chart window on `plot`, then the dialog from its button; `user` acts in it.
    void openOn(int plot, const std::function<void(frmChartLimits&)>& user)
    {
        if (!form().Loaded())
            form().Load();
        form().optFact[static_cast<std::size_t>(plot)]->setChecked(true);
        run<frmChartLimits>(form().cmdChartLimits, user);
    }

    // "lower-upper" as stored for the sample person's plot.
    QString stored(int plot)
    {
        const QString where =
            QStringLiteral(" from SINGLE_PERSON_PLOT where PRSN_KY = %1 and PLT_KY = %2").arg(samplePerson).arg(plot);
        return value(QStringLiteral("select Y_MIN") + where).toString() + QLatin1Char('-') +
               value(QStringLiteral("select Y_MAX") + where).toString();
    }
    // "lower-upper" as the row's boxes show it.
    static QString boxes(const frmChartLimits& d, int row)
    {
        return d.txtLwrLim[static_cast<std::size_t>(row)]->text() + QLatin1Char('-') +
               d.txtUprLim[static_cast<std::size_t>(row)]->text();
    }
    static bool editable(const frmChartLimits& d, int row)
    {
        const auto n = static_cast<std::size_t>(row);
        return d.txtLwrLim[n]->isEnabled() && !d.txtLwrLim[n]->isReadOnly() && d.txtUprLim[n]->isEnabled() &&
               !d.txtUprLim[n]->isReadOnly() && d.lblFact[n]->isEnabled() && d.lblto[n]->isEnabled();
    }
    // The multiple plot's switched-on plots and their axis sides, e.g. {{0, 1}, {2, 2}}.
    void setMultiple(const std::vector<std::pair<int, int>>& on)
    {
        gDB->Execute(QStringLiteral("update CHART_MULTIPLE_PERSON_PLOT set CHRT_ACT = False, LBL_POS = 0 where PRSN_KY = %1")
                         .arg(samplePerson),
                     dao::dbFailOnError);
        for (const auto& [plot, side] : on)
            gDB->Execute(QStringLiteral("update CHART_MULTIPLE_PERSON_PLOT set CHRT_ACT = True, LBL_POS = %1 "
                                        "where PRSN_KY = %2 and CHRT_ID = %3")
                             .arg(side)
                             .arg(samplePerson)
                             .arg(plot),
                         dao::dbFailOnError);
    }
    // The widget Tab moves to.
    static QWidget* nextTab(QWidget* from)
    {
        QWidget* next = from->nextInFocusChain();
        while (next != from && !(next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)))
            next = next->nextInFocusChain();
        return next;
    }
    static vb::OLE_COLOR resolved(vb::OLE_COLOR code) { return vb::CodeFromColor(vb::ColorFromCode(code)); }
};

// ---- what the dialog offers ---------------------------------------------------------------

TEST_F(ChartLimits, TheDialogNamesItsRowsAndFillsThemFromTheStoredLimits)
{
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temperature', Temp1LBL = 'Glucose'"), dao::dbFailOnError);
    openOn(PlotKey::Pulse, [this](frmChartLimits& d) {
        EXPECT_EQ(QStringLiteral("Setting Limits for Vertical Axis"), d.windowTitle());
        QStringList captions;
        for (QLabel* label : d.lblFact)
            captions << label->text();
        EXPECT_EQ(QStringList({"Blood Pressure:", "Pulse:", "Weight:", "Temperature:", "Glucose:", "Sugar:"}), captions);
        EXPECT_EQ(QStringLiteral("Lower Limit"), d.Label2[0]->text());
        EXPECT_EQ(QStringLiteral("Measurement"), d.Label2[1]->text());
        EXPECT_EQ(QStringLiteral("Upper Limit"), d.Label2[2]->text());
        EXPECT_EQ(QStringLiteral("to"), d.lblto[3]->text());
        EXPECT_EQ(QStringLiteral("Apply/&Save"), d.cmdApply->text());
        EXPECT_EQ(QStringLiteral("&Close"), d.cmdClose->text());
        // Tab runs along the open row, then to the buttons.
        EXPECT_EQ(d.txtUprLim[1], nextTab(d.txtLwrLim[1]));
        EXPECT_EQ(d.cmdApply, nextTab(d.txtUprLim[1]));
        EXPECT_EQ(d.cmdClose, nextTab(d.cmdApply));
        d.cmdClose_Click();
        EXPECT_FALSE(d.Loaded());
    });
    EXPECT_EQ(QStringList{QStringLiteral("frmChartLimits")}, services().modal().Log());
}

TEST_F(ChartLimits, OnlyTheShownPlotOrTheSwitchedOnPlotsOfTheMultiplePlotCanBeEdited)
{
    const struct {
        const char* name;
        int plot;
        std::vector<std::pair<int, int>> multiple; // plot, side; used when plot is 6
        int mode;
        const char* editableRows;
        const char* filledRows;
        const char* bloodPressure; // its boxes
    } cases[] = {
        {"pulse shown", PlotKey::Pulse, {}, 1, "1", "012345", "60-200"},
        {"sugar shown", PlotKey::Sugar, {}, 1, "5", "012345", "60-200"},
        {"blood pressure and weight in the multiple plot", PlotKey::Multiple, {{0, 1}, {2, 2}}, 2, "02", "02", "60-200"},
        {"nothing in the multiple plot", PlotKey::Multiple, {}, 2, "", "", "-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setMultiple(c.multiple);
        openOn(c.plot, [&](frmChartLimits& d) {
            EXPECT_EQ(c.mode, d.PlotMode());
            QString editableRows, filledRows;
            for (int row = 0; row < 6; ++row) {
                const auto n = static_cast<std::size_t>(row);
                if (editable(d, row))
                    editableRows += QString::number(row);
                if (!d.txtLwrLim[n]->text().isEmpty())
                    filledRows += QString::number(row);
                if (!editable(d, row)) {
                    EXPECT_FALSE(d.txtUprLim[n]->isEnabled());
                    EXPECT_TRUE(d.txtLwrLim[n]->isReadOnly());
                    EXPECT_EQ(resolved(vb::vbButtonFace), vb::BackColor(d.txtLwrLim[n]));
                    EXPECT_FALSE(d.lblFact[n]->isEnabled());
                } else if (c.mode == 2) {
                    EXPECT_EQ(resolved(vb::vbWindowBackground), vb::BackColor(d.txtUprLim[n]));
                }
            }
            EXPECT_EQ(QLatin1String(c.editableRows), editableRows);
            EXPECT_EQ(QLatin1String(c.filledRows), filledRows);
            EXPECT_EQ(QLatin1String(c.bloodPressure), boxes(d, 0));
            d.cmdClose_Click();
        });
    }
}

// ---- apply on a single plot ----------------------------------------------------------------

TEST_F(ChartLimits, ApplyTidiesTheEntriesAndStoresOrRefusesTheShownRow)
{
    // The pulse plot is stored as 40 to 110.
    const struct {
        const char* lower;
        const char* upper;
        const char* shownAfter; // the boxes after Apply
        const char* storedAfter;
        bool refused;
    } cases[] = {
        {"", "", "40-110", "40-110", true},          // both empty: 0 and 0
        {"150", "50", "50-150", "50-150", false},    // swapped
        {"80", "80", "40-110", "40-110", true},      // equal
        {"12:30", "1/2", "1-12", "1-12", false},     // leading digits only, then swapped
        {"/5", "90", "0-90", "0-90", false},         // no leading digit is 0
        {"0", "32767", "0-32767", "0-32767", false}, // the largest limit
        {"100", "32768", "40-110", "40-110", true},  // beyond the stored column
        {"99999", "5", "40-110", "40-110", true},    // swapped, and still beyond it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lower) + " to " + c.upper);
        gDB->Execute(QStringLiteral("update SINGLE_PERSON_PLOT set Y_MIN = 40, Y_MAX = 110 where PLT_KY = 1"),
                     dao::dbFailOnError);
        const auto before = messages().Log().size();
        if (c.refused)
            answer(vb::vbOK);
        openOn(PlotKey::Pulse, [&](frmChartLimits& d) {
            d.txtLwrLim[1]->setText(QLatin1String(c.lower));
            d.txtUprLim[1]->setText(QLatin1String(c.upper));
            d.cmdApply_Click();
            EXPECT_EQ(QLatin1String(c.shownAfter), boxes(d, 1));
            EXPECT_TRUE(d.Loaded()); // the dialog stays open
            d.cmdClose_Click();
        });
        EXPECT_EQ(QLatin1String(c.storedAfter), stored(PlotKey::Pulse));
        ASSERT_EQ(before + (c.refused ? 1 : 0), messages().Log().size());
        if (c.refused) {
            EXPECT_EQ(Refusal, lastBox().text);
            EXPECT_EQ(QStringLiteral("Limits Validation"), lastBox().title);
            EXPECT_EQ(vb::vbExclamation, lastBox().icon);
            EXPECT_EQ(vb::vbOKOnly, lastBox().buttons);
        }
        // The chart shows what is stored, refused or not.
        const QStringList range = stored(PlotKey::Pulse).split(QLatin1Char('-'));
        EXPECT_EQ(range[0].toDouble(), chart().Axis(tchart::LeftAxis).Minimum);
        EXPECT_EQ(range[1].toDouble(), chart().Axis(tchart::LeftAxis).Maximum);
        EXPECT_TRUE(chart().Series(PlotKey::Pulse).Active());
    }
}

TEST_F(ChartLimits, ApplyOnASinglePlotLeavesTheOtherRowsAloneAndCloseStoresNothing)
{
    openOn(PlotKey::Weight, [this](frmChartLimits& d) {
        d.txtLwrLim[0]->setText(QStringLiteral("1")); // shut rows are not the user's to change
        d.txtLwrLim[2]->setText(QStringLiteral("100"));
        d.txtUprLim[2]->setText(QStringLiteral("250"));
        d.cmdApply_Click();
        EXPECT_EQ(QStringLiteral("1-200"), boxes(d, 0));
        d.txtUprLim[2]->setText(QStringLiteral("260"));
        d.cmdClose_Click();
    });
    EXPECT_EQ(QStringLiteral("100-250"), stored(PlotKey::Weight));
    EXPECT_EQ(QStringLiteral("60-200"), stored(PlotKey::BloodPressure));
    EXPECT_EQ(250.0, chart().Axis(tchart::LeftAxis).Maximum);
}

// ---- apply on the multiple plot ------------------------------------------------------------

TEST_F(ChartLimits, ApplyOnTheMultiplePlotDecidesEachSwitchedOnRowThenRedrawsIt)
{
    setMultiple({{0, 1}, {2, 2}});
    answer(vb::vbOK);
    openOn(PlotKey::Multiple, [this](frmChartLimits& d) {
        d.txtLwrLim[0]->setText(QStringLiteral("90"));
        d.txtUprLim[0]->setText(QStringLiteral("90")); // refused
        d.txtLwrLim[2]->setText(QStringLiteral("300"));
        d.txtUprLim[2]->setText(QStringLiteral("100")); // swapped and stored
        d.cmdApply_Click();
        EXPECT_EQ(QStringLiteral("60-200"), boxes(d, 0));
        EXPECT_EQ(QStringLiteral("100-300"), boxes(d, 2));
        d.cmdClose_Click();
    });
    ASSERT_EQ(1u, messages().Log().size());
    EXPECT_EQ(Refusal, lastBox().text);
    EXPECT_EQ(QStringLiteral("60-200"), stored(PlotKey::BloodPressure));
    EXPECT_EQ(QStringLiteral("100-300"), stored(PlotKey::Weight));
    // Blood pressure on the left axis, weight on the right with its new range.
    EXPECT_EQ("0 2 11 12", shown());
    EXPECT_EQ(1, chart().Series(PlotKey::Weight).VerticalAxis());
    EXPECT_EQ(100.0, chart().Axis(tchart::RightAxis).Minimum);
    EXPECT_EQ(300.0, chart().Axis(tchart::RightAxis).Maximum);
}

TEST_F(ChartLimits, AMultiplePlotWithNothingSwitchedOnStoresNothingAndIsStillRedrawn)
{
    setMultiple({});
    openOn(PlotKey::Multiple, [this](frmChartLimits& d) {
        clsTChartInterface().SetSeriesType(PlotKey::Pulse, SeriesTypeCode::Line); // something drawn
        d.cmdApply_Click();
        EXPECT_EQ("", shown());
        d.cmdClose_Click();
    });
    EXPECT_TRUE(messages().Log().empty());
}

// ---- keys and odd entries ------------------------------------------------------------------

TEST_F(ChartLimits, TheBoxesTakeDigitsSlashAndColonUpToTheirLength)
{
    const struct {
        int row;
        const char* typed;
        const char* kept;
        int beeps;
    } cases[] = {
        {0, "1234", "123", 0},     // blood pressure: three characters
        {0, "9a9", "99", 1},       //
        {2, "123456", "12345", 0}, // the others: five, so no six-digit number
        {2, "-7.5+e", "75", 4},    // no sign, no decimal point, no letter
        {5, "12:3/", "12:3/", 0},  // what the key filter lets through
    };
    setMultiple({{0, 1}, {2, 2}, {5, 2}});
    openOn(PlotKey::Multiple, [&](frmChartLimits& d) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            for (QLineEdit* box : {d.txtLwrLim[static_cast<std::size_t>(c.row)], d.txtUprLim[static_cast<std::size_t>(c.row)]}) {
                services().runtime().beep().Reset();
                box->clear();
                QTest::keyClicks(box, QLatin1String(c.typed));
                EXPECT_EQ(QLatin1String(c.kept), box->text());
                EXPECT_EQ(c.beeps, services().runtime().beep().Count());
            }
        }
        // Pasted text meets the same rule as typed text.
        d.txtLwrLim[2]->clear();
        d.txtLwrLim[2]->insert(QStringLiteral("-40"));
        EXPECT_EQ(QString(), d.txtLwrLim[2]->text());
        d.cmdClose_Click();
    });
}

// ---- the person's settings gone while the dialog is open ------------------------------------

TEST_F(ChartLimits, SettingsGoneMeanwhileAreToldAndNothingIsHalfStored)
{
    enum Removed { WeightRow, Settings, Person };
    const struct {
        const char* name;
        int plot;
        Removed removed;
    } cases[] = {
        // Blood pressure would be stored first; the weight row is missing, so neither is.
        {"multiple plot, one plot's row", PlotKey::Multiple, WeightRow},
        {"single plot, the person's chart settings", PlotKey::Pulse, Settings},
        {"multiple plot, the person", PlotKey::Multiple, Person}, // last: the person is gone for good
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clsDefaultChartValues().CreateDefaultPlots(samplePerson);
        setMultiple({{0, 1}, {2, 2}});
        answer(vb::vbOK);
        openOn(c.plot, [&](frmChartLimits& d) {
            for (int row = 0; row < 6; ++row) {
                d.txtLwrLim[static_cast<std::size_t>(row)]->setText(QStringLiteral("10"));
                d.txtUprLim[static_cast<std::size_t>(row)]->setText(QStringLiteral("20"));
            }
            switch (c.removed) {
            case WeightRow:
                gDB->Execute(QStringLiteral("delete from SINGLE_PERSON_PLOT where PLT_KY = 2 and PRSN_KY = %1").arg(samplePerson),
                             dao::dbFailOnError);
                break;
            case Settings: clsDefaultChartValues().DeletePersonPlots(samplePerson); break;
            case Person: deletePerson(samplePerson); break;
            }
            d.cmdApply_Click();
            d.cmdClose_Click();
        });
        EXPECT_EQ(QStringLiteral("The chart settings of this person are no longer stored. Nothing was saved."), lastBox().text);
        EXPECT_EQ(0, count(QStringLiteral("select count(*) from SINGLE_PERSON_PLOT where Y_MIN = 10")));
        // The chart can still be drawn.
        form().optFact[PlotKey::BloodPressure]->setChecked(true);
        form().optFact_Click(PlotKey::BloodPressure);
        messages().Clear();
    }
    EXPECT_TRUE(services().runtime().Errors().isEmpty());
}

} // namespace
