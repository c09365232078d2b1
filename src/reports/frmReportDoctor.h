#pragma once
// The report for the doctor: one HTML page with a person's particulars, summaries, charts and tables for a chosen period. Shown modally by the main window.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/Form.h"

class QLabel;
class QPushButton;

class frmReportDoctor : public vb::Form {
    Q_OBJECT
public:
    frmReportDoctor();
    ~frmReportDoctor() override;

    QLabel* lblNotBuilt;
    QPushButton* cmdClose;

    void cmdClose_Click();
};
