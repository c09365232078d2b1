#pragma once
// The blood-sugar goal ranges (table DBTS_GOAL): browse, add, edit and delete the named goals
// with their normal and danger limits, and write the goal table as a web page. Shown modeless
// beside the Measurement form.
#include "platform/runtime/ui/Form.h"

#include <QString>

#include <array>

class DataControl;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class VSFlexGrid;

class frmDSetGoal : public vb::Form {
    Q_OBJECT
public:
    frmDSetGoal();
    ~frmDSetGoal() override;

    // The record source of datDSetGoal: the goal rows by name, with the texts of the five bands.
    static QString RecordSourceSql();
    // The second question of a goal's deletion: how many readings go, how many lose their
    // sugar value, and of how many persons.
    static QString ReadingsLostText(int deleted, int cleared, int persons);

    // "browse", "addnew" or "edit".
    QString EditMode;

    void SetMode(const QString& mode);
    void ShowRecord();
    void ClearFields();
    void FormatGoalGrid();
    // Writes the boxes into the data control's recordset: 0 a new row, 1 the current row.
    void WriteRecord(int kind);

    void datDSetGoal_Reposition();
    void cmdAddNew_Click();
    void cmdEdit_Click();
    void cmdCancel_Click();
    void cmdSave_Click();
    void cmdDelete_Click();
    void cmdExport_Click();
    void cmdHLP_Click();
    // Key filters: KeyAscii is set to 0 to drop the key.
    void txtNL_KeyPress(int& KeyAscii);
    void txtNH_KeyPress(int& KeyAscii);
    void txtDL_KeyPress(int& KeyAscii);

    QGroupBox* Frame1;
    QLineEdit* txtGlNm;
    QLineEdit* txtNL;
    QLineEdit* txtNH;
    QLineEdit* txtDL;
    QLineEdit* txtDH;
    QPlainTextEdit* txtGlDtl;
    std::array<QLabel*, 6> lbl{};
    std::array<QLabel*, 2> lblTemp2Unit{};
    DataControl* datDSetGoal;
    VSFlexGrid* vsFGDSetGoal;
    QPushButton* cmdAddNew;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QPushButton* cmdExport;
    QPushButton* cmdHLP;
    QStatusBar* StatusBar1;

protected:
    void Form_Load() override;

private:
    void setCounterCaption();
    // The key of the row an edit began on: the save writes that row whatever row is current.
    qint32 editKey_ = 0;
    // Whether the four limits are numbers above 0; tells the user when they are not.
    bool limitsAreNumbers();
    // Deletes the readings of the goal as one unit; false (after telling the user) on failure.
    // Asks the second question when readings would be deleted or lose their sugar value;
    // true to go on.
    bool confirmReadingsLost(qint32 goalKey);
    bool deleteGoalWithReadings(qint32 goalKey, bool hasReadings);
    // Open Measurement forms: their rows again (after readings changed) and their goal list.
    void refreshMeasureForms(bool requery);
};
