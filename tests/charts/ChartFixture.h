#pragma once
// The chart tests' base: a new database (sample person included), the service doubles, the
// chart window's default instance (not loaded unless a test loads it), and a US English locale
// for month names.
#include "charts/frmChart.h"
#include "data/clsDefaultChartValues.h"
#include "platform/controls/TChart.h"
#include "records/RecordsFixture.h"

#include <QLocale>
#include <QStringList>

namespace testing_charts {

class ChartFixture : public testing_records::RecordsFixture {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        RecordsFixture::SetUp();
    }

    frmChart& form() { return vb::defaultInstance<frmChart>(); }
    TChart& chart() { return *form().TChart1; }

    // The indexes of the shown series, e.g. "0 11 12".
    QString shown()
    {
        QStringList out;
        for (int i = 0; i < chart().SeriesCount(); ++i)
            if (chart().Series(i).Active())
                out << QString::number(i);
        return out.join(QLatin1Char(' '));
    }

    // A person with the default chart settings and no readings.
    int addPerson(const QString& name)
    {
        gDB->Execute(QStringLiteral("insert into PERSON (PRSN_NM) values ('%1')").arg(name), dao::dbFailOnError);
        const int key = count(QStringLiteral("select PRSN_KY from PERSON where PRSN_NM = '%1'").arg(name));
        clsDefaultChartValues().CreateDefaultPlots(key);
        return key;
    }

    // A reading: a Jet date literal, then "COLUMN, ..." and their values.
    static void addReading(int person, const QString& when, const QString& columns, const QString& values)
    {
        gDB->Execute(QStringLiteral("insert into MEASURE (PRSN_KY, MSRD_DT, %1) values (%2, %3, %4)")
                         .arg(columns)
                         .arg(person)
                         .arg(when, values),
                     dao::dbFailOnError);
    }

    // The x values of a series as "m/d h:mm" texts.
    QStringList dates(int series)
    {
        QStringList out;
        for (const TChartPoint& p : chart().Series(series).Points())
            out << tchart::DateFromValue(p.x).toString(QStringLiteral("M/d h:mm"));
        return out;
    }
};

} // namespace testing_charts
