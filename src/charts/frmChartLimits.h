#pragma once
// The lower and upper limits of the vertical axis for the chart window's person, one row for
// each plot (blood pressure, pulse, weight, the two custom measurements, sugar). Only the plot
// the chart window shows can be edited, or, for the multiple plot, each plot switched on in it.
// "Apply/Save" tidies the entries, refuses a row whose lower limit is not below its upper one,
// stores the others and redraws the chart; the dialog stays open until "Close".
//
// Limits are whole numbers from 0 to 32767 (the stored columns are 16-bit): the boxes take
// digits, "/" and ":" only, typed or pasted, the blood-pressure boxes 3 characters and the
// others 5. A paste the boxes cannot take is refused whole with a message, and a limit above
// 32767 is refused at Apply with a message of its own.
#include "platform/runtime/ui/Form.h"

#include <QString>
#include <QtGlobal>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class frmChartLimits : public vb::Form {
    Q_OBJECT
public:
    frmChartLimits();
    ~frmChartLimits() override;

    // The largest limit the stored columns hold.
    static constexpr int MaxLimit = 32767;
    // The number the entry's leading digits form (0 when it starts with none); grows no further
    // than a limit can be, so a long entry stays out of range without overflowing.
    static qint64 LeadingNumber(const QString& entry);

    std::array<QLabel*, 3> Label2{};
    std::array<QLabel*, 6> lblFact{};
    std::array<QLineEdit*, 6> txtLwrLim{};
    std::array<QLabel*, 6> lblto{};
    std::array<QLineEdit*, 6> txtUprLim{};
    QPushButton* cmdApply;
    QPushButton* cmdClose;

    void LoadSinglePlotLimits(int plot);
    void LoadMultiplePlotLimits(int plot);
    void cmdApply_Click();
    void cmdClose_Click();
    void txtLwrLim_KeyPress(int Index, int& KeyAscii);
    void txtUprLim_KeyPress(int Index, int& KeyAscii);

    // 1 while the chart shows a single plot, 2 for the multiple plot, 0 when it shows none.
    int PlotMode() const { return mPlotMode; }

protected:
    void Form_Load() override;

private:
    enum class RowState { Editable, Shut };
    void setRowState(int row, RowState state);
    // Shows a stored row's limits in row i's boxes (a Null limit as an empty box).
    void showLimits(int row, const QVariant& lower, const QVariant& upper);
    // Decides one row: refused (message, stored limits shown again) or written. False when the
    // person's stored row is gone.
    bool applyRow(int row, qint32 person);
    qint32 person() const;

    qint16 mPlotMode = 0;
};
