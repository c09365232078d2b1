// The values the import's cell checks pass are the values the write stores: at each column's
// bounds, a value passed is written and a value refused is one the table refuses too.
#include "records/RecordsFixture.h"
#include "reports/MeasurementImportFile.h"

#include "data/Globals.h"
#include "data/MeasurementImport.h"

namespace {

using namespace MeasurementImportFile;

class ImportBoundsTest : public testing_records::RecordsFixture {};

TEST_F(ImportBoundsTest, WhatTheChecksPassTheTableStoresAndWhatTheyRefuseItRefuses)
{
    struct Case {
        int col;
        const char* text;
    } cases[] = {
        {colWeight, "340282326356119256160033759537265639424"},
        {colWeight, "340282346600000000000000000000000000000"},
        {colWeight, "340282346638528859811704183484516925440"},
        {colCustom1, "-340282346638528859811704183484516925440"},
        {colSugar, "340282346700000000000000000000000000000"},
        {colHighBP, "32767"},
        {colHighBP, "32768"},
        {colPulse, "-32768"},
        {colPulse, "-32769"},
    };
    int year = 2031;
    for (const Case& c : cases) {
        // A year each: no average mixes the cases' values.
        QStringList cells(colCount);
        cells[colDate] = QStringLiteral("1/5/%1 8:00 AM").arg(year++);
        cells[c.col] = QString::fromLatin1(c.text);
        const bool passed = !CheckCell(c.col, cells[c.col], {}).failed;
        // The value as the table would get it, whatever the check said.
        Measurement m = *ValuesOfRow(cells);
        const double v = cells[c.col].toDouble();
        switch (c.col) {
        case colWeight: m.weight = v; break;
        case colCustom1: m.temp = v; break;
        case colSugar: m.sugar = v; break;
        case colHighBP: m.highPressure = static_cast<int>(v); break;
        default: m.pulse = static_cast<int>(v); break;
        }
        bool stored = true;
        try {
            MeasurementImport::WriteReadings(samplePerson, {m});
        } catch (const dao::Error&) {
            stored = false;
        }
        EXPECT_EQ(passed, stored) << c.col << " " << c.text;
    }
}

} // namespace
