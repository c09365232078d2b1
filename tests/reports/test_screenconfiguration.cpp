// The open-form save and restore: the data forms the report takes out of the way come back,
// maximised, with the grid view's selections.
#include "reports/GridFixture.h"

#include "charts/frmChart.h"
#include "platform/controls/VSFlexGrid.h"
#include "records/frmDSetGoal.h"
#include "records/frmMeasure.h"
#include "records/frmMemo.h"
#include "records/frmRegimen.h"
#include "reports/clsScreenConfiguration.h"
#include "reports/frmGrid.h"

#include <QCheckBox>
#include <QListWidget>

#include <functional>

namespace {

using testing_reports::GridFixture;

class ScreenConfigurationTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        gPersonKey = count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = 'Pellam Ostry'"));
    }

    static bool isLoaded(const char* name) { return vb::Forms().Find(QLatin1String(name)) != nullptr; }
    static vb::FormBase* loaded(const char* name) { return vb::Forms().Find(QLatin1String(name)); }
};

TEST_F(ScreenConfigurationTest, EachDataFormIsClosedAndComesBackMaximised)
{
    const struct {
        const char* name;
        std::function<void()> open;
    } forms[] = {
        {"frmMeasure", [] { vb::defaultInstance<frmMeasure>().Show(); }},
        {"frmRegimen", [] { vb::defaultInstance<frmRegimen>().Show(); }},
        {"frmDSetGoal", [] { vb::defaultInstance<frmDSetGoal>().Show(); }},
        {"frmChart", [] { vb::defaultInstance<frmChart>().Show(); }},
        {"frmGrid", [] { vb::defaultInstance<frmGrid>().Show(); }},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f.name);
        f.open();
        vb::defaultInstance<frmMemo>().Load(); // not a data form: left alone
        clsScreenConfiguration screen;
        screen.SaveAndClose();
        EXPECT_FALSE(isLoaded(f.name));
        EXPECT_TRUE(isLoaded("frmMemo"));
        EXPECT_EQ(QLatin1String(f.name), screen.FormName());

        screen.Restore();
        ASSERT_TRUE(isLoaded(f.name));
        EXPECT_TRUE(loaded(f.name)->Window()->isMaximized());
        loaded(f.name)->Unload();
    }
}

TEST_F(ScreenConfigurationTest, TheGridComesBackWithItsCategoryPeriodAndColumnsShown)
{
    auto& grid = vb::defaultInstance<frmGrid>();
    grid.Show();
    grid.lstPlotType->setCurrentRow(3);     // "Monthly Average"
    grid.lstSelectPeriod->setCurrentRow(3); // "Last 6 Months"
    for (QCheckBox* box : grid.ColumnCheckBoxes())
        box->setChecked(box == grid.chkPLSE);
    grid.chkBPColor->setChecked(false);

    clsScreenConfiguration screen;
    screen.SaveAndClose();
    ASSERT_FALSE(isLoaded("frmGrid"));
    screen.Restore();

    auto* back = vb::Forms().Find<frmGrid>(QStringLiteral("frmGrid"));
    ASSERT_NE(nullptr, back);
    EXPECT_TRUE(back->Window()->isMaximized());
    EXPECT_EQ(3, back->lstPlotType->currentRow());
    EXPECT_EQ(3, back->lstSelectPeriod->currentRow());
    for (QCheckBox* box : back->ColumnCheckBoxes())
        EXPECT_EQ(box == back->chkPLSE, box->isChecked()) << box->objectName().toStdString();
    // The table shows them: month rows, only the pulse among the groups.
    EXPECT_EQ(3, back->ShownPlotType);
    EXPECT_FALSE(back->vsFGShow->ColHidden(frmGrid::colPulse));
    for (const int col : {5, 6, 8, 9, 10, 11, 12, 13, 14, 15})
        EXPECT_TRUE(back->vsFGShow->ColHidden(col)) << col;
    // Six months counted back from December 1999: July to December.
    EXPECT_EQ(7, back->vsFGShow->Rows());
    EXPECT_EQ(QStringLiteral("07/01/99"), back->vsFGShow->TextMatrix(1, frmGrid::colDate));
}

TEST_F(ScreenConfigurationTest, TheMeasurementAndGoalFormsBothComeBackAndNothingOpensWithoutADataForm)
{
    vb::defaultInstance<frmMeasure>().Show();
    vb::defaultInstance<frmDSetGoal>().Show();
    clsScreenConfiguration screen;
    screen.SaveAndClose();
    EXPECT_FALSE(isLoaded("frmMeasure"));
    EXPECT_FALSE(isLoaded("frmDSetGoal"));
    EXPECT_EQ(QStringLiteral("frmDSetGoal"), screen.FormName());
    screen.Restore();
    EXPECT_TRUE(isLoaded("frmMeasure"));
    EXPECT_TRUE(isLoaded("frmDSetGoal"));
    // The one met last in the walk is on top, as before.
    EXPECT_EQ(vb::Forms().Item(vb::Forms().Count() - 1), loaded("frmDSetGoal"));

    vb::DestroyAllForms();
    clsScreenConfiguration empty;
    empty.SaveAndClose();
    EXPECT_EQ(QString(), empty.FormName());
    empty.Restore();
    EXPECT_EQ(0, vb::Forms().Count());
}

} // namespace
