#pragma once
// "Change Chart Appearance": the current person's chart panel colour, back colour and 3D depth.
// The dialog starts from what the chart shows and applies every change at once; "&Save" stores
// the chart's appearance and closes. Every close re-applies what is stored, so unsaved changes
// are dropped.
#include "platform/runtime/ui/Form.h"

#include "platform/runtime/ui/Colors.h"

#include <QtGlobal>

#include <memory>

class ColorSwatch;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QScrollBar;
class clsTChartInterface;

class frmAppearance : public vb::Form {
    Q_OBJECT
public:
    frmAppearance();
    ~frmAppearance() override;

    // The defaults, also the columns' defaults.
    static constexpr vb::OLE_COLOR DefaultPanelColor = vb::vbButtonFace;
    static constexpr vb::OLE_COLOR DefaultBackColor = vb::vbWhite;

    QPushButton* cmdPnlCol; // "&Panel Color"
    ColorSwatch* lblPnlCol;
    QCheckBox* chkPnlCol;   // "Default Panel Color"
    QPushButton* cmdBckCol; // "&Back Color"
    ColorSwatch* lblBckCol;
    QCheckBox* chkBckCol;   // "Default  Back Color"
    QGroupBox* Frame3D;     // "3D Appearance: " and the depth
    QScrollBar* HScroll1;   // depth in percent, 0 to 20
    QPushButton* cmdOK;     // "&Save"
    QPushButton* cmdCancel; // "&Cancel/Close"

    void HScroll1_Change();
    void chkPnlCol_Click();
    void chkBckCol_Click();
    void cmdPnlCol_Click();
    void cmdBckCol_Click();
    void chkPnlCol_LostFocus();
    void chkBckCol_LostFocus();
    void SyncDefaultChecks();
    void cmdOK_Click();
    void cmdCancel_Click();

    // The person whose appearance the dialog shows and stores.
    qint32 PersonKey() const { return mPerson; }

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    clsTChartInterface& chart();
    // Re-applies the stored appearance to the chart.
    void restoreStored();
    void setFrameCaption();

    std::unique_ptr<clsTChartInterface> mChartInterface;
    qint32 mPerson = 0;
};
