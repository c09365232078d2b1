#pragma once
// The biological-clock day planner. A child of the main window, which leaves it open when it changes data forms.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/Form.h"

class QLabel;
class QPushButton;

class frmBiologicalClockWork : public vb::Form {
    Q_OBJECT
public:
    frmBiologicalClockWork();
    ~frmBiologicalClockWork() override;

    QLabel* lblNotBuilt;
    QPushButton* cmdClose;

    void cmdClose_Click();
};
