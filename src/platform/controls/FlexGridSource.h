#pragma once
// What a reader of a grid's visible content asks of it (the HTML export): the grid's own members,
// read-only, so that a reader can be tested against a small grid of its own making.
// Rows and columns count from 0, fixed ones included.
#include <QString>
#include <QVariant>

// Setting numbers of VSFlexGrid::Cell.
enum FlexCellSetting : int {
    flexcpText = 0,      // the cell's text
    flexcpBackColor = 6, // back colour code (&HBBGGRR); 0 = none of its own
    flexcpForeColor = 7, // fore colour code; 0 (black) unless set
    flexcpFontName = 11, // the cell's font name (the grid's unless set)
    flexcpFontBold = 13,
    flexcpFontItalic = 14,
    flexcpFontUnderline = 15,
    flexcpValue = 18,       // the number the text reads as (0 when it is no number)
    flexcpTextDisplay = 19, // the text as shown
};

// Column alignment codes: left, centre, right by top, centre, bottom; anything else is general
// (numbers to the right, other text to the left).
enum FlexAlignment : int {
    flexAlignLeftTop = 0,
    flexAlignLeftCenter = 1,
    flexAlignLeftBottom = 2,
    flexAlignCenterTop = 3,
    flexAlignCenterCenter = 4,
    flexAlignCenterBottom = 5,
    flexAlignRightTop = 6,
    flexAlignRightCenter = 7,
    flexAlignRightBottom = 8,
    flexAlignGeneral = 9,
};

// Column data type codes (variant types); a bound column takes its field's.
enum FlexDataType : int {
    flexDTEmpty = 0,
    flexDTShort = 2,
    flexDTLong = 3,
    flexDTSingle = 4,
    flexDTDouble = 5,
    flexDTCurrency = 6,
    flexDTDate = 7,
    flexDTString = 8,
    flexDTBoolean = 11,
};

// What a reader shows of one cell: its displayed text, back colour and font flags.
struct FlexCellLook {
    QString text;
    quint32 back = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class FlexGridSource {
public:
    virtual ~FlexGridSource() = default;

    virtual int Rows() const = 0;
    virtual int Cols() const = 0;
    virtual int FixedRows() const = 0;
    virtual int FixedCols() const = 0;
    virtual int ColWidth(int col) const = 0; // twips; 0 counts as not shown
    virtual bool ColHidden(int col) const = 0;
    virtual bool RowHidden(int row) const = 0;
    virtual int RowHeight(int row) const = 0;    // twips; 0 counts as not shown
    virtual int ColAlignment(int col) const = 0; // FlexAlignment
    virtual int ColDataType(int col) const = 0;  // FlexDataType
    // The merged block holding (row, col): first row, first column, last row, last column.
    virtual void GetMergedRange(int row, int col, int& row1, int& col1, int& row2, int& col2) const = 0;
    // flexcpTextDisplay/flexcpText: QString; flexcpBackColor/flexcpForeColor: colour code (vb::OLE_COLOR,
    // a quint32); flexcpFontName: QString; the font flags: bool; flexcpValue: double.
    virtual QVariant Cell(int setting, int row, int col) const = 0;
    // The settings a page shows of a cell, in one call; a grid may answer it more cheaply than
    // five calls of Cell.
    virtual FlexCellLook Look(int row, int col) const
    {
        return {Cell(flexcpTextDisplay, row, col).toString(),
                static_cast<quint32>(Cell(flexcpBackColor, row, col).toLongLong() & 0xFFFFFFFF),
                Cell(flexcpFontBold, row, col).toBool(), Cell(flexcpFontItalic, row, col).toBool(),
                Cell(flexcpFontUnderline, row, col).toBool()};
    }
    virtual QString FontName() const = 0;
    virtual int OutlineBar() const = 0; // 0 = no outline
    virtual int OutlineCol() const = 0;
    virtual bool IsSubtotal(int row) const = 0;
    virtual int RowOutlineLevel(int row) const = 0;
};
