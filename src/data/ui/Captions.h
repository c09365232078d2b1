#pragma once
// The user's own texts (custom labels and units, names, goal names) shown on controls exactly as
// typed, whatever marks the control would otherwise read in them.
#include <QString>

#include <vector>

class VSFlexGrid;

namespace captions {

// For a check box, option button, push button, group box, tab title or a label with a buddy:
// there "&" marks the access key, so each "&" is doubled to show as itself.
QString plain(const QString& text);

// A measurement's column heading: its label with the unit in brackets, "Weight (lb)".
QString unitHeading(const QString& label, const QString& unit);

// One column heading of a grid.
struct Heading {
    QString text;
    bool centred = false;
};

// Sets a grid's columns and their headings. The format string gets only the columns and their
// alignment marks; the texts are set afterwards as they are, so a "|" or a leading "^" in a
// user's label stays part of its heading instead of making or aligning columns.
void setHeadings(VSFlexGrid& grid, const std::vector<Heading>& headings);

} // namespace captions
