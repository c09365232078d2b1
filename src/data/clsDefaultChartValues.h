#pragma once
// The chart settings a person starts with: the plot list, the drawing of each single-series
// plot, the multiple plot and its series.
#include <QtGlobal>

class clsDefaultChartValues {
public:
    // Writes the default rows that the person lacks, table by table (a table in which the person
    // already has a row is left as it is), and sets gWeightUnitText and the default weight range
    // from gWeightUnit first. While neither a unit code nor a range is known (as when the
    // database is being built) the weight rows take the range of the settings row's unit. Rows the database refuses (no such person, a missing CHART row) are
    // left out and the rest is still written.
    void CreateDefaultPlots(qint32 lngPersonKey);
    // Deletes every chart settings row of the person, all or nothing; an error reaches the caller.
    void DeletePersonPlots(qint32 lngPersonKey);
};
