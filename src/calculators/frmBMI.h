#pragma once
// The body-mass-index calculator. Shown modeless by the main window, which leaves it open when it changes data forms.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/NotBuiltForm.h"

class frmBMI : public vb::NotBuiltForm {
    Q_OBJECT
public:
    frmBMI();
};
