#include "data/clsDataService.h"

#include "data/Globals.h"
#include "data/modFunctions.h"
#include "platform/runtime/Conversions.h"

#include <QDate>

namespace {

std::function<QTime()>& Clock()
{
    static std::function<QTime()> clock;
    return clock;
}

QTime CurrentTime()
{
    const auto& clock = Clock();
    const QTime now = clock ? clock() : QTime::currentTime();
    // The time of day to the second, as the platform's clock gives it.
    return QTime(now.hour(), now.minute(), now.second());
}

QString Key(qint32 key) { return QString::number(key); }

} // namespace

void clsDataService::setClock(std::function<QTime()> clock) { Clock() = std::move(clock); }

QString clsDataService::TimeText(const QTime& time)
{
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

// The time of day rounded to the nearest 1/steps of a day, ties to the even step; a rounding
// that reaches the next day gives midnight.
QTime clsDataService::RoundedTime(const QTime& time, int steps)
{
    constexpr qint64 msPerDay = 86400000;
    const qint64 unit = msPerDay / steps;
    const qint64 ms = time.msecsSinceStartOfDay();
    qint64 n = ms / unit;
    const qint64 rest = ms % unit;
    if (rest * 2 > unit || (rest * 2 == unit && n % 2 == 1))
        ++n;
    if (n * unit >= msPerDay)
        return QTime(0, 0);
    return QTime::fromMSecsSinceStartOfDay(int(n * unit));
}

clsDataService::RecordsetPtr clsDataService::open(const QString& sql, int type, int options)
{
    sql_ = sql;
    return gDB->OpenRecordset(sql_, type, options);
}

clsDataService::RecordsetPtr clsDataService::openOnLastRow(const QString& sql)
{
    auto rs = open(sql, dao::dbOpenDynaset);
    // An empty result has no last row to stand on: the count is 0.
    if (rs->Eof()) {
        recordCount_ = 0;
        return rs;
    }
    rs->MoveLast();
    recordCount_ = vb::CInt(rs->RecordCount());
    return rs;
}

clsDataService::RecordsetPtr clsDataService::GetSinglePersonPlot(int plotKey, qint32 personKey)
{
    return openOnLastRow(QStringLiteral(" select y_min,y_max,chrt_cl,chrt_thk,chrt_tp ") +
                         QStringLiteral(" from single_person_plot ") + QStringLiteral(" where plt_ky = ") + Key(plotKey) +
                         QStringLiteral(" and prsn_ky = ") + Key(personKey));
}

clsDataService::RecordsetPtr clsDataService::GetMultiPlotCharts(int plotKey, qint32 personKey)
{
    return openOnLastRow(QStringLiteral(" select chrt_id, chrt_tp, chrt_act, lbl_pos") +
                         QStringLiteral(" from chart_multiple_person_plot ") + QStringLiteral(" where plt_ky = ") + Key(plotKey) +
                         QStringLiteral(" and prsn_ky = ") + Key(personKey) + QStringLiteral(" order by chrt_id "));
}

clsDataService::RecordsetPtr clsDataService::GetMultiPlotKeys(qint32 personKey)
{
    return open(QStringLiteral(" select plt_ky from chart_multiple_person_plot ") + QStringLiteral(" where prsn_ky = ") +
                    Key(personKey),
                dao::dbOpenSnapshot);
}

clsDataService::RecordsetPtr clsDataService::GetMeasureData(qint32 personKey, int level)
{
    return measureData(personKey, level, QString(), {});
}

clsDataService::RecordsetPtr clsDataService::GetMeasureData(qint32 personKey, int level, const QDateTime& from,
                                                            const QDateTime& until)
{
    static const char* const dateColumns[] = {"f.msrd_dt", "f.dt", "fw.week", "fm.mnth"};
    if (level < 0 || level > 3)
        return nullptr;
    const QString column = QLatin1String(dateColumns[level]);
    return measureData(personKey, level,
                       QStringLiteral(" and ") + column + QStringLiteral(" >= ? and ") + column + QStringLiteral(" < ? "),
                       dao::Params{from, until});
}

clsDataService::RecordsetPtr clsDataService::measureData(qint32 personKey, int level, const QString& period,
                                                         const dao::Params& values)
{
    QString sql;
    switch (level) {
    case PlotCategory::Daily:
        sql = QStringLiteral("SELECT f.msrd_dt, f.lbp, f.hbp, f.plse, f.wt, f.temp, f.temp1, f.temp2, ") +
              QStringLiteral("m.md_nm, r.rgmn_nm, d.gl_nm ") +
              QStringLiteral(" FROM ((measure AS f LEFT JOIN mood AS m ON f.md_ky = m.md_ky) ") +
              QStringLiteral(" LEFT JOIN regimen AS r ON f.rgmn_ky = r.rgmn_ky) ") +
              QStringLiteral(" LEFT JOIN dbts_goal AS d ON f.gl_ky = d.gl_ky ") + QStringLiteral(" Where f.prsn_ky = ") +
              Key(personKey) + period + QStringLiteral(" order by f.msrd_dt");
        break;
    case PlotCategory::DayAverage:
        sql = QStringLiteral("SELECT f.dt, f.lbp, f.hbp, f.plse, f.wt, f.temp, f.temp1, f.temp2") +
              QStringLiteral(" FROM AVERAGE_DAY AS f ") + QStringLiteral(" Where f.prsn_ky = ") + Key(personKey) + period +
              QStringLiteral(" order by f.dt");
        break;
    case PlotCategory::WeeklyAverage:
        sql = QStringLiteral(" select fw.week, fw.lbp, fw.hbp, fw.plse , fw.wt, fw.temp , fw.temp1 , fw.temp2 ") +
              QStringLiteral(" from average_week fw ") + QStringLiteral(" where fw.prsn_ky = ") + Key(personKey) + period +
              QStringLiteral(" order by fw.week");
        break;
    case PlotCategory::MonthlyAverage:
        sql = QStringLiteral(" select fm.mnth, fm.lbp, fm.hbp, fm.plse , fm.wt, fm.temp , fm.temp1 , fm.temp2 ") +
              QStringLiteral(" from average_month fm ") + QStringLiteral(" where fm.prsn_ky = ") + Key(personKey) + period +
              QStringLiteral(" order by fm.mnth");
        break;
    default: return nullptr;
    }
    if (values.isEmpty())
        return open(sql, dao::dbOpenDynaset, dao::dbReadOnly);
    sql_ = sql;
    return gDB->OpenRecordset(sql_, values, dao::dbOpenDynaset, dao::dbReadOnly);
}

clsDataService::RecordsetPtr clsDataService::GetSinglePersonPlots(qint32 personKey)
{
    return open(QStringLiteral(" select plt_ky, chrt_id, chrt_tp, chrt_cl, chrt_thk, y_min, y_max ") +
                    QStringLiteral(" from single_person_plot ") + QStringLiteral(" where prsn_ky = ") + Key(personKey) +
                    QStringLiteral(" order by prsn_ky "),
                dao::dbOpenDynaset);
}

clsDataService::RecordsetPtr clsDataService::GetPersonsWithMeasures()
{
    // One look-up in the measurements' key a person, not a pass over every measurement.
    return open(QStringLiteral(" select p.prsn_ky, p.prsn_nm from person p ") +
                    QStringLiteral(" Where exists (select f.prsn_ky from measure f where f.prsn_ky = p.prsn_ky) ") +
                    QStringLiteral(" Order by p.prsn_nm "),
                dao::dbOpenDynaset, dao::dbReadOnly);
}

clsDataService::RecordsetPtr clsDataService::GetPersonRegimens(qint32 personKey)
{
    // Sorted by name explicitly: callers list the regimens in this order.
    // The regimens the person's readings name, found without joining every reading to its
    // regimen first.
    return open(QStringLiteral(" select r.rgmn_nm, r.rgmn_dtl from Regimen r where r.rgmn_ky in ") +
                    QStringLiteral(" (select m.rgmn_ky from Measure m where m.prsn_ky = ") + Key(personKey) +
                    QStringLiteral(") group by r.rgmn_nm, r.rgmn_dtl") + QStringLiteral(" order by r.rgmn_nm"),
                dao::dbOpenSnapshot);
}

clsDataService::RecordsetPtr clsDataService::GetMeasureMonths(int year, qint32 personKey)
{
    // Sorted explicitly: the month and year selector walks the months in ascending order and
    // takes the last one as the latest.
    // The date range besides the year lets the key's index find the year's rows.
    const QString from = modFunctions::SqlDate(QDate(year, 1, 1));
    const QString until = year < 9999 ? modFunctions::SqlDate(QDate(year + 1, 1, 1)) : QString();
    return open(QStringLiteral(" select distinct month(f.msrd_dt) ") + QStringLiteral(" from measure f ") +
                    QStringLiteral(" where year(f.msrd_dt) = ") + QString::number(year) + QStringLiteral(" and f.prsn_ky = ") +
                    Key(personKey) + (from.isEmpty() ? QString() : QStringLiteral(" and f.msrd_dt >= ") + from) +
                    (until.isEmpty() ? QString() : QStringLiteral(" and f.msrd_dt < ") + until) +
                    QStringLiteral(" order by month(f.msrd_dt)"),
                dao::dbOpenDynaset, dao::dbReadOnly);
}

clsDataService::RecordsetPtr clsDataService::GetMeasureYears(qint32 personKey)
{
    return open(QStringLiteral(" select distinct year(msrd_dt) ") + QStringLiteral(" from measure ") +
                    QStringLiteral(" where prsn_ky = ") + Key(personKey) + QStringLiteral(" order by year(msrd_dt)"),
                dao::dbOpenDynaset, dao::dbReadOnly);
}

std::vector<int> clsDataService::GetMeasureYearList(qint32 personKey)
{
    // From the earliest reading, each step jumps to the first reading of a later year.
    std::vector<int> years;
    QDate from(1, 1, 1);
    for (;;) {
        auto rs = gDB->OpenRecordset(QStringLiteral("select min(msrd_dt) from measure where prsn_ky = ? and msrd_dt >= ?"),
                                     dao::Params{personKey, QDateTime(from, QTime(0, 0), Qt::UTC)}, dao::dbOpenSnapshot);
        const auto first = modFunctions::DateOf(rs->Fields(0).Value());
        rs->Close();
        if (!first)
            return years;
        const int year = first->date().year();
        years.push_back(year);
        if (year >= 9999)
            return years;
        from = QDate(year + 1, 1, 1);
    }
}

int clsDataService::GetActivePlotKey(qint32 personKey)
{
    auto rs = open(QStringLiteral(" select plt_ky from person_plot ") + QStringLiteral(" where prsn_ky = ") + Key(personKey) +
                       QStringLiteral(" and plt_act = -1 "),
                   dao::dbOpenDynaset, dao::dbReadOnly);
    const int plotKey = rs->Eof() ? 0 : vb::CInt(rs->Fields(QStringLiteral("plt_ky")).Value());
    rs->Close();
    return plotKey;
}

clsDataService::RecordsetPtr clsDataService::GetPlotAppearance(qint32 personKey)
{
    return open(QStringLiteral(" select plt_pnl_cl, plt_bck_cl, plt_3d_prcnt ") + QStringLiteral(" from person ") +
                    QStringLiteral(" where prsn_ky = ") + Key(personKey),
                dao::dbOpenDynaset);
}

QString clsDataService::GetMeasureCaption(int item, int what)
{
    QString column;
    if (what == 1 && item == 1)
        column = QStringLiteral("TempLbl");
    else if (what == 1 && item == 2)
        column = QStringLiteral("Temp1Lbl");
    else if (what == 2 && item == 1)
        column = QStringLiteral("TempUnit");
    else if (what == 2 && item == 2)
        column = QStringLiteral("Temp1Unit");
    else if (what == 2 && item == 3)
        column = QStringLiteral("Temp2Unit");
    else if (what == 2 && item == 4)
        column = QStringLiteral("WtUnit");
    if (column.isEmpty())
        return QString();
    auto rs = open(QStringLiteral("select * from Application"), dao::dbOpenDynaset, dao::dbReadOnly);
    // A Null caption reads as the empty text, which every caller can show.
    const QString caption = rs->Eof() ? QString() : vb::CStr(rs->Fields(column).Value());
    rs->Close();
    return caption;
}

QString clsDataService::GetDefaultEntryTime()
{
    auto rs = open(QStringLiteral("select * from Application"), dao::dbOpenSnapshot);
    const QVariant stored = rs->Eof() ? QVariant() : rs->Fields(QStringLiteral("OptnTime")).Value();
    rs->Close();
    const int option = vb::IsNull(stored) ? int(DefaultTimeOption::Now) : vb::CInt(stored);
    switch (option) {
    case DefaultTimeOption::Midnight: return TimeText(QTime(0, 0));
    case DefaultTimeOption::Now: return TimeText(CurrentTime());
    case DefaultTimeOption::NearestQuarter: return TimeText(RoundedTime(CurrentTime(), 96));
    case DefaultTimeOption::NearestHour: return TimeText(RoundedTime(CurrentTime(), 24));
    case DefaultTimeOption::PersonLast: return GetLastMeasureTime(1);
    case DefaultTimeOption::AnyoneLast: return GetLastMeasureTime(2);
    default: return QString();
    }
}

QString clsDataService::GetLastMeasureTime(int scope)
{
    const QString sql = scope == 1 ? QStringLiteral("select max(msrd_dt) from measure where prsn_ky = ") + Key(gPersonKey)
                                   : QStringLiteral("select max(msrd_dt) from measure");
    auto rs = open(sql, dao::dbOpenSnapshot);
    const auto latest = modFunctions::DateOf(rs->Fields(0).Value());
    rs->Close();
    return TimeText(latest ? latest->time() : QTime(0, 0));
}

clsDataService::RecordsetPtr clsDataService::GetMonthlyCounts(qint32 personKey, const QString& periodName)
{
    const QString condition = GetPeriodFilter(QStringLiteral("MSRD_DT"), periodName);
    return open(QStringLiteral(" select  year(f.msrd_dt) as yr, month(f.msrd_dt) as mnth, count(*) as countrecord ") +
                    QStringLiteral(" from measure f ") + QStringLiteral(" where f.prsn_ky = ") + Key(personKey) + condition +
                    QStringLiteral(" group by year(f.msrd_dt), month(f.msrd_dt) ") +
                    QStringLiteral(" order by year(f.msrd_dt), month(f.msrd_dt) desc "),
                dao::dbOpenDynaset, dao::dbReadOnly);
}

QDate clsDataService::PeriodStart(const QDate& last, const QString& periodName)
{
    const QDate firstOfMonth(last.year(), last.month(), 1);
    if (periodName == PeriodName::Last1Month)
        return firstOfMonth;
    if (periodName == PeriodName::Last3Months)
        return firstOfMonth.addMonths(-2);
    if (periodName == PeriodName::Last6Months)
        return firstOfMonth.addMonths(-5);
    if (periodName == PeriodName::Last1Year)
        return QDate(last.year(), 1, 1);
    if (periodName == PeriodName::Last2Years)
        return QDate(last.year() - 1, 1, 1);
    if (periodName == PeriodName::Last3Years)
        return QDate(last.year() - 2, 1, 1);
    return QDate();
}

QString clsDataService::GetPeriodFilter(const QString& columnName, const QString& periodName)
{
    const QDateTime anchor = GetLastMeasureDate();
    // Without a measurement there is nothing to count back from: no limit.
    if (!anchor.isValid())
        return QString();
    const QDate start = PeriodStart(anchor.date(), periodName);
    if (!start.isValid())
        return QString();
    return QStringLiteral(" And ") + columnName + QStringLiteral(" >= ") + modFunctions::SqlDate(start);
}

QDateTime clsDataService::measureDateLimit(const char* aggregate)
{
    auto rs = open(QStringLiteral(" select %1(f.msrd_dt) as msrd_dt ").arg(QLatin1String(aggregate)) +
                       QStringLiteral(" from measure f ") + QStringLiteral(" where f.prsn_ky = ") + Key(gPersonKey),
                   dao::dbOpenDynaset, dao::dbReadOnly);
    const auto date = modFunctions::DateOf(rs->Fields(QStringLiteral("msrd_dt")).Value());
    rs->Close();
    return date ? *date : QDateTime();
}

QDateTime clsDataService::GetLastMeasureDate() { return measureDateLimit("max"); }

QDateTime clsDataService::GetFirstMeasureDate() { return measureDateLimit("min"); }

clsDataService::RecordsetPtr clsDataService::GetWeightHistory()
{
    return open(QStringLiteral(" select f.wt, f.msrd_dt ") + QStringLiteral(" from measure f ") +
                    QStringLiteral(" where f.prsn_ky = ") + Key(gPersonKey) + QStringLiteral("   and f.wt is not null ") +
                    QStringLiteral("   order by f.msrd_dt desc "),
                dao::dbOpenDynaset, dao::dbReadOnly);
}
