#include "calculators/frmBMI.h"

frmBMI::frmBMI() : vb::NotBuiltForm(QStringLiteral("frmBMI"), QStringLiteral("Body Mass Index Calculator"), false) {}
