#pragma once
// The days a reading may carry: the calendar offers only these, the Measurement form saves only
// these and the import takes only these.
//
// The first is January 1 of the year 100, the database's first day. From there on every year is
// written with three digits or more, so no date text or date literal of a saved day is read back
// as a two-digit year of the 1930-2029 window. The last is the last day whose week (Monday to
// Sunday; a week's average is kept under its Sunday) ends by December 31, 9999.
#include <QDate>
#include <QString>

namespace vb {

QDate FirstStorableDate();
QDate LastStorableDate();
bool IsStorableDate(const QDate& date);

// A Qt date pattern with its year written in full ("M/d/yy" -> "M/d/yyyy"), for texts that must
// name a day beyond doubt whatever its century.
QString WithFullYear(const QString& qtPattern);

} // namespace vb
