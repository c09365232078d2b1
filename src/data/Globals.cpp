#include "data/Globals.h"

dao::WorkspacePtr gWS;
dao::DatabasePtr gDB;
qint32 gPersonKey = 0;
int gHeightUnit = 0;
int gWeightUnit = 0;
QString gWeightUnitText;
QString gShortDateFormat;
int gDefaultWeightYMin = 0;
int gDefaultWeightYMax = 0;
int gDefaultTempYMin = 0;
int gDefaultTempYMax = 0;
