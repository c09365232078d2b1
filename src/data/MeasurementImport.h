#pragma once
// The write of imported readings: every reading of one person in one transaction, each added or
// replacing the reading at the same minute, the day, week and month averages they touch brought
// up to date once at the end. All or nothing.
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// One imported reading. Empty values are Null in the table.
struct ImportedReading {
    QDateTime measured; // to the minute
    std::optional<int> highPressure;
    std::optional<int> lowPressure;
    std::optional<int> pulse;
    std::optional<double> weight;
    std::optional<double> temp;
    std::optional<double> temp1;
    std::optional<double> sugar;
    std::optional<qint32> moodKey;
    std::optional<qint32> regimenKey;
    std::optional<qint32> goalKey; // stored only with a sugar reading
    QString comment;               // empty is Null
};

namespace MeasurementImport {

// Writes the readings for the person on gDB, in order; for each, whether it replaced a reading
// already there (a later reading at the same minute as an earlier one of the list replaces it).
// An error undoes the whole write and reaches the caller.
std::vector<bool> WriteReadings(qint32 personKey, const std::vector<ImportedReading>& readings);

} // namespace MeasurementImport
