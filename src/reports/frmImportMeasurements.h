#pragma once
// The import of measurements from a comma-separated text file. Shown modally by the main window.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/Form.h"

class QLabel;
class QPushButton;

class frmImportMeasurements : public vb::Form {
    Q_OBJECT
public:
    frmImportMeasurements();
    ~frmImportMeasurements() override;

    QLabel* lblNotBuilt;
    QPushButton* cmdClose;

    void cmdClose_Click();
};
