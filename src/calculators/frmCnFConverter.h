#pragma once
// The Fahrenheit/Celsius converter. Shown modeless by the main window; opening a data form closes it.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/Form.h"

class QLabel;
class QPushButton;

class frmCnFConverter : public vb::Form {
    Q_OBJECT
public:
    frmCnFConverter();
    ~frmCnFConverter() override;

    QLabel* lblNotBuilt;
    QPushButton* cmdClose;

    void cmdClose_Click();
};
