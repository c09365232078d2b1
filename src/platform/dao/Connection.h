#pragma once
// The one SQLite connection behind an open database, shared by the database object and the
// recordsets opened on it, and the small statement helpers the engine classes use.
#include "platform/dao/Error.h"
#include "platform/dao/JetSql.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <list>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace dao {
class Recordset;
}

namespace dao::detail {

class CachedStatement;

class Connection {
public:
    Connection(sqlite3* db, QString path);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const; // throws 3420 once closed
    bool isOpen() const { return db_ != nullptr; }
    const QString& path() const { return path_; }
    void close();

    // Runs statements that return no rows; throws the mapped error.
    void exec(const QByteArray& sql);
    // Translation of Jet text, valid until the next call. Texts are kept (a bounded number);
    // a plain INSERT of literal values is kept by its shape instead: the next one of the same
    // shape takes its translation and reads only its own values.
    const jetsql::Translation& translate(const QString& jetSql);
    // A prepared statement of sql, from the connection's cache when one is idle (preparing one
    // against our schema costs far more than running it). A statement still running for an outer
    // caller is never handed out again: a fresh one is prepared instead. Does not throw when sql
    // fails to prepare: the result is then empty, rc receives SQLite's code and the connection
    // holds the error.
    CachedStatement prepareCached(const QByteArray& sql, int* rc = nullptr);

    // Sets still reading their rows (dbFetchAsNeeded). A statement that writes, a transaction's
    // start or end and the close first have them read the rest: what a set shows stays what
    // the file held when it was opened, and no read is left open across a write.
    void addPendingRead(Recordset* set);
    void removePendingRead(Recordset* set);
    void settleReads();

    // SQLite ends a transaction by itself after some failures (disk full, I/O, out of memory):
    // the depth follows it so that later work is not taken for transactional.
    void syncTransactionState();

    int transactionDepth = 0;

private:
    friend class CachedStatement;
    struct CacheEntry {
        QByteArray sql;
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };
    using CacheList = std::list<CacheEntry>; // most recently used first
    void release(CacheList::iterator entry);
    void settleBefore(sqlite3_stmt* stmt); // settleReads when stmt writes
    void finalizeIdleStatements();

    struct Shape {
        jetsql::Translation translation; // without values
        bool usable = false;             // its values read alike both ways
    };

    sqlite3* db_;
    QString path_;
    std::vector<Recordset*> pendingReads_;
    QHash<QString, jetsql::Translation> cache_;
    QHash<QString, Shape> shapes_;
    jetsql::Translation scratch_; // the last translation not kept
    jetsql::InsertShape reader_;
    CacheList statements_;
    QHash<QByteArray, CacheList::iterator> statementIndex_;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// A prepared statement, finalized when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const QByteArray& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    void bind(int index, const QVariant& value); // 1-based
    void bindInt64(int index, qint64 value);
    bool step(); // true: a row is ready; throws on error
    void reset();
    int columnCount() const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// A statement lent by Connection::prepareCached: reset and its values cleared when it goes back
// to the cache, or finalized when it was prepared outside it. Same use as Statement.
class CachedStatement {
public:
    CachedStatement() = default;
    CachedStatement(CachedStatement&& other) noexcept;
    CachedStatement& operator=(CachedStatement&&) = delete;
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;
    ~CachedStatement();

    sqlite3_stmt* get() const { return stmt_; }
    void bind(int index, const QVariant& value); // 1-based
    void bindInt64(int index, qint64 value);
    bool step(); // true: a row is ready; throws on error
    int columnCount() const;

private:
    friend class Connection;
    Connection* conn_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    bool cached_ = false;
    std::list<Connection::CacheEntry>::iterator entry_;
};

// Binds one value the way the engine stores it: Null as Null, Yes/No as -1/0, whole numbers as
// integers, reals as reals, dates as the stored date text, anything else as text.
void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value); // 1-based
// Binds count values from values[from] to the placeholders firstIndex on; raises 3061 unless
// the statement has exactly expected placeholders.
void bindValues(sqlite3_stmt* stmt, const QVariantList& values, int from, int count, int firstIndex = 1);
void checkParameterCount(sqlite3_stmt* stmt, int expected);

// Turns an SQLite failure into the engine's error with its Jet number.
Error mapError(sqlite3* db, int rc, const QString& context = QString());
Error mapError(int rc, const QString& message, const QString& context = QString());
// With the connection at hand, a damaged file is named and closed to writing (see isDamaged).
Error mapError(sqlite3* db, int rc, const QString& message, const QString& context);

// True once the connection met a damaged page: from then on SQLite refuses every change, so
// nothing more is written to the file, not even at exit.
bool isDamaged(sqlite3* db);

// The engine's field type for a column's declared SQLite type (0 when it is no type of ours);
// size receives the length of a text column.
int typeFromDeclared(const QByteArray& declared, int* size);

QByteArray quoteIdent(const QString& name);   // "name" with inner quotes doubled
QByteArray quoteLiteral(const QString& text); // 'text' with inner quotes doubled

} // namespace dao::detail
