// The web-page export of the open grids. The grid exports themselves, which other forms use
// too, are gridexport's (reports/GridExport.h).
#include "shell/mdiHealth.h"

#include "platform/runtime/App.h"
#include "platform/services/Shell.h"
#include "reports/DoctorReportSections.h"
#include "reports/GridExport.h"
#include "reports/clsWebReportGenerator.h"

void mdiHealth::mnuExportHTML_Click()
{
    clsWebReportGenerator report;
    doctorreport::DeleteOldChartImages();
    report.AddContent(QString());
    ExportActiveGridToWebReport(report);
    const QString page = App::Path() + QStringLiteral("/Report.html");
    try {
        report.SaveToFile(page);
    } catch (...) {
        gridexport::ReportExportError();
        return;
    }
    services::OpenOrTell(services::OpenTarget::Page, report.FileName());
}

void mdiHealth::ExportActiveGridToWebReport(clsWebReportGenerator& report) { gridexport::ExportActiveGridToWebReport(report); }

void mdiHealth::ExportGoalGridToWebReport(clsWebReportGenerator& report) { gridexport::ExportGoalGridToWebReport(report); }

QString mdiHealth::GetCurrentPersonName() { return gridexport::GetCurrentPersonName(); }
