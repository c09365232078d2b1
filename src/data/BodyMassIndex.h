#pragma once
// The body-mass index as the calculator and the report for the doctor compute it: the entries
// (height and weight texts with their unit texts), the checks in their order with their
// messages, the arithmetic, the rounding and the band. No widgets: the calculator shows the
// outcome on its controls, the report writes its text.
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace bmi {

// The unit lists' texts, in list order.
inline const QString kInches = QStringLiteral("inches");
inline const QString kCentimeters = QStringLiteral("centimeters");
inline const QString kPounds = QStringLiteral("pounds");
inline const QString kKilograms = QStringLiteral("kilograms");

// The unit text of a height or weight unit code (1 inches / pounds, 2 centimeters / kilograms);
// the empty text (no unit chosen) for any other code.
QString HeightUnitText(int heightUnitCode);
QString WeightUnitText(int weightUnitCode);

struct Band {
    const char* caption;
    quint32 color; // &HBBGGRR
};
// Underweight, Healthy, Overweight, Obese, Severly Obese.
const std::array<Band, 5>& Bands();
// The band of a rounded result: below 20, 25, 30, 40, and the rest.
int BandOf(double rounded);

// The number a box holds: digits with at most one "." (a leading sign allowed), blanks around
// it; "." is the decimal point whatever the locale, as the key filters let no other in. None
// for an empty box, a lone ".", letters or a number beyond the double range.
std::optional<double> ReadNumber(const QString& text);

struct Entry {
    QString height;
    QString heightUnit; // kInches, kCentimeters or anything else (no unit)
    QString weight;
    QString weightUnit; // kPounds, kKilograms or anything else
};

struct Outcome {
    // Empty when the entries were accepted; otherwise the message that refuses them.
    QString message;
    int icon = 0;       // of the message: 48 exclamation, 64 information
    double bmi = 0;     // kilograms / metres / metres, unrounded
    double rounded = 0; // the index rounded to one decimal and read back as a single
    QString text;       // the rounded index in its shortest form ("22.1", "25")
    int slider = 0;     // the rounded index to a whole number, halves to the even neighbour
    int band = -1;

    bool accepted() const { return message.isEmpty(); }
};

// The checks in order (both entries missing, height missing, weight missing, height range or
// unit, weight range or unit), then the index. An entry that is no number counts as missing.
Outcome Calculate(const Entry& entry);

// What the calculator fills in for a stored person: its height (empty when unknown), its
// latest weight and the unit texts of the codes in force (gHeightUnit, gWeightUnit).
Entry PersonEntry(qint32 personKey);
// The person's newest weight above 0, as text; empty when the person has none (or no database
// is open).
QString LatestWeightText(qint32 personKey);

} // namespace bmi
