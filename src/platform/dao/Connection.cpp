#include "platform/dao/Connection.h"

#include "platform/dao/Recordset.h"
#include "platform/dao/Types.h"

#include <QByteArrayView>
#include <QDateTime>
#include <cstring>
#include <sqlite3.h>

namespace dao::detail {

namespace {

constexpr qsizetype kTranslationCacheLimit = 512;
constexpr qsizetype kShapeCacheLimit = 256;
constexpr qsizetype kStatementCacheLimit = 64;

QString sqliteMessage(sqlite3* db) { return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString(); }

// "CHECK constraint failed: len:PERSON.PRSN_NM" -> kind "len", object "PERSON.PRSN_NM".
bool splitCheckName(const QString& message, QString& kind, QString& object)
{
    const int colon = message.indexOf(QLatin1String("failed: "));
    if (colon < 0)
        return false;
    const QString name = message.mid(colon + 8).trimmed();
    const int sep = name.indexOf(QLatin1Char(':'));
    if (sep < 0)
        return false;
    kind = name.left(sep);
    object = name.mid(sep + 1);
    return true;
}

Error duplicateKey(const QString& object)
{
    return Error(errDuplicateKey, QStringLiteral("The changes were not made because they would create duplicate values in "
                                                 "the index or primary key (%1).")
                                      .arg(object));
}

QString fieldOnly(const QString& object)
{
    const int dot = object.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? object : object.mid(dot + 1);
}

} // namespace

Connection::Connection(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}

Connection::~Connection() { close(); }

sqlite3* Connection::handle() const
{
    if (!db_)
        throw Error(errObjectClosed, QStringLiteral("Object invalid or no longer set: the database is closed."));
    return db_;
}

void Connection::close()
{
    if (!db_)
        return;
    // A set that cannot read on keeps the rows it has (its reading ends all the same); the
    // others still read theirs, and the file closes.
    while (!pendingReads_.empty()) {
        try {
            pendingReads_.back()->readRest();
        } catch (const Error&) {
        }
    }
    // Unfinalized statements would keep the file open after the close (a compacted or copied
    // file could then not be replaced).
    finalizeIdleStatements();
    if (transactionDepth > 0)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    transactionDepth = 0;
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Connection::syncTransactionState()
{
    if (db_ && transactionDepth > 0 && sqlite3_get_autocommit(db_))
        transactionDepth = 0;
}

void Connection::addPendingRead(Recordset* set) { pendingReads_.push_back(set); }

void Connection::removePendingRead(Recordset* set) { std::erase(pendingReads_, set); }

void Connection::settleReads()
{
    // Each set leaves the list as it ends its reading; a failure leaves the rest waiting.
    while (!pendingReads_.empty())
        pendingReads_.back()->readRest();
}

void Connection::settleBefore(sqlite3_stmt* stmt)
{
    if (!pendingReads_.empty() && stmt && !sqlite3_stmt_readonly(stmt))
        settleReads();
}

void Connection::exec(const QByteArray& sql)
{
    settleReads();
    char* msg = nullptr;
    const int rc = sqlite3_exec(handle(), sql.constData(), nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        syncTransactionState();
        const QString text = msg ? QString::fromUtf8(msg) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(msg);
        throw mapError(db_, sqlite3_extended_errcode(db_), text, QString::fromUtf8(sql));
    }
}

namespace {

bool sameLiterals(const jetsql::Translation& tr, const std::vector<jetsql::Translation::Literal>& literals,
                  const QByteArray& text)
{
    using Literal = jetsql::Translation::Literal;
    if (tr.literals.size() != literals.size())
        return false;
    for (std::size_t i = 0; i < literals.size(); ++i) {
        const Literal& a = tr.literals[i];
        const Literal& b = literals[i];
        if (a.kind != b.kind)
            return false;
        switch (a.kind) {
        case Literal::Integer:
            if (a.integer != b.integer)
                return false;
            break;
        case Literal::Real:
            if (std::memcmp(&a.real, &b.real, sizeof a.real) != 0)
                return false;
            break;
        case Literal::Text:
            if (QByteArrayView(tr.literalText).sliced(a.offset, a.size) != QByteArrayView(text).sliced(b.offset, b.size))
                return false;
            break;
        }
    }
    return true;
}

// One entry out, not all: a full cache stays warm.
template <typename Hash>
void makeRoom(Hash& hash, qsizetype limit)
{
    if (hash.size() >= limit)
        hash.erase(hash.begin());
}

} // namespace

const jetsql::Translation& Connection::translate(const QString& jetSql)
{
    // The values' buffer of the last text goes back to the reader: rows of one shape then
    // take turns with two buffers instead of allocating one each.
    if (scratch_.literalText.isDetached())
        reader_.literalText.swap(scratch_.literalText);
    if (reader_.read(jetSql)) {
        const auto known = shapes_.constFind(reader_.shape);
        if (known != shapes_.constEnd() && known->usable) {
            scratch_ = known->translation;
            scratch_.literals.assign(reader_.literals.begin(), reader_.literals.end());
            scratch_.literalText.swap(reader_.literalText);
            return scratch_;
        }
        if (known == shapes_.constEnd()) {
            scratch_ = jetsql::translate(jetSql, true);
            // The first text of a shape shows whether the shape's values are read as the
            // translator reads them; a shape that is not stays unused.
            Shape entry{scratch_, sameLiterals(scratch_, reader_.literals, reader_.literalText)};
            entry.translation.literals.clear();
            entry.translation.literalText.clear();
            makeRoom(shapes_, kShapeCacheLimit);
            shapes_.insert(reader_.shape, std::move(entry));
            return scratch_;
        }
    }
    const auto it = cache_.constFind(jetSql);
    if (it != cache_.constEnd())
        return *it;
    jetsql::Translation tr = jetsql::translate(jetSql, true);
    if (!tr.literals.empty()) {
        // Values written into the text: a text not likely to come again.
        scratch_ = std::move(tr);
        return scratch_;
    }
    makeRoom(cache_, kTranslationCacheLimit);
    return *cache_.insert(jetSql, std::move(tr));
}

CachedStatement Connection::prepareCached(const QByteArray& sql, int* rc)
{
    sqlite3* db = handle();
    if (rc)
        *rc = SQLITE_OK;
    CachedStatement lease;
    lease.conn_ = this;
    const auto found = statementIndex_.constFind(sql);
    if (found != statementIndex_.constEnd() && !(*found)->inUse) {
        const CacheList::iterator entry = *found;
        statements_.splice(statements_.begin(), statements_, entry);
        entry->inUse = true;
        lease.stmt_ = entry->stmt;
        lease.cached_ = true;
        lease.entry_ = entry;
        settleBefore(lease.stmt_);
        return lease;
    }
    const int prepared = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &lease.stmt_, nullptr);
    if (prepared != SQLITE_OK) {
        if (rc)
            *rc = prepared;
        sqlite3_finalize(lease.stmt_);
        lease.stmt_ = nullptr;
        return lease;
    }
    settleBefore(lease.stmt_);
    if (!lease.stmt_ || found != statementIndex_.constEnd())
        return lease; // nothing to run, or the cached one is busy: this one is finalized after use
    if (statements_.size() >= std::size_t(kStatementCacheLimit)) {
        for (auto it = statements_.end(); it != statements_.begin();) {
            --it;
            if (!it->inUse) {
                statementIndex_.remove(it->sql);
                sqlite3_finalize(it->stmt);
                statements_.erase(it);
                break;
            }
        }
    }
    statements_.push_front(CacheEntry{sql, lease.stmt_, true});
    statementIndex_.insert(sql, statements_.begin());
    lease.cached_ = true;
    lease.entry_ = statements_.begin();
    return lease;
}

void Connection::release(CacheList::iterator entry)
{
    entry->inUse = false;
    if (db_) {
        // A reset statement holds no lock and no read transaction, and its values are let go.
        sqlite3_reset(entry->stmt);
        sqlite3_clear_bindings(entry->stmt);
        return;
    }
    // The connection was closed while this statement ran.
    statementIndex_.remove(entry->sql);
    sqlite3_finalize(entry->stmt);
    statements_.erase(entry);
}

void Connection::finalizeIdleStatements()
{
    for (auto it = statements_.begin(); it != statements_.end();) {
        if (it->inUse) {
            ++it;
            continue;
        }
        statementIndex_.remove(it->sql);
        sqlite3_finalize(it->stmt);
        it = statements_.erase(it);
    }
}

CachedStatement::CachedStatement(CachedStatement&& other) noexcept
    : conn_(other.conn_), stmt_(other.stmt_), cached_(other.cached_), entry_(other.entry_)
{
    other.stmt_ = nullptr;
    other.cached_ = false;
}

CachedStatement::~CachedStatement()
{
    if (cached_)
        conn_->release(entry_);
    else
        sqlite3_finalize(stmt_);
}

void CachedStatement::bind(int index, const QVariant& value) { bindValue(stmt_, index, value); }

void CachedStatement::bindInt64(int index, qint64 value) { sqlite3_bind_int64(stmt_, index, value); }

bool CachedStatement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3* db = sqlite3_db_handle(stmt_);
    throw mapError(db, sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_sql(stmt_)));
}

int CachedStatement::columnCount() const { return sqlite3_column_count(stmt_); }

Statement::Statement(sqlite3* db, const QByteArray& sql) : db_(db)
{
    const int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        Error e = mapError(db, rc, QString::fromUtf8(sql));
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw e;
    }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::bindInt64(int index, qint64 value) { sqlite3_bind_int64(stmt_, index, value); }

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (value.isNull() || !value.isValid()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool: sqlite3_bind_int(stmt, index, value.toBool() ? -1 : 0); break;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::ULong: sqlite3_bind_int64(stmt, index, value.toLongLong()); break;
    case QMetaType::Double:
    case QMetaType::Float: sqlite3_bind_double(stmt, index, value.toDouble()); break;
    case QMetaType::QDateTime: {
        const QByteArray text = jetsql::canonicalDateUtf8(value.toDateTime());
        sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QDate: {
        const QByteArray text = jetsql::canonicalDateUtf8(QDateTime(value.toDate(), QTime(0, 0), Qt::UTC));
        sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

void Statement::bind(int index, const QVariant& value) { bindValue(stmt_, index, value); }

void bindValues(sqlite3_stmt* stmt, const QVariantList& values, int from, int count, int firstIndex)
{
    for (int i = 0; i < count; ++i)
        bindValue(stmt, firstIndex + i, values[from + i]);
}

void checkParameterCount(sqlite3_stmt* stmt, int expected)
{
    const int wanted = sqlite3_bind_parameter_count(stmt);
    if (wanted != expected)
        throw Error(errTooFewParameters, wanted > expected
                                             ? QStringLiteral("Too few parameters. Expected %1.").arg(wanted)
                                             : QStringLiteral("Too many parameters: the statement has %1.").arg(wanted));
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw mapError(db_, sqlite3_extended_errcode(db_), QString::fromUtf8(sqlite3_sql(stmt_)));
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

Error mapError(sqlite3* db, int rc, const QString& context) { return mapError(db, rc, sqliteMessage(db), context); }

bool isDamaged(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    bool queryOnly = false;
    if (db && sqlite3_prepare_v2(db, "PRAGMA query_only", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        queryOnly = sqlite3_column_int(st, 0) != 0;
    sqlite3_finalize(st);
    return queryOnly;
}

Error mapError(sqlite3* db, int rc, const QString& message, const QString& context)
{
    const int primary = rc & 0xff;
    if (db && (primary == SQLITE_CORRUPT || (primary == SQLITE_READONLY && isDamaged(db)))) {
        // Whatever is written to a damaged file may spread the damage; the user's copy of it is
        // worth more as it stands.
        sqlite3_exec(db, "PRAGMA query_only=1", nullptr, nullptr, nullptr);
        const char* file = sqlite3_db_filename(db, "main");
        return Error(errDamaged, QStringLiteral("The database file '%1' is damaged. Nothing more will be written to it; "
                                                "replace it with a backup copy.")
                                     .arg(file ? QString::fromUtf8(file) : context));
    }
    return mapError(rc, message, context);
}

Error mapError(int rc, const QString& message, const QString& context)
{
    const int primary = rc & 0xff;
    QString kind;
    QString object;
    switch (rc) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_ROWID: return duplicateKey(message.section(QLatin1String(": "), 1));
    case SQLITE_CONSTRAINT_NOTNULL:
        return Error(errRequired, QStringLiteral("The field '%1' cannot contain a Null value because its Required "
                                                 "property is set to True.")
                                      .arg(message.section(QLatin1String(": "), 1)));
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        return Error(errRelatedRecordRequired,
                     QStringLiteral("A record cannot be added or changed because a related record is required."));
    case SQLITE_CONSTRAINT_TRIGGER: {
        // The engine's own triggers raise "<number>|<table>" (the relations) or
        // "<number>|<table>.<column>" (names equal but for letter case); a trigger someone else
        // put into the file refuses with its own words, which are the ones to show.
        const int bar = message.indexOf(QLatin1Char('|'));
        const int number = bar > 0 ? message.left(bar).toInt() : 0;
        const QString object = message.mid(bar + 1);
        switch (number) {
        case errRelatedRecordsExist:
            return Error(errRelatedRecordsExist,
                         QStringLiteral("The record cannot be deleted or changed because table '%1' includes "
                                        "related records.")
                             .arg(object));
        case errRelatedRecordRequired:
            return Error(errRelatedRecordRequired,
                         QStringLiteral("A record cannot be added or changed because a related record is required "
                                        "in table '%1'.")
                             .arg(object));
        case errDuplicateKey: return duplicateKey(object);
        default: return Error(errRangeRule, message);
        }
    }
    case SQLITE_CONSTRAINT_CHECK:
        if (splitCheckName(message, kind, object)) {
            if (kind == QLatin1String("zl"))
                return Error(errZeroLength, QStringLiteral("Field '%1' cannot be a zero-length string.").arg(object));
            if (kind == QLatin1String("len"))
                return Error(errFieldTooSmall, QStringLiteral("The field '%1' is too small to accept the amount of data you "
                                                              "attempted to add.")
                                                   .arg(object));
            if (kind == QLatin1String("rng"))
                return Error(errNumericOverflow, QStringLiteral("Numeric field overflow in field '%1'.").arg(object));
            if (kind == QLatin1String("req"))
                return Error(errRequired, QStringLiteral("The field '%1' cannot contain a Null value because its "
                                                         "Required property is set to True.")
                                              .arg(object));
            if (kind == QLatin1String("typ") || kind == QLatin1String("dt"))
                return Error(errTypeConversion,
                             QStringLiteral("Data type conversion error in field '%1'.").arg(fieldOnly(object)));
        }
        return Error(errRangeRule, QStringLiteral("A value breaks a validation rule: %1").arg(message));
    default: break;
    }
    switch (primary) {
    case SQLITE_CONSTRAINT: return Error(errRangeRule, QStringLiteral("A value breaks a rule of the table: %1").arg(message));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Error(errLocked, QStringLiteral("Could not update; the database is currently locked by another "
                                               "program."));
    case SQLITE_READONLY:
        return Error(errReadOnlyRecordset, QStringLiteral("Cannot update. The database or the object is read-only."));
    case SQLITE_FULL: return Error(3026, QStringLiteral("Not enough space on disk."));
    case SQLITE_IOERR: return Error(3043, QStringLiteral("Disk or network error: %1").arg(message));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Error(errUnrecognisedFormat, QStringLiteral("Unrecognized database format '%1'.").arg(context));
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return Error(errCannotOpenFile, QStringLiteral("The database engine cannot open the file '%1'.").arg(context));
    case SQLITE_ERROR:
        if (message.startsWith(QLatin1String("no such table")))
            return Error(errTableNotFound, QStringLiteral("The database engine cannot find the input table or "
                                                          "query '%1'.")
                                               .arg(message.section(QLatin1String(": "), 1)));
        if (message.startsWith(QLatin1String("no such column")))
            return Error(
                3061,
                QStringLiteral("Too few parameters: the column '%1' is not known.").arg(message.section(QLatin1String(": "), 1)));
        if (message.contains(QLatin1String("syntax error")) || message.contains(QLatin1String("incomplete input")))
            return Error(errSyntaxInExpression, QStringLiteral("Syntax error in query expression '%1'.").arg(context));
        return Error(errReservedError, message);
    default: return Error(errReservedError, message.isEmpty() ? QString::fromUtf8(sqlite3_errstr(rc)) : message);
    }
}

int typeFromDeclared(const QByteArray& declared, int* size)
{
    const QByteArray d = declared.toUpper();
    if (size)
        *size = 0;
    if (d == "BOOLEAN")
        return dbBoolean;
    if (d == "BYTE")
        return dbByte;
    if (d == "SMALLINT")
        return dbInteger;
    if (d == "INTEGER")
        return dbLong;
    if (d == "FLOAT")
        return dbSingle;
    if (d == "DOUBLE" || d == "REAL")
        return dbDouble;
    if (d == "CURRENCY")
        return dbCurrency;
    if (d == "DATETIME")
        return dbDate;
    if (d.startsWith("VARCHAR")) {
        if (size) {
            const int open = d.indexOf('(');
            *size = open > 0 ? d.mid(open + 1, d.indexOf(')') - open - 1).toInt() : 255;
        }
        return dbText;
    }
    if (d == "TEXT")
        return dbMemo;
    return 0;
}

QByteArray quoteIdent(const QString& name)
{
    QByteArray out("\"");
    out += name.toUtf8().replace("\"", "\"\"");
    out += '"';
    return out;
}

QByteArray quoteLiteral(const QString& text)
{
    QByteArray out("'");
    out += text.toUtf8().replace("'", "''");
    out += '\'';
    return out;
}

} // namespace dao::detail
