#pragma once
// "Feet to Inches Calcualtor": a height picked as feet and inches, handed to the body-mass-index
// calculator as total inches. The calculator loads it hidden and shows it modally beside its
// Detail button; Enter writes the total and unloads it.
#include "platform/runtime/ui/Form.h"

#include <optional>

class QComboBox;
class QPushButton;

class frmFtToInches : public vb::Form {
    Q_OBJECT
public:
    explicit frmFtToInches(QWidget* parent = nullptr);
    ~frmFtToInches() override;

    QComboBox* cmbFt;      // "3'" to "7'", starts at "5'"
    QComboBox* cmbIn;      // 1" to 11", starts at 0"
    QPushButton* cmdClose; // "&Enter"

    // The number a picker text holds: a whole number of at most two digits, with or without the
    // box's mark after it; none for anything else.
    static std::optional<int> PickedNumber(const QString& text, QChar mark);

    void cmdClose_Click();
    // Digits, Backspace and the box's own mark; other keys beep and are dropped.
    void cmbFt_KeyPress(int& KeyAscii);
    void cmbIn_KeyPress(int& KeyAscii);
};
