#pragma once
// The Fahrenheit/Celsius converter. Shown modeless by the main window; opening a data form closes it.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/NotBuiltForm.h"

class frmCnFConverter : public vb::NotBuiltForm {
    Q_OBJECT
public:
    frmCnFConverter();
};
