#pragma once
// The report for the doctor: one HTML page with a person's particulars, summaries, charts and tables for a chosen period. Shown modally by the main window.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/NotBuiltForm.h"

class frmReportDoctor : public vb::NotBuiltForm {
    Q_OBJECT
public:
    frmReportDoctor();
};
