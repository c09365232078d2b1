#include "reports/DoctorReportSections.h"

#include "data/Globals.h"
#include "data/clsDataService.h"
#include "data/modFunctions.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "reports/clsExport.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace doctorreport {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The seven numeric columns in the order of the statistics table's rows.
constexpr const char* kStatColumns[kStatsRows] = {"hbp", "lbp", "plse", "wt", "temp", "temp1", "temp2"};

QString monthYear(const QDate& date)
{
    return vb::Format(QVariant(QDateTime(date, QTime(0, 0), Qt::UTC)), QStringLiteral("mmmm, yyyy"));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Period title and patient

QDate TitleStart(const QString& periodName, const QDate& first, const QDate& last)
{
    const QDate candidate = clsDataService::PeriodStart(last, periodName);
    if (!candidate.isValid())
        return first;
    return candidate > first ? candidate : first;
}

QString PeriodTitleHtml(const QDate& start, const QDate& end)
{
    return QStringLiteral("<table width='90%' cellspacing='2' cellpadding='1'>") + kCrLf +
           QStringLiteral("<tr><td class='ReportTitleStyle'>") + QStringLiteral("Report for the period ") + monthYear(start) +
           QStringLiteral(" through ") + monthYear(end) + kCrLf + QStringLiteral("</td>") + kCrLf + QStringLiteral("</tr>") +
           kCrLf + QStringLiteral("</table>");
}

QString NoteHtml()
{
    return QStringLiteral("<p class='NoteStyle'><font size='1'> ") +
           QStringLiteral("Note: This report is generated from Ravelcombrick Software ") + QStringLiteral("from ") +
           kMakerAddress + QStringLiteral(". Please read the disclaimer before interpreting the results.</font></p>");
}

QString HeightText(const QVariant& height, int heightUnit)
{
    // The person window fills all three boxes and shows those of the unit in force; with no
    // known unit all of them stay shown.
    QString feet;
    QString inches;
    QString centimetres;
    if (!vb::IsNull(height)) {
        const double h = height.toDouble();
        centimetres = vb::CStr(height);
        if (std::abs(h) <= 1e9) {
            feet = QString::number(static_cast<long long>(std::floor(h / 12)));
            inches = QString::number(static_cast<long long>(std::nearbyint(h)) % 12);
        }
    }
    const bool feetShown = heightUnit != 2;
    const bool centimetresShown = heightUnit != 1;
    if (feetShown && !(feet + inches).trimmed().isEmpty())
        return feet + QStringLiteral("' ") + inches + u'"';
    if (centimetresShown)
        return centimetres + QStringLiteral("cm");
    return QStringLiteral("Unknown");
}

QString WeightText(const QVariant& weight, const QDateTime& measured, int weightUnit)
{
    if (vb::IsNull(weight) || !weight.isValid())
        return QStringLiteral("Unknown");
    const QString date = vb::Format(QVariant(measured), QStringLiteral("mmm dd , yyyy"));
    if (weightUnit == 1)
        return vb::CStr(weight) + QStringLiteral(" lb") + QStringLiteral("  (last measured on ") + date + u')';
    if (weightUnit == 2)
        return vb::CStr(weight) + QStringLiteral(" kg") + QStringLiteral(" (last measured on ") + date + u')';
    return QStringLiteral("Unknown");
}

PatientInfo ReadPatient(qint32 personKey, int heightUnit, int weightUnit)
{
    PatientInfo patient;
    auto person = gDB->OpenRecordset(QStringLiteral("select PRSN_NM, AGE, HGT, SEX from PERSON where PRSN_KY = ?"),
                                     dao::Params{personKey}, dao::dbOpenSnapshot);
    if (!person->Eof()) {
        patient.name = vb::CStr(person->Fields(0).Value());
        patient.age = vb::CStr(person->Fields(1).Value());
        patient.height = HeightText(person->Fields(2).Value(), heightUnit);
        const QString sex = vb::CStr(person->Fields(3).Value());
        if (sex == QLatin1String("M"))
            patient.gender = QStringLiteral("Male");
        else if (sex == QLatin1String("F"))
            patient.gender = QStringLiteral("Female");
    }
    person->Close();

    // The newest reading's weight.
    auto weights =
        gDB->OpenRecordset(QStringLiteral(" select f.wt, f.msrd_dt from measure f where f.prsn_ky = ? and f.wt is not null "
                                          " and f.msrd_dt = (select max(g.msrd_dt) from measure g "
                                          " where g.prsn_ky = ? and g.wt is not null)"),
                           dao::Params{personKey, personKey}, dao::dbOpenSnapshot);
    if (!weights->Eof()) {
        const auto measured = modFunctions::DateOf(weights->Fields(1).Value());
        patient.weight = WeightText(weights->Fields(0).Value(), measured.value_or(QDateTime()), weightUnit);
    }
    weights->Close();
    return patient;
}

QString PatientTableHtml(const PatientInfo& patient)
{
    QString html = QStringLiteral("<table width='446' cellspacing='2' cellpadding='1'>") + kCrLf +
                   QStringLiteral("<tr><td width='105'>Patient Name:</td>") + kCrLf + QStringLiteral("<td width='325'>") +
                   htmlText(patient.name);
    const std::pair<const char*, const QString*> rows[] = {
        {"Age:", &patient.age},       {"Gender:", &patient.gender}, {"BMI:", &patient.bmi},
        {"Height:", &patient.height}, {"Weight:", &patient.weight},
    };
    for (const auto& [label, value] : rows) {
        html += QStringLiteral("</td>") + kCrLf + QStringLiteral("</tr>") + kCrLf + QStringLiteral("<tr>") +
                QStringLiteral("<td>") + QLatin1String(label) + QStringLiteral("</td>") + kCrLf + QStringLiteral("<td>") +
                htmlText(*value);
    }
    html += QStringLiteral("</td>") + kCrLf + QStringLiteral("</tr>") + kCrLf + QStringLiteral("</table>");
    return html;
}

// ---------------------------------------------------------------------------------------------
// Summary statistics

QString MedianText(const std::vector<double>& ascending)
{
    const std::size_t n = ascending.size();
    if (n == 0)
        return QString();
    const double median = n % 2 == 1 ? ascending[(n + 1) / 2 - 1] : (ascending[n / 2 - 1] + ascending[n / 2]) / 2;
    return vb::Format(QVariant(median), QStringLiteral("#.0"));
}

StatsTable ComputeMeasurementStatistics(qint32 personKey, const QString& periodFilter)
{
    StatsTable stats{};
    const QString person = QString::number(personKey);

    // Maximum, minimum and average of every column in one query.
    QString select = QStringLiteral(" select ");
    for (int row = 0; row < kStatsRows; ++row) {
        const QString c = QLatin1String(kStatColumns[row]);
        select += QStringLiteral("max(f.%1) as max_%1, min(f.%1) as min_%1, format(avg(f.%1),'0.0') as avg_%1, 0 as med_%1, "
                                 "'' as %1_DT")
                      .arg(c);
        select += row + 1 < kStatsRows ? QStringLiteral(", ") : QStringLiteral(" ");
    }
    std::array<QVariant, kStatsRows> maxima;
    std::array<QVariant, kStatsRows> minima;
    {
        auto rs = gDB->OpenRecordset(select + QStringLiteral(" from measure f ") + QStringLiteral(" where f.prsn_ky = ") +
                                         person + periodFilter,
                                     dao::dbOpenSnapshot);
        for (int row = 0; row < kStatsRows; ++row) {
            maxima[row] = rs->Fields(row * 5).Value();
            minima[row] = rs->Fields(row * 5 + 1).Value();
            stats[row][0] = vb::CStr(maxima[row]);
            stats[row][1] = vb::CStr(minima[row]);
            stats[row][2] = vb::CStr(rs->Fields(row * 5 + 2).Value());
        }
        rs->Close();
    }

    // The date of the first reading that holds each extreme, and the values for the medians,
    // from one walk over the period's readings.
    std::array<std::vector<double>, kStatsRows> values;
    auto rs = gDB->OpenRecordset(QStringLiteral(" select f.msrd_dt, f.hbp, f.lbp, f.plse, f.wt, f.temp, f.temp1, f.temp2 "
                                                " from measure f where f.prsn_ky = ") +
                                     person + periodFilter + QStringLiteral(" order by f.msrd_dt"),
                                 dao::dbOpenSnapshot);
    std::array<bool, kStatsRows> maxFound{};
    std::array<bool, kStatsRows> minFound{};
    auto dateText = [](const QVariant& when) {
        return QStringLiteral(" as on ") +
               vb::Format(QVariant(modFunctions::DateOf(when).value_or(QDateTime())), QStringLiteral("mmm. dd, yy"));
    };
    for (; !rs->Eof(); rs->MoveNext()) {
        for (int row = 0; row < kStatsRows; ++row) {
            const QVariant value = rs->Fields(row + 1).Value();
            if (vb::IsNull(value))
                continue;
            const double v = value.toDouble();
            values[row].push_back(v);
            if (!maxFound[row] && !vb::IsNull(maxima[row]) && v == maxima[row].toDouble()) {
                maxFound[row] = true;
                stats[row][4] = dateText(rs->Fields(0).Value());
            }
            if (!minFound[row] && !vb::IsNull(minima[row]) && v == minima[row].toDouble()) {
                minFound[row] = true;
                stats[row][5] = dateText(rs->Fields(0).Value());
            }
        }
    }
    rs->Close();
    for (int row = 0; row < kStatsRows; ++row) {
        std::sort(values[row].begin(), values[row].end());
        stats[row][3] = MedianText(values[row]);
    }
    return stats;
}

QString SummaryTableHtml(const StatsTable& stats, const SummaryColumns& columns, const SummaryLabels& labels)
{
    QString html = QStringLiteral("<p class='pSpacer'></p>") + QStringLiteral("<table width='90%'> ") + kCrLf;
    html += QStringLiteral("<tr>") + kCrLf + QStringLiteral("<td align='center' class='TableHeader' colspan='5'>") + kCrLf +
            QStringLiteral("Summary of measurements during reporting period</td>") + kCrLf + QStringLiteral("</tr>");
    html += QStringLiteral("<tr>") + kCrLf + QStringLiteral("<td width='30%'>Measurement</td>") + kCrLf +
            QStringLiteral("<td width='20%' align='center'>Maximum</td>") + kCrLf +
            QStringLiteral("<td width='20%' align='center'>Minimum</td>") + kCrLf +
            QStringLiteral("<td width='15%' align='center'>Average</td>") + kCrLf +
            QStringLiteral("<td width='15%' align='center'>Median</td>") + kCrLf + QStringLiteral("</tr>");

    auto row = [&](const QString& label, int r) {
        const auto& s = stats[static_cast<std::size_t>(r)];
        const QString cell = QStringLiteral("<td width='20%' align='center'>");
        html += QStringLiteral("<tr>") + kCrLf + QStringLiteral("<td width='30%'>") + htmlText(label) + QStringLiteral("</td>") +
                kCrLf + cell + s[0] + s[4] + QStringLiteral("</td>") + kCrLf + cell + s[1] + s[5] + QStringLiteral("</td>") +
                kCrLf + cell + s[2] + QStringLiteral("</td>") + kCrLf + cell + s[3] + QStringLiteral("</td>") + kCrLf +
                QStringLiteral("</tr>");
    };
    if (columns.bp) {
        row(QStringLiteral("High Blood Pressure"), 0);
        row(QStringLiteral("Low Blood Pressure"), 1);
    }
    if (columns.pulse)
        row(QStringLiteral("Pulse (/min)"), 2);
    if (columns.weight)
        row(QStringLiteral("Weight (") + labels.weightUnit + u')', 3);
    if (columns.temp)
        row(labels.tempLabel + QStringLiteral(" (") + labels.tempUnit + u')', 4);
    if (columns.temp1)
        row(labels.temp1Label + QStringLiteral(" (") + labels.temp1Unit + u')', 5);
    if (columns.sugar)
        row(QStringLiteral("Sugar(") + labels.sugarUnit + u')', 6);
    html += QStringLiteral("</table>");
    return html;
}

// ---------------------------------------------------------------------------------------------
// Charts, legend, footnote

QString ChartMonthOpenHtml() { return QStringLiteral("<table border='1' width='10'><tr><td> ") + kCrLf; }

QString ChartImageHtml(int imageNumber)
{
    return QStringLiteral("<img src='temp/") + QString::number(imageNumber) +
           QStringLiteral(".jpeg' hspace='15' vspace='15' align='top'> ") + kCrLf;
}

QString ChartMonthCloseHtml()
{
    return QStringLiteral("</td></tr></table>") + kCrLf + QStringLiteral("<p class='pSpacer'></p>") + kCrLf;
}

QString BPColorTableHtml()
{
    QString html = QStringLiteral("<table width='538'>") + kCrLf +
                   QStringLiteral("<tr class='TableHeader'><td colspan='3' align='center'>Color Code used in Chart and Table for "
                                  "Blood Pressue</td></tr>");
    html += QStringLiteral("<tr class='TableHeader'>") + kCrLf +
            QStringLiteral("<td width='20%' align='center'>Color Code</td>") + kCrLf +
            QStringLiteral("<td width='40%' align='center'>Low Blood Pressure Range</td>") + kCrLf +
            QStringLiteral("<td align='center' width='40%'>High Blood Pressure Range</td>") + kCrLf + QStringLiteral("</tr>");
    // The bands as the table and the chart colour a reading (whole numbers): red from 140 and
    // from 90 on, yellow from 130 and from 85 on.
    const char* const rows[3][3] = {
        {"<td width='20%' align='center'  bgcolor='#99FF99'>&nbsp;</td>", "<td width='40%' align='center'>&lt; 85</td>",
         "<td align='center' width='40%'>&lt; 130</td>"},
        {"<td width='20%' align='center' bgcolor='#FFFF99'>&nbsp;</td>", "<td width='40%' align='center'>85 to 89</td>",
         "<td align='center' width='40%'>130 to 139</td>"},
        {"<td width='20%' align='center'  bgcolor='#FF9999' height='24'>&nbsp;</td>",
         "<td width='40%' align='center' height='24'>&gt;= 90</td>", "<td align='center' width='40%' height='24'>&gt;= 140</td>"},
    };
    for (const auto& r : rows) {
        html += QStringLiteral("<tr>") + kCrLf + QLatin1String(r[0]) + kCrLf + QLatin1String(r[1]) + kCrLf + QLatin1String(r[2]) +
                kCrLf + QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>") + kCrLf + QStringLiteral("<p class='pSpacer'></p>") + kCrLf;
    return html;
}

QString FootnoteHtml()
{
    // Each choice on its own line after a blank and a bullet.
    auto choices = [](const char* heading, std::initializer_list<const char*> items, const char* remark = nullptr) {
        QString cell = QStringLiteral("<td class='TdFooter' width='125' valign='top'>") + QLatin1String(heading);
        for (const char* item : items)
            cell += QStringLiteral("<br>&nbsp;") + QChar(0x2022) + u' ' + QLatin1String(item);
        if (remark)
            cell += QStringLiteral("<br><i>") + QLatin1String(remark) + QStringLiteral("</i>");
        return cell + QStringLiteral("</td>") + kCrLf;
    };
    QString html =
        QStringLiteral("<p class='pFooter'><b>Note for Doctor: </b>You may suggest the patient a regimen, such as an exercise "
                       "regimen and/or a medicine dosage, and ask the patient to bring this report on the next visit, made "
                       "with the options below.</p>") +
        kCrLf;
    html += QStringLiteral("<table border='0' width='750'>") + kCrLf + QStringLiteral("<tr class='TableFooter'>") + kCrLf;
    for (const char* heading : {"Report Category", "Period", "Measurement", "Warning Color", "Chart"})
        html += QStringLiteral("<td class='TdFooter' width='125' bgcolor='#FFFF99'><b>") + QLatin1String(heading) +
                QStringLiteral("</b></td>") + kCrLf;
    html += QStringLiteral("</tr>") + kCrLf + QStringLiteral("<tr>") + kCrLf;
    html += choices("Select only one:", {"Daily", "Daily Average", "Weekly Average", "Monthly Average"});
    html += choices("Select only one:", {"Last 1 Month", "Last 3 Months", "Last 6 Months", "Last 1 Years", "Last 2 Years",
                                         "Last 3 Years", "All Period"});
    html += choices("Select one or more:",
                    {"Blood Pressure", "Pulse", "Weight", "Custom", "Custom", "Sugar", "Regimen", "Mood", "Comment"});
    html += choices("Select one or more:", {"Blood Pressure", "Sugar"}, "Useful when the report is printed in colour.");
    html += choices("Select one or more:", {"Blood Pressure", "Pulse", "Weight", "Custom", "Custom", "Sugar", "Regimen"},
                    "Two measurements can be shown in one chart.");
    html += QStringLiteral("</tr>") + kCrLf + QStringLiteral("</table>") + kCrLf;
    html += QStringLiteral("<p class='pFooter'></p>") + kCrLf;
    html += QStringLiteral("<p class='pFooter'><b>Disclaimer:</b> ") + kMakerAddress +
            QStringLiteral(" takes no responsibility for the accuracy of the reports made with the Ravelcombrick software. "
                           "The patient or the software may make errors in entering, storing or calculating the data. The "
                           "entire risk of using the reports is with the patient; any liability is limited to the "
                           "replacement of the product or the refund of its purchase price.</p>") +
            kCrLf;
    return html;
}

void DeleteOldChartImages()
{
    QDir temp(App::Path() + QStringLiteral("/temp"));
    if (!temp.exists())
        return;
    for (const QString& name : temp.entryList({QStringLiteral("*.jpeg")}, QDir::Files | QDir::Hidden))
        QFile::remove(temp.filePath(name));
}

} // namespace doctorreport
