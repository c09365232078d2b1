#include "data/MeasurementStore.h"

#include "data/Globals.h"
#include "data/clsAverage.h"

namespace {

dao::Database& database()
{
    if (!gDB)
        throw dao::Error(dao::errObjectClosed, QStringLiteral("No database is open."), QStringLiteral("MeasurementStore"));
    return *gDB;
}

template <typename T>
QVariant valueOrNull(const std::optional<T>& v)
{
    return v ? QVariant::fromValue(*v) : QVariant();
}

QVariant goalOf(const Measurement& m) { return m.sugar ? valueOrNull(m.goalKey) : QVariant(); }

const QString kKeyCondition = QStringLiteral(" WHERE PRSN_KY = ? AND MSRD_DT = ?");

void insertRow(const Measurement& m)
{
    database().Execute(
        QStringLiteral("INSERT INTO MEASURE ") +
            QStringLiteral("(PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1,TEMP2, CMMNT, GL_KY) ") +
            QStringLiteral("VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {m.personKey, m.measured, valueOrNull(m.moodKey), valueOrNull(m.regimenKey), valueOrNull(m.lowPressure),
         valueOrNull(m.highPressure), valueOrNull(m.pulse), valueOrNull(m.weight), valueOrNull(m.temp), valueOrNull(m.temp1),
         valueOrNull(m.sugar), m.comment, goalOf(m)},
        dao::dbFailOnError);
}

bool updateRow(const Measurement& m)
{
    return database().Execute(QStringLiteral("UPDATE MEASURE SET MD_KY = ?, RGMN_KY = ?, LBP = ?, HBP = ?, PLSE= ?, WT = ?, ") +
                                  QStringLiteral("TEMP= ?, TEMP1= ?, TEMP2 = ?, CMMNT = ?, GL_KY = ?") + kKeyCondition,
                              {valueOrNull(m.moodKey), valueOrNull(m.regimenKey), valueOrNull(m.lowPressure),
                               valueOrNull(m.highPressure), valueOrNull(m.pulse), valueOrNull(m.weight), valueOrNull(m.temp),
                               valueOrNull(m.temp1), valueOrNull(m.sugar), m.comment, goalOf(m), m.personKey, m.measured},
                              dao::dbFailOnError) == 1;
}

bool deleteRow(qint32 personKey, const QDateTime& measured)
{
    return database().Execute(QStringLiteral("DELETE FROM MEASURE") + kKeyCondition, {personKey, measured}, dao::dbFailOnError) ==
           1;
}

template <typename T>
std::optional<T> optionalOf(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    return v.value<T>();
}

} // namespace

bool MeasurementStore::exists(qint32 personKey, const QDateTime& measured)
{
    auto rs = database().OpenRecordset(QStringLiteral("select count(*) from MEASURE where PRSN_KY = ? and MSRD_DT = ?"),
                                       {personKey, measured}, dao::dbOpenSnapshot);
    return rs->Fields(0).Value().toInt() > 0;
}

std::optional<Measurement> MeasurementStore::find(qint32 personKey, const QDateTime& measured)
{
    auto rs = database().OpenRecordset(
        QStringLiteral(
            "SELECT PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2, CMMNT, GL_KY FROM MEASURE") +
            kKeyCondition,
        {personKey, measured}, dao::dbOpenSnapshot);
    if (rs->Eof())
        return std::nullopt;
    auto at = [&rs](int i) { return rs->Fields(i).Value(); };
    Measurement m;
    m.personKey = at(0).toInt();
    m.measured = at(1).toDateTime();
    m.moodKey = optionalOf<int>(at(2));
    m.regimenKey = optionalOf<qint32>(at(3));
    m.lowPressure = optionalOf<int>(at(4));
    m.highPressure = optionalOf<int>(at(5));
    m.pulse = optionalOf<int>(at(6));
    m.weight = optionalOf<double>(at(7));
    m.temp = optionalOf<double>(at(8));
    m.temp1 = optionalOf<double>(at(9));
    m.sugar = optionalOf<double>(at(10));
    m.comment = at(11).toString();
    m.goalKey = optionalOf<qint32>(at(12));
    return m;
}

void MeasurementStore::add(const Measurement& m)
{
    dao::Transaction transaction(database());
    insertRow(m);
    clsAverage().UpdateAverages(m.personKey, m.measured, clsAverage::actAdded);
    transaction.commit();
}

bool MeasurementStore::update(const Measurement& m)
{
    dao::Transaction transaction(database());
    if (!updateRow(m))
        return false;
    clsAverage().UpdateAverages(m.personKey, m.measured, clsAverage::actChanged);
    transaction.commit();
    return true;
}

bool MeasurementStore::remove(qint32 personKey, const QDateTime& measured)
{
    dao::Transaction transaction(database());
    if (!deleteRow(personKey, measured))
        return false;
    clsAverage().UpdateAverages(personKey, measured, clsAverage::actDeleted);
    transaction.commit();
    return true;
}

MeasurementStore::Batch::Batch() : transaction_(database()) {}

void MeasurementStore::Batch::touched(qint32 personKey, const QDateTime& measured)
{
    const QDate d = measured.date();
    for (int level : {clsAverage::akMonth, clsAverage::akWeek, clsAverage::akDay})
        periods_.emplace(level, personKey, clsAverage::PeriodKey(level, d));
}

void MeasurementStore::Batch::add(const Measurement& m)
{
    insertRow(m);
    touched(m.personKey, m.measured);
}

bool MeasurementStore::Batch::update(const Measurement& m)
{
    if (!updateRow(m))
        return false;
    touched(m.personKey, m.measured);
    return true;
}

bool MeasurementStore::Batch::remove(qint32 personKey, const QDateTime& measured)
{
    if (!deleteRow(personKey, measured))
        return false;
    touched(personKey, measured);
    return true;
}

void MeasurementStore::Batch::commit()
{
    // Each period once, recomputed from MEASURE as UpdateAverages does for a single reading.
    clsAverage average;
    for (const auto& [level, person, key] : periods_) {
        average.setPersonKey(person);
        const int stored = level == clsAverage::akMonth  ? average.CountMonthAverage(key)
                           : level == clsAverage::akWeek ? average.CountWeekAverage(key)
                                                         : average.CountDayAverage(key);
        average.SaveAverage(level, stored > 0 ? 1 : 0, key);
    }
    periods_.clear();
    transaction_.commit();
}
