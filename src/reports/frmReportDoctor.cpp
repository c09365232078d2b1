#include "reports/frmReportDoctor.h"

frmReportDoctor::frmReportDoctor()
    : vb::NotBuiltForm(QStringLiteral("frmReportDoctor"), QStringLiteral("Report for Doctor"), false)
{}
