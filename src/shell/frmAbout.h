#pragma once
// The about box: the program's title, version, a description, the disclaimer and two notices.
#include "platform/runtime/ui/Form.h"

#include <QString>
#include <array>

class QLabel;
class QPushButton;

class frmAbout : public vb::Form {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    // The copyright line of the about box and the splash screen.
    static QString CopyrightNotice();

    void cmdOK_Click();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblCopyright;
    QLabel* lblDisclaimer;
    std::array<QLabel*, 2> lblWarning{};
    QPushButton* cmdOK;

protected:
    void Form_Load() override;
};
