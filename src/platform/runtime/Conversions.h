#pragma once
// Value conversions with the rules the program was written for: Val reads the leading number
// with "." as the decimal point whatever the locale; CInt/CLng round half to even and raise
// overflow (error 6); Null is an invalid (null) QVariant.
#include "platform/runtime/RuntimeError.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace vb {

// Raised by the conversions: number 6 overflow, 13 type mismatch, 94 invalid use of Null.
class ConversionError : public RuntimeError {
public:
    using RuntimeError::RuntimeError;
};

bool IsNull(const QVariant& v);
// The number the text begins with; blanks are skipped, "." is the decimal point, an optional
// sign and exponent; a text that does not begin with a number reads as 0 (so does Null);
// a number beyond the Double range raises error 6.
double Val(const QString& text);
double Val(const QVariant& v);
// Half-to-even rounding to 16/32-bit integers; out of range raises error 6.
int CInt(double v);
int CInt(const QVariant& v);
qint32 CLng(double v);
qint32 CLng(const QVariant& v);
// Single-precision value, returned as the double that prints as the float's shortest text
// (72.3f -> 72.3), so single values compare equal wherever they are stored.
double CSng(double v);
double CSng(const QVariant& v);
double CDbl(const QVariant& v);
// Nz: the value, or the replacement when the value is Null.
QVariant Nz(const QVariant& v, const QVariant& valueIfNull = QString());
// The shortest text that reads back as the same number ("80", "4.5", "6.7").
QString NumberText(double v);
// Text of a value as VB's CStr gives it; Null gives the empty text.
QString CStr(const QVariant& v);

// VB's Format for the patterns the program uses: dates ("hh:mm AM/PM", "H:M AM/PM",
// "mm/dd/yy", "mm/dd/yyyy HH:MM AM/PM", "mmmm, yyyy", "mmm dd , yyyy", "mmm. dd, yy", "yyyy",
// "dd", "mmm dd", "mmm", "AM/PM", "Short Date", ...) and numbers ("0.0", "#.0", ".0", "00", ...).
// "/" is always written as "/" and "." is the decimal point. Null gives the empty text.
QString Format(const QVariant& value, const QString& pattern);

// The user's short-date pattern in Format's tokens ("m/d/yyyy" until start-up sets it), used by
// "Short Date", CStr of dates and "General Date".
void SetShortDatePattern(const QString& vbPattern);
QString ShortDatePattern();

// The text between single quotes in SQL: every quote doubled ("O'Brien" -> "O''Brien").
QString SqlQuote(const QString& text);
// A whole SQL text literal: 'O''Brien'.
QString SqlText(const QString& text);

} // namespace vb
