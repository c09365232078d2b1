#pragma once
// The grids of the open data forms as HTML tables on a page: the main window's web-page
// export, the goal form's export and the report take them from here. Each grid goes under its
// own title; an error is shown as these exports always have ("DoHTMLReport: " and the
// description, the number as the caption) and ends the export.
#include <QString>
#include <QtGlobal>

class clsWebReportGenerator;

namespace gridexport {

// The grids of every loaded data form (measurement, grid, goal, regimen, person, chart), in the
// order the forms were loaded, appended to the page.
void ExportActiveGridToWebReport(clsWebReportGenerator& report);
// The goal form's grid only.
void ExportGoalGridToWebReport(clsWebReportGenerator& report);
// The grid of the loaded form of that name only (the report's driven forms, whatever else the
// user has open).
void ExportFormGridToWebReport(clsWebReportGenerator& report, const QString& formName);
// The current person's name, "" when gPersonKey matches no person (or no database is open).
QString GetCurrentPersonName();
// A person's name by key, "" when the key matches no person.
QString PersonName(qint32 personKey);
// Shows an export failure: call it inside a catch block.
void ReportExportError();

} // namespace gridexport
