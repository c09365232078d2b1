#pragma once
// Which measurements make up the chart window person's multiple plot, and on which vertical
// axis each is drawn: at most one on the left axis and one on the right. Every choice is shown
// on the chart at once; "Save" stores the choice, and closing the dialog, however it is closed,
// redraws the chart from what is stored, so an unsaved choice goes with the dialog.
#include "platform/runtime/ui/Form.h"

#include <QtGlobal>

#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;

class frmChartMultiple : public vb::Form {
    Q_OBJECT
public:
    frmChartMultiple();
    ~frmChartMultiple() override;

    QGroupBox* Frame2;
    std::array<QRadioButton*, 6> optLeftLbl{};
    QGroupBox* Frame3;
    std::array<QRadioButton*, 6> optRightLbl{};
    QPushButton* cmdSave;
    QPushButton* cmdCancel;

    void optLeftLbl_Click(int Index);
    void optRightLbl_Click(int Index);
    void cmdSave_Click();
    void cmdCancel_Click();

    // The plot on each axis plus 10, 0 while the side has none; the plot the chart showed.
    int LeftChoice() const { return mLeftChoice; }
    int RightChoice() const { return mRightChoice; }
    int ShownPlot() const { return mShownPlot; }

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    // Shows plot `index` on the chart on axis `side` (1 left, 2 right), with the series type
    // stored for it in the multiple plot and its own vertical range.
    void preview(int index, int side);

    qint16 mLeftChoice = 0;
    qint16 mRightChoice = 0;
    qint16 mShownPlot = -1;
};
