#include "reports/frmImportMeasurements.h"

frmImportMeasurements::frmImportMeasurements()
    : vb::NotBuiltForm(QStringLiteral("frmImportMeasurements"), QStringLiteral("Import the Data from File"), false)
{}
