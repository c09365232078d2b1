// Column widths of a real flex grid kept under its control name.
#include "data/DataFixture.h"
#include "data/ui/GridWidths.h"
#include "platform/controls/VSFlexGrid.h"

namespace {

using testing_data::DataFixture;

TEST_F(DataFixture, FlexGridWidthsAreStoredUnderTheGridsNameAndComeBack)
{
    VSFlexGrid saved;
    saved.setObjectName(QStringLiteral("vsFGPerson"));
    saved.setCols(3);
    saved.setColWidth(0, 300);
    saved.setColWidth(1, 2400);
    saved.setColWidth(2, 0);
    modHealth::SaveGridColumnWidths(saved);
    EXPECT_EQ(2400, count(QStringLiteral("select COL2 from GridColumnPersistance where GRID_NM = 'vsFGPerson'")));

    VSFlexGrid loaded;
    loaded.setObjectName(QStringLiteral("vsFGPerson"));
    loaded.setCols(3);
    loaded.setColWidth(1, 1000);
    modHealth::LoadGridColumnWidths(loaded);
    EXPECT_EQ(2400, loaded.ColWidth(1));
    EXPECT_EQ(0, loaded.ColWidth(2));

    // A grid without a row keeps its widths.
    VSFlexGrid other;
    other.setObjectName(QStringLiteral("vsFGImport"));
    other.setCols(2);
    other.setColWidth(1, 1234);
    modHealth::LoadGridColumnWidths(other);
    EXPECT_EQ(1234, other.ColWidth(1));
}

} // namespace
