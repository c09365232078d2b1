#pragma once
// An open database file: SQL execution with Jet's rules, recordsets, the schema objects,
// transactions, backup.
#include "platform/dao/Recordset.h"
#include "platform/dao/Schema.h"
#include "platform/dao/Types.h"

#include <QString>
#include <QVariantList>
#include <memory>
#include <vector>

struct sqlite3;

namespace dao {

// Values for the '?' placeholders of a statement, in order.
using Params = QVariantList;

class Database {
public:
    // Opens an existing file (never creates one); raises 3024 when missing, 3343 when the file is
    // not a database of ours, 3049 when it is damaged, 3045 when another program holds it, and
    // 3027 when it is to be written but the file or its folder is read-only.
    static std::shared_ptr<Database> open(const QString& path, bool readOnly = false);
    // Creates a new, empty file; raises 3204 when a file is already there.
    static std::shared_ptr<Database> create(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString Name() const { return name_; }

    // Without dbFailOnError a row that breaks a key, relation, required, empty-text or range rule
    // is skipped and the rest is done; with it the statement is undone and the error raised.
    // Syntax errors and bad literals always raise. Returns RecordsAffected.
    int Execute(const QString& jetSql, int options = 0);
    // The same with values for the statement's '?' placeholders, in the order they stand (a '?'
    // inside quotes is text). A value reaches SQL as a value, never as SQL text: a null QVariant
    // as Null, a QDateTime or QDate as a date stored like any other, a bool as Yes/No, numbers as
    // numbers, text as text whatever quotes it holds. Raises 3061 when the count differs. (A single
    // value needs Params{v}: a lone {v} is read as the options and then refused by that count.)
    int Execute(const QString& jetSql, const Params& values, int options = 0);
    int RecordsAffected() const { return recordsAffected_; }

    std::shared_ptr<Recordset> OpenRecordset(const QString& jetSql, int type = dbOpenDynaset, int options = 0);
    // A recordset of a statement with placeholders; a requery binds the same values again.
    std::shared_ptr<Recordset> OpenRecordset(const QString& jetSql, const Params& values, int type = dbOpenDynaset,
                                             int options = 0);

    dao::TableDefs TableDefs() { return dao::TableDefs(this); }
    TableDef TableDefs(const QString& name) { return dao::TableDefs(this)(name); }
    TableDef CreateTableDef(const QString& name) const { return TableDef(name); }
    dao::Relations Relations() { return dao::Relations(this); }
    Relation CreateRelation(const QString& name, const QString& table, const QString& foreignTable, int attributes = 0) const;
    Container Containers(const QString& name) { return Container(this, name); }

    // Real transactions, nested through savepoints. Prefer the Transaction guard.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    int transactionDepth() const;

    // Copies the open database into a new file through SQLite's backup API.
    void BackupTo(const QString& path);

    void Close();
    bool isOpen() const;
    // True once a damaged page was met: every change is refused from then on.
    bool isDamaged() const;
    sqlite3* handle() const; // for benchmarks and the engine's own tools

    // Field names of a table in their stored order and declared case.
    QStringList fieldNames(const QString& table);

private:
    friend class TableDefs;
    friend class Relations;
    friend class Document;
    Database(std::shared_ptr<detail::Connection> conn, QString name);
    TableDef loadTableDef(const QString& name);
    void createTable(const TableDef& table);
    void appendRelation(const Relation& relation);

    std::shared_ptr<detail::Connection> conn_;
    QString name_;
    int recordsAffected_ = 0;
};

using DatabasePtr = std::shared_ptr<Database>;

// Begins a transaction and rolls it back when it goes out of scope uncommitted (an escaping
// error never leaves a transaction open).
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    int level_ = 0;
    bool done_ = false;
};

} // namespace dao
