#include "calculators/frmBiologicalClockWork.h"

frmBiologicalClockWork::frmBiologicalClockWork()
    : vb::NotBuiltForm(QStringLiteral("frmBiologicalClockWork"), QStringLiteral("Work with Biological Clock"), true)
{}
