#include "data/MeasurementImport.h"

#include "data/Globals.h"
#include "data/clsAverage.h"
#include "data/modFunctions.h"
#include "platform/runtime/Conversions.h"

#include <QStringList>

#include <set>
#include <type_traits>
#include <unordered_set>
#include <utility>

namespace MeasurementImport {

namespace {

template <typename T>
QString sqlValue(const std::optional<T>& v)
{
    if (!v)
        return QStringLiteral("Null");
    if constexpr (std::is_floating_point_v<T>)
        return vb::NumberText(vb::CSng(*v));
    else
        return QString::number(*v);
}

// The minute of a reading as the key it is compared by.
qint64 minuteOf(const QDateTime& dt) { return dt.toMSecsSinceEpoch() / 60000; }

// The person's readings already stored, by minute.
std::unordered_set<qint64> storedMinutes(dao::Database& db, qint32 personKey)
{
    std::unordered_set<qint64> minutes;
    auto rs = db.OpenRecordset(QStringLiteral("select msrd_dt from measure where prsn_ky = ") + QString::number(personKey),
                               dao::dbOpenSnapshot, dao::dbReadOnly);
    for (; !rs->Eof(); rs->MoveNext())
        minutes.insert(minuteOf(rs->Fields(0).Value().toDateTime()));
    rs->Close();
    return minutes;
}

// Texts go between quotes with their quotes doubled; numbers were read in C++ and are written
// back as plain decimals, so no text of the file reaches the statement as SQL.
void writeReading(dao::Database& db, qint32 personKey, const ImportedReading& r, bool replace)
{
    const QString when = modFunctions::SqlDateTime(r.measured);
    const QString comment = r.comment.isEmpty() ? QStringLiteral("Null") : vb::SqlText(r.comment);
    const QString goal = r.sugar ? sqlValue(r.goalKey) : QStringLiteral("Null");
    if (!replace) {
        const QStringList values{QString::number(personKey),
                                 when,
                                 sqlValue(r.moodKey),
                                 sqlValue(r.regimenKey),
                                 sqlValue(r.lowPressure),
                                 sqlValue(r.highPressure),
                                 sqlValue(r.pulse),
                                 sqlValue(r.weight),
                                 sqlValue(r.temp),
                                 sqlValue(r.temp1),
                                 sqlValue(r.sugar),
                                 comment,
                                 goal};
        db.Execute(QStringLiteral("INSERT INTO MEASURE (PRSN_KY, MSRD_DT, MD_KY, RGMN_KY, LBP, HBP, PLSE, WT, TEMP, TEMP1,TEMP2, "
                                  "CMMNT, GL_KY) VALUES(") +
                       values.join(QStringLiteral(", ")) + u')',
                   dao::dbFailOnError);
        return;
    }
    // An update replaces every column: an empty cell clears the stored value.
    db.Execute(QStringLiteral("UPDATE MEASURE SET MD_KY = ") + sqlValue(r.moodKey) + QStringLiteral(", RGMN_KY = ") +
                   sqlValue(r.regimenKey) + QStringLiteral(", LBP = ") + sqlValue(r.lowPressure) + QStringLiteral(", HBP = ") +
                   sqlValue(r.highPressure) + QStringLiteral(", PLSE= ") + sqlValue(r.pulse) + QStringLiteral(", WT = ") +
                   sqlValue(r.weight) + QStringLiteral(", TEMP= ") + sqlValue(r.temp) + QStringLiteral(", TEMP1= ") +
                   sqlValue(r.temp1) + QStringLiteral(", TEMP2 = ") + sqlValue(r.sugar) + QStringLiteral(", CMMNT = ") + comment +
                   QStringLiteral(", GL_KY = ") + goal + QStringLiteral(" WHERE PRSN_KY = ") + QString::number(personKey) +
                   QStringLiteral(" AND MSRD_DT = ") + when,
               dao::dbFailOnError);
}

} // namespace

std::vector<bool> WriteReadings(qint32 personKey, const std::vector<ImportedReading>& readings)
{
    if (!gDB)
        throw dao::Error(dao::errObjectClosed, QStringLiteral("No database is open."), QStringLiteral("MeasurementImport"));
    dao::Database& db = *gDB;
    std::vector<bool> replaced;
    replaced.reserve(readings.size());
    dao::Transaction transaction(db);
    std::unordered_set<qint64> stored = storedMinutes(db, personKey);
    std::set<std::pair<int, QDate>> periods; // (AverageKind, key)
    for (const ImportedReading& r : readings) {
        const bool replace = !stored.insert(minuteOf(r.measured)).second;
        writeReading(db, personKey, r, replace);
        replaced.push_back(replace);
        const QDate d = r.measured.date();
        periods.emplace(clsAverage::akMonth, clsAverage::MonthKey(d));
        periods.emplace(clsAverage::akWeek, clsAverage::WeekKey(d));
        periods.emplace(clsAverage::akDay, d);
    }
    // Each period recomputed once from MEASURE ends as it would after the last of its readings.
    clsAverage averages;
    averages.setPersonKey(personKey);
    for (const auto& [kind, key] : periods) {
        const int rows = kind == clsAverage::akMonth  ? averages.CountMonthAverage(key)
                         : kind == clsAverage::akWeek ? averages.CountWeekAverage(key)
                                                      : averages.CountDayAverage(key);
        averages.SaveAverage(kind, rows > 0 ? 1 : 0, key);
    }
    transaction.commit();
    return replaced;
}

} // namespace MeasurementImport
