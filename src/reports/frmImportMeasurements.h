#pragma once
// The import of measurements from a comma-separated text file. Shown modally by the main window.
//
// For now the window says that it is not built yet and closes with its button.
#include "platform/runtime/ui/NotBuiltForm.h"

class frmImportMeasurements : public vb::NotBuiltForm {
    Q_OBJECT
public:
    frmImportMeasurements();
};
