#pragma once
// "Browse Measurements": one person's readings, or their stored day, week or month averages,
// for a chosen period, as a table with the measurement groups the user ticks. Blood-pressure
// and sugar cells can be coloured by their bands and goals; the records behind the table can
// be exported as fixed-width text. A child of the main window, opened by its View menu; the
// report for the doctor and the open-form save and restore drive it through its controls and
// cmdShow_Click.
#include "data/modFunctions.h"
#include "platform/runtime/ui/Form.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <vector>

class DataControl;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QStatusBar;
class VSFlexGrid;

class frmGrid : public vb::Form {
    Q_OBJECT
public:
    frmGrid();
    ~frmGrid() override;

    // Grid columns (column 0 is the row header).
    enum Column : int {
        colRegimenKey = 1,
        colMoodKey = 2,
        colDate = 3,
        colTime = 4,
        colHighBP = 5,
        colLowBP = 6,
        colPulse = 7,
        colWeight = 8,
        colTemp = 9,
        colTemp1 = 10,
        colSugar = 11,
        colGoal = 12,
        colRegimen = 13,
        colMood = 14,
        colComment = 15,
        kColumns = 16,
    };

    // The averaging level last shown: 0 readings, 1 day, 2 week, 3 month averages. The web-page
    // export titles the grid by it.
    qint16 ShownPlotType = 0;
    // The person whose rows the last show put in the table: choosing another person changes
    // the current person before the table follows, and the exports describe what is shown.
    qint32 ShownPersonKey = -1;

    QLabel* lblPerson;
    QComboBox* cboPerson; // persons with measurements; item data PRSN_KY; mouse only
    QLabel* lblPlotType;
    QListWidget* lstPlotType; // "Daily", "Day Average", "Weekly Average", "Monthly Average"
    QGroupBox* fraPeriod;
    QListWidget* lstSelectPeriod; // the period names, "All Period" first
    QGroupBox* fraShow;
    QCheckBox* chkBP;
    QCheckBox* chkPLSE;
    QCheckBox* chkWt;
    QCheckBox* chkTemp;  // caption: the first custom label
    QCheckBox* chkTemp1; // caption: the second custom label
    QCheckBox* chkSugar;
    QCheckBox* chkRegimen;
    QCheckBox* chkMood;
    QCheckBox* chkCmmnt;
    QGroupBox* fraColor;
    QCheckBox* chkBPColor;
    QCheckBox* chkSugarColor;
    QPushButton* cmdShow;
    QPushButton* cmdExport;
    DataControl* datShow; // not shown: the grid is the view of its rows
    VSFlexGrid* vsFGShow; // bound to datShow; widths stored as "vsFGShow"
    QStatusBar* StatusBar1;

    // The nine group boxes in the order the open-form save and restore keeps them.
    std::array<QCheckBox*, 9> ColumnCheckBoxes() const;

    // Handlers.
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void cboPerson_Click();
    void lstPlotType_Click();
    // Rebuilds the table from the selections; errors reach the caller.
    void cmdShow_Click();
    // The text export of the records behind the table.
    void cmdExport_Click();
    // The grid's per-cell fill event: colours blood-pressure and sugar cells.
    void vsFGShow_FilterData(int Row, int Col, QString& Value, bool Saving, bool& Cancel);

    // The record source of a category (0 to 3) for the current person and a period name.
    static QString RecordSource(int category, const QString& periodFilter);

    // --- Text export ---
    struct ExportColumn {
        bool numeric = false;
        int width = 0;
        int margin = 0;
        int gridCol = 0; // the grid column (and so the record field, gridCol - 1) it writes
    };
    // Sets the export column at index from a header text by the table of widths (first match
    // wins, case-sensitive) and returns the header cell; a header that matches no row leaves
    // the entry as it was and gives "".
    QString SetExportColumnFormat(int index, const QString& header);
    // The underline text of a column by its header; "" when no row matches.
    static QString ExportUnderline(int index, const QString& header);
    // A field padded by the column's rule. A value wider than its column is written whole,
    // followed by one blank, so nothing is lost and the fields stay apart.
    QString PadExportField(const QString& text, int index) const;
    // Fills the export column table from the shown grid columns and returns the header and
    // underline lines.
    void BuildExportColumns(QString& headerLine, QString& underlineLine);
    // The whole file as it is written: lines ending in CR LF, windows-1252 when the code page
    // holds the text, else UTF-8 after a byte order mark.
    QByteArray ExportText();
    const std::vector<ExportColumn>& ExportColumns() const { return exportColumns_; }

private:
    void fillPersons();
    void setHeaders();
    void hideEmptyRows();
    void fitColumns();
    // The length of the longest goal name, trimmed as the export writes it.
    static int longestGoalName();
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::vector<ExportColumn> exportColumns_;
    // The two custom labels as the last show read them.
    std::array<QString, 2> customLabels_;
    // The colour choices of the last show: the fill event colours rows when they are first
    // drawn, so it must not follow the boxes as they change afterwards.
    bool bpColorShown_ = false;
    bool sugarColorShown_ = false;
    modFunctions::SugarGoalColors sugarGoals_; // the goals as they were at the last show
};
