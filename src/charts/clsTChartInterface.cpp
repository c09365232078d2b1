#include "charts/clsTChartInterface.h"

#include "charts/frmChart.h"
#include "data/Globals.h"
#include "data/modFunctions.h"
#include "platform/controls/TChart.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Form.h"

namespace {

constexpr vb::OLE_COLOR PlainPointColor = 0xFFFF00;
constexpr vb::OLE_COLOR LabelColor = 0xFF0000;
constexpr int FixedBarWidth = 5;
constexpr double TopLabelAngle = 90;
constexpr double TopLabelY = 90.0;

enum Step { OneDay, OneWeek, OneMonth };

QDateTime Midnight(int year, int month, int day) { return QDateTime(QDate(year, month, day), QTime(0, 0), Qt::UTC); }

// A settings column as text; Null reads as the empty text, so one empty setting costs no chart.
QString Text(const dao::RecordsetPtr& rs, const char* column)
{
    const QVariant value = rs->Fields(QLatin1String(column)).Value();
    return vb::IsNull(value) ? QString() : value.toString();
}

} // namespace

vb::OLE_COLOR clsTChartInterface::BpColorCode(float reading, bool high)
{
    const float red = high ? 140.0f : 90.0f;
    const float yellow = high ? 130.0f : 85.0f;
    if (reading >= red)
        return BpRed;
    if (reading >= yellow)
        return BpYellow;
    return BpGreen;
}

TChart& clsTChartInterface::chart() { return *vb::defaultInstance<frmChart>().TChart1; }

void clsTChartInterface::checkPlot(int plot)
{
    if (plot < 0 || plot > 5)
        throw SubscriptOutOfRange();
}

// ---------------------------------------------------------------------------------------------
// Set-up, series and points

void clsTChartInterface::InitChart(frmChart& frm)
{
    TChart& c = *frm.TChart1;
    c.setView3D(true);
    c.Axis(tchart::LeftAxis).Automatic = false;
    for (int i = 0; i < c.SeriesCount(); ++i) {
        c.Series(i).Clear();
        c.Series(i).setActive(false);
    }
    c.Series(11).setPointerSize(3, 3);
    c.Series(12).setPointerSize(3, 3);
}

void clsTChartInterface::Set3DPercent(int percent)
{
    TChart& c = chart();
    if (percent == 0) {
        c.setView3D(false);
    } else {
        c.setChart3DPercent(percent);
        c.setView3D(true);
    }
}

void clsTChartInterface::Get3DPercent(int& percent)
{
    const TChart& c = chart();
    percent = c.View3D() ? c.Chart3DPercent() : 0;
}

void clsTChartInterface::SetBackColor(vb::OLE_COLOR color) { chart().setBackColor(color); }

void clsTChartInterface::GetBackColor(vb::OLE_COLOR& color) { color = chart().BackColor(); }

void clsTChartInterface::SetPanelColor(vb::OLE_COLOR color)
{
    TChart& c = chart();
    c.setPanelColor(color);
    c.setTitleBackColor(color);
}

void clsTChartInterface::GetPanelColor(vb::OLE_COLOR& color) { color = chart().PanelColor(); }

void clsTChartInterface::SetSeriesType(int plot, int code)
{
    checkPlot(plot);
    seriesType_[static_cast<std::size_t>(plot)] = code;
    TChart& c = chart();
    if (plot == PlotKey::BloodPressure) {
        if (code == SeriesTypeCode::Candle) {
            c.Series(0).setActive(true);
            c.Series(9).setActive(false);
            c.Series(10).setActive(false);
        } else if (code == SeriesTypeCode::Line) {
            c.Series(0).setActive(false);
            c.Series(9).setKind(tchart::Line);
            c.Series(10).setKind(tchart::Line);
            c.Series(10).setActive(true);
            c.Series(9).setActive(true);
        }
        c.Series(11).setActive(true);
        c.Series(12).setActive(true);
        return;
    }
    TChartSeries& s = c.Series(plot);
    s.setKind(code);
    if (s.Kind() == tchart::Bar)
        s.setBarWidth(FixedBarWidth);
    s.setActive(true);
}

void clsTChartInterface::GetSeriesType(int plot, int& code)
{
    checkPlot(plot);
    code = seriesType_[static_cast<std::size_t>(plot)];
}

void clsTChartInterface::SetSeriesColor(int plot, vb::OLE_COLOR color)
{
    checkPlot(plot);
    seriesColor_[static_cast<std::size_t>(plot)] = color;
    TChart& c = chart();
    if (plot == PlotKey::BloodPressure) {
        c.Series(0).setCandleColor(color);
        c.Series(9).setColor(color);
        c.Series(10).setColor(color);
        return;
    }
    TChartSeries& s = c.Series(plot);
    s.setColorEachPoint(false);
    s.setColor(color);
}

void clsTChartInterface::GetSeriesColor(int plot, vb::OLE_COLOR& color)
{
    const TChart& c = chart();
    if (plot == PlotKey::BloodPressure)
        color = c.Series(0).CandleColor();
    else if (plot >= 1 && plot <= 5)
        color = c.Series(plot).Color();
    else
        color = 0;
}

void clsTChartInterface::SetSeriesWidth(int plot, int width)
{
    checkPlot(plot);
    // The width is kept for the caller; bars and candles are always drawn 5 pixels wide.
    seriesWidth_[static_cast<std::size_t>(plot)] = width;
    TChart& c = chart();
    if (plot == PlotKey::BloodPressure) {
        c.Series(0).setCandleWidth(FixedBarWidth);
        for (int i : {9, 10})
            if (c.Series(i).Kind() == tchart::Bar)
                c.Series(i).setBarWidth(FixedBarWidth);
        return;
    }
    if (c.Series(plot).Kind() == tchart::Bar)
        c.Series(plot).setBarWidth(FixedBarWidth);
}

void clsTChartInterface::GetSeriesWidth(int plot, int& width)
{
    checkPlot(plot);
    SetSeriesWidth(plot, seriesWidth_[static_cast<std::size_t>(plot)]);
    width = 0;
}

void clsTChartInterface::HideAllSeries()
{
    TChart& c = chart();
    for (int i : {0, 1, 2, 3, 4, 5, 9, 10, 11, 12})
        c.Series(i).setActive(false);
}

void clsTChartInterface::HideSeries(int index)
{
    TChart& c = chart();
    if (index == 0) {
        for (int i : {0, 9, 10, 11, 12})
            c.Series(i).setActive(false);
        return;
    }
    c.Series(index).setActive(false); // out_of_range outside 0 to 12
}

void clsTChartInterface::AddMeasurement(int plot, const QDateTime& x, float value, float value2, const QString& sugarTestName)
{
    if (plot < 0 || plot > 5)
        return;
    TChart& c = chart();
    const double when = tchart::DateValue(x);
    if (plot == PlotKey::BloodPressure) {
        c.Series(0).AddCandle(when, value, value2, value, value2);
        c.Series(9).AddXY(when, value, QString(), PlainPointColor);
        c.Series(10).AddXY(when, value2, QString(), PlainPointColor);
        c.Series(11).AddXY(when, value2, QString(), BpColorCode(value2, true));
        c.Series(12).AddXY(when, value, QString(), BpColorCode(value, false));
        return;
    }
    if (plot == PlotKey::Sugar) {
        c.Series(5).AddXY(when, value, QString(), static_cast<vb::OLE_COLOR>(sugarGoals_.ColorOf(value, sugarTestName)));
        return;
    }
    c.Series(plot).AddXY(when, value, QString(), PlainPointColor);
}

void clsTChartInterface::FinishDataLoad()
{
    TChart& c = chart();
    for (int i : {1, 2, 3, 4, 5, 9, 10})
        c.Series(i).setColorEachPoint(false);
}

// ---------------------------------------------------------------------------------------------
// Axes, title and top-axis labels

void clsTChartInterface::SetTitle(const QString& title)
{
    TChart& c = chart();
    c.setTitle({title});
    c.setTitleFont(QStringLiteral("MS Hans Sherif"), 12);
}

void clsTChartInterface::setXAxes(const QDateTime& start, const QDateTime& end, int step, const QString& format)
{
    TChart& c = chart();
    const tchart::DateStep dateStep = step == OneDay    ? tchart::DateStep::Day
                                      : step == OneWeek ? tchart::DateStep::Week
                                                        : tchart::DateStep::Month;
    for (int id : {tchart::BottomAxis, tchart::TopAxis}) {
        c.SetMinMax(id, tchart::DateValue(start), tchart::DateValue(end));
        TChartAxis& axis = c.Axis(id);
        axis.Step = dateStep;
        axis.DateFormat = format;
        if (id == tchart::TopAxis)
            axis.LabelsAngle = TopLabelAngle;
    }
    for (int i = 0; i <= 12; ++i)
        c.Series(i).Clear();
    for (int i : {7, 8, 6})
        c.Series(i).setPointerVisible(false);
}

void clsTChartInterface::SetDailyXAxis(int month, int year)
{
    // The axis holds every reading of the month, from midnight on the first day to the last
    // second of the last day; before the first day it keeps a margin of 0.4 day. The right end
    // stops short of the next midnight, which would add the next month's first day as a label.
    const QDateTime first = Midnight(year, month, 1);
    const QDateTime next = Midnight(year, month, modFunctions::DaysInMonth(month, year)).addDays(1);
    constexpr qint64 margin = 9 * 3600 + 36 * 60; // 0.4 day
    setXAxes(first.addSecs(-margin), next.addSecs(-1), OneDay, QStringLiteral("dd"));
}

void clsTChartInterface::SetWeeklyXAxis(int /*month*/, int year)
{
    setXAxes(Midnight(year, 1, 1).addDays(-4), Midnight(year, 12, 31).addDays(4), OneWeek, QStringLiteral("mmm dd"));
}

void clsTChartInterface::SetMonthlyXAxis(int /*month*/, int year)
{
    setXAxes(Midnight(year, 1, 1).addDays(-10), Midnight(year, 12, 1).addDays(10), OneMonth, QStringLiteral("mmm"));
}

void clsTChartInterface::SetVerticalAxis(int plot, int labelPosition, int lower, int upper)
{
    auto rs = gDB->OpenRecordset(QStringLiteral("select * from Application"), dao::dbOpenDynaset, dao::dbReadOnly);
    QString tempLbl, temp1Lbl, tempUnit, temp1Unit, temp2Unit;
    if (!rs->Eof()) {
        tempLbl = Text(rs, "TempLBL");
        temp1Lbl = Text(rs, "Temp1LBL");
        tempUnit = Text(rs, "TempUnit");
        temp1Unit = Text(rs, "Temp1Unit");
        temp2Unit = Text(rs, "Temp2Unit");
    }
    rs->Close();

    int side = 0;
    if (labelPosition == 1)
        side = 0;
    else if (labelPosition == 2)
        side = 1;
    else
        return;
    const int axisId = side == 0 ? tchart::LeftAxis : tchart::RightAxis;

    TChart& c = chart();
    c.Series(plot).setVerticalAxis(side); // out_of_range above 12
    c.SetMinMax(axisId, lower, upper);
    QString title;
    switch (plot) {
    case 0:
        title = QStringLiteral("Blood Pressure (mmHg)");
        for (int i : {9, 10, 11, 12})
            c.Series(i).setVerticalAxis(side);
        break;
    case 1: title = QStringLiteral("Pulse (/min)"); break;
    case 2: title = QStringLiteral("Weight (") + gWeightUnitText + QStringLiteral(")"); break;
    case 3: title = tempLbl + QStringLiteral(" (") + tempUnit + QStringLiteral(")"); break;
    case 4: title = temp1Lbl + QStringLiteral(" (") + temp1Unit + QStringLiteral(")"); break;
    case 5: title = QStringLiteral("Sugar") + QStringLiteral(" (") + temp2Unit + QStringLiteral(")"); break;
    default: return;
    }
    c.Axis(axisId).Title = title;
}

void clsTChartInterface::ShowTopAxisSeries(int choice)
{
    TChart& c = chart();
    auto show = [&c](bool mood, bool regimen, bool sugar) {
        c.Series(7).setActive(mood);
        c.Series(8).setActive(regimen);
        c.Series(6).setActive(sugar);
    };
    switch (choice) {
    case 1: show(false, false, false); break;
    case 2: show(false, true, false); break;
    case 3: show(true, false, false); break;
    case 4: show(false, false, true); break;
    default: break;
    }
}

void clsTChartInterface::AddTopAxisLabel(int kind, const QDateTime& x, const QString& text)
{
    int index = -1;
    if (kind == 1)
        index = 7;
    else if (kind == 2)
        index = 8;
    else if (kind == 3)
        index = 6;
    else
        return;
    chart().Series(index).AddXY(tchart::DateValue(x), TopLabelY, text, LabelColor);
}
