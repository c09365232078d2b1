#include "data/ui/GridWidths.h"

#include "platform/controls/VSFlexGrid.h"

namespace modHealth {

QString FlexGridWidths::gridName() const { return grid_.objectName(); }
int FlexGridWidths::columnCount() const { return grid_.Cols(); }
int FlexGridWidths::columnWidth(int column) const { return grid_.ColWidth(column); }
void FlexGridWidths::setColumnWidth(int column, int twips) { grid_.setColWidth(column, twips); }

void LoadGridColumnWidths(VSFlexGrid& grid)
{
    FlexGridWidths widths(grid);
    LoadGridColumnWidths(static_cast<ColumnWidthGrid&>(widths));
}

void SaveGridColumnWidths(VSFlexGrid& grid)
{
    FlexGridWidths widths(grid);
    SaveGridColumnWidths(static_cast<const ColumnWidthGrid&>(widths));
}

} // namespace modHealth
