#pragma once
// What the Person and Regimen forms share: controls made with their names, text boxes whose
// maximum length limits typing only, KeyPress handlers for typed keys, the locked and
// editable looks of the entry fields, the grid's stored column widths, and handlers that
// report an error instead of letting it into the event loop.
#include "platform/dao/dao.h"
#include "platform/runtime/ui/KeyPress.h"
#include "platform/runtime/ui/NamedControls.h"
#include <QString>

#include <array>
#include <exception>
#include <functional>
#include <initializer_list>

class QBoxLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class VSFlexGrid;
class DataControl;
class QStatusBar;
class QVBoxLayout;

namespace recordform {

using vb::makeButton;
using vb::makeLabel;
// A one-line box of at most `length` typed characters, counted as the column rules count them;
// text set by setBoxText may be longer (a stored value is shown whole), and typing never makes
// it longer.
QLineEdit* makeTextBox(QWidget* parent, const char* name, int length);
// A multi-line box of at most `length` typed characters, counted as the column rules count
// them, `lines` lines high; Tab moves on. Text set by setMultiLineText is shown whole.
QPlainTextEdit* makeMultiLineBox(QWidget* parent, const char* name, int length, int lines);
// Narrows a box to about `characters` characters.
void fitToCharacters(QLineEdit* box, int characters);
// The mode buttons one under the other, with room below.
QBoxLayout* buttonColumn(std::initializer_list<QPushButton*> buttons);
// The record list of a form: its data control (the caption is the record counter's word) and
// the grid bound to it, and the status bar below them.
DataControl* makeDataControl(QWidget* parent, const char* name, const QString& caption);
VSFlexGrid* makeBoundGrid(QWidget* parent, const char* name, DataControl* source);
QStatusBar* makeStatusBar(QWidget* parent);
// The form's layout: a body that scrolls, over the status bar along the form's bottom edge.
// Below the room its controls need, the form scrolls rather than pressing them together. The
// body's layout is returned for the form's controls.
QVBoxLayout* makeScrollingBody(QWidget* form, QStatusBar* statusBar);
// Tab moves through the widgets in this order.
void chainTabOrder(std::initializer_list<QWidget*> widgets);

void setBoxText(QLineEdit* box, const QString& text);
void setMultiLineText(QPlainTextEdit* box, const QString& text);
// Sets option `which` of the pair, or none for -1.
void setOptions(const std::array<QRadioButton*, 2>& options, int which);

// The shared KeyPress event (platform/runtime/ui/KeyPress.h).
inline void onKeyPress(QWidget* box, std::function<void(int& keyAscii)> handler) { vb::OnKeyPress(box, std::move(handler)); }

// Browse mode: read-only, button-face grey, out of the tab order. Entry: editable, white,
// in the tab order.
void lockBox(QLineEdit* box, bool locked);
void lockBox(QPlainTextEdit* box, bool locked);
// While a record is added or edited the list stands still: the grid takes no clicks and no
// keys, and the data control's navigator does not move. Locks when `frozen`, frees otherwise.
void freezeList(DataControl* data, VSFlexGrid* grid, bool frozen);
// Stands the list on the row whose key column holds `key` (the row an edit began on); raises
// error 3021 when no row has it any more.
void standOnKey(const dao::RecordsetPtr& rs, const QString& keyColumn, qint32 key);
// The key (field 0) of the current row; 0 without one.
qint32 currentKey(const dao::RecordsetPtr& rs);

// The frame and labels while entering: bold, dark blue (&HC00000); otherwise plain, black.
void setEntryLook(std::initializer_list<QWidget*> captions, bool entering);
// The frame's children keep their own colour and weight when the frame's caption changes.
void keepOwnLook(QGroupBox* frame);

// Widens the shown columns whose header text does not fit (the designed widths were made for a
// smaller font).
void fitHeaders(VSFlexGrid& grid);
// The widths stored under the grid's name (its objectName).
void loadColumnWidths(VSFlexGrid& grid);
// Stores the widths; a failure leaves the stored ones (the form closes all the same).
void saveColumnWidths(VSFlexGrid& grid);

// After a save that raised: the pending insert or edit is dropped (the row before it stays
// current). A duplicate key is told with the form's own text and the form goes back to
// browsing (true); any other error is shown and the form stays as it is (false).
bool reportFailedSave(const dao::RecordsetPtr& rs, const std::exception& error, const QString& duplicateText);

} // namespace recordform
