#pragma once
// The one way into the chart of the chart window: plots by plot key (0 blood pressure, 1 pulse,
// 2 weight, 3 and 4 the custom measurements, 5 sugar), series kinds by their stored codes,
// vertical axes by label position (1 left, 2 right) and top-axis labels by kind.
//
// The chart holds 13 series in a fixed order:
//    0 blood pressure candles (low to high)     6 top-axis labels: sugar test (goal) name
//    1 pulse  2 weight  3 custom 1              7 top-axis labels: mood
//    4 custom 2  5 sugar                        8 top-axis labels: regimen
//    9, 10 blood pressure low and high, drawn as lines when plot 0 is a line
//   11, 12 blood pressure high and low as small squares coloured by the pressure's class
//
// Every operation but InitChart works on the chart of the chart window's default instance
// (made on demand). An instance caches the last type, colour and width passed per plot; make
// one per use.
#include "data/modFunctions.h"
#include "platform/runtime/ui/Colors.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <stdexcept>

class frmChart;
class TChart;

// A plot outside 0 to 5 where a per-plot setting is changed or read.
class SubscriptOutOfRange : public std::out_of_range {
public:
    SubscriptOutOfRange() : std::out_of_range("Subscript out of range") {}
    int Number() const { return 9; }
};

// Plot keys, series codes and the top-axis label kinds the chart uses.
namespace PlotKey {
enum : int { BloodPressure = 0, Pulse = 1, Weight = 2, Custom1 = 3, Custom2 = 4, Sugar = 5, Multiple = 6 };
}
namespace SeriesTypeCode {
enum : int { Line = 0, Bar = 1, Area = 3, Point = 4, Candle = 11 };
}

class clsTChartInterface {
public:
    // Chart colours of a blood-pressure reading: red, yellow, green (BGR codes).
    static constexpr vb::OLE_COLOR BpRed = 0xFF;
    static constexpr vb::OLE_COLOR BpYellow = 0xFFFF;
    static constexpr vb::OLE_COLOR BpGreen = 0xFF00;
    // The class of a systolic (high) or diastolic (low) reading.
    static vb::OLE_COLOR BpColorCode(float reading, bool high);

    // ---- set-up, series and points
    void InitChart(frmChart& frm);
    void Set3DPercent(int percent);
    void Get3DPercent(int& percent);
    void SetBackColor(vb::OLE_COLOR color);
    void GetBackColor(vb::OLE_COLOR& color);
    void SetPanelColor(vb::OLE_COLOR color);
    void GetPanelColor(vb::OLE_COLOR& color);
    void SetSeriesType(int plot, int code);
    void GetSeriesType(int plot, int& code);
    void SetSeriesColor(int plot, vb::OLE_COLOR color);
    void GetSeriesColor(int plot, vb::OLE_COLOR& color);
    void SetSeriesWidth(int plot, int width);
    void GetSeriesWidth(int plot, int& width);
    void HideAllSeries();
    // 0 hides the whole blood-pressure group (0, 9 to 12); another index that series only.
    void HideSeries(int index);
    // Plot 0: value is the low reading, value2 the high one.
    void AddMeasurement(int plot, const QDateTime& x, float value, float value2, const QString& sugarTestName);
    void FinishDataLoad();

    // ---- axes, title and top-axis labels
    void SetTitle(const QString& title);
    void SetDailyXAxis(int month, int year);
    void SetWeeklyXAxis(int month, int year);
    void SetMonthlyXAxis(int month, int year);
    void SetVerticalAxis(int plot, int labelPosition, int lower, int upper);
    // 1 none, 2 regimen, 3 mood, 4 sugar test time.
    void ShowTopAxisSeries(int choice);
    // Kind 1 mood, 2 regimen, 3 sugar test time.
    void AddTopAxisLabel(int kind, const QDateTime& x, const QString& text);

private:
    static TChart& chart();
    static void checkPlot(int plot);
    void setXAxes(const QDateTime& start, const QDateTime& end, int step, const QString& format);

    std::array<int, 6> seriesType_{};
    std::array<vb::OLE_COLOR, 6> seriesColor_{};
    std::array<int, 6> seriesWidth_{};
    modFunctions::SugarGoalColors sugarGoals_; // for the readings of one load
};
