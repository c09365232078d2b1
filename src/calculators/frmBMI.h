#pragma once
// The body-mass-index calculator. Shown modeless by the main window, which leaves it open when it changes data forms.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/Form.h"

class QLabel;
class QPushButton;

class frmBMI : public vb::Form {
    Q_OBJECT
public:
    frmBMI();
    ~frmBMI() override;

    QLabel* lblNotBuilt;
    QPushButton* cmdClose;

    void cmdClose_Click();
};
