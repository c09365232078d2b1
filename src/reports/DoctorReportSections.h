#pragma once
// The pieces of the report for the doctor that come from the database or from fixed text: the
// period title, the patient table, the measurement summary, the chart tables' frame, the
// blood-pressure legend and the footnote. No widgets: the report window gathers what the other
// windows show and appends these pieces to its page in order.
//
// Every text that comes from the data (names, labels, units) is HTML-escaped here, so a "<"
// or "&" in it reads as itself in the page.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <array>
#include <vector>

namespace doctorreport {

// The web address the page names as the maker's.
inline const QString kMakerAddress = QStringLiteral("https://www.ravelcombrick.example/");

// ---- Period title and patient

// The first day the title names: the day the data filter of the period starts (the tables
// count whole calendar years), never before the first measurement; the latest measurement for
// "Last 1 Month", the first for "All Period" and unknown names.
QDate TitleStart(const QString& periodName, const QDate& first, const QDate& last);
// The title table, "Report for the period <month, year> through <month, year>".
QString PeriodTitleHtml(const QDate& start, const QDate& end);
QString NoteHtml();

struct PatientInfo {
    QString name;
    QString age;
    QString gender = QStringLiteral("Unknown");
    QString bmi = QStringLiteral("Unknown");
    QString height = QStringLiteral("Unknown");
    QString weight = QStringLiteral("Unknown");
};

// Name, age, gender and height of the person as the person window shows them for the height
// unit (1 feet and inches, 2 centimetres, any other code both boxes), and the latest weight.
// The BMI stays "Unknown": the caller computes it.
PatientInfo ReadPatient(qint32 personKey, int heightUnit, int weightUnit);
// The height as the person window's boxes give it: feet and inches when those boxes are shown
// and hold something, else the centimetre box followed by "cm" when it is shown, else
// "Unknown". height is the stored value (Null when unknown).
QString HeightText(const QVariant& height, int heightUnit);
// "150 lb  (last measured on Jun 05 , 2007)" or the kg form; "Unknown" without a weight or for
// another unit code.
QString WeightText(const QVariant& weight, const QDateTime& measured, int weightUnit);
QString PatientTableHtml(const PatientInfo& patient);

// ---- Summary statistics

// Rows: 0 HBP, 1 LBP, 2 PLSE, 3 WT, 4 TEMP, 5 TEMP1, 6 TEMP2. Columns: 0 maximum, 1 minimum,
// 2 average, 3 median, 4 " as on <date>" of the maximum, 5 of the minimum. Missing: "".
using StatsTable = std::array<std::array<QString, 6>, 7>;
inline constexpr int kStatsRows = 7;

// The statistics of the person's readings that pass the period filter (a GetPeriodFilter text
// on MSRD_DT).
StatsTable ComputeMeasurementStatistics(qint32 personKey, const QString& periodFilter);
// The median of values in ascending order, formatted "#.0"; "" for none.
QString MedianText(const std::vector<double>& ascending);

struct SummaryColumns {
    bool bp = true, pulse = true, weight = true, temp = true, temp1 = true, sugar = true;
};
struct SummaryLabels {
    QString weightUnit; // "lb" or "kg", or "" when not yet known
    QString tempLabel, temp1Label;
    QString tempUnit, temp1Unit, sugarUnit;
};
QString SummaryTableHtml(const StatsTable& stats, const SummaryColumns& columns, const SummaryLabels& labels);

// ---- Charts, legend, footnote

QString ChartMonthOpenHtml();
QString ChartImageHtml(int imageNumber);
QString ChartMonthCloseHtml();
QString BPColorTableHtml();
QString FootnoteHtml();

// Deletes the chart images of earlier reports (<program folder>/temp/*.jpeg); whatever cannot
// be deleted is left.
void DeleteOldChartImages();

} // namespace doctorreport
