#pragma once
// The chart window: one person's readings, or day, week or month averages, drawn for a chosen
// month or year, with numbered choices below the chart (person, category, period, plot,
// top-axis labels, settings buttons) and the regimens the person's readings name.
//
// Handlers run one another as the controls' events do: choosing a person selects "Daily Plot"
// and fills the period selector, whose selection redraws; choosing a plot only restyles the
// loaded data. The public handlers are also called by the chart dialogs and the report.
#include "platform/runtime/ui/Form.h"

#include <QtGlobal>
#include <array>

class DataControl;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class TChart;
class VSFlexGrid;
class usrMonthYear;

class frmChart : public vb::Form {
    Q_OBJECT
public:
    frmChart();
    ~frmChart() override;

    TChart* TChart1;
    QWidget* PicBase;
    QLabel* Label1;
    QComboBox* cmbPerson;
    QLabel* Label3;
    QListWidget* lstPlotType;
    QGroupBox* FrameYrMnth;
    usrMonthYear* usrMonthYear1;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 7> optFact{};
    QGroupBox* Frame2;
    std::array<QRadioButton*, 4> optTopLbl{};
    QGroupBox* Frame3;
    QPushButton* cmdCustomTypeColor;
    QPushButton* cmdChartLimits;
    QPushButton* cmdMultipleCharts;
    QPushButton* cmdAppearance;
    DataControl* datChartRegimen;
    VSFlexGrid* vsFGChartRegimen;

    void cmbPerson_Click();
    void lstPlotType_Click();
    void usrMonthYear1_PeriodChanged();
    void usrMonthYear1_YearChanged();
    void optFact_Click(int Index);
    void optTopLbl_Click(int Index);
    void cmdCustomTypeColor_Click();
    void cmdChartLimits_Click();
    void cmdMultipleCharts_Click();
    void cmdAppearance_Click();
    void FormatRegimenGrid();

    // The person key of the chosen person, 0 when none is chosen.
    qint32 SelectedPersonKey() const;
    // Prints the chart on one page through the printer service; throws services::PrintError.
    void PrintChart();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The panel's blocks in order: person and category, period, plot, top axis, settings.
    std::array<QWidget*, 5> panelBlocks() const;
    // Puts the panel's blocks and the regimen grid in one row, or in two.
    void arrangePanel(bool oneRow);
    // Arranges the panel for the window's width and gives the person list the width it has room
    // for, up to its longest name.
    void fitPanel();
    // Selects a list entry from code and runs cmbPerson_Click, as the list's click event does.
    void selectPerson(int index);
    QString titleText(int plot) const;

    // The regimen grid's least width in the one-row panel.
    static constexpr int MinimumGridWidth = 360;
    QWidget* personAndCategory_ = nullptr;
    std::array<QHBoxLayout*, 2> panelRows_{};
    QScrollArea* scroller_ = nullptr;
    int oneRowWidth_ = 0;     // the width the panel needs for one row, the person list as narrow as it goes
    int listWidth_ = 0;       // the category list's width, the person list's least
    int personListWidth_ = 0; // the person list's width for its longest name
    bool arranged_ = false;
    bool oneRow_ = true;
    qint32 regimenPerson_ = 0; // whose regimens the grid shows
    int lastTopLabel_ = 0;     // the top-axis option chosen last
};
