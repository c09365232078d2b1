#pragma once
// Free helpers the forms share that need no widgets: row counts, the key filters of the entry
// boxes, empty-to-Null conversion, the stored grid column widths and the start-up fold of the
// multiple-plot rows. Combo filling lives with the widgets (data/ui/modHealthUi.h).
#include <QString>
#include <QVariant>
#include <functional>

namespace modHealth {

// Rows of a table as a 16-bit count; a larger table gives 32767 (callers only ask whether
// the table is empty).
int CountRecords(const QString& tableName);

// Key filters for text boxes: the key code to keep, or 0 (after a beep) to drop the key.
// Digits: Backspace, "/", "0" to "9" and ":".
int FilterDigitKey(int keyAscii);
// Decimals: Backspace, digits (but no second digit after the "."), and one ".". caretPosition is
// the number of characters before the caret.
int FilterDecimalKey(int keyAscii, const QString& text, int caretPosition);
// The beep of a dropped key; the shell installs the system beep, tests count calls.
void setBeepHook(std::function<void()> hook);

// Empty to Null: an entry that is the empty text, Null, or whose number reading is 0 is empty.
// For SQL: "Null", or the number the entry begins with as SQL number text (never the raw entry).
QString SqlValueOrNull(const QVariant& value);
// For a field: Null, or the entry's text without surrounding blanks.
QVariant ValueOrNull(const QVariant& value);

// What the width helpers need of a grid control; widths are in twips.
class ColumnWidthGrid {
public:
    virtual ~ColumnWidthGrid() = default;
    virtual QString gridName() const = 0;
    virtual int columnCount() const = 0;
    virtual int columnWidth(int column) const = 0;
    virtual void setColumnWidth(int column, int twips) = 0;
};

// The widths stored in GridColumnPersistance under the grid's name: COL1 holds column 0, and so
// on to COL30. A grid without a row keeps its widths, and saving it writes nothing; a stored
// Null keeps the grid's own width; columns past the thirtieth are not stored.
void LoadGridColumnWidths(ColumnWidthGrid& grid);
void SaveGridColumnWidths(const ColumnWidthGrid& grid);

// Moves every multiple-plot series row to plot key 6 (done once; later starts find nothing to do).
void FixMultiplePersonPlot();

} // namespace modHealth
