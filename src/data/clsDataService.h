#pragma once
// The read-only queries the chart, grid, report and record forms share. Each caller makes its
// own instance; the recordsets returned belong to the caller. Four of them (the chart-settings
// and appearance queries) are updatable dynasets that the chart settings dialogs edit through.
#include "platform/dao/dao.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>
#include <memory>
#include <vector>

// Averaging levels of GetMeasureData.
namespace PlotCategory {
enum : int { Daily = 0, DayAverage = 1, WeeklyAverage = 2, MonthlyAverage = 3 };
}

// Settings column OptnTime: how a new measurement's time is proposed.
namespace DefaultTimeOption {
enum : int { Midnight = 0, Now = 1, NearestQuarter = 2, NearestHour = 3, PersonLast = 4, AnyoneLast = 5 };
}

// The period names of GetPeriodFilter and GetMonthlyCounts.
namespace PeriodName {
inline const QString AllPeriod = QStringLiteral("All Period");
inline const QString Last1Month = QStringLiteral("Last 1 Month");
inline const QString Last3Months = QStringLiteral("Last 3 Months");
inline const QString Last6Months = QStringLiteral("Last 6 Months");
inline const QString Last1Year = QStringLiteral("Last 1 Year");
inline const QString Last2Years = QStringLiteral("Last 2 Years");
inline const QString Last3Years = QStringLiteral("Last 3 Years");
inline QStringList all() { return {AllPeriod, Last1Month, Last3Months, Last6Months, Last1Year, Last2Years, Last3Years}; }
} // namespace PeriodName

class clsDataService {
public:
    using RecordsetPtr = std::shared_ptr<dao::Recordset>;

    // Chart settings of one plot of a person: updatable, standing on its last row (the row
    // count is kept for RecordCount; an empty result gives 0).
    RecordsetPtr GetSinglePersonPlot(int plotKey, qint32 personKey);
    // Row count of the last GetSinglePersonPlot or GetMultiPlotCharts (0 before either).
    int RecordCount() const { return recordCount_; }
    // Series of a person's multiple plot by chart id: updatable, standing on its last row.
    RecordsetPtr GetMultiPlotCharts(int plotKey, qint32 personKey);
    RecordsetPtr GetMultiPlotKeys(qint32 personKey);
    // A person's readings (PlotCategory::Daily, with mood, regimen and goal names) or stored
    // day, week or month averages, by date; nullptr for any other level.
    RecordsetPtr GetMeasureData(qint32 personKey, int level);
    // The same, only the rows dated from `from` up to before `until`: a chart shows one month or
    // year, and years of readings need not be loaded for it.
    RecordsetPtr GetMeasureData(qint32 personKey, int level, const QDateTime& from, const QDateTime& until);
    // The person's single-plot rows, updatable; rows come in no defined order.
    RecordsetPtr GetSinglePersonPlots(qint32 personKey);
    // prsn_ky, prsn_nm of every person with a measurement, by name.
    RecordsetPtr GetPersonsWithMeasures();
    // rgmn_nm, rgmn_dtl of the regimens the person's measurements name, once each, by name.
    RecordsetPtr GetPersonRegimens(qint32 personKey);
    // Month numbers of the year that hold the person's measurements, ascending.
    RecordsetPtr GetMeasureMonths(int year, qint32 personKey);
    // Years that hold the person's measurements, ascending.
    RecordsetPtr GetMeasureYears(qint32 personKey);
    // The same years, found by one index look-up a year instead of reading every measurement.
    std::vector<int> GetMeasureYearList(qint32 personKey);
    // The plot key marked active for the person, 0 (blood pressure) when none is.
    int GetActivePlotKey(qint32 personKey);
    // plt_pnl_cl, plt_bck_cl, plt_3d_prcnt of the person, updatable.
    RecordsetPtr GetPlotAppearance(qint32 personKey);
    // A custom label or unit of the settings row: (1|2, 1) labels, (1|2|3, 2) units of the
    // custom measurements and sugar, (4, 2) the weight unit; Null and any other pair: "".
    QString GetMeasureCaption(int item, int what);
    // The proposed time of a new measurement, "hh:mm AM/PM", by the settings' DefaultTimeOption.
    QString GetDefaultEntryTime();
    // Time of day of the latest measurement, "hh:mm AM/PM": scope 1 the current person, 2 anyone;
    // "12:00 AM" when there is none.
    QString GetLastMeasureTime(int scope);
    // yr, mnth, countrecord of the person's measurements in the period, years ascending and
    // months descending within a year.
    RecordsetPtr GetMonthlyCounts(qint32 personKey, const QString& periodName);
    // " And <column> >= #m/d/yyyy#" for the period's first day, counted back from the current
    // person's latest measurement; "" for "All Period", an unknown name, or a current person
    // without measurements.
    QString GetPeriodFilter(const QString& columnName, const QString& periodName);
    // The first day GetPeriodFilter keeps for a period counted back from the latest
    // measurement's day; invalid for "All Period" and unknown names (no limit).
    static QDate PeriodStart(const QDate& last, const QString& periodName);
    // Latest and earliest measurement of the current person; an invalid QDateTime when the
    // current person has none.
    QDateTime GetLastMeasureDate();
    QDateTime GetFirstMeasureDate();
    // wt, msrd_dt of the current person's readings that have a weight, newest first.
    RecordsetPtr GetWeightHistory();

    // The statement the last query of this instance ran.
    const QString& lastStatement() const { return sql_; }

    // The clock the proposed entry time reads; the shell and tests may replace it.
    static void setClock(std::function<QTime()> clock);
    // "hh:mm AM/PM" on the 12-hour clock ("12:00 AM" at midnight).
    static QString TimeText(const QTime& time);
    // The time of day rounded to the nearest 1/steps of a day (96: quarter hours, 24: hours),
    // ties to the even step; a rounding that reaches the next day gives midnight.
    static QTime RoundedTime(const QTime& time, int steps);

private:
    RecordsetPtr open(const QString& sql, int type, int options = 0);
    // A level's rows of GetMeasureData, with a condition on the date and its values.
    RecordsetPtr measureData(qint32 personKey, int level, const QString& period, const dao::Params& values);
    RecordsetPtr openOnLastRow(const QString& sql);
    QDateTime measureDateLimit(const char* aggregate);

    QString sql_;
    int recordCount_ = 0;
};
