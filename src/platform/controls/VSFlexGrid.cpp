#include "platform/controls/VSFlexGrid.h"

#include "platform/controls/DataControl.h"
#include "platform/dao/dao.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/Twips.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QtDebug>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr int kDefaultColWidth = 960; // twips

enum CellFlag : quint8 {
    HasFore = 2,
    HasFont = 4,
    Bold = 8,
    Italic = 16,
    Underline = 32,
};

struct CellData {
    QString fontName;
    vb::OLE_COLOR back = 0;
    vb::OLE_COLOR fore = 0;
    quint8 flags = 0;
};

// The texts of a row's cells in one block: the number of columns n, each column's end offset in
// the texts (top bit: the cell was written), then the texts end to end in UTF-8. A row of a dozen
// short cells costs one allocation of about its text's size, so a grid of millions of file lines
// stays within a few times the file's size. Every change builds the block anew at its exact size.
class RowTexts {
public:
    bool written(int col) const { return col < count() && (endAt(col) & kWritten) != 0; }
    QString text(int col) const
    {
        const auto [start, end] = span(col);
        return QString::fromUtf8(bytes() + start, end - start);
    }
    qsizetype size(int col) const
    {
        const auto [start, end] = span(col);
        return end - start;
    }
    // At most maxChars characters of the text, read without decoding the rest.
    QString head(int col, qsizetype maxChars) const
    {
        auto [start, end] = span(col);
        if (end - start > maxChars * 4) {
            end = start + maxChars * 4;
            while (end > start && (static_cast<unsigned char>(bytes()[end]) & 0xC0) == 0x80)
                --end; // not inside a character
        }
        return QString::fromUtf8(bytes() + start, end - start).left(maxChars);
    }

    void set(int col, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        const int oldCount = count();
        const qsizetype total = textSize();
        const auto [start, end] = span(col);
        const qsizetype newTotal = total - (end - start) + utf8.size();
        if (newTotal >= qsizetype(kWritten))
            throw std::bad_alloc(); // offsets are 31 bits: a row cannot hold more
        const int n = std::max(oldCount, col + 1);
        const qsizetype delta = utf8.size() - (end - start);
        QByteArray block(headerSize(n) + newTotal, Qt::Uninitialized);
        char* out = block.data();
        const auto n16 = quint16(n);
        std::memcpy(out, &n16, sizeof n16);
        for (int c = 0; c < n; ++c) {
            quint32 e = c < oldCount ? endAt(c) : quint32(total);
            if (c == col)
                e = quint32(start + utf8.size()) | kWritten;
            else if (c > col)
                e = quint32(qsizetype(e & ~kWritten) + delta) | (e & kWritten);
            std::memcpy(out + 2 + 4 * c, &e, sizeof e);
        }
        char* texts = out + headerSize(n);
        std::memcpy(texts, bytes(), std::size_t(start));
        std::memcpy(texts + start, utf8.constData(), std::size_t(utf8.size()));
        std::memcpy(texts + start + utf8.size(), bytes() + end, std::size_t(total - end));
        block_ = std::move(block);
    }

    void dropColumnsFrom(int cols)
    {
        if (cols >= count())
            return;
        RowTexts kept;
        for (int c = 0; c < cols; ++c)
            if (written(c))
                kept.set(c, text(c));
        *this = std::move(kept);
    }

    void clear() { block_.clear(); }

private:
    static constexpr quint32 kWritten = 0x80000000u;
    static qsizetype headerSize(int n) { return 2 + 4 * qsizetype(n); }
    int count() const
    {
        quint16 n = 0;
        if (!block_.isEmpty())
            std::memcpy(&n, block_.constData(), sizeof n);
        return n;
    }
    quint32 endAt(int col) const
    {
        quint32 e = 0;
        std::memcpy(&e, block_.constData() + 2 + 4 * col, sizeof e);
        return e;
    }
    qsizetype textSize() const { return block_.isEmpty() ? 0 : block_.size() - headerSize(count()); }
    const char* bytes() const { return block_.constData() + (block_.isEmpty() ? 0 : headerSize(count())); }
    // Where a column's text lies in the texts; a column past the last written one is empty at the end.
    std::pair<qsizetype, qsizetype> span(int col) const
    {
        const int n = count();
        if (col >= n)
            return {textSize(), textSize()};
        const qsizetype start = col == 0 ? 0 : qsizetype(endAt(col - 1) & ~kWritten);
        return {start, qsizetype(endAt(col) & ~kWritten)};
    }

    QByteArray block_;
};

// A row keeps only the cells that carry a look of their own: a bound row that nobody wrote to or
// coloured costs a few bytes, whatever the number of columns.
struct RowData {
    RowTexts texts;
    std::vector<std::pair<int, CellData>> cells;
    int height = -1; // twips; -1: the default height
    bool hidden = false;
    bool filled = false; // the fill event has run for this bound row

    const CellData* find(int col) const
    {
        for (const auto& [c, data] : cells)
            if (c == col)
                return &data;
        return nullptr;
    }
    CellData& at(int col)
    {
        for (auto& [c, data] : cells)
            if (c == col)
                return data;
        cells.emplace_back(col, CellData{});
        return cells.back().second;
    }
    void dropColumnsFrom(int cols)
    {
        cells.erase(std::remove_if(cells.begin(), cells.end(), [cols](const auto& p) { return p.first >= cols; }), cells.end());
        texts.dropColumnsFrom(cols);
    }
};

struct ColData {
    int width = kDefaultColWidth;
    int align = flexAlignGeneral;
    int fixedAlign = flexAlignGeneral;
    int type = flexDTEmpty;
    bool hidden = false;
    QString key;
};

int dataTypeOfField(int fieldType)
{
    switch (fieldType) {
    case dao::dbBoolean: return flexDTBoolean;
    case dao::dbByte: return 17; // byte
    case dao::dbInteger: return flexDTShort;
    case dao::dbLong: return flexDTLong;
    case dao::dbCurrency: return flexDTCurrency;
    case dao::dbSingle: return flexDTSingle;
    case dao::dbDouble: return flexDTDouble;
    case dao::dbDate: return flexDTDate;
    default: return flexDTString;
    }
}

bool isNumericType(int type) { return (type >= flexDTShort && type <= flexDTCurrency) || type == 17; }

// A plain number: an optional sign, digits with at most one decimal point.
bool isNumberText(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    bool digits = false, point = false;
    for (; i < t.size(); ++i) {
        if (t[i].isDigit())
            digits = true;
        else if (t[i] == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

// How a stored value is shown: Null as nothing, Yes/No as -1/0 (shown as a check box), the rest
// as the value's text (dates in the user's short-date pattern with the time).
QString displayText(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    return vb::CStr(value);
}

Qt::Alignment alignmentOf(int code, bool number)
{
    switch (code) {
    case flexAlignLeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case flexAlignLeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
    case flexAlignLeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case flexAlignCenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case flexAlignCenterCenter: return Qt::AlignCenter;
    case flexAlignCenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case flexAlignRightTop: return Qt::AlignRight | Qt::AlignTop;
    case flexAlignRightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case flexAlignRightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default: return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
}

vb::OLE_COLOR colorCodeOf(const QVariant& value) { return vb::ColorCode(value.toLongLong()); }

} // namespace

FlexGridError::FlexGridError(const QString& description) : std::out_of_range(description.toStdString()) {}

// The grid's cells and layout, and the table the view shows: grid row 0 and column 0 (when fixed)
// are the view's headers, so model row = grid row - H and model column = grid column - V.
class FlexGridModel : public QAbstractTableModel {
public:
    explicit FlexGridModel(VSFlexGrid* grid) : grid_(grid)
    {
        rows.resize(1);
        cols.resize(1);
    }

    std::vector<RowData> rows;
    std::vector<ColData> cols;
    int fixedRows = 1;
    int fixedCols = 1;
    bool bound = false;
    dao::RecordsetPtr recordset;
    int filling = 0; // inside a fill event: changes need no signal, the row is being drawn

    int H() const { return fixedRows > 0 && !rows.empty() ? 1 : 0; }
    int V() const { return fixedCols > 0 && !cols.empty() ? 1 : 0; }
    int rowCountAll() const { return int(rows.size()); }
    int colCountAll() const { return int(cols.size()); }

    bool hasRecords() const { return bound && recordset && recordset->isOpen(); }
    int fieldOf(int col) const
    {
        if (!hasRecords())
            return -1;
        const int f = col - fixedCols;
        return f >= 0 && f < recordset->columnCount() ? f : -1;
    }
    int recordOf(int row) const
    {
        if (!hasRecords())
            return -1;
        const int r = row - fixedRows;
        return r >= 0 && r < recordset->RecordCount() ? r : -1;
    }
    bool isBoundCell(int row, int col) const { return fieldOf(col) >= 0 && recordOf(row) >= 0; }

    QString boundText(int row, int col) const { return displayText(recordset->valueAt(recordOf(row), fieldOf(col))); }

    const CellData* find(int row, int col) const { return rows[std::size_t(row)].find(col); }
    CellData& cellAt(int row, int col) { return rows[std::size_t(row)].at(col); }

    QString text(int row, int col) const
    {
        const RowTexts& texts = rows[std::size_t(row)].texts;
        if (isBoundCell(row, col)) {
            const_cast<FlexGridModel*>(this)->ensureFilled(row);
            if (texts.written(col))
                return texts.text(col);
            return boundText(row, col);
        }
        return texts.text(col);
    }

    // The text as drawn: a cell far longer than its column can show is cut to what fits (every
    // character is at least a pixel wide), so that a cell of millions of characters draws as
    // fast as a short one. TextMatrix keeps the whole text.
    QString shownText(int row, int col) const
    {
        const RowTexts& texts = rows[std::size_t(row)].texts;
        const int viewCol = col - V();
        const qsizetype fits = std::max(64, viewCol >= 0 ? grid_->columnWidth(viewCol) : grid_->verticalHeader()->width());
        if (isBoundCell(row, col) && !texts.written(col))
            return text(row, col);
        if (texts.size(col) <= fits)
            return texts.text(col);
        return texts.head(col, fits) + QChar(0x2026);
    }

    void setText(int row, int col, const QString& text) { rows[std::size_t(row)].texts.set(col, text); }

    // Runs the fill event once for every bound cell of the row, in column order. A handler reads
    // the texts of the row (made so far) and colours its cells.
    void ensureFilled(int row)
    {
        RowData& rd = rows[std::size_t(row)];
        if (rd.filled || recordOf(row) < 0)
            return;
        static const QMetaMethod fillEvent = QMetaMethod::fromSignal(&VSFlexGrid::FilterData);
        if (!grid_->isSignalConnected(fillEvent))
            return;
        rd.filled = true;
        ++filling;
        for (int col = fixedCols; col < colCountAll(); ++col) {
            if (fieldOf(col) < 0 || recordOf(row) < 0)
                continue;
            QString text = rd.texts.written(col) ? rd.texts.text(col) : boundText(row, col);
            const QString before = text;
            bool cancel = false;
            try {
                emit grid_->FilterData(row, col, text, false, cancel);
            } catch (const std::exception& e) {
                qWarning() << "grid" << grid_->objectName() << "fill event:" << e.what();
            }
            if (text != before)
                setText(row, col, text);
        }
        --filling;
    }

    // Tells the view that a cell changed (the headers for the fixed row and column).
    void cellsChanged(int row1, int col1, int row2, int col2)
    {
        if (filling)
            return;
        const int h = H(), v = V();
        if (row1 < h && col2 >= v)
            emit headerDataChanged(Qt::Horizontal, std::max(col1, v) - v, col2 - v);
        if (col1 < v && row2 >= h)
            emit headerDataChanged(Qt::Vertical, std::max(row1, h) - h, row2 - h);
        if (row2 >= h && col2 >= v)
            emit dataChanged(index(std::max(row1, h) - h, std::max(col1, v) - v), index(row2 - h, col2 - v));
    }

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : std::max(0, rowCountAll() - H());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : std::max(0, colCountAll() - V());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int row = index.row() + H(), col = index.column() + V();
        if (row >= rowCountAll() || col >= colCountAll())
            return {};
        if (isBoundCell(row, col))
            const_cast<FlexGridModel*>(this)->ensureFilled(row);
        const bool fixed = row < fixedRows || col < fixedCols;
        const bool checkBox = !fixed && cols[std::size_t(col)].type == flexDTBoolean;
        switch (role) {
        case Qt::DisplayRole: return checkBox ? QVariant() : QVariant(shownText(row, col));
        case Qt::EditRole: return text(row, col);
        case Qt::CheckStateRole:
            if (checkBox)
                return vb::Val(text(row, col)) != 0 ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::TextAlignmentRole: return int(alignment(row, col, fixed));
        default: return styleData(row, col, role, fixed);
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        int row, col;
        if (orientation == Qt::Horizontal) {
            row = 0;
            col = section + V();
        } else {
            row = section + H();
            col = 0;
        }
        if (row >= rowCountAll() || col >= colCountAll())
            return {};
        if (orientation == Qt::Horizontal ? H() == 0 : V() == 0)
            return {};
        switch (role) {
        case Qt::DisplayRole: return shownText(row, col);
        case Qt::TextAlignmentRole: return int(alignment(row, col, true) | Qt::TextWordWrap);
        default: return styleData(row, col, role, false);
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        const int row = index.row() + H(), col = index.column() + V();
        if (grid_->editable_ && row >= fixedRows && col >= fixedCols && !isBoundCell(row, col))
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid())
            return false;
        grid_->setTextMatrix(index.row() + H(), index.column() + V(), value.toString());
        return true;
    }

    Qt::Alignment alignment(int row, int col, bool fixed) const
    {
        const ColData& c = cols[std::size_t(col)];
        const int code = fixed ? c.fixedAlign : c.align;
        bool number = false;
        if (code < flexAlignLeftTop || code > flexAlignRightBottom)
            number = fixed ? false : (isBoundCell(row, col) && isNumericType(c.type)) || isNumberText(shownText(row, col));
        return alignmentOf(code, number);
    }

    QVariant styleData(int row, int col, int role, bool paintFixed) const
    {
        const CellData* c = find(row, col);
        switch (role) {
        case Qt::BackgroundRole:
            if (c && c->back)
                return QBrush(vb::ColorFromCode(c->back, grid_->palette()));
            if (paintFixed)
                return grid_->palette().brush(QPalette::Button);
            return {};
        case Qt::ForegroundRole:
            if (c && (c->flags & HasFore))
                return QBrush(vb::ColorFromCode(c->fore, grid_->palette()));
            return {};
        case Qt::FontRole:
            if (c && (c->flags & (HasFont | Bold | Italic | Underline))) {
                QFont font = grid_->font();
                if (c->flags & HasFont)
                    font.setFamily(c->fontName);
                font.setBold(c->flags & Bold);
                font.setItalic(c->flags & Italic);
                font.setUnderline(c->flags & Underline);
                return font;
            }
            return {};
        default: return {};
        }
    }

    // Structure. Changes of the fixed counts or the columns rebuild the table; rows are inserted
    // and removed in place, so hidden rows and the current row stay.
    template <typename Change>
    void rebuild(Change change)
    {
        beginResetModel();
        change();
        endResetModel();
        grid_->applyLayout();
    }

    void setRowCount(int n)
    {
        const int old = rowCountAll();
        if (n == old)
            return;
        const int h = H();
        const int hAfter = fixedRows > 0 && n > 0 ? 1 : 0;
        if (h != hAfter || n < fixedRows) {
            rebuild([&] {
                rows.resize(std::size_t(n));
                fixedRows = std::min(fixedRows, n);
            });
            return;
        }
        if (n > old) {
            beginInsertRows({}, old - h, n - h - 1);
            rows.resize(std::size_t(n));
            endInsertRows();
        } else {
            beginRemoveRows({}, n - h, old - h - 1);
            rows.resize(std::size_t(n));
            if (rows.capacity() > 2 * rows.size() + 1024)
                rows.shrink_to_fit(); // an emptied grid gives back the memory of a large one
            endRemoveRows();
        }
    }

    void setColCount(int n)
    {
        if (n == colCountAll())
            return;
        rebuild([&] {
            cols.resize(std::size_t(n));
            fixedCols = std::min(fixedCols, n);
            for (RowData& r : rows)
                r.dropColumnsFrom(n);
        });
    }

    // The data control's rows replace the grid's: the fixed rows stay, the columns become the
    // fields (their headers and keys the field names), each column keeping its layout.
    void resetBound(bool isBound, const dao::RecordsetPtr& rs, int newFixedRows = -1, int newFixedCols = -1)
    {
        rebuild([&] {
            if (newFixedRows >= 0)
                fixedRows = newFixedRows;
            if (newFixedCols >= 0)
                fixedCols = newFixedCols;
            bound = isBound;
            recordset = rs && rs->isOpen() ? rs : nullptr;
            if (recordset) {
                const int fields = recordset->columnCount();
                cols.resize(std::size_t(fixedCols + fields));
                for (RowData& r : rows)
                    r.dropColumnsFrom(fixedCols + fields);
            } else if (colCountAll() < fixedCols) {
                cols.resize(std::size_t(fixedCols));
            }
            rows.resize(std::size_t(std::min<int>(fixedRows, rowCountAll())));
            rows.resize(std::size_t(fixedRows));
            for (RowData& r : rows)
                r.filled = false;
            if (recordset) {
                for (int f = 0; f < recordset->columnCount(); ++f) {
                    ColData& c = cols[std::size_t(fixedCols + f)];
                    c.key = recordset->columnName(f);
                    c.type = dataTypeOfField(recordset->columnType(f));
                    if (fixedRows > 0)
                        setText(0, fixedCols + f, c.key);
                }
                rows.resize(std::size_t(fixedRows + recordset->RecordCount()));
            }
        });
    }

    bool boundRowsMatch(int expectedRecords) const { return hasRecords() && rowCountAll() == fixedRows + expectedRecords; }

    void insertBoundRow(int record)
    {
        if (!boundRowsMatch(recordset ? recordset->RecordCount() - 1 : -1) || record < 0 || record >= recordset->RecordCount()) {
            resetBound(bound, recordset);
            return;
        }
        const int row = fixedRows + record;
        beginInsertRows({}, row - H(), row - H());
        rows.insert(rows.begin() + row, RowData{});
        endInsertRows();
    }

    void removeBoundRow(int record)
    {
        if (!boundRowsMatch(recordset ? recordset->RecordCount() + 1 : -1) || record < 0 || record > recordset->RecordCount()) {
            resetBound(bound, recordset);
            return;
        }
        const int row = fixedRows + record;
        beginRemoveRows({}, row - H(), row - H());
        rows.erase(rows.begin() + row);
        endRemoveRows();
    }

    void refillBoundRow(int record)
    {
        const int row = fixedRows + record;
        if (recordOf(row) < 0 || row >= rowCountAll())
            return;
        RowData& rd = rows[std::size_t(row)];
        rd.cells.clear();
        rd.texts.clear();
        rd.filled = false;
        cellsChanged(row, 0, row, colCountAll() - 1);
    }

private:
    VSFlexGrid* grid_;
};

// ---------------------------------------------------------------------------------------------

VSFlexGrid::VSFlexGrid(QWidget* parent) : QTableView(parent), model_(std::make_unique<FlexGridModel>(this))
{
    setModel(model_.get());
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the grid for the next control; walking the cells would move the current row.
    setTabKeyNavigation(false);
    QHeaderView* hh = horizontalHeader();
    QHeaderView* vh = verticalHeader();
    hh->setMinimumSectionSize(0);
    vh->setMinimumSectionSize(0);
    hh->setSectionResizeMode(QHeaderView::Interactive);
    vh->setSectionResizeMode(QHeaderView::Fixed);
    hh->setHighlightSections(false);
    vh->setHighlightSections(false);
    hh->setStretchLastSection(false);
    hh->setDefaultSectionSize(twipsToPixelsX(kDefaultColWidth));
    vh->setDefaultSectionSize(fontMetrics().height() + 4);
    connect(hh, &QHeaderView::sectionResized, this, &VSFlexGrid::onSectionResized);
    connect(
        selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current, const QModelIndex&) { onCurrentRowChanged(current.isValid() ? current.row() : -1); });
    applyLayout();
}

VSFlexGrid::~VSFlexGrid()
{
    // The view lets go of the model before the model goes.
    setModel(nullptr);
}

// --- checks and mapping ----------------------------------------------------------------------

void VSFlexGrid::checkRow(int row) const
{
    if (row < 0 || row >= model_->rowCountAll())
        throw FlexGridError(QStringLiteral("Subscript out of range: there is no row %1.").arg(row));
}

void VSFlexGrid::checkCol(int col) const
{
    if (col < 0 || col >= model_->colCountAll())
        throw FlexGridError(QStringLiteral("Subscript out of range: there is no column %1.").arg(col));
}

void VSFlexGrid::checkCell(int row, int col) const
{
    checkRow(row);
    checkCol(col);
}

int VSFlexGrid::modelRowOf(int row) const { return row - model_->H(); }
int VSFlexGrid::modelColOf(int col) const { return col - model_->V(); }

int VSFlexGrid::twipsToPixelsX(int twips) const { return vb::TwipsToPixelsX(twips, this); }
int VSFlexGrid::twipsToPixelsY(int twips) const { return vb::TwipsToPixelsY(twips, this); }
int VSFlexGrid::pixelsToTwipsX(int pixels) const { return qRound(vb::PixelsToTwipsX(pixels, this)); }
int VSFlexGrid::pixelsToTwipsY(int pixels) const { return qRound(vb::PixelsToTwipsY(pixels, this)); }

// --- size ------------------------------------------------------------------------------------

int VSFlexGrid::Rows() const { return model_->rowCountAll(); }
int VSFlexGrid::Cols() const { return model_->colCountAll(); }
int VSFlexGrid::FixedRows() const { return model_->fixedRows; }
int VSFlexGrid::FixedCols() const { return model_->fixedCols; }

void VSFlexGrid::setRows(int rows)
{
    if (rows < 0)
        throw FlexGridError(QStringLiteral("Invalid number of rows: %1.").arg(rows));
    if (model_->bound)
        return; // a bound grid's rows are the data control's
    model_->setRowCount(rows);
}

void VSFlexGrid::setCols(int cols)
{
    if (cols < 0)
        throw FlexGridError(QStringLiteral("Invalid number of columns: %1.").arg(cols));
    model_->setColCount(cols);
}

void VSFlexGrid::setFixedRows(int rows)
{
    if (rows < 0)
        throw FlexGridError(QStringLiteral("Invalid number of fixed rows: %1.").arg(rows));
    if (rows == model_->fixedRows)
        return;
    if (model_->bound) {
        model_->resetBound(true, model_->recordset, rows, -1);
        followReposition();
        return;
    }
    model_->rebuild([&] {
        model_->fixedRows = rows;
        if (model_->rowCountAll() < rows)
            model_->rows.resize(std::size_t(rows));
    });
}

void VSFlexGrid::setFixedCols(int cols)
{
    if (cols < 0)
        throw FlexGridError(QStringLiteral("Invalid number of fixed columns: %1.").arg(cols));
    if (cols == model_->fixedCols)
        return;
    if (model_->bound) {
        model_->resetBound(true, model_->recordset, -1, cols); // the fields follow the fixed columns anew
        followReposition();
        return;
    }
    model_->rebuild([&] {
        model_->fixedCols = cols;
        if (model_->colCountAll() < cols)
            model_->cols.resize(std::size_t(cols));
    });
}

// --- texts -----------------------------------------------------------------------------------

QString VSFlexGrid::TextMatrix(int row, int col) const
{
    checkCell(row, col);
    return model_->text(row, col);
}

void VSFlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    checkCell(row, col);
    model_->setText(row, col, text);
    model_->cellsChanged(row, col, row, col);
    emit CellChanged(row, col);
}

QString VSFlexGrid::FormatString() const { return formatString_; }

void VSFlexGrid::setFormatString(const QString& format)
{
    formatString_ = format;
    const QStringList parts = format.split(u'|');
    if (!model_->bound || parts.size() > Cols())
        setCols(int(parts.size()));
    for (int c = 0; c < parts.size() && c < Cols(); ++c) {
        QString text = parts[c];
        int align = flexAlignGeneral;
        if (!text.isEmpty()) {
            switch (text[0].unicode()) {
            case u'^': align = flexAlignCenterCenter; break;
            case u'<': align = flexAlignLeftCenter; break;
            case u'>': align = flexAlignRightCenter; break;
            default: break;
            }
            if (align != flexAlignGeneral)
                text.remove(0, 1);
        }
        model_->cols[std::size_t(c)].fixedAlign = align;
        if (Rows() > 0)
            model_->setText(0, c, text);
    }
    if (Rows() > 0 && Cols() > 0)
        model_->cellsChanged(0, 0, 0, Cols() - 1);
}

// --- columns and rows ------------------------------------------------------------------------

int VSFlexGrid::ColWidth(int col) const
{
    checkCol(col);
    return model_->cols[std::size_t(col)].width;
}

void VSFlexGrid::setColWidth(int col, int twips)
{
    checkCol(col);
    model_->cols[std::size_t(col)].width = std::max(0, twips);
    applyColumn(col);
}

bool VSFlexGrid::ColHidden(int col) const
{
    checkCol(col);
    return model_->cols[std::size_t(col)].hidden;
}

void VSFlexGrid::setColHidden(int col, bool hidden)
{
    checkCol(col);
    model_->cols[std::size_t(col)].hidden = hidden;
    applyColumn(col);
}

bool VSFlexGrid::RowHidden(int row) const
{
    checkRow(row);
    return model_->rows[std::size_t(row)].hidden;
}

void VSFlexGrid::setRowHidden(int row, bool hidden)
{
    checkRow(row);
    RowData& rd = model_->rows[std::size_t(row)];
    if (rd.hidden == hidden)
        return;
    rd.hidden = hidden;
    const bool saved = applying_;
    applying_ = true;
    if (row < model_->H()) {
        horizontalHeader()->setVisible(!hidden);
    } else {
        // With the header drawing, each hidden row would cost a pass over all row positions: a
        // form hiding thousands of rows waits seconds. Held, the header redraws once, later.
        QHeaderView* vh = verticalHeader();
        const bool drawing = vh->updatesEnabled();
        if (drawing)
            vh->setUpdatesEnabled(false);
        QTableView::setRowHidden(modelRowOf(row), hidden);
        if (drawing)
            vh->setUpdatesEnabled(true);
    }
    applying_ = saved;
}

int VSFlexGrid::RowHeight(int row) const
{
    checkRow(row);
    const int twips = model_->rows[std::size_t(row)].height;
    if (twips >= 0)
        return twips;
    if (row < model_->H())
        return pixelsToTwipsY(horizontalHeader()->sizeHint().height());
    return pixelsToTwipsY(verticalHeader()->defaultSectionSize());
}

void VSFlexGrid::setRowHeight(int row, int twips)
{
    checkRow(row);
    model_->rows[std::size_t(row)].height = std::max(0, twips);
    const bool saved = applying_;
    applying_ = true;
    if (row < model_->H())
        horizontalHeader()->setFixedHeight(twipsToPixelsY(std::max(0, twips)));
    else
        verticalHeader()->resizeSection(modelRowOf(row), twipsToPixelsY(std::max(0, twips)));
    applying_ = saved;
}

int VSFlexGrid::ColAlignment(int col) const
{
    checkCol(col);
    return model_->cols[std::size_t(col)].align;
}

void VSFlexGrid::setColAlignment(int col, int alignment)
{
    checkCol(col);
    model_->cols[std::size_t(col)].align = alignment;
    if (Rows() > 0)
        model_->cellsChanged(0, col, Rows() - 1, col);
}

int VSFlexGrid::FixedAlignment(int col) const
{
    checkCol(col);
    return model_->cols[std::size_t(col)].fixedAlign;
}

void VSFlexGrid::setFixedAlignment(int col, int alignment)
{
    checkCol(col);
    model_->cols[std::size_t(col)].fixedAlign = alignment;
    if (Rows() > 0)
        model_->cellsChanged(0, col, Rows() - 1, col);
}

int VSFlexGrid::ColDataType(int col) const
{
    checkCol(col);
    return model_->cols[std::size_t(col)].type;
}

void VSFlexGrid::setColDataType(int col, int dataType)
{
    checkCol(col);
    model_->cols[std::size_t(col)].type = dataType;
    if (Rows() > 0)
        model_->cellsChanged(0, col, Rows() - 1, col);
}

QString VSFlexGrid::ColKey(int col) const
{
    checkCol(col);
    return model_->cols[std::size_t(col)].key;
}

void VSFlexGrid::setColKey(int col, const QString& key)
{
    checkCol(col);
    model_->cols[std::size_t(col)].key = key;
}

int VSFlexGrid::ColIndex(const QString& key) const
{
    for (int c = 0; c < Cols(); ++c)
        if (model_->cols[std::size_t(c)].key.compare(key, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

// --- cells -----------------------------------------------------------------------------------

QVariant VSFlexGrid::Cell(int setting, int row, int col) const
{
    checkCell(row, col);
    if (model_->isBoundCell(row, col))
        model_->ensureFilled(row);
    const CellData* c = model_->find(row, col);
    switch (setting) {
    case flexcpText:
    case flexcpTextDisplay: return model_->text(row, col);
    case flexcpValue: return vb::Val(model_->text(row, col));
    case flexcpBackColor: return QVariant::fromValue<vb::OLE_COLOR>(c ? c->back : 0);
    case flexcpForeColor: return QVariant::fromValue<vb::OLE_COLOR>(c && (c->flags & HasFore) ? c->fore : 0);
    case flexcpFontName: return c && (c->flags & HasFont) ? c->fontName : FontName();
    case flexcpFontBold: return bool(c && (c->flags & Bold));
    case flexcpFontItalic: return bool(c && (c->flags & Italic));
    case flexcpFontUnderline: return bool(c && (c->flags & Underline));
    default: return {};
    }
}

FlexCellLook VSFlexGrid::Look(int row, int col) const
{
    checkCell(row, col);
    if (model_->isBoundCell(row, col))
        model_->ensureFilled(row);
    FlexCellLook look;
    look.text = model_->text(row, col);
    if (const CellData* c = model_->find(row, col)) {
        look.back = c->back;
        look.bold = (c->flags & Bold) != 0;
        look.italic = (c->flags & Italic) != 0;
        look.underline = (c->flags & Underline) != 0;
    }
    return look;
}

void VSFlexGrid::setCell(int setting, int row, int col, const QVariant& value) { setCell(setting, row, col, row, col, value); }

void VSFlexGrid::setCell(int setting, int row1, int col1, int row2, int col2, const QVariant& value)
{
    checkCell(row1, col1);
    checkCell(row2, col2);
    if (row1 > row2)
        std::swap(row1, row2);
    if (col1 > col2)
        std::swap(col1, col2);
    if (setting == flexcpText || setting == flexcpTextDisplay) {
        for (int r = row1; r <= row2; ++r)
            for (int c = col1; c <= col2; ++c)
                setTextMatrix(r, c, value.toString());
        return;
    }
    auto apply = [&](CellData& cell) {
        switch (setting) {
        case flexcpBackColor: cell.back = colorCodeOf(value); break;
        case flexcpForeColor:
            cell.fore = colorCodeOf(value);
            cell.flags |= HasFore;
            break;
        case flexcpFontName:
            cell.fontName = value.toString();
            cell.flags |= HasFont;
            break;
        case flexcpFontBold: cell.flags = value.toBool() ? (cell.flags | Bold) : (cell.flags & ~Bold); break;
        case flexcpFontItalic: cell.flags = value.toBool() ? (cell.flags | Italic) : (cell.flags & ~Italic); break;
        case flexcpFontUnderline: cell.flags = value.toBool() ? (cell.flags | Underline) : (cell.flags & ~Underline); break;
        default: break;
        }
    };
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            apply(model_->cellAt(r, c));
    model_->cellsChanged(row1, col1, row2, col2);
}

void VSFlexGrid::GetMergedRange(int row, int col, int& row1, int& col1, int& row2, int& col2) const
{
    checkCell(row, col);
    row1 = row2 = row;
    col1 = col2 = col;
}

QString VSFlexGrid::FontName() const { return font().family(); }

// --- current row and selection ---------------------------------------------------------------

int VSFlexGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + model_->H() : -1;
}

void VSFlexGrid::setRow(int row)
{
    checkRow(row);
    if (row < model_->H())
        return;
    const QModelIndex current = currentIndex();
    int column = current.isValid() ? current.column() : 0;
    while (column < model_->columnCount() - 1 && isColumnHidden(column))
        ++column;
    const QModelIndex target = model_->index(modelRowOf(row), column);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
}

int VSFlexGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() + model_->V() : -1;
}

void VSFlexGrid::setCol(int col)
{
    checkCol(col);
    const QModelIndex current = currentIndex();
    if (!current.isValid() || col < model_->V())
        return;
    selectionModel()->setCurrentIndex(model_->index(current.row(), modelColOf(col)),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool VSFlexGrid::IsSelected(int row) const
{
    checkRow(row);
    if (row < model_->H())
        return false;
    return selectionModel()->isRowSelected(modelRowOf(row), QModelIndex());
}

void VSFlexGrid::setEditable(int editable)
{
    editable_ = editable;
    setEditTriggers(editable
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);
}

void VSFlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit Click();
}

// --- binding ---------------------------------------------------------------------------------

void VSFlexGrid::setDataSource(DataControl* dataControl)
{
    for (auto& c : sourceConnections_)
        disconnect(c);
    dataSource_ = dataControl;
    if (dataControl) {
        sourceConnections_[0] = connect(dataControl, &DataControl::rowsReset, this, &VSFlexGrid::dataRowsReset);
        sourceConnections_[1] = connect(dataControl, &DataControl::rowAppended, this, &VSFlexGrid::dataRowAppended);
        sourceConnections_[2] = connect(dataControl, &DataControl::rowChanged, this, &VSFlexGrid::dataRowChanged);
        sourceConnections_[3] = connect(dataControl, &DataControl::rowRemoved, this, &VSFlexGrid::dataRowRemoved);
        sourceConnections_[4] = connect(dataControl, &DataControl::Reposition, this, &VSFlexGrid::followReposition);
        sourceConnections_[5] = connect(dataControl, &QObject::destroyed, this, [this] { setDataSource(nullptr); });
    }
    dataRowsReset();
    followReposition();
}

void VSFlexGrid::dataRowsReset()
{
    if (!dataSource_) {
        if (model_->bound)
            model_->resetBound(false, nullptr);
        return;
    }
    model_->resetBound(true, dataSource_->Recordset());
}

void VSFlexGrid::dataRowAppended(int record) { model_->insertBoundRow(record); }
void VSFlexGrid::dataRowChanged(int record) { model_->refillBoundRow(record); }
void VSFlexGrid::dataRowRemoved(int record) { model_->removeBoundRow(record); }

void VSFlexGrid::followReposition()
{
    if (!dataSource_)
        return;
    const dao::RecordsetPtr& rs = model_->recordset;
    const int position = rs && rs->isOpen() ? rs->AbsolutePosition() : -1;
    const int row = position >= 0 ? model_->fixedRows + position : -1;
    following_ = true;
    if (row >= model_->H() && row < Rows()) {
        setRow(row);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    following_ = false;
}

void VSFlexGrid::onCurrentRowChanged(int modelRow)
{
    emit SelChange();
    if (following_ || !dataSource_ || modelRow < 0)
        return;
    const dao::RecordsetPtr& rs = model_->recordset;
    const int record = modelRow + model_->H() - model_->fixedRows;
    if (!rs || !rs->isOpen() || record < 0 || record >= rs->RecordCount() || record == rs->AbsolutePosition())
        return;
    if (!dataSource_->isEnabled()) {
        // A disabled data control does not move (a record is being entered on its row): the
        // grid goes back to that row once this selection change is over.
        QMetaObject::invokeMethod(
            this, [this] { followReposition(); }, Qt::QueuedConnection);
        return;
    }
    try {
        rs->setAbsolutePosition(record);
    } catch (const std::exception& e) {
        qWarning() << "grid" << objectName() << "cannot move the data control:" << e.what();
    }
}

// --- layout ----------------------------------------------------------------------------------

void VSFlexGrid::applyColumn(int col)
{
    const ColData& c = model_->cols[std::size_t(col)];
    const bool saved = applying_;
    applying_ = true;
    if (col < model_->V()) {
        verticalHeader()->setFixedWidth(twipsToPixelsX(c.width));
        verticalHeader()->setVisible(!c.hidden);
    } else {
        const int section = modelColOf(col);
        QTableView::setColumnHidden(section, c.hidden);
        horizontalHeader()->resizeSection(section, twipsToPixelsX(c.width));
    }
    applying_ = saved;
}

void VSFlexGrid::applyLayout()
{
    const bool saved = applying_;
    applying_ = true;
    const int h = model_->H(), v = model_->V();
    QHeaderView* hh = horizontalHeader();
    QHeaderView* vh = verticalHeader();
    hh->setVisible(h > 0 && !model_->rows[0].hidden);
    if (h > 0 && model_->rows[0].height >= 0) {
        hh->setFixedHeight(twipsToPixelsY(model_->rows[0].height));
    } else {
        hh->setMinimumHeight(0);
        hh->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    if (v == 0)
        vh->setVisible(false);
    for (int c = 0; c < Cols(); ++c)
        applyColumn(c);
    applyRowHeights();
    applyRowHidden();
    applying_ = saved;
}

void VSFlexGrid::applyRowHeights()
{
    const int h = model_->H();
    for (int r = h; r < Rows(); ++r)
        if (model_->rows[std::size_t(r)].height >= 0)
            verticalHeader()->resizeSection(r - h, twipsToPixelsY(model_->rows[std::size_t(r)].height));
}

void VSFlexGrid::applyRowHidden()
{
    const int h = model_->H();
    QHeaderView* vh = verticalHeader();
    const bool drawing = vh->updatesEnabled();
    if (drawing)
        vh->setUpdatesEnabled(false);
    for (int r = h; r < Rows(); ++r)
        if (model_->rows[std::size_t(r)].hidden)
            QTableView::setRowHidden(r - h, true);
    if (drawing)
        vh->setUpdatesEnabled(true);
}

void VSFlexGrid::onSectionResized(int section, int, int newSize)
{
    if (applying_ || horizontalHeader()->isSectionHidden(section))
        return;
    const int col = section + model_->V();
    if (col < Cols())
        model_->cols[std::size_t(col)].width = pixelsToTwipsX(newSize);
}

// --- drawing ---------------------------------------------------------------------------------

void VSFlexGrid::setRedraw(bool redraw)
{
    redraw_ = redraw;
    setUpdatesEnabled(redraw);
}

void VSFlexGrid::Refresh()
{
    viewport()->update();
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
}
