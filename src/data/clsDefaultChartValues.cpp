#include "data/clsDefaultChartValues.h"

#include "data/Globals.h"

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <tuple>
#include <utility>

namespace {

// Series colours (BGR).
constexpr qint32 kBpColour = 0xFF8080;
constexpr qint32 kPulseColour = 0x8000FF;
constexpr qint32 kWeightColour = 0x9CD075;
constexpr qint32 kPointColour = 0x8CB1FF;
constexpr int kLineWidth = 5;
constexpr int kMultiplePlotKey = 6;

dao::Database& database()
{
    if (!gDB)
        throw dao::Error(dao::errObjectClosed, QStringLiteral("No database is open."), QStringLiteral("clsDefaultChartValues"));
    return *gDB;
}

using Row = std::initializer_list<QVariant>;

// Adds the rows to the person's rows of the table when the person has none there. A row the
// database refuses is left out; the others are still added.
void addRowsIfNone(dao::Database& db, const char* table, qint32 person, std::initializer_list<const char*> columns,
                   std::initializer_list<Row> rows)
{
    auto rs = db.OpenRecordset(QStringLiteral("SELECT * FROM ") + QLatin1String(table) + QStringLiteral("  WHERE prsn_ky = ") +
                                   QString::number(person),
                               dao::dbOpenDynaset);
    if (rs->Eof()) {
        dao::Transaction transaction(db);
        for (const Row& row : rows) {
            try {
                rs->AddNew();
                auto value = row.begin();
                for (const char* column : columns)
                    rs->Fields(QLatin1String(column)).setValue(*value++);
                rs->Update();
            } catch (const dao::Error&) {
                rs->CancelUpdate();
            }
        }
        transaction.commit();
    }
    rs->Close();
}

// The weight unit of the settings row (1 "lb", 2 "kg", else 0). The sample person is made while
// the database is built, before start-up has read the units: without this its weight plot
// would get the range 0 to 0 and show none of its weights.
int settingsWeightUnit(dao::Database& db)
{
    auto rs = db.OpenRecordset(QStringLiteral("select WtUnit from Application"), dao::dbOpenSnapshot, dao::dbReadOnly);
    const QString unit = rs->Eof() ? QString() : rs->Fields(0).Value().toString();
    rs->Close();
    return unit == QLatin1String("lb") ? 1 : unit == QLatin1String("kg") ? 2 : 0;
}

} // namespace

void clsDefaultChartValues::CreateDefaultPlots(qint32 lngPersonKey)
{
    dao::Database& db = database();
    const QVariant k = lngPersonKey;

    addRowsIfNone(db, "person_plot", lngPersonKey, {"PRSN_KY", "PLT_KY"},
                  {{k, 0}, {k, 1}, {k, 2}, {k, 3}, {k, 4}, {k, 5}, {k, kMultiplePlotKey}});

    // The unit step runs whether or not rows were added; another unit code keeps what is set.
    const auto range = [](int unit) -> std::pair<int, int> { return unit == 1 ? std::pair{90, 350} : std::pair{40, 150}; };
    if (gWeightUnit == 1 || gWeightUnit == 2) {
        gWeightUnitText = gWeightUnit == 1 ? QStringLiteral("lb") : QStringLiteral("kg");
        std::tie(gDefaultWeightYMin, gDefaultWeightYMax) = range(gWeightUnit);
    }
    // Before start-up has read the units (while the database is built) no range is known: the
    // rows take the range of the settings row's unit, and the program-wide values stay unset.
    auto [weightMin, weightMax] = std::pair{gDefaultWeightYMin, gDefaultWeightYMax};
    if (weightMin == 0 && weightMax == 0) {
        if (const int unit = settingsWeightUnit(db); unit == 1 || unit == 2)
            std::tie(weightMin, weightMax) = range(unit);
    }

    addRowsIfNone(db, "single_person_plot", lngPersonKey,
                  {"PRSN_KY", "PLT_KY", "CHRT_ID", "CHRT_TP", "CHRT_CL", "CHRT_THK", "Y_MIN", "Y_MAX"},
                  {
                      {k, 0, 0, 11, kBpColour, kLineWidth, 60, 200},
                      {k, 1, 1, 0, kPulseColour, kLineWidth, 40, 110},
                      {k, 2, 2, 1, kWeightColour, kLineWidth, weightMin, weightMax},
                      {k, 3, 3, 4, kPointColour, kLineWidth, 0, 200},
                      {k, 4, 4, 4, kPointColour, kLineWidth, 0, 200},
                      {k, 5, 5, 4, kPointColour, kLineWidth, 0, 400},
                  });

    addRowsIfNone(db, "multiple_person_plot", lngPersonKey, {"PRSN_KY", "PLT_KY"}, {{k, kMultiplePlotKey}});

    // Blood pressure on the left axis and pulse on the right; the other series off.
    addRowsIfNone(db, "CHART_MULTIPLE_PERSON_PLOT", lngPersonKey,
                  {"PRSN_KY", "PLT_KY", "CHRT_ID", "CHRT_TP", "CHRT_ACT", "LBL_POS"},
                  {
                      {k, kMultiplePlotKey, 0, 11, true, 1},
                      {k, kMultiplePlotKey, 1, 0, true, 2},
                      {k, kMultiplePlotKey, 2, 0, false, 0},
                      {k, kMultiplePlotKey, 3, 0, false, 0},
                      {k, kMultiplePlotKey, 4, 0, false, 0},
                      {k, kMultiplePlotKey, 5, 0, false, 0},
                  });
}

void clsDefaultChartValues::DeletePersonPlots(qint32 lngPersonKey)
{
    dao::Database& db = database();
    const QString key = QString::number(lngPersonKey);
    dao::Transaction transaction(db);
    // Children before parents.
    for (const char* table : {"chart_multiple_person_plot", "multiple_person_plot", "single_person_plot", "person_plot"})
        db.Execute(QStringLiteral("delete from ") + QLatin1String(table) + QStringLiteral(" where prsn_ky = ") + key,
                   dao::dbFailOnError);
    transaction.commit();
}
