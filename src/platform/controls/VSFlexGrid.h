#pragma once
// The flex grid: a table of text cells with fixed header rows and columns, filled cell by cell or
// bound to a data control. Sizes are in twips, colours are &HBBGGRR codes (system colours
// &H800000nn through the palette). Row 0 shows as the column header and column 0 as the row
// header when they are fixed.
//
// A bound grid shows the data control's rows and follows them (appended, changed, removed rows,
// refresh) and its current row both ways. It reads the recordset lazily: a row's texts are made
// when the row is first needed (drawn or read), raising FilterData once per cell of the row, so
// 100,000 rows cost no more than the rows on screen.
//
// The grid's members count rows and columns as the grid does, fixed ones included; the inherited
// view members (isRowHidden, rowHeight, columnWidth, ...) count the view's rows and columns, which
// leave out the header row and column.
#include "platform/controls/FlexGridSource.h"

#include "platform/controls/DataControl.h"

#include <QPointer>
#include <QString>
#include <QTableView>
#include <QVariant>

#include <memory>
#include <stdexcept>

class FlexGridModel;

// A row or column outside the grid (error 381, as the grid raises it).
class FlexGridError : public std::out_of_range {
public:
    explicit FlexGridError(const QString& description);
    int Number() const { return 381; }
    QString Description() const { return QString::fromStdString(what()); }
};

class VSFlexGrid : public QTableView, public FlexGridSource {
    Q_OBJECT
public:
    explicit VSFlexGrid(QWidget* parent = nullptr);
    ~VSFlexGrid() override;

    // Size. A bound grid has FixedRows + the recordset's rows and FixedCols + its fields;
    // setting Rows on it changes nothing.
    int Rows() const override;
    void setRows(int rows);
    int Cols() const override;
    void setCols(int cols);
    int FixedRows() const override;
    void setFixedRows(int rows);
    int FixedCols() const override;
    void setFixedCols(int cols);

    // Cell texts; a row or column outside the grid raises FlexGridError. Writing raises
    // CellChanged; on a bound cell it changes the shown text only (the database is not written).
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    // Column headers separated by "|" (row 0); a leading "^", "<" or ">" centres, left- or
    // right-aligns the header text. Sets the number of columns of an unbound grid.
    QString FormatString() const;
    void setFormatString(const QString& format);

    int ColWidth(int col) const override;
    void setColWidth(int col, int twips);
    bool ColHidden(int col) const override;
    void setColHidden(int col, bool hidden);
    bool RowHidden(int row) const override;
    void setRowHidden(int row, bool hidden);
    int RowHeight(int row) const override;
    void setRowHeight(int row, int twips);
    int ColAlignment(int col) const override;
    void setColAlignment(int col, int alignment);
    // Alignment of the column's header cells; general until the format string or this sets it.
    int FixedAlignment(int col) const;
    void setFixedAlignment(int col, int alignment);
    int ColDataType(int col) const override;
    void setColDataType(int col, int dataType);
    // Column keys; a bound column's key is its field name. ColIndex gives -1 for an unknown key.
    QString ColKey(int col) const;
    void setColKey(int col, const QString& key);
    int ColIndex(const QString& key) const;

    // Cell settings (FlexCellSetting). Writing flexcpText/flexcpTextDisplay sets the text;
    // flexcpBackColor/flexcpForeColor take colour codes; the font settings a name or a flag.
    QVariant Cell(int setting, int row, int col) const override;
    FlexCellLook Look(int row, int col) const override;
    void setCell(int setting, int row, int col, const QVariant& value);
    void setCell(int setting, int row1, int col1, int row2, int col2, const QVariant& value);

    void GetMergedRange(int row, int col, int& row1, int& col1, int& row2, int& col2) const override;
    QString FontName() const override;
    int OutlineBar() const override { return 0; }
    int OutlineCol() const override { return 0; }
    bool IsSubtotal(int) const override { return false; }
    int RowOutlineLevel(int) const override { return 0; }

    // The current cell (whole rows are selected); -1 without one.
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    bool IsSelected(int row) const;

    // 0: no editing; otherwise the user may edit the cells of unbound rows (raising CellChanged).
    int Editable() const { return editable_; }
    void setEditable(int editable);

    // Binding: the grid shows the data control's rows and follows its current row; choosing a row
    // moves the data control there. nullptr unbinds (the grid keeps no rows then).
    DataControl* DataSource() const { return dataSource_; }
    void setDataSource(DataControl* dataControl);

    // While false the grid is not drawn (for many changes in a row).
    bool Redraw() const { return redraw_; }
    void setRedraw(bool redraw);
    // Draws the grid again.
    void Refresh();

signals:
    // Raised once for each bound cell when its row is filled from the recordset: the handler may
    // change the text, colour cells of the row (through setCell) and sets cancel to true.
    // saving is always false. Connect directly (the text and flag are references).
    void FilterData(int row, int col, QString& text, bool saving, bool& cancel);
    // A cell's text was written (from code or by the user).
    void CellChanged(int row, int col);
    // The selected row changed (from code or by the user).
    void SelChange();
    // The user clicked a cell.
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class FlexGridModel;
    void checkCell(int row, int col) const;
    void checkRow(int row) const;
    void checkCol(int col) const;
    void applyLayout();
    void applyColumn(int col);
    void applyRowHeights();
    void applyRowHidden();
    void dataRowsReset();
    void dataRowAppended(int record);
    void dataRowChanged(int record);
    void dataRowRemoved(int record);
    void followReposition();
    void onCurrentRowChanged(int modelRow);
    void onSectionResized(int section, int oldSize, int newSize);
    int modelRowOf(int row) const;
    int modelColOf(int col) const;
    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;
    int pixelsToTwipsX(int pixels) const;
    int pixelsToTwipsY(int pixels) const;

    std::unique_ptr<FlexGridModel> model_;
    QPointer<DataControl> dataSource_;
    QMetaObject::Connection sourceConnections_[6];
    QString formatString_;
    int editable_ = 0;
    bool redraw_ = true;
    bool applying_ = false;  // layout changes made by the grid itself, not by the user
    bool following_ = false; // selecting the data control's row, not the user's choice
};
