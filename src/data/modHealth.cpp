#include "data/modHealth.h"

#include "data/Globals.h"
#include "platform/runtime/Conversions.h"

#include <algorithm>
#include <limits>

namespace modHealth {

namespace {

constexpr int kBackspace = 8;
constexpr int kStoredColumns = 30; // COL1 to COL30

std::function<void()>& BeepHook()
{
    static std::function<void()> hook;
    return hook;
}

int Refuse()
{
    if (const auto& beep = BeepHook())
        beep();
    return 0;
}

bool IsDigitKey(int key) { return key >= '0' && key <= '9'; }

bool IsEmptyEntry(const QVariant& value)
{
    if (vb::IsNull(value))
        return true;
    if (vb::CStr(value).isEmpty())
        return true;
    return vb::Val(value) == 0;
}

QString WidthColumn(int i) { return QStringLiteral("COL%1").arg(i); }

std::shared_ptr<dao::Recordset> GridRow(const QString& gridName)
{
    auto rs = gDB->OpenRecordset(QStringLiteral("SELECT * FROM GridColumnPersistance"), dao::dbOpenDynaset);
    rs->FindFirst(QStringLiteral("GRID_NM='") + vb::SqlQuote(gridName) + u'\'');
    return rs;
}

} // namespace

int CountRecords(const QString& tableName)
{
    auto rs = gDB->OpenRecordset(QStringLiteral("select count(*) from ") + tableName, dao::dbOpenSnapshot, dao::dbReadOnly);
    const qint64 count = rs->Fields(0).Value().toLongLong();
    rs->Close();
    return int(std::min<qint64>(count, std::numeric_limits<qint16>::max()));
}

int FilterDigitKey(int keyAscii)
{
    if (keyAscii == kBackspace || (keyAscii >= '/' && keyAscii <= ':'))
        return keyAscii;
    return Refuse();
}

int FilterDecimalKey(int keyAscii, const QString& text, int caretPosition)
{
    if (keyAscii == kBackspace)
        return keyAscii;
    if (IsDigitKey(keyAscii)) {
        // One decimal place: refuse a digit behind a "." that already has its digit.
        const qsizetype point = text.indexOf(u'.') + 1; // counted from 1, 0 when none
        const bool decimalTaken = text.size() >= 2 && text[text.size() - 2] == u'.' && caretPosition >= point;
        return decimalTaken ? Refuse() : keyAscii;
    }
    if (keyAscii == '.' && !text.contains(u'.'))
        return keyAscii;
    return Refuse();
}

void setBeepHook(std::function<void()> hook) { BeepHook() = std::move(hook); }

QString SqlValueOrNull(const QVariant& value)
{
    if (IsEmptyEntry(value))
        return QStringLiteral("Null");
    // The number the entry begins with, so no text of the entry itself reaches the statement.
    return vb::NumberText(vb::Val(value));
}

QVariant ValueOrNull(const QVariant& value)
{
    if (IsEmptyEntry(value))
        return QVariant();
    return vb::CStr(value).trimmed();
}

void LoadGridColumnWidths(ColumnWidthGrid& grid)
{
    auto rs = GridRow(grid.gridName());
    if (!rs->NoMatch()) {
        const int columns = std::min(grid.columnCount(), kStoredColumns);
        for (int i = 1; i <= columns; ++i) {
            const QVariant width = rs->Fields(WidthColumn(i)).Value();
            if (!vb::IsNull(width))
                grid.setColumnWidth(i - 1, width.toInt());
        }
    }
    rs->Close();
}

void SaveGridColumnWidths(const ColumnWidthGrid& grid)
{
    auto rs = GridRow(grid.gridName());
    if (!rs->NoMatch()) {
        const int columns = std::min(grid.columnCount(), kStoredColumns);
        rs->Edit();
        for (int i = 1; i <= columns; ++i) {
            // The columns are 16-bit: a column dragged wider than that is stored at the limit.
            const int width = std::clamp(grid.columnWidth(i - 1), int(std::numeric_limits<qint16>::min()),
                                         int(std::numeric_limits<qint16>::max()));
            rs->Fields(WidthColumn(i)).setValue(width);
        }
        rs->Update();
    }
    rs->Close();
}

void FixMultiplePersonPlot()
{
    auto rs =
        gDB->OpenRecordset(QStringLiteral("SELECT * FROM CHART_MULTIPLE_PERSON_PLOT WHERE PLT_KY <> 6"), dao::dbOpenSnapshot);
    const bool folded = rs->Eof();
    rs->Close();
    if (folded)
        return;
    // Parent rows under key 6 first, then the series move to them, then the old parents go;
    // rows that would break a key or relation are skipped, the rest is done as one unit.
    dao::Transaction transaction(*gDB);
    gDB->Execute(QStringLiteral(
        "INSERT INTO MULTIPLE_PERSON_PLOT(PRSN_KY, PLT_KY) SELECT PRSN_KY, 6 FROM MULTIPLE_PERSON_PLOT WHERE PLT_KY <> 6"));
    gDB->Execute(QStringLiteral("UPDATE CHART_MULTIPLE_PERSON_PLOT SET PLT_KY = 6"));
    gDB->Execute(QStringLiteral("DELETE FROM MULTIPLE_PERSON_PLOT WHERE PLT_KY <> 6"));
    transaction.commit();
}

} // namespace modHealth
