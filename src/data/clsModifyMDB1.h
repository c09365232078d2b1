#pragma once
// Layer 3 of the schema upgrade (three settings columns and the blood-sugar unit), and the
// conversion of the default goal limits between the two sugar units.
#include <QStringList>
#include <QtGlobal>

class clsModifyMDB1 {
public:
    clsModifyMDB1() = default;
    virtual ~clsModifyMDB1() = default;
    clsModifyMDB1(const clsModifyMDB1&) = delete;
    clsModifyMDB1& operator=(const clsModifyMDB1&) = delete;

    // Runs layer 3 when its marker column is missing, in one transaction with the marker: a
    // failure leaves the file as it was and reaches the caller. True when it ran.
    bool runUpgrade();

    // True when APPLICATION has a column named exactly "PICTURE"; any error gives False.
    bool IsUpdated();
    // Appends Temp2Unit, ImportFileName and PICTURE; a column that can't be added (it exists
    // already) is passed over.
    virtual void AddApplicationFields();
    virtual void SetDefaultSugarUnit();

    // Rewrites the default goal rows (keys 1 to 8) that still hold the default limits of the
    // other unit with those of the chosen one: mode 1 to mmol/l, 2 to mg/dl, any other nothing.
    // Rows the user added or changed keep their numbers: their names are returned, in the
    // order of the table. All rows or none are written.
    QStringList ConvertGoalUnits(qint16 intMode);
};
