#pragma once
// A recordset loads its rows when it is opened. An updatable one (a dynaset over a single
// table) keeps each row's rowid and writes through it: a new row stays at the end until the
// recordset is requeried, and an edited row stays even when it no longer matches the WHERE.
//
// A read-only set opened with dbFetchAsNeeded reads its first rows and counts the rest, then
// reads more as rows are asked for. It still holds the rows as they were when it was opened:
// before anything writes on the connection, the connection has it read every row left.
#include "platform/dao/RowStore.h"
#include "platform/dao/Schema.h"
#include "platform/dao/Types.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <bit>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace dao {

namespace detail {
class Connection;
class Statement;
using ConnectionPtr = std::shared_ptr<Connection>;
} // namespace detail
class Criteria;

// What a data control or a grid model needs to hear from a recordset.
class RecordsetObserver {
public:
    // RowInserted: a row read again by refreshRow now stands at `row` (the rows from there on moved
    // down by one).
    enum class Change { Reposition, RowAppended, RowChanged, RowRemoved, Requeried, Closed, RowInserted };
    virtual ~RecordsetObserver() = default;
    virtual void recordsetChanged(Change change, int row) = 0;
};

class Recordset {
public:
    Recordset(detail::ConnectionPtr connection, const QString& jetSql, int type, int options,
              QVariantList params = QVariantList());
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    QString Name() const { return sql_; }
    int Type() const { return type_; }
    bool Updatable() const { return updatable_; }
    int EditMode() const { return editMode_; }

    // EOF and BOF (EOF is a C macro, hence the names).
    bool Eof() const
    {
        if (open_ && !pending_) [[likely]]
            return rowCount_ == 0 || (!onDeleted_ && pos_ >= rowCount_);
        return otherEof();
    }
    bool Bof() const;
    int RecordCount() const { return int(count()); }
    int AbsolutePosition() const;           // 0-based, -1 without a current row
    void setAbsolutePosition(int position); // raises 3001 out of range

    void MoveFirst(); // raises 3021 when empty
    void MoveLast();  // raises 3021 when empty
    void MoveNext()   // raises 3021 at EOF
    {
        // A walk's step inline; deletions, edits, observers and the end take the long way.
        if (open_ && !onDeleted_ && editMode_ == dbEditNone && pos_ < rowCount_ && observers_.empty()) [[likely]]
            ++pos_;
        else
            moveNextOther();
    }
    void MovePrevious(); // raises 3021 at BOF

    // Jet criteria; on failure NoMatch is true and the position is unchanged.
    void FindFirst(const QString& criteria);
    void FindNext(const QString& criteria);
    void FindLast(const QString& criteria);
    void FindPrevious(const QString& criteria);
    bool NoMatch() const { return noMatch_; }

    dao::Fields Fields() const { return fields_; }
    const Field& Fields(int index) const
    {
        if (index >= 0 && std::size_t(index) < columnCount_) [[likely]]
            return fields_.items()[std::size_t(index)];
        return missingField(index);
    }
    const Field& Fields(const QString& name) const;

    void AddNew();
    void Edit();
    void Update(); // raises the engine's error and keeps the pending edit on failure
    void CancelUpdate();
    void Delete();  // no current row until the next move
    void Requery(); // runs the statement again and stands on the first row
    // Reads again the one row of the statement that also meets `criteria` (a Jet condition over
    // the statement's own tables, `values` for its '?') and puts it at `row`: in place of the row
    // there when `replace`, before it otherwise (RecordCount() appends). Without such a row a
    // replaced row leaves the set. The current row stays the same record. Returns whether a row
    // was read. For callers that know where a row they wrote belongs, instead of a requery.
    bool refreshRow(int row, bool replace, const QString& criteria, const QVariantList& values = QVariantList());
    void Close();
    bool isOpen() const { return open_; }

    void addObserver(RecordsetObserver* observer);
    void removeObserver(RecordsetObserver* observer);

    // Fast access for views: the stored value of a row and column (no pending edit).
    QVariant valueAt(int row, int column) const
    {
        if (row < rowCount_) [[likely]]
            return cellValue(store_.row(row), std::size_t(column));
        return unreadValueAt(row, column);
    }
    int columnCount() const { return int(columnCount_); }
    QString columnName(int column) const;
    int columnType(int column) const;

private:
    friend class Field;
    friend class detail::Connection;
    // The QVariant of a stored cell is made only when the cell is read (most cells of a large set
    // are never read, or read once).
    QVariant cellValue(const std::byte* row, std::size_t column) const
    {
        const qint64 v = store_.payload(row, column);
        switch (detail::RowStore::tag(row, column)) {
        case detail::RowStore::Null: return QVariant();
        case detail::RowStore::Int: return QVariant(int(v));
        case detail::RowStore::Real: return QVariant(std::bit_cast<double>(v));
        default: return otherCellValue(row, column);
        }
    }
    QVariant otherCellValue(const std::byte* row, std::size_t column) const;
    bool otherEof() const;
    void moveNextOther();

    // Inline for its common case, a stored row read, in one test; the rest tells what is wrong.
    QVariant fieldValue(int column) const
    {
        if (editMode_ == dbEditNone && open_ && !onDeleted_ && pos_ >= 0 && pos_ < rowCount_) [[likely]]
            return cellValue(store_.row(pos_), std::size_t(column));
        return otherFieldValue(column);
    }
    QVariant otherFieldValue(int column) const;
    [[noreturn]] const Field& missingField(int index) const;
    void setFieldValue(int column, const QVariant& value);

    void load();
    // The rows there are: those stored, or all of them while some are still to be read.
    qsizetype count() const { return pending_ ? expected_ : rowCount_; }
    // Reads rows while fewer than `rows` are stored and the statement has more. A failing read
    // ends the reading (the rows read so far stay) and raises.
    void readMore(qsizetype rows);
    void readRest() { readMore(std::numeric_limits<qsizetype>::max()); }
    void readThrough(qsizetype row) const; // reads up to that row and some beyond
    void endReading();
    QVariant unreadValueAt(int row, int column) const;
    void resolveTypes(qsizetype fromRow);
    int resolvedType(int column);
    void checkOpen() const;
    void checkCurrent() const;
    void checkUpdatable() const;
    void discardEdit();
    void moveTo(qsizetype position);
    void notify(RecordsetObserver::Change change, int row);
    bool find(const QString& criteria, qsizetype start, int step);
    Criteria& criteria(const QString& text);
    void readRow(void* stmt, std::byte* row, int firstColumn);
    void refetch(qint64 rowid, qsizetype row, bool append);

    detail::ConnectionPtr conn_;
    QString sql_;
    int type_;
    int options_;
    bool updatable_ = false;
    bool open_ = true;
    QByteArray selectSql_;  // the translated statement as run (with the rowid first when updatable)
    QByteArray countSql_;   // counts its rows (dbFetchAsNeeded)
    QVariantList params_;   // values of its placeholders
    int leadingParams_ = 0; // of them, those in the select list and FROM (a row's refetch binds these)
    QString table_;
    QByteArray alias_;
    QByteArray selectList_;
    QByteArray fromPart_;
    QByteArray wherePart_;

    dao::Fields fields_;
    std::size_t columnCount_ = 0;
    detail::RowStore store_;
    std::vector<int> columnTypes_; // of the fields as the set was loaded (computed ones 0)
    // Per column, the last text read and its payload: a text repeated down a column (kept once
    // by the store) is decoded once.
    mutable std::vector<std::pair<qint64, QString>> lastRead_;
    mutable QHash<QString, int> fieldByName_; // names as callers spell them
    std::vector<qint64> rowids_;
    qsizetype rowCount_ = 0;                     // stored
    std::unique_ptr<detail::Statement> pending_; // still reading rows (dbFetchAsNeeded)
    qsizetype expected_ = 0;                     // the rows it gives in all, counted at the start
    qsizetype pos_ = -1;                         // -1 BOF, count() EOF
    bool onDeleted_ = false;                     // the current row was deleted; pos_ is the row after it
    bool noMatch_ = false;

    int editMode_ = dbEditNone;
    std::vector<QVariant> buffer_;
    std::vector<bool> dirty_;
    qsizetype posBeforeAdd_ = -1;

    std::vector<RecordsetObserver*> observers_;
    QHash<QString, std::shared_ptr<Criteria>> criteria_;
};

using RecordsetPtr = std::shared_ptr<Recordset>;

} // namespace dao
