#include "data/ui/modHealthUi.h"

#include "data/Globals.h"
#include "platform/runtime/Conversions.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace modHealth {

int FillPersonList(QComboBox* combo, dao::Recordset& rs)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    int current = -1;
    for (; !rs.Eof(); rs.MoveNext()) {
        const qint32 key = vb::CLng(rs.Fields(0).Value());
        combo->addItem(vb::CStr(rs.Fields(1).Value()), QVariant(key));
        if (key == gPersonKey && current < 0)
            current = combo->count() - 1;
    }
    combo->setCurrentIndex(-1);
    return current;
}

int FillPersonListAndSelect(QComboBox* combo, dao::Recordset& rs)
{
    int selected = FillPersonList(combo, rs);
    if (selected < 0 && combo->count() > 0) {
        selected = 0;
        gPersonKey = combo->itemData(0).toInt();
    }
    combo->setCurrentIndex(selected);
    return selected;
}

void FillCombo(QComboBox* combo, const QString& sql)
{
    const QString name = combo->objectName();
    const bool personList = name == QLatin1String("cboPerson");
    auto rs = gDB->OpenRecordset(sql, dao::dbOpenSnapshot);
    int selected = -1;
    bool anyRow = false;
    {
        // Appending to an empty list would select its first entry on the way; the selection
        // is made once, below, from the current person.
        const QSignalBlocker blocker(combo);
        const int previous = combo->currentIndex();
        if (name == QLatin1String("cboRegimen") || name == QLatin1String("cboMood"))
            combo->addItem(QStringLiteral("(Unknown)"), QVariant(qint32(0)));
        for (; !rs->Eof(); rs->MoveNext()) {
            anyRow = true;
            const qint32 key = vb::CLng(rs->Fields(0).Value());
            combo->addItem(vb::CStr(rs->Fields(1).Value()), QVariant(key));
            if (personList && key == gPersonKey)
                selected = combo->count() - 1;
        }
        combo->setCurrentIndex(personList && anyRow ? -1 : previous);
    }
    rs->Close();
    // Without rows nothing is selected.
    if (personList && anyRow)
        combo->setCurrentIndex(selected >= 0 ? selected : 0);
}

int FilterDecimalKey(int keyAscii, const QLineEdit* txt)
{
    return FilterDecimalKey(keyAscii, txt->text(), txt->cursorPosition());
}

} // namespace modHealth
