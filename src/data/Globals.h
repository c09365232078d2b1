#pragma once
// The program-wide variables: the open workspace and database, the current person and the
// unit settings read at start-up.
#include "platform/dao/dao.h"

#include <QString>

extern dao::WorkspacePtr gWS;    // the open workspace, from start-up to exit
extern dao::DatabasePtr gDB;     // the open database every query runs on
extern qint32 gPersonKey;        // key of the current person; -1 none, 0 matches no person
extern int gHeightUnit;          // 1 feet and inches (stored as total inches), 2 centimetres, 0 other
extern int gWeightUnit;          // 1 pounds, 2 kilograms, 0 other
extern QString gWeightUnitText;  // "lb" or "kg"; empty until a form that sets it has run
extern QString gShortDateFormat; // the user's short-date pattern, read at start-up
extern int gDefaultWeightYMin;   // vertical range given to the weight plot of new chart rows
extern int gDefaultWeightYMax;
extern int gDefaultTempYMin;
extern int gDefaultTempYMax;
