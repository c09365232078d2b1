// The web-page export of the open grids, and the two grid exports other forms call.
#include "shell/mdiHealth.h"

#include "reports/clsWebReportGenerator.h"

void mdiHealth::mnuExportHTML_Click() {}

void mdiHealth::ExportActiveGridToWebReport(clsWebReportGenerator& /*report*/) {}

void mdiHealth::ExportGoalGridToWebReport(clsWebReportGenerator& /*report*/) {}

QString mdiHealth::GetCurrentPersonName()
{
    return QString();
}
