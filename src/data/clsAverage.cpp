#include "data/clsAverage.h"

#include "data/Globals.h"
#include "platform/runtime/Conversions.h"

namespace {

// Table and key column of each level, in AverageKind order.
struct Level {
    const char* table;
    const char* keyColumn;
};
constexpr Level kLevels[] = {{"average_month", "mnth"}, {"average_week", "week"}, {"average_day", "dt"}};

bool validLevel(int intPeriod) { return intPeriod >= clsAverage::akMonth && intPeriod <= clsAverage::akDay; }

const Level& level(int intPeriod)
{
    if (!validLevel(intPeriod))
        throw dao::Error(dao::errInvalidArgument, QStringLiteral("Unknown averaging level %1.").arg(intPeriod),
                         QStringLiteral("clsAverage"));
    return kLevels[intPeriod];
}

// A day at midnight and at its last second, as bound values.
QVariant dayStart(const QDate& d) { return QDateTime(d, QTime(0, 0), Qt::UTC); }
QVariant dayEnd(const QDate& d) { return QDateTime(d, QTime(23, 59, 59), Qt::UTC); }

// First and last day of the period of a key.
std::pair<QDate, QDate> span(int intPeriod, const QDate& key)
{
    switch (intPeriod) {
    case clsAverage::akMonth: return {key, key.addMonths(1).addDays(-1)};
    case clsAverage::akWeek: return {key.addDays(-6), key};
    default: return {key, key};
    }
}

// The readings of a person in a period as a date range on MSRD_DT, so that the person-and-date
// key of MEASURE finds them without reading the person's other rows; with its values.
const QString kPeriodCondition = QStringLiteral(" where prsn_ky = ? and msrd_dt between ? and ?");

dao::Params periodValues(qint32 person, int intPeriod, const QDate& key)
{
    const auto [first, last] = span(intPeriod, key);
    return {person, dayStart(first), dayEnd(last)};
}

int firstValueAsInt(dao::Database& db, const QString& sql, const dao::Params& values)
{
    auto rs = db.OpenRecordset(sql, values, dao::dbOpenSnapshot, dao::dbReadOnly);
    const QVariant v = rs->Fields(0).Value();
    rs->Close();
    return v.isNull() ? 0 : v.toInt();
}

dao::Database& database()
{
    if (!gDB)
        throw dao::Error(dao::errObjectClosed, QStringLiteral("No database is open."), QStringLiteral("clsAverage"));
    return *gDB;
}

// The seven averages of a period as the values to store, and the number of readings behind them.
struct PeriodAverages {
    int readings = 0;
    dao::Params values;
};

PeriodAverages readAverages(dao::Database& db, qint32 person, int intPeriod, const QDate& key)
{
    const QString sql = QStringLiteral("select avg(lbp), avg(hbp), avg(plse),avg(wt),avg(temp), avg(temp1), avg(temp2), "
                                       "count(*) from measure") +
                        kPeriodCondition;
    auto rs = db.OpenRecordset(sql, periodValues(person, intPeriod, key), dao::dbOpenSnapshot, dao::dbReadOnly);
    PeriodAverages a;
    a.readings = rs->Fields(7).Value().toInt();
    for (int i = 0; i < 7; ++i) {
        const QVariant v = rs->Fields(i).Value();
        if (v.isNull())
            a.values << QVariant();
        else if (i < 3) // LBP, HBP, PLSE are 16-bit: rounded half to even, as the engine converts
            a.values << int(vb::CInt(v.toDouble()));
        else // single precision, stored as the shortest decimal that gives it back
            a.values << vb::NumberText(vb::CSng(v.toDouble())).toDouble();
    }
    rs->Close();
    return a;
}

// The row of a person and key; its two values follow the statement's others.
QString keyCondition(int intPeriod)
{
    return QStringLiteral(" where prsn_ky = ? and ") + QLatin1String(level(intPeriod).keyColumn) + QStringLiteral(" = ?;");
}

void deleteAverage(dao::Database& db, qint32 person, int intPeriod, const QDate& key)
{
    db.Execute(QStringLiteral("delete from ") + QLatin1String(level(intPeriod).table) + keyCondition(intPeriod),
               {person, dayStart(key)}, dao::dbFailOnError);
}

void writeAverage(dao::Database& db, qint32 person, int intPeriod, int intExists, const QDate& key, const PeriodAverages& a)
{
    const Level& lv = level(intPeriod);
    if (intExists == 0) {
        db.Execute(QStringLiteral("insert into ") + QLatin1String(lv.table) +
                       QStringLiteral(" values(?, ? , ?, ?, ?, ?, ?, ?, ?);"),
                   dao::Params{person, dayStart(key)} + a.values, dao::dbFailOnError);
    } else {
        db.Execute(QStringLiteral("update ") + QLatin1String(lv.table) +
                       QStringLiteral(" set lbp = ?, hbp = ?, plse = ?, wt = ?, temp = ?, temp1 = ?, temp2 = ?") +
                       keyCondition(intPeriod),
                   a.values + dao::Params{person, dayStart(key)}, dao::dbFailOnError);
    }
}

} // namespace

QDate clsAverage::MonthKey(const QDate& d) { return QDate(d.year(), d.month(), 1); }

QDate clsAverage::WeekKey(const QDate& d) { return d.addDays(7 - d.dayOfWeek()); } // Monday 1 ... Sunday 7

QDate clsAverage::PeriodKey(int intPeriod, const QDate& d)
{
    switch (intPeriod) {
    case akMonth: return MonthKey(d);
    case akWeek: return WeekKey(d);
    default: return d;
    }
}

int clsAverage::CountMeasures(int intPeriod, const QDate& dtKey)
{
    level(intPeriod);
    return firstValueAsInt(database(), QStringLiteral("select count(*) from measure") + kPeriodCondition,
                           periodValues(personKey_, intPeriod, dtKey));
}

int clsAverage::countAverageRows(int intPeriod, const QDate& dtKey)
{
    return firstValueAsInt(
        database(), QStringLiteral("select count(*) from ") + QLatin1String(level(intPeriod).table) + keyCondition(intPeriod),
        {personKey_, dayStart(dtKey)});
}

int clsAverage::CountMonthAverage(const QDate& dtKey) { return countAverageRows(akMonth, dtKey); }
int clsAverage::CountWeekAverage(const QDate& dtKey) { return countAverageRows(akWeek, dtKey); }
int clsAverage::CountDayAverage(const QDate& dtKey) { return countAverageRows(akDay, dtKey); }

void clsAverage::SaveAverage(int intPeriod, int intExists, const QDate& dtKey)
{
    dao::Database& db = database();
    const PeriodAverages a = readAverages(db, personKey_, intPeriod, dtKey);
    if (a.readings == 0) {
        // An average over no readings is no average: the row goes.
        if (intExists != 0)
            deleteAverage(db, personKey_, intPeriod, dtKey);
        return;
    }
    writeAverage(db, personKey_, intPeriod, intExists, dtKey, a);
}

void clsAverage::refreshPeriod(int intPeriod, const QDate& dtKey)
{
    SaveAverage(intPeriod, countAverageRows(intPeriod, dtKey) > 0 ? 1 : 0, dtKey);
}

void clsAverage::UpdateAverages(const QDateTime& dtMeasured, int intAction) { UpdateAverages(gPersonKey, dtMeasured, intAction); }

void clsAverage::UpdateAverages(qint32 lngPersonKey, const QDateTime& dtMeasured, int intAction)
{
    if (intAction != actAdded && intAction != actChanged && intAction != actDeleted)
        return;
    if (!dtMeasured.isValid())
        return;
    personKey_ = lngPersonKey;
    const QDate d = dtMeasured.date();
    // Whatever happened to the reading, each of its three periods is recomputed from MEASURE:
    // a missing row is added, a row whose period is now empty is deleted, the others updated.
    dao::Transaction transaction(database());
    refreshPeriod(akMonth, MonthKey(d));
    refreshPeriod(akWeek, WeekKey(d));
    refreshPeriod(akDay, d);
    transaction.commit();
}

void clsAverage::LoadMeasureYearsMonths()
{
    years_.clear();
    monthTable_.clear();
    monthCounts_.clear();
    dao::Database& db = database();
    // Walks the person's months through the person-and-date key: one look-up per month that has
    // readings, whatever their number.
    QDate from(1, 1, 1);
    for (;;) {
        auto rs = db.OpenRecordset(QStringLiteral("select min(msrd_dt) from measure where prsn_ky = ? and msrd_dt >= ?"),
                                   {personKey_, dayStart(from)}, dao::dbOpenSnapshot, dao::dbReadOnly);
        const QVariant v = rs->Fields(0).Value();
        rs->Close();
        if (v.isNull())
            break;
        const QDate d = v.toDateTime().date();
        if (years_.empty() || years_.back() != d.year()) {
            years_.push_back(d.year());
            monthTable_.push_back({});
            monthCounts_.push_back(0);
        }
        monthTable_.back()[std::size_t(monthCounts_.back()++)] = d.month();
        from = MonthKey(d).addMonths(1);
    }
}

void clsAverage::RebuildMonthWeeks(const QDate& dtFirstWeekEnd)
{
    dao::Database& db = database();
    const QDate monthEnd = MonthKey(dtFirstWeekEnd).addMonths(1).addDays(-1);
    // Every week that holds a day of the month, up to the one that holds its last day.
    for (QDate key = dtFirstWeekEnd; key.addDays(-6) <= monthEnd; key = key.addDays(7)) {
        const PeriodAverages a = readAverages(db, personKey_, akWeek, key);
        if (a.readings == 0)
            continue; // rebuilding writes rows, it never deletes them
        writeAverage(db, personKey_, akWeek, CountWeekAverage(key) > 0 ? 1 : 0, key, a);
    }
}

void clsAverage::RebuildAllAverages()
{
    dao::Database& db = database();
    std::vector<qint32> persons;
    {
        auto rs = db.OpenRecordset(QStringLiteral("select distinct prsn_ky from measure order by prsn_ky"), dao::dbOpenSnapshot,
                                   dao::dbReadOnly);
        for (; !rs->Eof(); rs->MoveNext())
            persons.push_back(rs->Fields(0).Value().toInt());
        rs->Close();
    }
    dao::Transaction transaction(db);
    for (qint32 person : persons) {
        personKey_ = person;
        LoadMeasureYearsMonths();
        QDate lastWeekDone;
        for (std::size_t y = 0; y < years_.size(); ++y) {
            for (int m = 0; m < monthCounts_[y]; ++m) {
                const QDate monthKey(years_[y], monthTable_[y][std::size_t(m)], 1);
                SaveAverage(akMonth, CountMonthAverage(monthKey), monthKey);
                // The first Sunday on or after the first of the month, unless the previous
                // month's walk already did that week.
                QDate firstWeekEnd = WeekKey(monthKey);
                if (lastWeekDone.isValid() && firstWeekEnd <= lastWeekDone)
                    firstWeekEnd = lastWeekDone.addDays(7);
                RebuildMonthWeeks(firstWeekEnd);
                lastWeekDone = WeekKey(monthKey.addMonths(1).addDays(-1));
            }
        }
    }
    transaction.commit();
}
