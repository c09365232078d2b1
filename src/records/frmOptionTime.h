#pragma once
// The default time of a new measurement: which time a new entry starts with (settings column
// OptnTime), an example of it for the present moment, and the push of that example into the
// Measurement form while it adds a measurement. Shown modeless beside the Measurement form.
#include "platform/runtime/ui/Form.h"

#include <QString>
#include <QTime>

#include <array>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;

class frmOptionTime : public vb::Form {
    Q_OBJECT
public:
    frmOptionTime();
    ~frmOptionTime() override;

    // Turns on the stored option (Null reads as 1).
    void LoadTimeOption();
    // lblTime = the time the first option that is on gives now; unchanged when none is on.
    void ShowExampleTime();

    void OptnTime_Click(int Index);
    void cmdSave_Click();
    void cmdCancel_Click();

    // The time of day to the nearest 1/steps of a day (96 quarters, 24 hours), ties to the even
    // step; a rounding that reaches the next day gives midnight.
    static QTime RoundedTime(const QTime& time, int steps);
    // A "hh:mm AM/PM" text as a time of day; nothing when it is no such time.
    static std::optional<QTime> TimeOfText(const QString& text);

    QGroupBox* Frame1;
    std::array<QRadioButton*, 6> OptnTime{};
    QCheckBox* chkSetting;
    QGroupBox* Frame2;
    QLabel* Label1;
    QLabel* lblTime;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QStatusBar* StatusBar1;

protected:
    void Form_Load() override;
};
