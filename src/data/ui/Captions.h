#pragma once
// The user's own texts (custom labels and units, names, goal names) shown on controls exactly as
// typed, whatever marks the control would otherwise read in them.
#include <QString>

#include <initializer_list>
#include <vector>

class QFont;
class VSFlexGrid;

namespace captions {

// For a check box, option button, push button, group box, tab title or a label with a buddy:
// there "&" marks the access key, so each "&" is doubled to show as itself.
QString plain(const QString& text);

// A measurement's column heading: its label with the unit in brackets, "Weight (lb)".
QString unitHeading(const QString& label, const QString& unit);

// The width in pixels a grid's column needs to show a heading whole in the header's two lines:
// on two lines broken at a blank where that is narrower and the header's wrap breaks it there
// too, else on one line; with the header section's margins.
int headingWidthPixels(const VSFlexGrid& grid, const QString& heading);
// The lines a heading takes wrapped into lines of this width as the header wraps it, or -1 when
// the wrap breaks it other than at a blank (after a "/" or a "-", cutting "mg/dl" in two, or
// within a word wider than the line).
int headingLines(const QString& text, const QFont& font, int width);
// The pixels a header section takes around its text: its margins and its frame, which are wider
// than a cell's.
int headingPadding(const VSFlexGrid& grid);

// Widens each of the columns (shown, and not hidden by a width of 0) that is narrower than its
// heading needs, and makes the heading row two lines high at least. Called after the stored
// widths are put back: a width stored for an earlier, shorter label does not cut a longer one.
void fitHeadings(VSFlexGrid& grid, std::initializer_list<int> columns);

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
