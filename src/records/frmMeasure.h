#pragma once
// The Measurement Entry screen: one person's measurements in a grid (newest first) under the
// entry frame, with add, edit, save and delete, the calendar and the 12-hour time boxes, and a
// decorative picture beside the entry frame.
//
// The measurement's date is held as a QDate (from the calendar, today, or the row shown); the
// date box only shows it in the user's short-date pattern and is never read back. An edit keeps
// the stored date-time of its row as the key. A save or delete writes the row and the stored
// averages as one transaction.
#include "data/MeasurementStore.h"
#include "platform/runtime/ui/Form.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>

class DataControl;
class PictureButton;
class PictureClip;
class QComboBox;
class QEvent;
class QFrame;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QWidget;
class UpDown;
class VSFlexGrid;
class ctDate;

class frmMeasure : public vb::Form {
    Q_OBJECT
public:
    frmMeasure();
    ~frmMeasure() override;

    // "browse", "addnew", "edit" or "refresh" (held while the form requeries after a write).
    QString EditMode;
    // The settings column PICTURE as read at load: "YES", "NO" or "".
    QString PictureSetting;
    // Which time box the up-down steps: 1 hour, 2 minute, 3 AM/PM, 0 none yet.
    int TimePart = 0;

    // --- Controls (objectName = the name; arrays "lbl1_8", "txtTemp_2") ---
    QGroupBox* Frame1; // the entry frame; its caption names the mode
    QGroupBox* Frame2; // "Blood Pressure"
    QGroupBox* Frame3; // "Custom"
    QGroupBox* Frame4; // "Diabetes"
    std::array<QLabel*, 13> lbl1{};
    QComboBox* cboPerson;
    QLineEdit* txtDate;
    PictureButton* cmdDt;   // "Calendar Button"
    ctDate* ctDt = nullptr; // made and shown when cmdDt first opens it; none before
    QLineEdit* txtHr;
    QLabel* lblColon;
    QLineEdit* txtMin;
    QLineEdit* txtAMPM;
    UpDown* UpDownTime;
    QPushButton* cmdOptionTime;
    QComboBox* cboMood;
    QComboBox* cboRegimen;
    QLineEdit* txtHBP;
    QLineEdit* txtLBP;
    QLineEdit* txtPlse;
    QLabel* lblUnitPulse;
    QLineEdit* txtWt;
    QLabel* lblUnitWt;
    std::array<QLineEdit*, 3> txtTemp{}; // custom 1, custom 2, blood sugar
    std::array<QLabel*, 3> lblUnitTemp{};
    QComboBox* CboDbtsGl; // goal names
    QPushButton* cmdSetGoal;
    QLineEdit* txtCmmnt;
    QPushButton* cmdAddNew;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    DataControl* datInfo; // the grid's rows; its caption is the record counter
    VSFlexGrid* vsFGInfo;
    QStatusBar* StatusBar1;
    PictureClip* PicClipDt; // calendar button: 0 normal, 1 pressed, 2 calendar open
    QFrame* picPhotosFrame; // the border behind the picture
    QLabel* picPhotos;

    // --- Procedures ---
    void SetMode(const QString& mode);
    void ClearFields();
    // The current row of datInfo into the fields (ClearFields without one).
    void ShowRecord();
    // The current row of datInfo as a reading; nothing without one.
    std::optional<Measurement> RowMeasurement() const;
    // A reading into the fields; its time is the key an edit saves under.
    void ShowMeasurement(const Measurement& m);
    // The current person's measurements sorted by column 0 to 7 (date, high, low, pulse,
    // weight, custom 1, regimen, mood); refreshes datInfo and formats the grid.
    void RequeryMeasurements(int sortColumn, bool descending);
    void FormatGrid();
    void ShowWeightUnit();
    // The entries as the reading to store under that key (empty and zero entries are none).
    Measurement EnteredMeasurement(const QDateTime& key) const;
    // Whether the text, trimmed, reads as a date in the user's locale.
    bool IsDateText(const QString& text) const;
    // Draws a picture at random (group, then number) and places it; hides the picture area when
    // the file cannot be loaded.
    void ShowRandomPicture();
    // Fills the goal list again (after goals changed), keeping the chosen goal when it remains.
    void RefillGoalList();

    // --- Event handlers ---
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void datInfo_Reposition();
    void cboPerson_Click();
    void cmdAddNew_Click();
    void cmdEdit_Click();
    void cmdCancel_Click();
    void cmdSave_Click();
    void cmdDelete_Click();
    void cmdDt_Click();
    void ctDt_DateSelected(int day, int month, int year);
    void cmdOptionTime_Click();
    void cmdSetGoal_Click();
    void picPhotos_Click();
    void txtHr_GotFocus();
    void txtHr_LostFocus();
    void txtMin_GotFocus();
    void txtMin_LostFocus();
    void txtAMPM_GotFocus();
    void UpDownTime_DownClick();
    void UpDownTime_UpClick();
    // Key handlers: KeyAscii is set to 0 to drop the key.
    void txtDate_KeyPress(int& KeyAscii);
    void txtHr_KeyPress(int& KeyAscii);
    void txtAMPM_KeyPress(int& KeyAscii);
    void txtHBP_KeyPress(int& KeyAscii);
    void txtLBP_KeyPress(int& KeyAscii);
    void txtPlse_KeyPress(int& KeyAscii);
    void txtWt_KeyPress(int& KeyAscii);
    void txtTemp_KeyPress(int Index, int& KeyAscii);
    // The person, mood and regimen lists are chosen with the mouse only.
    void cboPerson_KeyPress(int& KeyAscii) { KeyAscii = 0; }
    void cboMood_KeyPress(int& KeyAscii) { KeyAscii = 0; }
    void cboRegimen_KeyPress(int& KeyAscii) { KeyAscii = 0; }

    // --- Read-outs ---
    // The measurement date the form holds (what txtDate shows); invalid when none.
    QDate DateValue() const { return dateValue_; }
    // The stored date-time of the row shown (the key of an edit); invalid when none.
    QDateTime RecordKey() const { return recordKey_; }
    // The picture file last loaded, "" when none is shown.
    QString PictureFile() const { return pictureFile_; }
    // The hint on the status bar.
    QString StatusText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildEntryFrame();
    // One builder a frame (or row) of the entry frame, in the order they stand.
    QGridLayout* buildPersonDateTimeRows();
    QGroupBox* buildPressureFrame();
    QGridLayout* buildPulseWeightRows();
    QGroupBox* buildCustomFrame();
    QGroupBox* buildDiabetesFrame();
    QHBoxLayout* buildCommentRow();
    void connectEntryFrame();
    void setDateValue(const QDate& date);
    void makeCalendar();
    void closeCalendar();
    void setComboLocked(QComboBox* combo, bool locked);
    bool isComboLocked(const QComboBox* combo) const;
    void stepTime(int direction);
    void placePicture();
    void fitColumnsToTheirTexts();
    QString dateTimeText(const QDateTime& when) const;
    static QString shortDatePattern();
    void setCounterCaption();
    void showRowAfterWrite(const QDateTime& key);
    // The saved row read again into the grid where it belongs; false when the grid's rows are
    // not the newest-first rows of the current person (a requery is then needed).
    bool refreshSavedRow(const QDateTime& key);
    // The checks before a save, each with its message; false stops the save.
    bool entriesAreValid();
    bool numbersAreValid();
    bool timeIsValid(QDateTime& key);
    // False (with its message) for a day a reading cannot be kept on (vb::IsStorableDate).
    bool weekIsStorable(const QDate& date);
    // The key of the entered measurement (date held and the time boxes).
    QDateTime enteredKey() const;

    QDate dateValue_;
    QDateTime recordKey_;
    // The stored date-time of the row an edit began on.
    QDateTime editKey_;
    QString pictureFile_;
    bool pictureShown_ = false;
    bool requeried_ = false;
    // The record source the last requery gave the grid when it was in its usual order.
    QString newestFirstSource_;
    QWidget* picArea_ = nullptr;
    QLabel* statusText_ = nullptr;
};
