#pragma once
// The browsing grid: one person's measurements, or their day, week or month averages, for a
// chosen period. A child of the main window, opened by its View menu.
//
// For now the window holds the empty grid (vsFGShow) and the level last shown, which the main
// window's web-page export reads.
#include "platform/runtime/ui/Form.h"

#include <QtGlobal>

class QLabel;
class VSFlexGrid;

class frmGrid : public vb::Form {
    Q_OBJECT
public:
    frmGrid();
    ~frmGrid() override;

    // The averaging level last shown: 0 daily values, 1 day, 2 week, 3 month averages.
    qint16 ShownPlotType = 0;

    QLabel* lblNotBuilt;
    VSFlexGrid* vsFGShow;
};
