#pragma once
// The stored column widths for the flex grid: the grid is known by its control name.
#include "data/modHealth.h"

class VSFlexGrid;

namespace modHealth {

// The flex grid seen as the width helpers see a grid.
class FlexGridWidths : public ColumnWidthGrid {
public:
    explicit FlexGridWidths(VSFlexGrid& grid) : grid_(grid) {}
    QString gridName() const override;
    int columnCount() const override;
    int columnWidth(int column) const override;
    void setColumnWidth(int column, int twips) override;

private:
    VSFlexGrid& grid_;
};

void LoadGridColumnWidths(VSFlexGrid& grid);
void SaveGridColumnWidths(VSFlexGrid& grid);

} // namespace modHealth
