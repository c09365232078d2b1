#pragma once
// The shared helpers that work on widgets: combo filling from SQL and the decimal key filter
// on a line edit.
#include "data/modHealth.h"
#include "platform/dao/dao.h"

#include <QString>

class QComboBox;
class QLineEdit;

namespace modHealth {

// Appends the rows of sql (first column a 32-bit key, second a name) to the combo: the name as
// text, the key as item data. The regimen and mood lists ("cboRegimen", "cboMood") get
// "(Unknown)" with item data 0 first. The person list ("cboPerson") selects the current person,
// or its first entry when the current person is not listed, raising one index change; other
// lists keep their selection.
void FillCombo(QComboBox* combo, const QString& sql);

// Fills the list anew with the rows (first column the person's key, second the name), sending no
// signal and choosing no entry; gives the entry of the current person, -1 when it is not listed.
int FillPersonList(QComboBox* combo, dao::Recordset& rs);
// The same, then selects the current person, or else the first, which becomes the current person.
int FillPersonListAndSelect(QComboBox* combo, dao::Recordset& rs);

// The decimal key filter on the box's text and caret.
int FilterDecimalKey(int keyAscii, const QLineEdit* txt);

} // namespace modHealth
