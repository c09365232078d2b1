// The vertical limits dialog, opened from the chart window's button and driven as the user would.
#include "ChartDialogFixture.h"

#include "charts/clsTChartInterface.h"
#include "charts/frmChartLimits.h"
#include "data/modHealth.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/Interaction.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using testing_charts::ChartDialogFixture;

namespace {

const QString Refusal = QStringLiteral("The value of lower limit must be less than that of upperlimit.");
const QString Largest = QStringLiteral("A limit cannot be larger than 32767.");

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
    // "lower-upper" as stored for the sample person's plot, and as row i's boxes show it.
    QString stored(int plot)
    {
        auto rs = gDB->OpenRecordset(
            QStringLiteral("select Y_MIN & '-' & Y_MAX from SINGLE_PERSON_PLOT where PRSN_KY = ? and PLT_KY = ?"),
            dao::Params{samplePerson, plot}, dao::dbOpenSnapshot);
        return rs->Eof() ? QString() : rs->Fields(0).Value().toString();
    }
    static QString boxes(const frmChartLimits& d, int i)
    {
        return d.txtLwrLim[std::size_t(i)]->text() + QLatin1Char('-') + d.txtUprLim[std::size_t(i)]->text();
    }
    static bool editable(const frmChartLimits& d, int i)
    {
        const auto n = static_cast<std::size_t>(i);
        return d.txtLwrLim[n]->isEnabled() && !d.txtLwrLim[n]->isReadOnly() && d.txtUprLim[n]->isEnabled() &&
               !d.txtUprLim[n]->isReadOnly() && d.lblFact[n]->isEnabled() && d.lblto[n]->isEnabled();
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

TEST_F(ChartLimits, TheDialogNamesItsRowsAndTabsThroughTheOpenOnes)
{
    gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temperature', Temp1LBL = 'Glucose'"), dao::dbFailOnError);
    openOn(PlotKey::Pulse, [](frmChartLimits& d) {
        EXPECT_EQ(QStringLiteral("Setting Limits for Vertical Axis"), d.windowTitle());
        QStringList captions;
        for (QLabel* label : {d.Label2[0], d.Label2[1], d.Label2[2], d.lblto[3]})
            captions << label->text();
        for (QLabel* label : d.lblFact)
            captions << label->text();
        EXPECT_EQ(QStringList({"Lower Limit", "Measurement", "Upper Limit", "to",
                               "Blood Pressure:", "Pulse:", "Weight:", "Temperature:", "Glucose:", "Sugar:"}),
                  captions);
        EXPECT_EQ(QStringLiteral("Apply/&Save"), d.cmdApply->text());
        EXPECT_EQ(QStringLiteral("&Close"), d.cmdClose->text());
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
        std::vector<std::pair<int, int>> multiple; // plot, side
        int mode;
        const char* editableRows;
        const char* filledRows;
    } cases[] = {
        {"pulse shown", PlotKey::Pulse, {}, 1, "1", "012345"},
        {"sugar shown", PlotKey::Sugar, {}, 1, "5", "012345"},
        {"blood pressure and weight in the multiple plot", PlotKey::Multiple, {{0, 1}, {2, 2}}, 2, "02", "02"},
        {"nothing in the multiple plot", PlotKey::Multiple, {}, 2, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storeMultiple(c.multiple);
        openOn(c.plot, [&](frmChartLimits& d) {
            EXPECT_EQ(c.mode, d.PlotMode());
            QString editableRows, filledRows;
            for (int i = 0; i < 6; ++i) {
                const auto n = static_cast<std::size_t>(i);
                editableRows += editable(d, i) ? QString::number(i) : QString();
                filledRows += d.txtLwrLim[n]->text().isEmpty() ? QString() : QString::number(i);
                if (!editable(d, i)) {
                    EXPECT_FALSE(d.txtUprLim[n]->isEnabled() || d.lblFact[n]->isEnabled());
                    EXPECT_EQ(resolved(vb::vbButtonFace), vb::BackColor(d.txtLwrLim[n]));
                } else if (c.mode == 2) {
                    EXPECT_EQ(resolved(vb::vbWindowBackground), vb::BackColor(d.txtUprLim[n]));
                }
            }
            EXPECT_EQ(QLatin1String(c.editableRows), editableRows);
            EXPECT_EQ(QLatin1String(c.filledRows), filledRows);
            EXPECT_EQ(filledRows.isEmpty() ? QStringLiteral("-") : QStringLiteral("60-200"), boxes(d, 0));
            d.cmdClose_Click();
        });
    }
}

// ---- apply ---------------------------------------------------------------------------------

TEST_F(ChartLimits, ApplyTidiesTheShownRowThenStoresOrRefusesIt)
{
    // The pulse plot is stored as 40 to 110.
    const struct {
        const char *lower, *upper;
        const char* after; // the boxes after Apply, and what is stored then
        const QString* refusal;
    } cases[] = {
        {"", "", "40-110", &Refusal},         // both empty: 0 and 0
        {"150", "50", "50-150", nullptr},     // swapped
        {"80", "80", "40-110", &Refusal},     // equal
        {"12:30", "1/2", "1-12", nullptr},    // leading digits only, then swapped
        {"/5", "90", "0-90", nullptr},        // no leading digit is 0
        {"0", "32767", "0-32767", nullptr},   // the largest limit
        {"100", "32768", "40-110", &Largest}, // beyond the stored column
        {"99999", "5", "40-110", &Largest},   // swapped, and still beyond it
        {"40000", "40000", "40-110", &Largest},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lower) + " to " + c.upper);
        gDB->Execute(QStringLiteral("update SINGLE_PERSON_PLOT set Y_MIN = 40, Y_MAX = 110 where PLT_KY = 1"),
                     dao::dbFailOnError);
        messages().Clear();
        if (c.refusal)
            answer(vb::vbOK);
        openOn(PlotKey::Pulse, [&](frmChartLimits& d) {
            d.txtLwrLim[0]->setText(QStringLiteral("1")); // a shut row is not stored
            d.txtLwrLim[1]->setText(QLatin1String(c.lower));
            d.txtUprLim[1]->setText(QLatin1String(c.upper));
            d.cmdApply_Click();
            EXPECT_EQ(QLatin1String(c.after), boxes(d, 1));
            d.txtUprLim[1]->setText(QStringLiteral("999")); // closing stores nothing
            d.cmdClose_Click();
        });
        EXPECT_EQ(QLatin1String(c.after), stored(PlotKey::Pulse));
        EXPECT_EQ(QStringLiteral("60-200"), stored(PlotKey::BloodPressure));
        ASSERT_EQ(c.refusal ? 1u : 0u, messages().Log().size());
        if (c.refusal) {
            EXPECT_EQ(*c.refusal, lastBox().text);
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

TEST_F(ChartLimits, ApplyOnTheMultiplePlotDecidesEachSwitchedOnRowThenRedrawsIt)
{
    storeMultiple({{0, 1}, {2, 2}});
    answer(vb::vbOK);
    openOn(PlotKey::Multiple, [](frmChartLimits& d) {
        d.txtLwrLim[0]->setText(QStringLiteral("90"));
        d.txtUprLim[0]->setText(QStringLiteral("90")); // refused, and the next row still decided
        d.txtLwrLim[2]->setText(QStringLiteral("300"));
        d.txtUprLim[2]->setText(QStringLiteral("100"));
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

    // With nothing switched on, nothing is stored and the empty multiple plot is drawn again.
    storeMultiple({});
    openOn(PlotKey::Multiple, [this](frmChartLimits& d) {
        clsTChartInterface().SetSeriesType(PlotKey::Pulse, SeriesTypeCode::Line);
        d.cmdApply_Click();
        EXPECT_EQ("", shown());
        d.cmdClose_Click();
    });
    EXPECT_EQ(1u, messages().Log().size());
}

// ---- keys and odd entries ------------------------------------------------------------------

TEST_F(ChartLimits, TheBoxesTakeDigitsSlashAndColonUpToTheirLength)
{
    const struct {
        int row;
        const char *typed, *kept;
        int beeps;
    } cases[] = {
        {0, "1234", "123", 0},     // blood pressure: three characters
        {0, "9a9", "99", 1},       //
        {2, "123456", "12345", 0}, // the others: five, so no six-digit number
        {2, "-7.5+e", "75", 4},    // no sign, no decimal point, no letter
        {5, "12:3/", "12:3/", 0},  // what the key filter lets through
    };
    storeMultiple({{0, 1}, {2, 2}, {5, 2}});
    openOn(PlotKey::Multiple, [&](frmChartLimits& d) {
        gDB->Execute(QStringLiteral("update SINGLE_PERSON_PLOT set Y_MIN = -1000 where PLT_KY = 0"), dao::dbFailOnError);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            for (QLineEdit* box : {d.txtLwrLim[std::size_t(c.row)], d.txtUprLim[std::size_t(c.row)]}) {
                services().runtime().beep().Reset();
                box->clear();
                QTest::keyClicks(box, QLatin1String(c.typed));
                EXPECT_EQ(QLatin1String(c.kept), box->text());
                EXPECT_EQ(c.beeps, services().runtime().beep().Count());
            }
        }
        // A longer stored limit shows whole; typing does not lengthen it.
        d.LoadMultiplePlotLimits(PlotKey::Multiple);
        EXPECT_EQ(QStringLiteral("-1000-200"), boxes(d, 0));
        QTest::keyClicks(d.txtLwrLim[0], QStringLiteral("7"));
        EXPECT_EQ(QStringLiteral("-1000"), d.txtLwrLim[0]->text());
        d.cmdClose_Click();
    });
}

TEST_F(ChartLimits, APasteTheBoxesCannotTakeIsRefusedWholeAndSaysWhatALimitIs)
{
    const struct {
        int row;
        const char *before, *pasted, *after;
        bool refused;
    } cases[] = {
        {2, "", "-45abc", "", true}, // neither the sign nor the letters, and nothing of the rest
        {2, "7", "4.5e", "7", true},  {2, "", " 45", "", true},         {2, "", "123456", "", true}, // too long: refused, not cut
        {0, "", "1234", "", true},    {2, "", "12:30", "12:30", false},                              // what the keys may type
        {0, "1", "23", "123", false},
    };
    storeMultiple({{0, 1}, {2, 2}});
    openOn(PlotKey::Multiple, [&](frmChartLimits& d) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.pasted);
            messages().Clear();
            if (c.refused)
                answer(vb::vbOK);
            QLineEdit* box = d.txtUprLim[std::size_t(c.row)];
            box->setText(QLatin1String(c.before));
            QGuiApplication::clipboard()->setText(QLatin1String(c.pasted));
            box->paste();
            EXPECT_EQ(QLatin1String(c.after), box->text());
            ASSERT_EQ(c.refused ? 1u : 0u, messages().Log().size());
            if (c.refused) {
                EXPECT_EQ(QStringLiteral("A limit is a whole number from 0 to %1, of digits only.")
                              .arg(c.row == PlotKey::BloodPressure ? 999 : 32767),
                          lastBox().text);
                EXPECT_EQ(QStringLiteral("Limits Validation"), lastBox().title);
            }
        }
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
        storeMultiple({{0, 1}, {2, 2}});
        answer(vb::vbOK);
        openOn(c.plot, [&](frmChartLimits& d) {
            for (int i = 0; i < 6; ++i) {
                d.txtLwrLim[std::size_t(i)]->setText(QStringLiteral("10"));
                d.txtUprLim[std::size_t(i)]->setText(QStringLiteral("20"));
            }
            switch (c.removed) {
            case WeightRow:
                gDB->Execute(QStringLiteral("delete from SINGLE_PERSON_PLOT where PLT_KY = 2 and PRSN_KY = ?"),
                             dao::Params{samplePerson}, dao::dbFailOnError);
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
    }
    EXPECT_TRUE(services().runtime().Errors().isEmpty());
}

} // namespace
