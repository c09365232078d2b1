#pragma once
// "Person Information": adds, edits, browses and deletes the persons whose records the program
// keeps. The row under datPerson is the program's current person (gPersonKey).
//
// The record-form pattern: EditMode "browse", "addnew" or "edit"; the data control acts on
// moves only in browse mode and is hidden while entering; the frame's caption names the mode;
// entry fields are locked and grey in browse mode, white with bold dark-blue labels while
// entering; the bound grid keeps the column widths the user leaves.
#include "data/clsDefaultChartValues.h"
#include "platform/runtime/ui/Form.h"

#include <QString>

#include <array>
#include <memory>

class DataControl;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class VSFlexGrid;

class frmPerson : public vb::Form {
    Q_OBJECT
public:
    explicit frmPerson(QWidget* parent = nullptr);
    ~frmPerson() override;

    QGroupBox* Frame1; // its caption names the mode
    QLabel* lblName;
    QLineEdit* txtName; // 30 characters
    QLabel* lblAge;
    QLineEdit* txtAge; // 3
    QLabel* lblHgt;
    QLineEdit* txtFt; // 1, height unit 1
    QLabel* lblFt;
    QLineEdit* txtIn; // 2, height unit 1
    QLabel* lblIn;
    QLineEdit* txtCM; // 3, height unit 2
    QLabel* lblCM;
    QLabel* lblSex;
    std::array<QRadioButton*, 2> optSex{}; // "M", "F"; both may be off
    QLabel* lblComment;
    QPlainTextEdit* txtComment; // 100
    QPushButton* cmdAddNew;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    DataControl* datPerson; // caption: the record counter "Person: n"
    VSFlexGrid* vsFGPerson; // bound to datPerson; widths stored as "vsFGPerson"
    QStatusBar* StatusBar1;

    // "browse", "addnew" or "edit"; empty until Form_Load.
    QString EditMode;

    static constexpr int kNameLength = 30;
    static constexpr int kAgeLength = 3;
    static constexpr int kFeetLength = 1;
    static constexpr int kInchesLength = 2;
    static constexpr int kCentimetresLength = 3;
    static constexpr int kCommentLength = 100;

    // Applies a mode to the captions, buttons, fields, data control and labels.
    void SetEditMode(const QString& mode);
    // The list by column 1 PRSN_NM, 2 AGE, 3 HGT, 4 SEX or 5 COMMENT; another column does nothing.
    void LoadPersonList(int column, bool descending);
    // Writes the PERSON row from the fields: 0 inserts, 1 updates the current row. An insert
    // makes the new person current and gives it its default chart rows.
    void SavePerson(int mode);
    void ShowPerson();
    void ClearFields();
    // The person's measurements and day, week and month averages, all or nothing.
    void DeletePersonMeasures();
    // The height boxes of gHeightUnit (also called by the labels and units form).
    void ShowHeightFields();
    // Headers, widths and alignments of the grid, then the stored widths (also called by the
    // labels and units form).
    void FormatPersonGrid();

    // Handlers.
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void datPerson_Reposition();
    void cmdAddNew_Click();
    void cmdEdit_Click();
    void cmdCancel_Click();
    void cmdSave_Click();
    void cmdDelete_Click();
    // Whole-number boxes: the key code to keep, or 0 when the key is dropped.
    void txtAge_KeyPress(int& KeyAscii);
    void txtCM_KeyPress(int& KeyAscii);
    void txtFt_KeyPress(int& KeyAscii);
    void txtIn_KeyPress(int& KeyAscii);

private:
    clsDefaultChartValues& chartDefaults();
    // Refuses, with a message, number boxes that do not hold a number; true when all do.
    bool entriesAreNumbers();
    // Reads the list again and stands on the person, after a write that did not happen.
    void reloadOn(qint32 personKey);
    void setLocked(bool locked);
    void setEntryLabels(bool entering);

    std::unique_ptr<clsDefaultChartValues> chartDefaults_;
    // The key of the row an edit began on: the save writes that row whatever row is current.
    qint32 editKey_ = 0;
};
