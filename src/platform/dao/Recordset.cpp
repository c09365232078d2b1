#include "platform/dao/Recordset.h"

#include "platform/dao/Connection.h"
#include "platform/dao/Criteria.h"
#include "platform/dao/Error.h"
#include "platform/dao/SchemaData.h"
#include "platform/runtime/Conversions.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <sqlite3.h>

namespace dao {

using detail::quoteIdent;
using detail::RowStore;
using detail::Statement;

namespace {

// A statement of the row writes from the connection's cache: a form saves and re-reads rows of
// one set through the same few statements, and preparing one against a table with checks and
// triggers costs more than running it. A statement that does not prepare raises as Statement does.
detail::CachedStatement cachedStatement(detail::Connection& conn, const QByteArray& sql)
{
    int rc = SQLITE_OK;
    detail::CachedStatement st = conn.prepareCached(sql, &rc);
    if (rc != SQLITE_OK)
        throw detail::mapError(conn.handle(), rc, QString::fromUtf8(sql));
    return st;
}

// Stored dates straight from their bytes, as milliseconds since the epoch (naive time, UTC):
// the hot path of loading a recordset, so no QDateTime is made until the cell is read.
std::optional<qint64> canonicalDateMs(const char* p, int n)
{
    if (n != 19 || p[4] != '-' || p[7] != '-' || p[10] != ' ' || p[13] != ':' || p[16] != ':')
        return std::nullopt;
    auto num = [p](int at, int digits) {
        int v = 0;
        for (int i = 0; i < digits; ++i) {
            const char c = p[at + i];
            if (c < '0' || c > '9')
                return -1;
            v = v * 10 + (c - '0');
        }
        return v;
    };
    const int y = num(0, 4), m = num(5, 2), d = num(8, 2);
    const int hh = num(11, 2), mm = num(14, 2), ss = num(17, 2);
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1] + (m == 2 && leap) || hh < 0 || hh > 23 || mm < 0 || mm > 59 ||
        ss < 0 || ss > 59)
        return std::nullopt;
    // Days since 1970-01-01 of the proleptic Gregorian calendar (Howard Hinnant's algorithm).
    const int yy = y - (m <= 2);
    const int era = yy / 400;
    const int yoe = yy - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const qint64 days = qint64(era) * 146097 + doe - 719468;
    return (days * 86400 + hh * 3600 + mm * 60 + ss) * 1000;
}

// A row for each of a statement's rows, to count them. Without its order and its columns,
// SQLite reads only the keys it needs and leaves out the outer joins that cannot add rows (it
// does not when asked for count(*)). An order with a limit or a value to bind stays.
QByteArray countStatement(const jetsql::Translation& tr)
{
    QByteArray rows = tr.sql;
    const QByteArray tail = tr.tailPart.trimmed().toUpper();
    if (tail.startsWith("ORDER BY") && !tail.contains("LIMIT") && !tail.contains('?') && rows.endsWith(tr.tailPart))
        rows.chop(tr.tailPart.size());
    return "SELECT 1 FROM (" + rows + ")";
}

Error noCurrentRecord() { return Error(errNoCurrentRecord, QStringLiteral("No current record.")); }

bool parseNumber(const QString& text, double& out)
{
    bool ok = false;
    out = text.trimmed().toDouble(&ok); // QString::toDouble is locale-free ("." decimal)
    return ok;
}

Error typeError(const QString& field)
{
    return Error(errTypeConversion, QStringLiteral("Data type conversion error: the value does not suit field '%1'.").arg(field));
}

// A value assigned to a field takes the field's type, as the engine converts it.
QVariant coerce(const detail::FieldData& f, const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return QVariant();
    const int vt = v.typeId();
    auto asNumber = [&]() -> double {
        if (vt == QMetaType::Bool)
            return v.toBool() ? -1.0 : 0.0;
        if (vt == QMetaType::QString) {
            double d = 0;
            if (!parseNumber(v.toString(), d))
                throw typeError(f.name);
            return d;
        }
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok)
            throw typeError(f.name);
        return d;
    };
    switch (f.type) {
    case dbBoolean: {
        if (vt == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                s.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
                return true;
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
                s.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
                return false;
        }
        return asNumber() != 0.0;
    }
    case dbByte:
    case dbInteger:
    case dbLong: {
        const double d = std::nearbyint(asNumber());
        const double lo = f.type == dbByte ? 0 : f.type == dbInteger ? -32768.0 : -2147483648.0;
        const double hi = f.type == dbByte ? 255 : f.type == dbInteger ? 32767.0 : 2147483647.0;
        if (d < lo || d > hi)
            throw Error(errOverflow, QStringLiteral("Overflow: %1 does not fit field '%2'.").arg(vb::NumberText(d), f.name));
        return int(d);
    }
    case dbSingle: return vb::CSng(asNumber());
    case dbDouble:
    case dbCurrency: return asNumber();
    case dbDate: {
        if (vt == QMetaType::QDateTime) {
            QDateTime dt = v.toDateTime();
            return QDateTime(dt.date(), QTime(dt.time().hour(), dt.time().minute(), dt.time().second()), Qt::UTC);
        }
        if (vt == QMetaType::QDate)
            return QDateTime(v.toDate(), QTime(0, 0), Qt::UTC);
        const QString s = v.toString();
        if (auto dt = jetsql::parseCanonicalDate(s))
            return *dt;
        if (auto dt = jetsql::parseDateLiteral(s))
            return *dt;
        throw typeError(f.name);
    }
    case dbText:
    case dbMemo:
        switch (vt) {
        case QMetaType::Double:
        case QMetaType::Float: return vb::NumberText(v.toDouble());
        case QMetaType::QDateTime: return jetsql::canonicalDate(v.toDateTime());
        default: return v.toString();
        }
    default: return v;
    }
}

} // namespace

Recordset::Recordset(detail::ConnectionPtr connection, const QString& jetSql, int type, int options, QVariantList params)
    : conn_(std::move(connection)), sql_(jetSql), type_(type), options_(options), params_(std::move(params))
{
    const jetsql::Translation tr = conn_->translate(jetSql);
    if (tr.kind != jetsql::StatementKind::Select)
        throw Error(3219, QStringLiteral("Invalid operation: only a SELECT statement can be opened as a recordset."));
    leadingParams_ = tr.leadingParameters;
    updatable_ = (type == dbOpenDynaset || type == dbOpenTable) && !(options & dbReadOnly) && tr.singleTable;
    selectList_ = tr.selectList;
    fromPart_ = tr.fromPart;
    wherePart_ = tr.wherePart;
    if (updatable_) {
        table_ = tr.table;
        alias_ = quoteIdent(tr.tableAlias.isEmpty() ? tr.table : tr.tableAlias);
        selectSql_ = "SELECT " + alias_ + ".rowid, " + tr.selectList + " FROM " + tr.fromPart;
        if (!tr.wherePart.isEmpty())
            selectSql_ += " WHERE " + tr.wherePart;
        if (!tr.tailPart.isEmpty())
            selectSql_ += ' ' + tr.tailPart;
    } else {
        selectSql_ = tr.sql;
        if (options & dbFetchAsNeeded)
            countSql_ = countStatement(tr);
    }
    load();
    pos_ = 0;
}

Recordset::~Recordset()
{
    if (pending_)
        conn_->removePendingRead(this);
    for (RecordsetObserver* o : std::vector<RecordsetObserver*>(observers_))
        o->recordsetChanged(RecordsetObserver::Change::Closed, -1);
}

QVariant Recordset::otherCellValue(const std::byte* row, std::size_t column) const
{
    const qint64 v = store_.payload(row, column);
    switch (RowStore::tag(row, column)) {
    case RowStore::Null: break;
    case RowStore::Bool: return QVariant(v != 0);
    case RowStore::Int: return QVariant(int(v));
    case RowStore::Int64: return QVariant(v);
    case RowStore::Real: return QVariant(std::bit_cast<double>(v));
    case RowStore::Date: return QVariant(QDateTime::fromMSecsSinceEpoch(v, Qt::UTC));
    case RowStore::Text: {
        auto& last = lastRead_[column];
        if (last.first != v) {
            const RowStore::Bytes b = RowStore::bytes(v);
            last = {v, QString::fromUtf8(b.data, b.size)};
        }
        return QVariant(last.second);
    }
    case RowStore::Blob: {
        const RowStore::Bytes b = RowStore::bytes(v);
        return QVariant(QByteArray(b.data, b.size));
    }
    }
    return QVariant();
}

void Recordset::readRow(void* raw, std::byte* row, int first)
{
    auto* st = static_cast<sqlite3_stmt*>(raw);
    for (std::size_t i = 0; i < columnCount_; ++i) {
        const int col = first + int(i);
        // The value once, then its readers, which skip the statement's checks per call (the
        // connection is used by one thread at a time).
        sqlite3_value* value = sqlite3_column_value(st, col);
        const int t = sqlite3_value_type(value);
        if (t == SQLITE_NULL) {
            store_.set(row, i, RowStore::Null, 0);
            continue;
        }
        // The bytes are asked for after the text or blob, as SQLite wants it.
        auto put = [&](RowStore::Tag tag, const void* p) {
            store_.set(row, i, tag, store_.putBytes(i, static_cast<const char*>(p), sqlite3_value_bytes(value)));
        };
        auto whole = [&](qint64 v) { store_.set(row, i, v >= INT_MIN && v <= INT_MAX ? RowStore::Int : RowStore::Int64, v); };
        auto real = [&](double d) { store_.set(row, i, RowStore::Real, std::bit_cast<qint64>(d)); };
        // A canonical date text is a date; any other text stays text.
        auto dateOrText = [&]() {
            const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(value));
            const int bytes = sqlite3_value_bytes(value);
            if (auto ms = canonicalDateMs(p, bytes))
                store_.set(row, i, RowStore::Date, *ms);
            else
                store_.set(row, i, RowStore::Text, store_.putBytes(i, p, bytes));
        };
        switch (columnTypes_[i]) {
        case dbBoolean: store_.set(row, i, RowStore::Bool, sqlite3_value_double(value) != 0.0); break;
        case dbByte:
        case dbInteger:
        case dbLong:
            if (t == SQLITE_FLOAT) {
                // A real in an integer column (a file written by another program) reads as the
                // engine converts it, rounded half to even; one out of any integer's range stays
                // the number it is.
                const double d = std::nearbyint(sqlite3_value_double(value));
                if (d >= double(INT_MIN) && d <= double(INT_MAX))
                    whole(qint64(d));
                else
                    real(d);
            } else {
                store_.set(row, i, RowStore::Int, int(sqlite3_value_int64(value)));
            }
            break;
        case dbSingle:
        case dbDouble:
        case dbCurrency: real(sqlite3_value_double(value)); break;
        case dbDate: dateOrText(); break;
        case dbText:
        case dbMemo: put(RowStore::Text, sqlite3_value_text(value)); break;
        default:
            // A computed column: its value decides its type.
            if (t == SQLITE_INTEGER)
                whole(sqlite3_value_int64(value));
            else if (t == SQLITE_FLOAT)
                real(sqlite3_value_double(value));
            else if (t == SQLITE_TEXT)
                dateOrText();
            else
                put(RowStore::Blob, sqlite3_value_blob(value));
            break;
        }
    }
}

void Recordset::load()
{
    if (pending_)
        endReading();
    auto owned = std::make_unique<Statement>(conn_->handle(), selectSql_);
    Statement& st = *owned;
    detail::checkParameterCount(st.get(), int(params_.size()));
    detail::bindValues(st.get(), params_, 0, int(params_.size()));
    const int first = updatable_ ? 1 : 0;
    const int total = st.columnCount();
    if (fields_.Count() == 0) {
        columnCount_ = std::size_t(std::max(0, total - first));
        for (int i = first; i < total; ++i) {
            auto fd = std::make_shared<detail::FieldData>();
            fd->name = QString::fromUtf8(sqlite3_column_name(st.get(), i));
            int size = 0;
            const char* decl = sqlite3_column_decltype(st.get(), i);
            fd->type = decl ? detail::typeFromDeclared(QByteArray(decl), &size) : 0;
            fd->size = size > 0 ? size : detail::defaultSizeOf(fd->type);
            if (const char* t = sqlite3_column_table_name(st.get(), i))
                fd->sourceTable = QString::fromUtf8(t);
            if (const char* o = sqlite3_column_origin_name(st.get(), i))
                fd->sourceField = QString::fromUtf8(o);
            fd->updatable = updatable_ && !fd->sourceField.isEmpty() && fd->sourceTable.compare(table_, Qt::CaseInsensitive) == 0;
            fd->ordinal = i - first;
            fields_.items().push_back(Field(fd, this, i - first));
        }
    }
    columnTypes_.resize(columnCount_);
    for (std::size_t c = 0; c < columnCount_; ++c)
        columnTypes_[c] = fields_.items()[c].impl()->type;
    store_.reset(columnCount_);
    lastRead_.assign(columnCount_, {});
    rowids_.clear();
    rowCount_ = 0; // counted row by row, so that a failing step leaves the rows read so far
    // A view shows a screenful: the first rows are read now, the rest when asked for.
    constexpr qsizetype kFirstRows = 256;
    const bool asNeeded = (options_ & dbFetchAsNeeded) && !updatable_;
    const qsizetype firstRows = asNeeded ? kFirstRows : std::numeric_limits<qsizetype>::max();
    bool more = false;
    while (!more && st.step()) {
        if (updatable_)
            rowids_.push_back(sqlite3_column_int64(st.get(), 0));
        readRow(st.get(), store_.appendRow(), first);
        ++rowCount_;
        more = rowCount_ == firstRows;
    }
    if (more) {
        try {
            Statement counting(conn_->handle(), countSql_);
            detail::bindValues(counting.get(), params_, 0, int(params_.size()));
            expected_ = 0;
            while (counting.step())
                ++expected_;
        } catch (const Error&) {
            expected_ = -1; // a statement that cannot be counted is read whole
        }
        if (expected_ > rowCount_ || expected_ < 0) {
            pending_ = std::move(owned);
            conn_->addPendingRead(this);
            if (expected_ < 0)
                readRest();
        }
    }
    resolveTypes(0);
}

void Recordset::readMore(qsizetype rows)
{
    const qsizetype from = rowCount_;
    try {
        while (pending_ && rowCount_ < rows) {
            if (!pending_->step()) {
                endReading();
                break;
            }
            readRow(pending_->get(), store_.appendRow(), 0);
            ++rowCount_;
        }
    } catch (...) {
        endReading();
        resolveTypes(from);
        throw;
    }
    resolveTypes(from);
}

void Recordset::readThrough(qsizetype row) const
{
    // A view scrolls on: the rows after the one asked for are read with it.
    constexpr qsizetype kReadAhead = 512;
    if (pending_ && row >= rowCount_)
        const_cast<Recordset*>(this)->readMore(row + 1 + kReadAhead); // reading on is no change a caller can see
}

void Recordset::endReading()
{
    pending_.reset();
    conn_->removePendingRead(this);
    // The count and the rows can differ only for a statement whose rows change from one run to
    // the next (a clock or a random number in it): the rows read are the set.
    expected_ = rowCount_;
    for (std::size_t c = 0; c < columnCount_; ++c)
        columnTypes_[c] = fields_.items()[c].impl()->type;
}

QVariant Recordset::unreadValueAt(int row, int column) const
{
    if (row < 0 || !pending_)
        return QVariant();
    // A view asks while it paints, where nothing may raise: a row that cannot be read shows
    // empty, and the set ends at the rows read (the error is raised again by a requery).
    try {
        readThrough(row);
    } catch (const Error&) {
    }
    return row < rowCount_ ? cellValue(store_.row(row), std::size_t(column)) : QVariant();
}

int Recordset::resolvedType(int column)
{
    if (pending_ && column >= 0 && std::size_t(column) < columnCount_ && fields_.items()[std::size_t(column)].impl()->type == 0)
        readRest();
    return column >= 0 && std::size_t(column) < columnCount_ ? fields_.items()[std::size_t(column)].impl()->type : 0;
}

void Recordset::resolveTypes(qsizetype fromRow)
{
    // Computed columns take the type of their first value.
    for (std::size_t c = 0; c < columnCount_; ++c) {
        detail::FieldData& f = *fields_.items()[c].impl();
        if (f.type != 0)
            continue;
        for (qsizetype r = fromRow; r < rowCount_; ++r) {
            const RowStore::Tag tag = RowStore::tag(store_.row(r), c);
            if (tag == RowStore::Null)
                continue;
            switch (tag) {
            case RowStore::Int:
            case RowStore::Int64: f.type = dbLong; break;
            case RowStore::Real: f.type = dbDouble; break;
            case RowStore::Date: f.type = dbDate; break;
            default: f.type = dbText; break;
            }
            break;
        }
        // Rows read again later take that type, as the field reports it; rows still to be read
        // for the first time are read as the first ones were.
        if (!pending_)
            columnTypes_[c] = f.type;
    }
}

const Field& Recordset::missingField(int index) const
{
    throw Error(errItemNotFound, QStringLiteral("Item '%1' not found in this collection.").arg(index));
}

const Field& Recordset::Fields(const QString& name) const
{
    // Loops read the same few names row after row: each spelling is looked up once.
    if (const auto it = fieldByName_.constFind(name); it != fieldByName_.cend())
        return fields_.items()[std::size_t(*it)];
    const int i = fields_.indexOf(name);
    if (i < 0)
        throw Error(errItemNotFound, QStringLiteral("Item '%1' not found in this collection.").arg(name));
    if (fieldByName_.size() >= 256)
        fieldByName_.clear();
    fieldByName_.insert(name, i);
    return fields_.items()[std::size_t(i)];
}

QString Recordset::columnName(int column) const { return fields_(column).Name(); }
// For views: a computed column still without a value in the rows read so far has no type yet
// (a view shows it as text), rather than having every row read at once.
int Recordset::columnType(int column) const { return fields_(column).impl()->type; }

void Recordset::checkOpen() const
{
    if (!open_)
        throw Error(errObjectClosed, QStringLiteral("Object invalid or no longer set: the recordset is closed."));
}

void Recordset::checkCurrent() const
{
    checkOpen();
    if (onDeleted_)
        throw Error(errRecordDeleted, QStringLiteral("Record is deleted."));
    if (pos_ < 0 || pos_ >= count())
        throw noCurrentRecord();
}

void Recordset::checkUpdatable() const
{
    checkOpen();
    if (!updatable_)
        throw Error(errReadOnlyRecordset, QStringLiteral("Cannot update. The database or the object is read-only."));
}

bool Recordset::otherEof() const
{
    checkOpen();
    return count() == 0 || (!onDeleted_ && pos_ >= count());
}

bool Recordset::Bof() const
{
    checkOpen();
    return count() == 0 || (!onDeleted_ && pos_ < 0);
}

int Recordset::AbsolutePosition() const
{
    if (!open_ || onDeleted_ || pos_ < 0 || pos_ >= count())
        return -1;
    return int(pos_);
}

void Recordset::setAbsolutePosition(int position)
{
    checkOpen();
    if (position < 0 || position >= count())
        throw Error(errInvalidArgument, QStringLiteral("Invalid argument: there is no row %1.").arg(position));
    discardEdit();
    moveTo(position);
}

void Recordset::discardEdit()
{
    editMode_ = dbEditNone;
    buffer_.clear();
    dirty_.clear();
}

void Recordset::notify(RecordsetObserver::Change change, int row)
{
    if (observers_.empty())
        return;
    for (RecordsetObserver* o : std::vector<RecordsetObserver*>(observers_))
        o->recordsetChanged(change, row);
}

void Recordset::moveTo(qsizetype position)
{
    pos_ = position;
    onDeleted_ = false;
    notify(RecordsetObserver::Change::Reposition, AbsolutePosition());
}

void Recordset::MoveFirst()
{
    checkOpen();
    discardEdit();
    if (count() == 0)
        throw noCurrentRecord();
    moveTo(0);
}

void Recordset::MoveLast()
{
    checkOpen();
    discardEdit();
    readRest();
    if (rowCount_ == 0)
        throw noCurrentRecord();
    moveTo(rowCount_ - 1);
}

void Recordset::moveNextOther()
{
    checkOpen();
    discardEdit();
    if (onDeleted_) {
        moveTo(std::min(pos_, rowCount_));
        return;
    }
    if (count() == 0 || pos_ >= count())
        throw noCurrentRecord();
    moveTo(pos_ + 1);
}

void Recordset::MovePrevious()
{
    checkOpen();
    discardEdit();
    if (onDeleted_) {
        moveTo(std::max<qsizetype>(pos_ - 1, -1));
        return;
    }
    if (count() == 0 || pos_ < 0)
        throw noCurrentRecord();
    moveTo(pos_ - 1);
}

Criteria& Recordset::criteria(const QString& text)
{
    auto it = criteria_.find(text);
    if (it != criteria_.end())
        return **it;
    auto c = std::make_shared<Criteria>(text);
    c->bind([this](const QString& name) { return fields_.indexOf(name); });
    if (criteria_.size() > 64)
        criteria_.clear();
    criteria_.insert(text, c);
    return *c;
}

bool Recordset::find(const QString& text, qsizetype start, int step)
{
    checkOpen();
    discardEdit();
    const Criteria& c = criteria(text);
    qsizetype row = start;
    const auto valueOf = [this, &row](int col) -> QVariant { return cellValue(store_.row(row), std::size_t(col)); };
    for (; row >= 0 && row < rowCount_; row += step) {
        if (c.matches(valueOf)) {
            noMatch_ = false;
            moveTo(row);
            return true;
        }
    }
    noMatch_ = true;
    return false;
}

// A search reads every row first: it may have to look at them all.
void Recordset::FindFirst(const QString& c)
{
    readRest();
    find(c, 0, 1);
}

void Recordset::FindLast(const QString& c)
{
    readRest();
    find(c, rowCount_ - 1, -1);
}

void Recordset::FindNext(const QString& c)
{
    readRest();
    find(c, onDeleted_ ? pos_ : std::max<qsizetype>(pos_ + 1, 0), 1);
}

void Recordset::FindPrevious(const QString& c)
{
    readRest();
    find(c, std::min(pos_ - 1, rowCount_ - 1), -1);
}

QVariant Recordset::otherFieldValue(int column) const
{
    checkOpen();
    if (editMode_ != dbEditNone)
        return buffer_[std::size_t(column)];
    checkCurrent();
    readThrough(pos_);
    if (pos_ >= rowCount_)
        throw noCurrentRecord(); // fewer rows than counted
    return cellValue(store_.row(pos_), std::size_t(column));
}

void Recordset::setFieldValue(int column, const QVariant& value)
{
    checkOpen();
    if (editMode_ == dbEditNone)
        throw Error(errUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const detail::FieldData& f = *fields_.items()[std::size_t(column)].impl();
    if (!f.updatable)
        throw Error(3164, QStringLiteral("The field '%1' cannot be updated.").arg(f.name));
    buffer_[std::size_t(column)] = coerce(f, value);
    dirty_[std::size_t(column)] = true;
}

void Recordset::AddNew()
{
    checkUpdatable();
    discardEdit();
    posBeforeAdd_ = pos_;
    buffer_.assign(columnCount_, QVariant());
    dirty_.assign(columnCount_, false);
    editMode_ = dbEditAdd;
}

void Recordset::Edit()
{
    checkUpdatable();
    checkCurrent();
    discardEdit();
    buffer_.resize(columnCount_);
    for (std::size_t c = 0; c < columnCount_; ++c)
        buffer_[c] = cellValue(store_.row(pos_), c);
    dirty_.assign(columnCount_, false);
    editMode_ = dbEditInProgress;
}

void Recordset::CancelUpdate()
{
    checkOpen();
    discardEdit();
}

void Recordset::Update()
{
    checkOpen();
    if (editMode_ == dbEditNone)
        throw Error(errUpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    sqlite3* db = conn_->handle();
    const QByteArray table = quoteIdent(table_);
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < columnCount_; ++i)
        if (dirty_[i])
            changed.push_back(i);
    auto column = [this](std::size_t i) { return quoteIdent(fields_.items()[i].impl()->sourceField); };

    if (editMode_ == dbEditInProgress) {
        if (changed.empty()) {
            discardEdit();
            return;
        }
        QByteArray set;
        for (std::size_t k = 0; k < changed.size(); ++k)
            set += (k ? ", " : "") + column(changed[k]) + " = ?";
        detail::CachedStatement st = cachedStatement(*conn_, "UPDATE " + table + " SET " + set + " WHERE rowid = ?");
        for (std::size_t k = 0; k < changed.size(); ++k)
            st.bind(int(k) + 1, buffer_[changed[k]]);
        st.bindInt64(int(changed.size()) + 1, rowids_[std::size_t(pos_)]);
        st.step(); // raises, keeping the pending edit
        const qint64 rowid = rowids_[std::size_t(pos_)];
        discardEdit();
        refetch(rowid, pos_, false);
        notify(RecordsetObserver::Change::RowChanged, int(pos_));
        return;
    }

    QByteArray cols, marks;
    for (std::size_t k = 0; k < changed.size(); ++k) {
        cols += (k ? ", " : "") + column(changed[k]);
        marks += k ? ", ?" : "?";
    }
    detail::CachedStatement st =
        cachedStatement(*conn_, changed.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                                : "INSERT INTO " + table + " (" + cols + ") VALUES (" + marks + ")");
    for (std::size_t k = 0; k < changed.size(); ++k)
        st.bind(int(k) + 1, buffer_[changed[k]]);
    st.step();
    const qint64 rowid = sqlite3_last_insert_rowid(db);
    const qsizetype before = posBeforeAdd_;
    discardEdit();
    refetch(rowid, rowCount_, true);
    pos_ = before; // the current row stays where it was; the new row waits at the end
    notify(RecordsetObserver::Change::RowAppended, int(rowCount_ - 1));
}

void Recordset::refetch(qint64 rowid, qsizetype row, bool append)
{
    detail::CachedStatement st = cachedStatement(*conn_, "SELECT " + alias_ + ".rowid, " + selectList_ + " FROM " + fromPart_ +
                                                             " WHERE " + alias_ + ".rowid = ?");
    detail::bindValues(st.get(), params_, 0, leadingParams_);
    st.bindInt64(leadingParams_ + 1, rowid);
    std::vector<std::byte> fresh(store_.rowBytes());
    if (st.step()) {
        readRow(st.get(), fresh.data(), 1);
    } else {
        for (std::size_t c = 0; c < columnCount_; ++c)
            store_.set(fresh.data(), c, RowStore::Null, 0);
    }
    if (append) {
        store_.insertRow(rowCount_, fresh.data());
        rowids_.push_back(rowid);
        ++rowCount_;
    } else {
        store_.replaceRow(row, fresh.data());
    }
}

void Recordset::Delete()
{
    checkUpdatable();
    checkCurrent();
    discardEdit();
    detail::CachedStatement st = cachedStatement(*conn_, "DELETE FROM " + quoteIdent(table_) + " WHERE rowid = ?");
    st.bindInt64(1, rowids_[std::size_t(pos_)]);
    st.step();
    store_.eraseRow(pos_);
    rowids_.erase(rowids_.begin() + pos_);
    --rowCount_;
    onDeleted_ = true;
    notify(RecordsetObserver::Change::RowRemoved, int(pos_));
}

namespace {

// '?' placeholders of translated SQL, those inside quotes left out.
int placeholdersIn(const QByteArray& sql)
{
    int count = 0;
    char quote = 0;
    for (const char c : sql) {
        if (quote)
            quote = c == quote ? 0 : quote; // a doubled quote closes and opens again
        else if (c == '\'' || c == '"')
            quote = c;
        else
            count += c == '?';
    }
    return count;
}

} // namespace

bool Recordset::refreshRow(int row, bool replace, const QString& criteria, const QVariantList& values)
{
    checkOpen();
    readRest();
    if (row < 0 || row > rowCount_ - (replace ? 1 : 0))
        throw Error(errInvalidArgument, QStringLiteral("Invalid argument: there is no row %1.").arg(row));
    if (fromPart_.isEmpty())
        throw Error(3219, QStringLiteral("Invalid operation: the recordset reads no table."));
    const jetsql::Translation& condition = conn_->translate(QStringLiteral("SELECT 1 FROM t WHERE ") + criteria);
    QByteArray sql =
        "SELECT " + (updatable_ ? alias_ + ".rowid, " : QByteArray()) + selectList_ + " FROM " + fromPart_ + " WHERE ";
    sql += wherePart_.isEmpty() ? "(" + condition.wherePart + ")" : "(" + wherePart_ + ") AND (" + condition.wherePart + ")";
    // The statement's own values of its select list, FROM and WHERE, then the condition's.
    const int own = leadingParams_ + placeholdersIn(wherePart_);
    if (own > params_.size())
        throw Error(3219, QStringLiteral("Invalid operation: the recordset's values do not fit its statement."));
    QVariantList all = params_.mid(0, own);
    all += values;
    Statement st(conn_->handle(), sql);
    detail::checkParameterCount(st.get(), int(all.size()));
    detail::bindValues(st.get(), all, 0, int(all.size()));
    std::vector<std::byte> fresh;
    qint64 rowid = 0;
    if (st.step()) {
        if (updatable_)
            rowid = sqlite3_column_int64(st.get(), 0);
        fresh.resize(store_.rowBytes());
        readRow(st.get(), fresh.data(), updatable_ ? 1 : 0);
    }
    if (fresh.empty()) {
        if (!replace)
            return false;
        discardEdit();
        store_.eraseRow(row);
        if (updatable_)
            rowids_.erase(rowids_.begin() + row);
        --rowCount_;
        if (pos_ > row)
            --pos_;
        else if (pos_ == row)
            onDeleted_ = true;
        notify(RecordsetObserver::Change::RowRemoved, row);
        return false;
    }
    if (replace) {
        store_.replaceRow(row, fresh.data());
        if (updatable_)
            rowids_[std::size_t(row)] = rowid;
        notify(RecordsetObserver::Change::RowChanged, row);
        return true;
    }
    store_.insertRow(row, fresh.data());
    if (updatable_)
        rowids_.insert(rowids_.begin() + row, rowid);
    ++rowCount_;
    if (pos_ >= row)
        ++pos_;
    notify(RecordsetObserver::Change::RowInserted, row);
    return true;
}

void Recordset::Requery()
{
    checkOpen();
    discardEdit();
    load();
    pos_ = 0;
    onDeleted_ = false;
    noMatch_ = false;
    notify(RecordsetObserver::Change::Requeried, -1);
}

void Recordset::Close()
{
    if (!open_)
        return;
    open_ = false;
    discardEdit();
    if (pending_)
        endReading();
    store_.reset(0);
    lastRead_.clear();
    rowids_.clear();
    rowCount_ = 0;
    notify(RecordsetObserver::Change::Closed, -1);
}

void Recordset::addObserver(RecordsetObserver* observer)
{
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Recordset::removeObserver(RecordsetObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

} // namespace dao
