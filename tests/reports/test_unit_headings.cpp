// The headings of the custom measurements in the three grids that show them (the grid view, the
// Measurement form's grid and the import window's): a label and unit within their allowed
// lengths show whole, each word on a line of its own at most, within the heading's two lines.
#include "records/RecordsFixture.h"
#include "records/frmMeasure.h"
#include "reports/frmGrid.h"
#include "reports/frmImportMeasurements.h"

#include "data/ui/Captions.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/runtime/ui/Twips.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>
#include <gtest/gtest.h>

#include <string>

namespace {

using UnitHeadingTest = testing_records::RecordsFixture;

// How many lines the heading takes in the width its section leaves for the label, or -1 when a
// word is broken.
int shownLines(const VSFlexGrid& grid, int col)
{
    const QHeaderView* header = grid.horizontalHeader();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.rect = QRect(0, 0, vb::TwipsToPixelsX(grid.ColWidth(col), &grid), header->height());
    const int width = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header).width();
    return captions::headingLines(grid.TextMatrix(0, col), header->font(), width);
}

// The grid of a form, loaded.
template <class Form>
VSFlexGrid& loaded(VSFlexGrid* Form::*grid)
{
    auto& form = vb::defaultInstance<Form>();
    form.Load();
    return *(form.*grid);
}

TEST_F(UnitHeadingTest, ACustomLabelAndUnitWithinTheirLengthsShowWholeInEachGrid)
{
    const std::pair<const char*, const char*> settings[] = {
        {"Temperature", "F"},
        {"Blood oxygen", "%"},
        {"WWWWWWWWWWWW", "WWWWWWWWWWWW"}, // both at their 12 characters, of the widest letter
        {"Oxygen", "mmHg per min"},
    };
    const struct {
        const char* name;
        VSFlexGrid& (*open)();
        int firstCustomColumn;
    } grids[] = {
        {"grid view", []() -> VSFlexGrid& { return loaded(&frmGrid::vsFGShow); }, frmGrid::colTemp},
        {"measurement grid", []() -> VSFlexGrid& { return loaded(&frmMeasure::vsFGInfo); }, 9},
        {"import grid", []() -> VSFlexGrid& { return loaded(&frmImportMeasurements::vsFGImport); }, 7},
    };
    for (const auto& [label, unit] : settings) {
        // Each grid was closed before with the labels a new database has, and so keeps the widths
        // they were given.
        gDB->Execute(QStringLiteral("update Application set TempLBL = 'Custom1', TempUnit = 'Unit1', Temp1LBL = 'Custom2', "
                                    "Temp1Unit = 'Unit2'"),
                     dao::dbFailOnError);
        for (const auto& g : grids) {
            g.open();
            for (vb::FormBase* form : vb::Forms().Snapshot())
                form->Unload();
        }
        gDB->Execute(QStringLiteral("update Application set TempLBL = '%1', TempUnit = '%2', Temp1LBL = '%1', Temp1Unit = '%2'")
                         .arg(QLatin1String(label), QLatin1String(unit)),
                     dao::dbFailOnError);
        for (const auto& g : grids) {
            SCOPED_TRACE(std::string(g.name) + ": " + label + " (" + unit + ")");
            VSFlexGrid& grid = g.open();
            grid.show();
            const int lineRoom = grid.horizontalHeader()->height() / grid.horizontalHeader()->fontMetrics().lineSpacing();
            for (int col : {g.firstCustomColumn, g.firstCustomColumn + 1}) {
                ASSERT_EQ(QStringLiteral("%1 (%2)").arg(QLatin1String(label), QLatin1String(unit)), grid.TextMatrix(0, col));
                const int lines = shownLines(grid, col);
                EXPECT_GE(lines, 1) << "a word is broken in " << grid.ColWidth(col) << " twips";
                EXPECT_LE(lines, lineRoom);
            }
            vb::DestroyAllForms();
        }
    }
}

} // namespace
