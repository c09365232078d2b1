#include "charts/clsChart.h"

#include "charts/clsTChartInterface.h"
#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/modFunctions.h"
#include "platform/runtime/Conversions.h"

#include <QDateTime>

namespace {

// A label of the top axis for a name the reading may lack.
QString LabelText(const QVariant& name)
{
    static const QString blanks(15, QLatin1Char(' '));
    return vb::IsNull(name) ? blanks : name.toString();
}

float Single(const QVariant& value) { return value.toFloat(); }

int Int(const dao::RecordsetPtr& rs, const char* column) { return rs->Fields(QLatin1String(column)).Value().toInt(); }

vb::OLE_COLOR Colour(const dao::RecordsetPtr& rs, const char* column)
{
    return vb::ColorCode(rs->Fields(QLatin1String(column)).Value().toLongLong());
}

} // namespace

void clsChart::LoadDailyPlot(int month, int year, dao::Recordset& rs, frmChart& /*frm*/) { load(Level::Daily, month, year, rs); }

void clsChart::LoadDayAveragePlot(int month, int year, dao::Recordset& rs, frmChart& /*frm*/)
{
    load(Level::DayAverage, month, year, rs);
}

void clsChart::LoadWeeklyAveragePlot(int month, int year, dao::Recordset& rs, frmChart& /*frm*/)
{
    load(Level::Weekly, month, year, rs);
}

void clsChart::LoadMonthlyAveragePlot(int month, int year, dao::Recordset& rs, frmChart& /*frm*/)
{
    load(Level::Monthly, month, year, rs);
}

void clsChart::load(Level level, int month, int year, dao::Recordset& rs)
{
    clsTChartInterface chart;
    QDate first;
    QDate last;
    const char* dateColumn = nullptr;
    switch (level) {
    case Level::Daily:
    case Level::DayAverage:
        chart.SetDailyXAxis(month, year);
        first = QDate(year, month, 1);
        last = QDate(year, month, modFunctions::DaysInMonth(month, year));
        dateColumn = level == Level::Daily ? "msrd_dt" : "dt";
        break;
    case Level::Weekly:
    case Level::Monthly:
        if (level == Level::Weekly)
            chart.SetWeeklyXAxis(month, year);
        else
            chart.SetMonthlyXAxis(month, year);
        first = QDate(year, 1, 1);
        last = QDate(year, 12, 31);
        dateColumn = level == Level::Weekly ? "week" : "mnth";
        break;
    }
    const QDateTime start(first, QTime(0, 0), Qt::UTC);
    // Readings of any time on the last day belong to the month; averages carry a plain day.
    const QDateTime end(last.addDays(1), QTime(0, 0), Qt::UTC);

    if (rs.RecordCount() > 0) {
        rs.MoveLast();
        rs.FindFirst(QLatin1String(dateColumn) + QStringLiteral(" >= ") + modFunctions::SqlDate(start));
    }
    if (rs.RecordCount() > 0 && !rs.NoMatch()) {
        const dao::Field& date = rs.Fields(QLatin1String(dateColumn));
        const dao::Field& lbp = rs.Fields(QStringLiteral("lbp"));
        const dao::Field& hbp = rs.Fields(QStringLiteral("hbp"));
        const dao::Field& plse = rs.Fields(QStringLiteral("plse"));
        const dao::Field& wt = rs.Fields(QStringLiteral("wt"));
        const dao::Field& temp = rs.Fields(QStringLiteral("temp"));
        const dao::Field& temp1 = rs.Fields(QStringLiteral("temp1"));
        const dao::Field& temp2 = rs.Fields(QStringLiteral("temp2"));
        const bool daily = level == Level::Daily;
        for (; !rs.Eof(); rs.MoveNext()) {
            const QDateTime x = date.Value().toDateTime();
            if (x >= end)
                break;
            const QVariant low = lbp.Value();
            const QVariant high = hbp.Value();
            if (!vb::IsNull(low) && !vb::IsNull(high))
                chart.AddMeasurement(PlotKey::BloodPressure, x, Single(low), Single(high), QString());
            const std::pair<int, const dao::Field*> single[] = {
                {PlotKey::Pulse, &plse}, {PlotKey::Weight, &wt}, {PlotKey::Custom1, &temp}, {PlotKey::Custom2, &temp1}};
            for (const auto& [plot, field] : single) {
                const QVariant v = field->Value();
                if (!vb::IsNull(v))
                    chart.AddMeasurement(plot, x, Single(v), 0, QString());
            }
            const QVariant sugar = temp2.Value();
            QVariant goal;
            if (daily)
                goal = rs.Fields(QStringLiteral("gl_nm")).Value();
            if (!vb::IsNull(sugar))
                chart.AddMeasurement(PlotKey::Sugar, x, Single(sugar), 0, vb::IsNull(goal) ? QString() : goal.toString());
            if (daily) {
                chart.AddTopAxisLabel(3, x, LabelText(goal));
                chart.AddTopAxisLabel(1, x, LabelText(rs.Fields(QStringLiteral("md_nm")).Value()));
                chart.AddTopAxisLabel(2, x, LabelText(rs.Fields(QStringLiteral("rgmn_nm")).Value()));
            }
        }
    }
    chart.FinishDataLoad();
}

void clsChart::ApplyPersonAppearance(frmChart& /*frm*/)
{
    clsDataService service;
    clsTChartInterface chart;
    auto look = service.GetPlotAppearance(gPersonKey);
    if (!look->Eof()) {
        chart.SetPanelColor(Colour(look, "plt_pnl_cl"));
        chart.SetBackColor(Colour(look, "plt_bck_cl"));
        chart.Set3DPercent(Int(look, "plt_3d_prcnt"));
    }
    look->Close();

    auto plots = service.GetSinglePersonPlots(gPersonKey);
    for (; !plots->Eof(); plots->MoveNext()) {
        const int plot = Int(plots, "plt_ky");
        if (plot < 0 || plot > 3)
            continue;
        chart.SetSeriesColor(plot, Colour(plots, "chrt_cl"));
        chart.SetVerticalAxis(plot, 1, Int(plots, "y_min"), Int(plots, "y_max"));
        chart.SetSeriesWidth(plot, Int(plots, "chrt_thk"));
    }
    plots->Close();
}

void clsChart::ApplyPlotSettings(frmChart& /*frm*/, int plot, qint32 personKey)
{
    clsDataService service;
    clsTChartInterface chart;
    chart.HideAllSeries();
    if (plot >= 0 && plot <= 5) {
        auto rs = service.GetSinglePersonPlot(plot, personKey);
        if (service.RecordCount() > 0) {
            rs->MoveFirst();
            chart.SetVerticalAxis(plot, 1, Int(rs, "y_min"), Int(rs, "y_max"));
            chart.SetSeriesType(plot, Int(rs, "chrt_tp"));
            chart.SetSeriesColor(plot, Colour(rs, "chrt_cl"));
            chart.SetSeriesWidth(plot, Int(rs, "chrt_thk"));
        }
        rs->Close();
        return;
    }
    auto multi = service.GetMultiPlotCharts(6, personKey);
    if (service.RecordCount() > 0)
        multi->MoveFirst();
    for (; service.RecordCount() > 0 && !multi->Eof(); multi->MoveNext()) {
        const int id = Int(multi, "chrt_id");
        clsDataService rangeService;
        auto range = rangeService.GetSinglePersonPlot(id, personKey);
        const bool hasRange = rangeService.RecordCount() > 0;
        if (hasRange)
            range->MoveFirst();
        if (multi->Fields(QStringLiteral("chrt_act")).Value().toBool()) {
            chart.SetSeriesType(id, Int(multi, "chrt_tp"));
            const int position = Int(multi, "lbl_pos");
            if ((position == 1 || position == 2) && hasRange)
                chart.SetVerticalAxis(id, position, Int(range, "y_min"), Int(range, "y_max"));
        }
        range->Close();
    }
    multi->Close();
}
