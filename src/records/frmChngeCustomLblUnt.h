#pragma once
// The dialog that renames the two custom measurements and chooses their units and the weight,
// height and blood-sugar units. Applying stores the settings row, sets the unit codes, has the
// untouched default goal limits switched to the chosen sugar unit and refreshes an open
// Measurement and Person form.
#include "platform/runtime/ui/Form.h"

#include <QString>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;

class frmChngeCustomLblUnt : public vb::Form {
    Q_OBJECT
public:
    explicit frmChngeCustomLblUnt(QWidget* parent = nullptr);
    ~frmChngeCustomLblUnt() override;

    // The settings columns' length: longer entries cannot be typed.
    static constexpr int kMaxEntryLength = 12;

    QGroupBox* Frame1;                // "Custom in Measurement Screen"
    std::array<QLabel*, 2> lblFact{}; // "Custom 1 Label:", "Custom 2 Label:"
    std::array<QLineEdit*, 2> txtTempLbl{};
    std::array<QLabel*, 2> lblto{}; // "Custom 1 Unit:", "Custom 2 Unit:"
    std::array<QLineEdit*, 2> txtTempUnit{};
    QGroupBox* Frame3; // weight: "in lb", "in Kg"
    std::array<QRadioButton*, 2> OptLbKg{};
    QGroupBox* Frame2; // height: "in feet/inches", "in cm"
    std::array<QRadioButton*, 2> OptFtCm{};
    QGroupBox* Frame4; // sugar: "in mg/dl", "in mmol/l"
    std::array<QRadioButton*, 2> OptMgMmol{};
    QPushButton* cmdApply;
    QPushButton* cmdClose;
    QStatusBar* StatusBar1;

    // Stores the entries and choices; refreshes the open forms once the row is written.
    void cmdApply_Click();
    void cmdClose_Click();

    // The notice on the status bar.
    QString StatusText() const;

protected:
    void Form_Load() override;
};
