#pragma once
// "Regimen Information": the list of regimens (a short name and a detail text) that
// measurements can name. The record-form pattern of the Person form: browse, add and edit
// modes, a data control with a record counter, a bound grid with stored column widths.
#include "platform/runtime/ui/Form.h"

#include <QString>

class DataControl;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class VSFlexGrid;

class frmRegimen : public vb::Form {
    Q_OBJECT
public:
    explicit frmRegimen(QWidget* parent = nullptr);
    ~frmRegimen() override;

    QGroupBox* Frame1; // its caption names the mode
    QLabel* lblName;
    QLineEdit* txtName; // 10 characters, no comma typed
    QLabel* lblDetail;
    QPlainTextEdit* txtDetail; // 200
    QPushButton* cmdAddNew;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    DataControl* datRegimen; // caption: the record counter "Regimen: n"
    VSFlexGrid* vsFGRegimen; // bound to datRegimen; widths stored as "vsFGRegimen"
    QStatusBar* StatusBar1;  // the comma warning

    // "browse", "addnew" or "edit"; empty until Form_Load.
    QString EditMode;

    static constexpr int kNameLength = 10;
    static constexpr int kDetailLength = 200;

    void SetMode(const QString& mode);
    // The list by column 1 (RGMN_NM); another column does nothing.
    void RequeryRegimens(int column, bool descending);
    // Writes the REGIMEN row from the fields: 0 inserts, 1 updates the current row.
    void SaveRegimen(int mode);
    void ShowRecord();
    void ClearFields();
    void FormatGrid();

    // Handlers.
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void datRegimen_Reposition();
    void cmdAddNew_Click();
    void cmdEdit_Click();
    void cmdCancel_Click();
    void cmdSave_Click();
    void cmdDelete_Click();
    void txtName_KeyPress(int& KeyAscii);

    // The status bar's text.
    QString StatusText() const;

private:
    void setLocked(bool locked);
    // The key of the row an edit began on: the save writes that row whatever row is current.
    qint32 editKey_ = 0;
    void reloadOn(qint32 regimenKey);
};
