#pragma once
// "Change Chart Type and Chart Color": the series type and colour of each of the current
// person's six single plots. Every change is shown on the chart window at once (switching it to
// the changed plot first); "&Save" stores all six rows; closing brings back the plot the chart
// showed when the dialog opened, drawn from what is stored.
//
// A stored type that its plot's list does not hold shows as the list's first entry and is
// stored back unchanged until the user picks a type for that plot.
#include "platform/runtime/ui/Form.h"

#include <QVariant>
#include <QtGlobal>
#include <optional>

#include <array>

class ColorSwatch;
class QComboBox;
class QLabel;
class QPushButton;

class frmChartCustom : public vb::Form {
    Q_OBJECT
public:
    frmChartCustom();
    ~frmChartCustom() override;

    std::array<QLabel*, 3> Label2{};          // "Chart Type", "Measurement", "Chart Color"
    std::array<QLabel*, 6> lblFact{};         // plot names, by plot key
    std::array<QComboBox*, 6> cmbChartType{}; // type entries, their codes as item data
    std::array<ColorSwatch*, 6> lblColor{};   // series colours
    std::array<QPushButton*, 6> cmdChangeColor{};
    QPushButton* cmdOK;     // "&Save"
    QPushButton* cmdCancel; // "&Cancel/Close"

    void FillChartTypes();
    void cmbChartType_Click(int Index);
    void cmdChangeColor_Click(int Index);
    void SelectFactOption(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

    // The person whose plots the dialog shows and stores.
    qint32 PersonKey() const { return mPerson; }

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    bool mLoaded = false;
    int mShownPlot = 0;
    qint32 mPerson = 0;
    // Per plot: the stored type while the list shows a stand-in for it (a code the list does
    // not hold, or Null); none once the list shows the type to store.
    std::array<std::optional<QVariant>, 6> mUnlistedType{};
};
