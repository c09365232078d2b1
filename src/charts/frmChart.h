#pragma once
// The chart window: one person's readings drawn for a chosen period, with the regimens they
// name in a grid below. A child of the main window, opened by its View menu.
//
// For now the window holds a place for the chart (TChart1) and the regimen grid
// (vsFGChartRegimen, empty), so that the main window can open, print and export it.
#include "platform/runtime/ui/Form.h"

class QLabel;
class VSFlexGrid;

class frmChart : public vb::Form {
    Q_OBJECT
public:
    frmChart();
    ~frmChart() override;

    QLabel* TChart1;              // where the chart goes
    VSFlexGrid* vsFGChartRegimen; // the regimens of the shown readings

    // Prints the chart on one page through the printer service; throws services::PrintError.
    void PrintChart();
};
