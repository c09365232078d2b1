#include "data/MeasurementImport.h"

#include "data/Globals.h"

#include <unordered_set>

namespace MeasurementImport {

namespace {

// The minute of a reading as the key it is compared by.
qint64 minuteOf(const QDateTime& dt) { return dt.toMSecsSinceEpoch() / 60000; }

// The person's readings already stored, by minute: one query instead of one per row.
std::unordered_set<qint64> storedMinutes(dao::Database& db, qint32 personKey)
{
    std::unordered_set<qint64> minutes;
    auto rs = db.OpenRecordset(QStringLiteral("select msrd_dt from measure where prsn_ky = ?"), dao::Params{personKey},
                               dao::dbOpenSnapshot, dao::dbReadOnly);
    for (; !rs->Eof(); rs->MoveNext())
        minutes.insert(minuteOf(rs->Fields(0).Value().toDateTime()));
    rs->Close();
    return minutes;
}

} // namespace

std::vector<bool> WriteReadings(qint32 personKey, const std::vector<Measurement>& readings,
                                const std::function<void(std::size_t written)>& onRow)
{
    if (!gDB)
        throw dao::Error(dao::errObjectClosed, QStringLiteral("No database is open."), QStringLiteral("MeasurementImport"));
    std::vector<bool> replaced;
    replaced.reserve(readings.size());
    MeasurementStore::Batch batch;
    std::unordered_set<qint64> stored = storedMinutes(*gDB, personKey);
    for (Measurement m : readings) {
        m.personKey = personKey;
        const bool replace = !stored.insert(minuteOf(m.measured)).second;
        if (replace)
            batch.update(m);
        else
            batch.add(m);
        replaced.push_back(replace);
        if (onRow)
            onRow(replaced.size());
    }
    batch.commit();
    return replaced;
}

} // namespace MeasurementImport
