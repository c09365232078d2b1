#pragma once
// The write of imported readings: every reading of one person in one batch of the measurement
// store, each added or replacing the reading at the same minute, the day, week and month
// averages they touch brought up to date once at the end. All or nothing.
#include "data/MeasurementStore.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace MeasurementImport {

// Writes the readings (their person key is set to personKey) on gDB, in order; for each, whether
// it replaced a reading already there (a later reading at the same minute as an earlier one of
// the list replaces it). An error undoes the whole write and reaches the caller. onRow, when
// given, is told how many readings are written after each one; the averages follow the last.
std::vector<bool> WriteReadings(qint32 personKey, const std::vector<Measurement>& readings,
                                const std::function<void(std::size_t written)>& onRow = {});

} // namespace MeasurementImport
