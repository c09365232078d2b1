#pragma once
// The chart builder: puts one period of a person's readings, or of the stored day, week or
// month averages, onto the chart window's chart (every load fills all six plots), and applies
// the person's stored look to it: panel, back colour and depth, and the type, colour, range and
// axis side of the plot shown. All drawing goes through clsTChartInterface.
#include "platform/dao/dao.h"

#include <QtGlobal>

class frmChart;

class clsChart {
public:
    // rs is the person's rows of the category from clsDataService::GetMeasureData, by date;
    // the loader moves its cursor. Daily and day-average plots cover the month; weekly and
    // monthly ones the whole year, whatever month is passed.
    void LoadDailyPlot(int month, int year, dao::Recordset& rs, frmChart& frm);
    void LoadDayAveragePlot(int month, int year, dao::Recordset& rs, frmChart& frm);
    void LoadWeeklyAveragePlot(int month, int year, dao::Recordset& rs, frmChart& frm);
    void LoadMonthlyAveragePlot(int month, int year, dao::Recordset& rs, frmChart& frm);

    // The current person's panel and back colour and depth, and the colour, range and width of
    // plots 0 to 3.
    void ApplyPersonAppearance(frmChart& frm);
    // Hides every plot series, then shows and styles plot 0 to 5, or each plot the person has
    // switched on in the multiple plot (any other plot value).
    void ApplyPlotSettings(frmChart& frm, int plot, qint32 personKey);

private:
    enum class Level { Daily, DayAverage, Weekly, Monthly };
    void load(Level level, int month, int year, dao::Recordset& rs);
};
