#pragma once
// "    Fahrenheight-Centigrade Temperature Converter": converts a temperature typed in one box
// into the other. Shown modeless by the main window; opening a data form closes it.
#include "platform/runtime/ui/Form.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

class frmCnFConverter : public vb::Form {
    Q_OBJECT
public:
    explicit frmCnFConverter(QWidget* parent = nullptr);
    ~frmCnFConverter() override;

    QLabel* lblF;
    QLineEdit* txtF;
    QLabel* lblC;
    QLineEdit* TxtC;
    QPushButton* cmdCalculate;
    QPushButton* cmdClose;
    QPushButton* cmdHLP; // does nothing
    QStatusBar* StatusBar1;

    static QString PromptText();
    // The other scale's value in its box's format (".0": one decimal, no 0 before the point).
    static QString CelsiusToFahrenheit(double celsius);
    static QString FahrenheitToCelsius(double fahrenheit);

    void Form_Load() override;
    void TxtC_KeyPress(int& KeyAscii);
    void txtF_KeyPress(int& KeyAscii);
    void cmdCalculate_Click();
    void cmdClose_Click();
};
