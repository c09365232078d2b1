#include "platform/dao/Database.h"

#include "platform/dao/Connection.h"
#include "platform/dao/Error.h"
#include "platform/dao/SchemaData.h"
#include "platform/dao/SqlFunctions.h"
#include "platform/dao/ValueRanges.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <cmath>
#include <sqlite3.h>

namespace dao {

using detail::Connection;
using detail::ConnectionPtr;
using detail::quoteIdent;
using detail::quoteLiteral;
using detail::Statement;
using jetsql::StatementKind;

namespace {

// The engine's own bookkeeping: what SQLite does not keep of a definition (Jet types, sizes,
// the index and relation names the code uses, field properties, permissions).
constexpr const char* kCatalogSql =
    "CREATE TABLE IF NOT EXISTS MSysFields(TableName TEXT NOT NULL COLLATE NOCASE, FieldName TEXT NOT NULL "
    "COLLATE NOCASE, Type INTEGER, Size INTEGER, Attributes INTEGER, Required INTEGER, AllowZeroLength INTEGER, "
    "DefaultValue TEXT, PRIMARY KEY(TableName, FieldName));"
    "CREATE TABLE IF NOT EXISTS MSysIndexes(TableName TEXT NOT NULL COLLATE NOCASE, IndexName TEXT NOT NULL "
    "COLLATE NOCASE, Fields TEXT, IsPrimary INTEGER, IsUnique INTEGER, IsClustered INTEGER, "
    "PRIMARY KEY(TableName, IndexName));"
    "CREATE TABLE IF NOT EXISTS MSysRelations(RelationName TEXT NOT NULL PRIMARY KEY COLLATE NOCASE, "
    "TableName TEXT, ForeignTableName TEXT, Fields TEXT, ForeignFields TEXT, Attributes INTEGER);"
    "CREATE TABLE IF NOT EXISTS MSysProperties(ObjectName TEXT NOT NULL COLLATE NOCASE, PropertyName TEXT NOT "
    "NULL COLLATE NOCASE, Type INTEGER, Value TEXT, PRIMARY KEY(ObjectName, PropertyName));"
    "CREATE TABLE IF NOT EXISTS MSysPermissions(ContainerName TEXT NOT NULL COLLATE NOCASE, DocumentName TEXT "
    "NOT NULL COLLATE NOCASE, UserName TEXT NOT NULL COLLATE NOCASE, Permissions INTEGER, "
    "PRIMARY KEY(ContainerName, DocumentName, UserName));";

bool isHiddenTable(const QString& name)
{
    return name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive);
}

void configure(sqlite3* db)
{
    sqlite3_busy_timeout(db, 5000);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    // A page cache that holds a large transaction whole (it grows only as pages are used): once
    // SQLite must spill changed pages of an open transaction to the file, each spill syncs the
    // journal first, and large writes (an upgrade, an import, a rebuild) crawl.
    sqlite3_exec(db, "PRAGMA foreign_keys=ON; PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; PRAGMA cache_size=-65536;",
                 nullptr, nullptr, nullptr);
    registerJetFunctions(db);
}

QByteArray declaredType(const detail::FieldData& f)
{
    switch (f.type) {
    case dbBoolean: return "BOOLEAN";
    case dbByte: return "BYTE";
    case dbInteger: return "SMALLINT";
    case dbLong: return "INTEGER";
    case dbCurrency: return "CURRENCY";
    case dbSingle: return "FLOAT";
    case dbDouble: return "DOUBLE";
    case dbDate: return "DATETIME";
    case dbMemo: return "TEXT";
    case dbText:
    default: return "VARCHAR(" + QByteArray::number(f.size > 0 ? f.size : 255) + ")";
    }
}

QByteArray constraint(const char* kind, const QString& object, const QByteArray& check)
{
    return " CONSTRAINT " + quoteIdent(QString::fromLatin1(kind) + QLatin1Char(':') + object) + " CHECK(" + check + ")";
}

QByteArray defaultLiteral(const detail::FieldData& f)
{
    QString v = f.defaultValue.trimmed();
    if (v.size() >= 2 && (v.startsWith(QLatin1Char('"')) || v.startsWith(QLatin1Char('\''))))
        return quoteLiteral(v.mid(1, v.size() - 2));
    if (f.type == dbBoolean) {
        if (v.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 ||
            v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return "-1";
        if (v.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0 ||
            v.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return "0";
    }
    bool ok = false;
    v.toDouble(&ok);
    if (ok && f.type != dbText && f.type != dbMemo)
        return v.toUtf8();
    return quoteLiteral(v);
}

// One column of CREATE TABLE or ADD COLUMN, with the rules of its type as named CHECKs, so
// that a broken rule can be told apart (and skipped) by its name.
QByteArray columnSql(const QString& table, const detail::FieldData& f, bool inCreate)
{
    const QByteArray q = quoteIdent(f.name);
    const QString object = table + QLatin1Char('.') + f.name;
    const bool counter = (f.attributes & dbAutoIncrField) != 0;
    QByteArray sql = q + ' ';
    if (counter) {
        if (!inCreate)
            throw Error(errInvalidArgument, QStringLiteral("A counter field can only be made with its table."));
        return sql + "INTEGER PRIMARY KEY AUTOINCREMENT";
    }
    sql += declaredType(f);
    if (f.type == dbText || f.type == dbMemo)
        sql += " COLLATE NOCASE";
    if (f.required)
        sql += inCreate ? QByteArray(" NOT NULL") : constraint("req", object, q + " IS NOT NULL");
    if (!f.defaultValue.isEmpty())
        sql += " DEFAULT " + defaultLiteral(f);
    // These rules run for every row written, so each is said in the fewest steps SQLite takes
    // (files made before keep longer forms, which refuse the same values). A comparison with
    // Null is Null, which a CHECK lets pass: Null needs no test of its own.
    // Numbers or Null: every number sorts before every text and blob, and no text before ''.
    const QByteArray numeric = q + " < ''";
    auto range = [&](const ValueRange& r) {
        sql += constraint("typ", object, numeric);
        sql += constraint("rng", object,
                          r.highIncluded ? q + " BETWEEN " + r.low + " AND " + r.high
                                         : q + " >= " + r.low + " AND " + q + " < " + r.high);
    };
    switch (f.type) {
    case dbBoolean: sql += constraint("typ", object, numeric); break;
    case dbByte:
    case dbInteger:
    case dbLong:
    case dbSingle: range(*valueRangeOf(f.type)); break;
    case dbDouble:
    case dbCurrency: sql += constraint("typ", object, numeric); break;
    case dbDate:
        // Text of the stored form: no number reads as it, and a blob sorts after every text.
        sql += constraint("dt", object,
                          q + " GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]' AND " + q +
                              " < X''");
        break;
    case dbText:
        sql += constraint("len", object, "length(" + q + ") <= " + QByteArray::number(f.size > 0 ? f.size : 255));
        [[fallthrough]];
    case dbMemo:
        if (!f.allowZeroLength)
            sql += constraint("zl", object, q + " <> ''");
        break;
    default: break;
    }
    return sql;
}

QStringList splitList(const QString& text) { return text.isEmpty() ? QStringList() : text.split(QLatin1Char(',')); }

QString storedTableName(Connection& c, const QString& name)
{
    Statement st(c.handle(), "SELECT name FROM sqlite_master WHERE type='table' AND name = ?1 COLLATE NOCASE");
    st.bind(1, name);
    if (st.step())
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    return QString();
}

QString requireTable(Connection& c, const QString& name)
{
    const QString stored = storedTableName(c, name);
    if (stored.isEmpty() || isHiddenTable(stored))
        throw Error(errItemNotFound, QStringLiteral("Item '%1' not found in this collection.").arg(name));
    return stored;
}

struct ColumnInfo {
    QString name;
    QByteArray declared;
    bool notNull = false;
};

std::vector<ColumnInfo> tableColumns(Connection& c, const QString& table)
{
    std::vector<ColumnInfo> out;
    Statement st(c.handle(), "PRAGMA table_info(" + quoteIdent(table) + ")");
    while (st.step()) {
        ColumnInfo ci;
        ci.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1)));
        ci.declared = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 2));
        ci.notNull = sqlite3_column_int(st.get(), 3) != 0;
        out.push_back(ci);
    }
    return out;
}

void storeFieldMeta(Connection& c, const QString& table, const detail::FieldData& f)
{
    Statement st(c.handle(), "INSERT OR REPLACE INTO MSysFields(TableName, FieldName, Type, Size, Attributes, Required, "
                             "AllowZeroLength, DefaultValue) VALUES(?1,?2,?3,?4,?5,?6,?7,?8)");
    st.bind(1, table);
    st.bind(2, f.name);
    st.bind(3, f.type);
    st.bind(4, f.size);
    st.bind(5, f.attributes);
    st.bind(6, f.required ? 1 : 0);
    st.bind(7, f.allowZeroLength ? 1 : 0);
    st.bind(8, f.defaultValue.isEmpty() ? QVariant() : QVariant(f.defaultValue));
    st.step();
}

void storeProperty(Connection& c, const QString& object, const detail::PropertyData& p)
{
    Statement st(c.handle(), "INSERT OR REPLACE INTO MSysProperties(ObjectName, PropertyName, Type, Value) VALUES(?1,?2,?3,?4)");
    st.bind(1, object);
    st.bind(2, p.name);
    st.bind(3, p.type);
    st.bind(4, p.value.isNull() ? QVariant() : QVariant(p.value.toString()));
    st.step();
}

struct RelationRow {
    QString name, table, foreignTable;
    QStringList fields, foreignFields;
    int attributes = 0;
};

std::vector<RelationRow> relations(Connection& c)
{
    std::vector<RelationRow> out;
    Statement st(c.handle(), "SELECT RelationName, TableName, ForeignTableName, Fields, ForeignFields, Attributes "
                             "FROM MSysRelations ORDER BY rowid");
    auto text = [&](int i) { return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), i))); };
    while (st.step()) {
        RelationRow r;
        r.name = text(0);
        r.table = text(1);
        r.foreignTable = text(2);
        r.fields = splitList(text(3));
        r.foreignFields = splitList(text(4));
        r.attributes = sqlite3_column_int(st.get(), 5);
        out.push_back(r);
    }
    return out;
}

QByteArray matchList(const QStringList& left, const char* leftPrefix, const QStringList& right, const char* rightPrefix)
{
    QByteArray out;
    for (int i = 0; i < left.size(); ++i) {
        if (i)
            out += " AND ";
        out += leftPrefix + quoteIdent(left[i]) + " = " + rightPrefix + quoteIdent(right[i]);
    }
    return out;
}

// Jet stores only whole numbers in its integer columns and only -1 or 0 in a Yes/No column,
// whatever writes them; SQLite keeps a real as it comes. These triggers put a real into an
// integer column as its whole number, rounded half to even (as a recordset reads it back), and
// any value other than 0 into a Yes/No column as -1. A column that refers to another table
// is left out: a real there finds no key and is refused, and every column a trigger writes adds
// to the cost of preparing each statement on the table.
void createWholeNumberTriggers(Connection& c, const QString& table)
{
    QStringList referring;
    for (const RelationRow& r : relations(c))
        if (r.foreignTable.compare(table, Qt::CaseInsensitive) == 0)
            referring += r.foreignFields;
    QByteArray when, set, cols;
    {
        Statement st(c.handle(), "SELECT FieldName, Type, Attributes FROM MSysFields WHERE TableName = ?1");
        st.bind(1, table);
        while (st.step()) {
            const int type = sqlite3_column_int(st.get(), 1);
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
            if ((sqlite3_column_int(st.get(), 2) & dbAutoIncrField) || referring.contains(name, Qt::CaseInsensitive) ||
                (type != dbBoolean && type != dbByte && type != dbInteger && type != dbLong))
                continue;
            const QByteArray q = quoteIdent(name);
            const QByteArray sep = when.isEmpty() ? "" : " OR ";
            cols += (cols.isEmpty() ? "" : ",") + q;
            if (type == dbBoolean) {
                when += sep + "NEW." + q + " NOT IN (0, -1)";
                set += (set.isEmpty() ? "" : ", ") + q + " = CASE WHEN " + q + " = 0 THEN 0 WHEN " + q +
                       " IS NULL THEN NULL ELSE -1 END";
            } else {
                // CAST truncates toward zero; the remainder decides, a half going to the even side.
                const QByteArray t = "CAST(" + q + " AS INTEGER)";
                when += sep + "typeof(NEW." + q + ") = 'real'";
                set += (set.isEmpty() ? "" : ", ") + q + " = CASE WHEN typeof(" + q + ") <> 'real' THEN " + q + " ELSE " + t +
                       " + CASE WHEN abs(" + q + " - " + t + ") = 0.5 THEN " + t + " % 2 WHEN " + q + " - " + t +
                       " > 0.5 THEN 1 WHEN " + q + " - " + t + " < -0.5 THEN -1 ELSE 0 END END";
            }
        }
    }
    if (when.isEmpty())
        return;
    const QByteArray target = quoteIdent(table);
    const QByteArray body = " WHEN " + when + " BEGIN UPDATE " + target + " SET " + set + " WHERE rowid = NEW.rowid; END";
    c.exec("CREATE TRIGGER " + quoteIdent(QStringLiteral("dao_whole_i:") + table) + " AFTER INSERT ON " + target + body);
    c.exec("CREATE TRIGGER " + quoteIdent(QStringLiteral("dao_whole_u:") + table) + " AFTER UPDATE OF " + cols + " ON " + target +
           body);
}

// The two triggers that keep one unique index's keys apart whatever the case of their letters;
// none when the index holds no text column.
QByteArray caseTriggerSql(const QString& table, const QString& index, const QStringList& fields, const QSet<QString>& textColumns)
{
    QByteArray same, kept, cols;
    QStringList object;
    bool text = false;
    for (const QString& f : fields) {
        const bool isText = textColumns.contains(f.toLower());
        text |= isText;
        const QByteArray q = quoteIdent(f);
        const QByteArray collate = isText ? " COLLATE " + QByteArray(kFoldedCollation) : "";
        same += (same.isEmpty() ? "" : " AND ") + q + " = NEW." + q + collate;
        kept += QByteArray(kept.isEmpty() ? "" : " AND ") + "OLD." + q + " IS NEW." + q + collate;
        cols += (cols.isEmpty() ? "" : ",") + q;
        object << table + QLatin1Char('.') + f;
    }
    if (!text)
        return {};
    const QByteArray target = quoteIdent(table);
    const QByteArray raise = " BEGIN SELECT RAISE(ABORT, " +
                             quoteLiteral(QStringLiteral("%1|%2").arg(errDuplicateKey).arg(object.join(u", "))) + "); END;";
    const QString name = table + QLatin1Char('.') + index;
    return "CREATE TEMP TRIGGER " + quoteIdent(QStringLiteral("dao_case_i:") + name) + " BEFORE INSERT ON main." + target +
           " WHEN EXISTS (SELECT 1 FROM main." + target + " WHERE " + same + ")" + raise + "CREATE TEMP TRIGGER " +
           quoteIdent(QStringLiteral("dao_case_u:") + name) + " BEFORE UPDATE OF " + cols + " ON main." + target + " WHEN NOT (" +
           kept + ") AND EXISTS (SELECT 1 FROM main." + target + " WHERE rowid <> OLD.rowid AND " + same + ")" + raise;
}

// The case triggers of one table, or of every table when table is null, made in one batch: a
// pair of catalogue reads a table took a fifth of the time an open takes.
void makeCaseTriggers(Connection& c, const QString* table)
{
    sqlite3* db = c.handle();
    const auto text = [&](Statement& st, int col) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), col)));
    };
    QByteArray sql;
    if (table) {
        Statement st(db, "SELECT name FROM temp.sqlite_master WHERE type='trigger' AND tbl_name = ?1 COLLATE NOCASE "
                         "AND name LIKE 'dao~_case~_%' ESCAPE '~'");
        st.bind(1, *table);
        while (st.step())
            sql += "DROP TRIGGER temp." + quoteIdent(text(st, 0)) + ";";
    }
    const QByteArray which = table ? " AND TableName = ?1" : "";
    QHash<QString, QSet<QString>> textColumns; // by lower-case table, lower-case column names
    {
        Statement st(db, "SELECT TableName, FieldName FROM MSysFields WHERE Type IN (" + QByteArray::number(dbText) + "," +
                             QByteArray::number(dbMemo) + ")" + which);
        if (table)
            st.bind(1, *table);
        while (st.step())
            textColumns[text(st, 0).toLower()].insert(text(st, 1).toLower());
    }
    Statement st(db, "SELECT TableName, IndexName, Fields FROM MSysIndexes WHERE (IsUnique <> 0 OR IsPrimary <> 0)" + which);
    if (table)
        st.bind(1, *table);
    while (st.step()) {
        const QString owner = text(st, 0);
        sql += caseTriggerSql(owner, text(st, 1), splitList(text(st, 2)), textColumns.value(owner.toLower()));
    }
    if (!sql.isEmpty())
        c.exec(sql);
}

// The unique indexes of a table that hold text keep their keys with SQLite's NOCASE, which folds
// ASCII letters only and knows no normal forms: "Zoë" and "ZOË" would both be stored, and so
// would "É" typed as one letter beside "É" typed as "E" and a combining accent. TEMP triggers of
// this connection refuse such a second key with the duplicate-key error; they live in the
// connection only, so the stored schema names nothing that a plain SQLite client lacks. Keys the
// file already holds are left as they are: a row that keeps its key (but for letter case and
// normal form) is written whatever other rows hold; only a key set anew is refused.
void rebuildCaseTriggersOn(Connection& c, const QString& table) { makeCaseTriggers(c, &table); }

void rebuildCaseTriggers(Connection& c) { makeCaseTriggers(c, nullptr); }

// Relations are kept by triggers: they can be added to tables that already exist and hold rows.
void rebuildTriggersOn(Connection& c, const QString& table)
{
    sqlite3* db = c.handle();
    QStringList old;
    {
        Statement st(db, "SELECT name FROM sqlite_master WHERE type='trigger' AND tbl_name = ?1 COLLATE NOCASE "
                         "AND name LIKE 'dao~_%' ESCAPE '~'");
        st.bind(1, table);
        while (st.step())
            old << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    }
    for (const QString& name : old)
        c.exec("DROP TRIGGER " + quoteIdent(name));

    // Every trigger a row fires costs that row a program of its own, and any trigger at all makes
    // SQLite keep a statement journal: one trigger checks the parents of all the relations a new
    // row has, the relation added last first (as separate triggers fire).
    QByteArray insertChecks;
    const std::vector<RelationRow> all = relations(c);
    for (auto r = all.rbegin(); r != all.rend(); ++r) {
        if (r->foreignTable.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        QByteArray notNull;
        for (const QString& f : r->foreignFields)
            notNull += "NEW." + quoteIdent(f) + " IS NOT NULL AND ";
        insertChecks += " SELECT RAISE(ABORT, " +
                        quoteLiteral(QStringLiteral("%1|%2").arg(errRelatedRecordRequired).arg(r->table)) + ") WHERE " + notNull +
                        "NOT EXISTS (SELECT 1 FROM " + quoteIdent(r->table) + " WHERE " +
                        matchList(r->fields, "", r->foreignFields, "NEW.") + ");";
    }
    if (!insertChecks.isEmpty())
        c.exec("CREATE TRIGGER " + quoteIdent(QStringLiteral("dao_rel_i:") + table) + " BEFORE INSERT ON " + quoteIdent(table) +
               " BEGIN" + insertChecks + " END");

    for (const RelationRow& r : all) {
        const QByteArray parent = quoteIdent(r.table);
        const QByteArray child = quoteIdent(r.foreignTable);
        if (r.foreignTable.compare(table, Qt::CaseInsensitive) == 0) {
            QByteArray notNull;
            QByteArray cols;
            for (const QString& f : r.foreignFields) {
                notNull += "NEW." + quoteIdent(f) + " IS NOT NULL AND ";
                cols += (cols.isEmpty() ? "" : ",") + quoteIdent(f);
            }
            const QByteArray when = notNull + "NOT EXISTS (SELECT 1 FROM " + parent + " WHERE " +
                                    matchList(r.fields, "", r.foreignFields, "NEW.") + ")";
            const QByteArray raise = " BEGIN SELECT RAISE(ABORT, " +
                                     quoteLiteral(QStringLiteral("%1|%2").arg(errRelatedRecordRequired).arg(r.table)) + "); END";
            c.exec("CREATE TRIGGER " + quoteIdent(QStringLiteral("dao_rel_cu:") + r.name) + " BEFORE UPDATE OF " + cols + " ON " +
                   child + " WHEN " + when + raise);
        }
        if (r.table.compare(table, Qt::CaseInsensitive) == 0) {
            const QByteArray children = "SELECT 1 FROM " + child + " WHERE " + matchList(r.foreignFields, "", r.fields, "OLD.");
            const QByteArray raise = " BEGIN SELECT RAISE(ABORT, " +
                                     quoteLiteral(QStringLiteral("%1|%2").arg(errRelatedRecordsExist).arg(r.foreignTable)) +
                                     "); END";
            QByteArray cols, changed, setNew;
            for (int i = 0; i < r.fields.size(); ++i) {
                cols += (i ? "," : "") + quoteIdent(r.fields[i]);
                changed +=
                    (i ? " OR " : "") + QByteArray("NEW.") + quoteIdent(r.fields[i]) + " IS NOT OLD." + quoteIdent(r.fields[i]);
                setNew += (i ? ", " : "") + quoteIdent(r.foreignFields[i]) + " = NEW." + quoteIdent(r.fields[i]);
            }
            if (r.attributes & dbRelationDeleteCascade)
                c.exec("CREATE TRIGGER " + quoteIdent(QStringLiteral("dao_rel_pd:") + r.name) + " BEFORE DELETE ON " + parent +
                       " BEGIN DELETE FROM " + child + " WHERE " + matchList(r.foreignFields, "", r.fields, "OLD.") + "; END");
            else
                c.exec("CREATE TRIGGER " + quoteIdent(QStringLiteral("dao_rel_pd:") + r.name) + " BEFORE DELETE ON " + parent +
                       " WHEN EXISTS (" + children + ")" + raise);
            if (r.attributes & dbRelationUpdateCascade)
                c.exec("CREATE TRIGGER " + quoteIdent(QStringLiteral("dao_rel_pu:") + r.name) + " AFTER UPDATE OF " + cols +
                       " ON " + parent + " WHEN " + changed + " BEGIN UPDATE " + child + " SET " + setNew + " WHERE " +
                       matchList(r.foreignFields, "", r.fields, "OLD.") + "; END");
            else
                c.exec("CREATE TRIGGER " + quoteIdent(QStringLiteral("dao_rel_pu:") + r.name) + " BEFORE UPDATE OF " + cols +
                       " ON " + parent + " WHEN (" + changed + ") AND EXISTS (" + children + ")" + raise);
        }
    }
    createWholeNumberTriggers(c, table);
}

void createIndexOn(Connection& c, const QString& table, const Index& index)
{
    QStringList names;
    for (const Field& f : index.Fields())
        names << f.Name();
    // A primary key on the counter is the row key itself.
    bool onCounter = false;
    if (index.Primary() && names.size() == 1) {
        Statement st(c.handle(), "SELECT Attributes FROM MSysFields WHERE TableName = ?1 AND FieldName = ?2");
        st.bind(1, table);
        st.bind(2, names[0]);
        onCounter = st.step() && (sqlite3_column_int(st.get(), 0) & dbAutoIncrField);
    }
    {
        Statement st(c.handle(), "SELECT 1 FROM MSysIndexes WHERE TableName = ?1 AND IndexName = ?2");
        st.bind(1, table);
        st.bind(2, index.Name());
        if (st.step())
            throw Error(3284, QStringLiteral("Index '%1' already exists.").arg(index.Name()));
        if (index.Primary()) {
            Statement pk(c.handle(), "SELECT IndexName FROM MSysIndexes WHERE TableName = ?1 AND IsPrimary = 1");
            pk.bind(1, table);
            if (pk.step())
                throw Error(3283, QStringLiteral("Primary key already exists."));
        }
    }
    if (!onCounter) {
        QByteArray cols;
        for (const QString& n : names)
            cols += (cols.isEmpty() ? "" : ", ") + quoteIdent(n);
        c.exec(QByteArray("CREATE ") + (index.Unique() ? "UNIQUE " : "") + "INDEX " +
               quoteIdent(table + QLatin1Char('.') + index.Name()) + " ON " + quoteIdent(table) + " (" + cols + ")");
    }
    Statement st(c.handle(), "INSERT INTO MSysIndexes(TableName, IndexName, Fields, IsPrimary, IsUnique, IsClustered) "
                             "VALUES(?1,?2,?3,?4,?5,?6)");
    st.bind(1, table);
    st.bind(2, index.Name());
    st.bind(3, names.join(QLatin1Char(',')));
    st.bind(4, index.Primary() ? 1 : 0);
    st.bind(5, index.Unique() ? 1 : 0);
    st.bind(6, index.Clustered() ? 1 : 0);
    st.step();
    if (index.Unique() || index.Primary())
        rebuildCaseTriggersOn(c, table);
}

ConnectionPtr lockOrThrow(const std::weak_ptr<Connection>& weak)
{
    auto c = weak.lock();
    if (!c || !c->isOpen())
        throw Error(errObjectClosed, QStringLiteral("Object invalid or no longer set: the database is closed."));
    return c;
}

// Once a definition is stored, later appends and deletes change the file.
void attachTableDef(const ConnectionPtr& conn, const TableDef& td, const QString& table);

void attachField(const std::weak_ptr<Connection>& weak, const QString& table, detail::FieldData& f)
{
    const QString object = table + QLatin1Char('.') + f.name;
    f.storeProperty = [weak, object](const detail::PropertyData& p) { storeProperty(*lockOrThrow(weak), object, p); };
    for (auto& p : f.properties)
        p->store = f.storeProperty;
}

} // namespace

// ---- open, create, close -------------------------------------------------------------------

Database::Database(std::shared_ptr<Connection> conn, QString name) : conn_(std::move(conn)), name_(std::move(name)) {}

Database::~Database() = default;

std::shared_ptr<Database> Database::open(const QString& path, bool readOnly)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw Error(errFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    const QString name = info.absoluteFilePath();
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(name).constData(), &raw,
                                   (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX, nullptr);
    auto conn = std::make_shared<Connection>(raw, name);
    if (rc != SQLITE_OK)
        throw detail::mapError(rc, QString::fromUtf8(sqlite3_errstr(rc)), name);
    configure(raw);
    // A file that is no database, or a database that is not one of ours, is refused.
    int rcCheck = SQLITE_OK;
    bool ours = false;
    {
        sqlite3_stmt* st = nullptr;
        rcCheck = sqlite3_prepare_v2(raw, "SELECT count(*) FROM sqlite_master WHERE type='table' AND name='MSysFields'", -1, &st,
                                     nullptr);
        if (rcCheck == SQLITE_OK) {
            rcCheck = sqlite3_step(st);
            if (rcCheck == SQLITE_ROW) {
                ours = sqlite3_column_int(st, 0) > 0;
                rcCheck = SQLITE_OK;
            }
        }
        if (rcCheck != SQLITE_OK)
            rcCheck = sqlite3_extended_errcode(raw);
        sqlite3_finalize(st);
    }
    if (rcCheck != SQLITE_OK) {
        const int primary = rcCheck & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            throw Error(errFileInUse, QStringLiteral("The database file '%1' is in use by another program. Close that program, "
                                                     "then try again.")
                                          .arg(name));
        if (primary == SQLITE_CORRUPT)
            throw detail::mapError(raw, rcCheck, name);
        throw Error(errUnrecognisedFormat, QStringLiteral("Unrecognized database format '%1'.").arg(name));
    }
    if (!ours)
        throw Error(errUnrecognisedFormat, QStringLiteral("Unrecognized database format '%1'.").arg(name));
    // SQLite falls back to reading a file it may not write; the first save would fail, late.
    // The folder takes the journal of every change, so it must be writable too.
    if (!readOnly && (sqlite3_db_readonly(raw, "main") == 1 || !QFileInfo(info.absolutePath()).isWritable()))
        throw Error(errReadOnlyRecordset, QStringLiteral("The database file '%1' is read-only: nothing can be saved in it. "
                                                         "Allow writing to the file and to its folder, then try again.")
                                              .arg(name));
    rebuildCaseTriggers(*conn);
    return std::shared_ptr<Database>(new Database(conn, name));
}

std::shared_ptr<Database> Database::create(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        throw Error(errDatabaseExists, QStringLiteral("Database '%1' already exists.").arg(path));
    const QString name = info.absoluteFilePath();
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(name).constData(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE | SQLITE_OPEN_NOMUTEX, nullptr);
    auto conn = std::make_shared<Connection>(raw, name);
    if (rc != SQLITE_OK)
        throw detail::mapError(rc, QString::fromUtf8(sqlite3_errstr(rc)), name);
    configure(raw);
    try {
        conn->exec(kCatalogSql);
    } catch (...) {
        conn->close();
        QFile::remove(name);
        throw;
    }
    return std::shared_ptr<Database>(new Database(conn, name));
}

void Database::Close() { conn_->close(); }
bool Database::isOpen() const { return conn_->isOpen(); }
bool Database::isDamaged() const { return conn_->isOpen() && detail::isDamaged(conn_->handle()); }
sqlite3* Database::handle() const { return conn_->handle(); }

// ---- SQL -----------------------------------------------------------------------------------

namespace {

struct StepResult {
    int rc = SQLITE_OK;
    QString message;
    int changes = 0;
};

// The literals the translation made into placeholders, bound first.
void bindLiterals(sqlite3_stmt* st, const jetsql::Translation& tr)
{
    int index = 1;
    for (const jetsql::Translation::Literal& lit : tr.literals) {
        switch (lit.kind) {
        case jetsql::Translation::Literal::Integer: sqlite3_bind_int64(st, index, lit.integer); break;
        case jetsql::Translation::Literal::Real: sqlite3_bind_double(st, index, lit.real); break;
        case jetsql::Translation::Literal::Text:
            // The translation outlives the statement's run: the lease clears its values.
            sqlite3_bind_text(st, index, tr.literalText.constData() + lit.offset, lit.size, SQLITE_STATIC);
            break;
        }
        ++index;
    }
}

StepResult runOnce(Connection& c, const jetsql::Translation& tr, const Params& values)
{
    sqlite3* db = c.handle();
    StepResult r;
    detail::CachedStatement st = c.prepareCached(tr.sql, &r.rc);
    if (st.get()) {
        if (!tr.literals.empty()) {
            if (!values.isEmpty()) // the statement has no placeholder of its own
                throw Error(errTooFewParameters, QStringLiteral("Too many parameters: the statement has %1.").arg(tr.parameters));
            bindLiterals(st.get(), tr);
        }
        detail::checkParameterCount(st.get(), int(tr.literals.size() + std::size_t(values.size())));
        detail::bindValues(st.get(), values, 0, int(values.size()), int(tr.literals.size()) + 1);
        while ((r.rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        }
        if (r.rc == SQLITE_DONE)
            r.rc = SQLITE_OK;
    }
    if (r.rc != SQLITE_OK) {
        r.rc = sqlite3_extended_errcode(db);
        r.message = QString::fromUtf8(sqlite3_errmsg(db));
    } else {
        r.changes = sqlite3_changes(db);
    }
    return r;
}

bool isConstraintCode(int rc) { return (rc & 0xff) == SQLITE_CONSTRAINT; }

// Jet's way for a statement that breaks a rule on some rows: do it row by row and leave out
// the rows that fail, under one savepoint so that any other failure undoes all of it.
int rowByRow(Connection& c, const jetsql::Translation& tr, const Params& values)
{
    sqlite3* db = c.handle();
    const QByteArray table = quoteIdent(tr.table);
    c.exec("SAVEPOINT dao_rows");
    int done = 0;
    try {
        auto applyRow = [&](Statement& st) {
            const int rc = sqlite3_step(st.get());
            if (rc == SQLITE_DONE) {
                done += sqlite3_changes(db);
            } else if (!isConstraintCode(sqlite3_extended_errcode(db))) {
                throw detail::mapError(db, sqlite3_extended_errcode(db), QString::fromUtf8(tr.sql));
            }
            sqlite3_reset(st.get());
        };
        if (tr.kind == StatementKind::Update || tr.kind == StatementKind::Delete) {
            std::vector<qint64> ids;
            {
                Statement sel(db,
                              "SELECT rowid FROM " + table + (tr.wherePart.isEmpty() ? QByteArray() : " WHERE " + tr.wherePart));
                // The SET part's values come first; the rest belong to the WHERE.
                detail::bindValues(sel.get(), values, tr.leadingParameters, int(values.size()) - tr.leadingParameters);
                while (sel.step())
                    ids.push_back(sqlite3_column_int64(sel.get(), 0));
            }
            Statement one(db, tr.kind == StatementKind::Update ? "UPDATE " + table + " SET " + tr.setPart + " WHERE rowid = ?"
                                                               : "DELETE FROM " + table + " WHERE rowid = ?");
            const int last = sqlite3_bind_parameter_count(one.get());
            for (qint64 id : ids) {
                detail::bindValues(one.get(), values, 0, tr.leadingParameters);
                sqlite3_bind_int64(one.get(), last, id);
                applyRow(one);
            }
        } else {
            QStringList columns = tr.insertColumns;
            if (columns.isEmpty())
                for (const ColumnInfo& ci : tableColumns(c, tr.table))
                    columns << ci.name;
            QByteArray cols, marks;
            for (int i = 0; i < columns.size(); ++i) {
                cols += (i ? ", " : "") + quoteIdent(columns[i]);
                marks += i ? ", ?" : "?";
            }
            Statement ins(db, "INSERT INTO " + table + " (" + cols + ") VALUES (" + marks + ")");
            Statement sel(db, tr.selectPart);
            detail::bindValues(sel.get(), values, 0, int(values.size()));
            const int n = std::min(sel.columnCount(), int(columns.size()));
            // The SELECT may read the target table: take all its rows before writing.
            std::vector<std::vector<sqlite3_value*>> rows;
            auto freeRows = [&rows] {
                for (auto& row : rows)
                    for (sqlite3_value* v : row)
                        sqlite3_value_free(v);
                rows.clear();
            };
            try {
                while (sel.step()) {
                    std::vector<sqlite3_value*> row(std::size_t(n), nullptr);
                    for (int i = 0; i < n; ++i)
                        row[std::size_t(i)] = sqlite3_value_dup(sqlite3_column_value(sel.get(), i));
                    rows.push_back(std::move(row));
                }
                for (const auto& row : rows) {
                    for (int i = 0; i < n; ++i)
                        sqlite3_bind_value(ins.get(), i + 1, row[std::size_t(i)]);
                    applyRow(ins);
                }
            } catch (...) {
                freeRows();
                throw;
            }
            freeRows();
        }
        c.exec("RELEASE dao_rows");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO dao_rows; RELEASE dao_rows;", nullptr, nullptr, nullptr);
        throw;
    }
    return done;
}

} // namespace

int Database::Execute(const QString& jetSql, int options) { return Execute(jetSql, Params(), options); }

int Database::Execute(const QString& jetSql, const Params& values, int options)
{
    Connection& c = *conn_;
    sqlite3* db = c.handle();
    const jetsql::Translation& tr = c.translate(jetSql);
    recordsAffected_ = 0;
    if (tr.kind == StatementKind::Select)
        throw Error(3065, QStringLiteral("Cannot execute a select query."));
    const StepResult r = runOnce(c, tr, values);
    if (r.rc == SQLITE_OK) {
        recordsAffected_ = r.changes;
        return recordsAffected_;
    }
    Error e = detail::mapError(db, r.rc, r.message, jetSql);
    c.syncTransactionState();
    if (!isConstraintCode(r.rc) || (options & dbFailOnError))
        throw e;
    switch (tr.kind) {
    case StatementKind::Update:
    case StatementKind::Delete:
    case StatementKind::InsertSelect: recordsAffected_ = rowByRow(c, tr, values); break;
    default:
        recordsAffected_ = 0; // the one row broke a rule: left out
        break;
    }
    return recordsAffected_;
}

std::shared_ptr<Recordset> Database::OpenRecordset(const QString& jetSql, int type, int options)
{
    return std::make_shared<Recordset>(conn_, jetSql, type, options);
}

std::shared_ptr<Recordset> Database::OpenRecordset(const QString& jetSql, const Params& values, int type, int options)
{
    return std::make_shared<Recordset>(conn_, jetSql, type, options, values);
}

// ---- transactions --------------------------------------------------------------------------

void Database::BeginTrans()
{
    Connection& c = *conn_;
    c.syncTransactionState();
    c.exec(c.transactionDepth == 0 ? QByteArray("BEGIN") : "SAVEPOINT dao_t" + QByteArray::number(c.transactionDepth));
    ++c.transactionDepth;
}

void Database::CommitTrans()
{
    Connection& c = *conn_;
    c.syncTransactionState();
    if (c.transactionDepth == 0)
        throw Error(3034, QStringLiteral("You tried to commit or roll back a transaction without first beginning one."));
    --c.transactionDepth;
    try {
        c.exec(c.transactionDepth == 0 ? QByteArray("COMMIT") : "RELEASE dao_t" + QByteArray::number(c.transactionDepth));
    } catch (...) {
        ++c.transactionDepth;
        throw;
    }
}

void Database::Rollback()
{
    Connection& c = *conn_;
    c.syncTransactionState();
    if (c.transactionDepth == 0)
        throw Error(3034, QStringLiteral("You tried to commit or roll back a transaction without first beginning one."));
    --c.transactionDepth;
    if (c.transactionDepth == 0) {
        c.exec("ROLLBACK");
    } else {
        const QByteArray sp = "dao_t" + QByteArray::number(c.transactionDepth);
        c.exec("ROLLBACK TO " + sp + "; RELEASE " + sp);
    }
}

int Database::transactionDepth() const
{
    conn_->syncTransactionState();
    return conn_->isOpen() ? conn_->transactionDepth : 0;
}

Transaction::Transaction(Database& db) : db_(db)
{
    db_.BeginTrans();
    level_ = db_.transactionDepth();
}

// Levels that inner code began and left open are undone with this one.
Transaction::~Transaction()
{
    if (done_)
        return;
    try {
        while (db_.isOpen() && db_.transactionDepth() >= level_)
            db_.Rollback();
    } catch (...) {
        // The connection is gone: nothing is left open.
    }
}

// Levels that inner code began and left open are committed with this one.
void Transaction::commit()
{
    while (db_.transactionDepth() >= level_)
        db_.CommitTrans();
    done_ = true;
}

// ---- backup --------------------------------------------------------------------------------

void Database::BackupTo(const QString& path)
{
    const QFileInfo target(path);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(name_).canonicalFilePath())
        throw Error(errInvalidArgument, QStringLiteral("A database cannot be backed up onto itself."));
    const QString temp = target.absoluteFilePath() + QStringLiteral(".partial");
    QFile::remove(temp);
    sqlite3* dst = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temp).constData(), &dst, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* b = sqlite3_backup_init(dst, "main", conn_->handle(), "main");
        if (b) {
            rc = sqlite3_backup_step(b, -1);
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
            sqlite3_backup_finish(b);
        } else {
            rc = sqlite3_extended_errcode(dst);
        }
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(dst, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    }
    const QString message = dst ? QString::fromUtf8(sqlite3_errmsg(dst)) : QString();
    sqlite3_close_v2(dst);
    if (rc != SQLITE_OK) {
        QFile::remove(temp);
        throw detail::mapError(rc, message, path);
    }
    QFile::remove(target.absoluteFilePath());
    if (!QFile::rename(temp, target.absoluteFilePath())) {
        QFile::remove(temp);
        throw Error(errCannotOpenFile, QStringLiteral("The backup could not be written to '%1'.").arg(path));
    }
}

// ---- schema --------------------------------------------------------------------------------

QStringList Database::fieldNames(const QString& table)
{
    QStringList out;
    for (const ColumnInfo& ci : tableColumns(*conn_, requireTable(*conn_, table)))
        out << ci.name;
    return out;
}

namespace {

void attachTableDef(const ConnectionPtr& conn, const TableDef& td, const QString& table)
{
    std::weak_ptr<Connection> weak = conn;
    for (const Field& f : td.Fields())
        attachField(weak, table, *f.impl());
    auto onAppend = [weak, table](const Field& f) {
        auto c = lockOrThrow(weak);
        f.impl()->ordinal = int(tableColumns(*c, table).size());
        c->exec("ALTER TABLE " + quoteIdent(table) + " ADD COLUMN " + columnSql(table, *f.impl(), false));
        storeFieldMeta(*c, table, *f.impl());
        attachField(weak, table, *f.impl());
        for (const auto& p : f.impl()->properties)
            storeProperty(*c, table + QLatin1Char('.') + f.impl()->name, *p);
        rebuildTriggersOn(*c, table);
    };
    auto onDelete = [weak, table](const QString& field) {
        auto c = lockOrThrow(weak);
        {
            Statement st(c->handle(), "SELECT IndexName, Fields FROM MSysIndexes WHERE TableName = ?1");
            st.bind(1, table);
            while (st.step()) {
                const QStringList fields =
                    splitList(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1))));
                if (fields.contains(field, Qt::CaseInsensitive))
                    throw Error(3280, QStringLiteral("The field '%1' is part of an index and cannot be deleted.").arg(field));
            }
        }
        for (const RelationRow& r : relations(*c)) {
            if ((r.table.compare(table, Qt::CaseInsensitive) == 0 && r.fields.contains(field, Qt::CaseInsensitive)) ||
                (r.foreignTable.compare(table, Qt::CaseInsensitive) == 0 && r.foreignFields.contains(field, Qt::CaseInsensitive)))
                throw Error(3303, QStringLiteral("The field '%1' is part of a relation and cannot be deleted.").arg(field));
        }
        Statement drop(c->handle(), "DELETE FROM MSysFields WHERE TableName = ?1 AND FieldName = ?2");
        drop.bind(1, table);
        drop.bind(2, field);
        drop.step();
        Statement props(c->handle(), "DELETE FROM MSysProperties WHERE ObjectName = ?1");
        props.bind(1, table + QLatin1Char('.') + field);
        props.step();
        // The conversion triggers name the column: take them down around the change.
        {
            Statement st(c->handle(), "SELECT name FROM sqlite_master WHERE type='trigger' AND tbl_name = ?1 COLLATE NOCASE "
                                      "AND name LIKE 'dao~_%' ESCAPE '~'");
            st.bind(1, table);
            QStringList names;
            while (st.step())
                names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
            for (const QString& n : names)
                c->exec("DROP TRIGGER " + quoteIdent(n));
        }
        c->exec("ALTER TABLE " + quoteIdent(table) + " DROP COLUMN " + quoteIdent(field));
        rebuildTriggersOn(*c, table);
    };
    td.Fields().setHooks(onAppend, onDelete);
    td.Indexes().setHook([weak, table](const Index& index) { createIndexOn(*lockOrThrow(weak), table, index); });
    td.impl()->stored = true;
}

} // namespace

void Database::createTable(const TableDef& table)
{
    if (!table.isValid() || table.Name().isEmpty())
        throw Error(errInvalidArgument, QStringLiteral("A table needs a name."));
    if (table.impl()->stored)
        throw Error(3012, QStringLiteral("Table '%1' already exists.").arg(table.Name()));
    if (table.Fields().Count() == 0)
        throw Error(3264, QStringLiteral("The table '%1' has no fields.").arg(table.Name()));
    Connection& c = *conn_;
    if (!storedTableName(c, table.Name()).isEmpty())
        throw Error(3010, QStringLiteral("Table '%1' already exists.").arg(table.Name()));
    const QString name = table.Name();
    QByteArray cols;
    for (const Field& f : table.Fields())
        cols += (cols.isEmpty() ? "" : ", ") + columnSql(name, *f.impl(), true);
    c.exec("CREATE TABLE " + quoteIdent(name) + " (" + cols + ")");
    for (const Field& f : table.Fields()) {
        storeFieldMeta(c, name, *f.impl());
        for (const auto& p : f.impl()->properties)
            storeProperty(c, name + QLatin1Char('.') + f.impl()->name, *p);
    }
    for (const Index& index : table.Indexes())
        createIndexOn(c, name, index);
    rebuildTriggersOn(c, name);
    attachTableDef(conn_, table, name);
}

TableDef Database::loadTableDef(const QString& requested)
{
    Connection& c = *conn_;
    const QString name = requireTable(c, requested);
    TableDef td(name);
    for (const ColumnInfo& ci : tableColumns(c, name)) {
        Field f(ci.name, dbText, 0);
        int size = 0;
        f.impl()->type = detail::typeFromDeclared(ci.declared, &size);
        f.impl()->size = size > 0 ? size : detail::defaultSizeOf(f.impl()->type);
        f.impl()->required = ci.notNull;
        {
            Statement st(c.handle(), "SELECT Type, Size, Attributes, Required, AllowZeroLength, DefaultValue FROM MSysFields "
                                     "WHERE TableName = ?1 AND FieldName = ?2");
            st.bind(1, name);
            st.bind(2, ci.name);
            if (st.step()) {
                f.impl()->type = sqlite3_column_int(st.get(), 0);
                f.impl()->size = sqlite3_column_int(st.get(), 1);
                f.impl()->attributes = sqlite3_column_int(st.get(), 2);
                f.impl()->required = sqlite3_column_int(st.get(), 3) != 0;
                f.impl()->allowZeroLength = sqlite3_column_int(st.get(), 4) != 0;
                if (sqlite3_column_type(st.get(), 5) != SQLITE_NULL)
                    f.impl()->defaultValue = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 5)));
            }
        }
        {
            Statement st(c.handle(), "SELECT PropertyName, Type, Value FROM MSysProperties WHERE ObjectName = ?1 ORDER BY rowid");
            st.bind(1, name + QLatin1Char('.') + ci.name);
            while (st.step()) {
                auto p = std::make_shared<detail::PropertyData>();
                p->name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
                p->type = sqlite3_column_int(st.get(), 1);
                if (sqlite3_column_type(st.get(), 2) != SQLITE_NULL)
                    p->value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 2)));
                f.impl()->properties.push_back(p);
            }
        }
        f.impl()->ordinal = int(td.impl()->fields.items().size());
        td.impl()->fields.items().push_back(f);
    }
    {
        Statement st(c.handle(), "SELECT IndexName, Fields, IsPrimary, IsUnique, IsClustered FROM MSysIndexes "
                                 "WHERE TableName = ?1 ORDER BY rowid");
        st.bind(1, name);
        while (st.step()) {
            Index idx(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0))));
            for (const QString& fn :
                 splitList(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1)))))
                idx.impl()->fields.items().push_back(Field(fn, dbText, 0));
            idx.impl()->primary = sqlite3_column_int(st.get(), 2) != 0;
            idx.impl()->unique = sqlite3_column_int(st.get(), 3) != 0;
            idx.impl()->clustered = sqlite3_column_int(st.get(), 4) != 0;
            td.impl()->indexes.items().push_back(idx);
        }
    }
    attachTableDef(conn_, td, name);
    return td;
}

QStringList TableDefs::names() const
{
    QStringList out;
    Statement st(db_->conn_->handle(), "SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid");
    while (st.step()) {
        const QString n = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
        if (!isHiddenTable(n))
            out << n;
    }
    return out;
}

void TableDefs::Delete(const QString& requested)
{
    Connection& c = *db_->conn_;
    const QString name = requireTable(c, requested);
    for (const RelationRow& r : relations(c))
        if (r.table.compare(name, Qt::CaseInsensitive) == 0 || r.foreignTable.compare(name, Qt::CaseInsensitive) == 0)
            throw Error(3303, QStringLiteral("The table '%1' is part of relation '%2'.").arg(name, r.name));
    c.exec("DROP TABLE " + quoteIdent(name));
    for (const char* sql : {"DELETE FROM MSysFields WHERE TableName = ?1", "DELETE FROM MSysIndexes WHERE TableName = ?1"}) {
        Statement st(c.handle(), sql);
        st.bind(1, name);
        st.step();
    }
    Statement st(c.handle(), "DELETE FROM MSysProperties WHERE ObjectName LIKE ?1 ESCAPE '~'");
    QString pattern = name;
    pattern.replace(QLatin1Char('~'), QLatin1String("~~"))
        .replace(QLatin1Char('%'), QLatin1String("~%"))
        .replace(QLatin1Char('_'), QLatin1String("~_"));
    st.bind(1, pattern + QLatin1String(".%"));
    st.step();
}

Relation Database::CreateRelation(const QString& name, const QString& table, const QString& foreignTable, int attributes) const
{
    Relation r;
    r.d = std::make_shared<detail::RelationData>();
    r.d->name = name;
    r.d->table = table;
    r.d->foreignTable = foreignTable;
    r.d->attributes = attributes;
    return r;
}

void Database::appendRelation(const Relation& relation)
{
    Connection& c = *conn_;
    if (!relation.impl() || relation.Fields().Count() == 0)
        throw Error(errInvalidArgument, QStringLiteral("A relation needs at least one field."));
    const QString parent = requireTable(c, relation.Table());
    const QString child = requireTable(c, relation.ForeignTable());
    for (const RelationRow& r : relations(c))
        if (r.name.compare(relation.Name(), Qt::CaseInsensitive) == 0)
            throw Error(3012, QStringLiteral("Relation '%1' already exists.").arg(relation.Name()));
    QStringList fields, foreign;
    const QStringList parentCols = fieldNames(parent);
    const QStringList childCols = fieldNames(child);
    for (const Field& f : relation.Fields()) {
        const QString fn = f.ForeignName().isEmpty() ? f.Name() : f.ForeignName();
        if (!parentCols.contains(f.Name(), Qt::CaseInsensitive) || !childCols.contains(fn, Qt::CaseInsensitive))
            throw Error(3265, QStringLiteral("Field '%1' of relation '%2' not found.").arg(f.Name(), relation.Name()));
        fields << f.Name();
        foreign << fn;
    }
    // Rows already there must keep the rule the relation sets.
    QByteArray notNull;
    for (const QString& f : foreign)
        notNull += quoteIdent(f) + " IS NOT NULL AND ";
    {
        Statement st(c.handle(), "SELECT 1 FROM " + quoteIdent(child) + " AS c WHERE " + notNull + "NOT EXISTS (SELECT 1 FROM " +
                                     quoteIdent(parent) + " WHERE " + matchList(fields, "", foreign, "c.") + ") LIMIT 1");
        if (st.step())
            throw Error(3367, QStringLiteral("The relation '%1' cannot be made: rows of '%2' have no match in '%3'.")
                                  .arg(relation.Name(), child, parent));
    }
    Statement st(c.handle(), "INSERT INTO MSysRelations(RelationName, TableName, ForeignTableName, Fields, ForeignFields, "
                             "Attributes) VALUES(?1,?2,?3,?4,?5,?6)");
    st.bind(1, relation.Name());
    st.bind(2, parent);
    st.bind(3, child);
    st.bind(4, fields.join(QLatin1Char(',')));
    st.bind(5, foreign.join(QLatin1Char(',')));
    st.bind(6, relation.Attributes());
    st.step();
    rebuildTriggersOn(c, parent);
    if (child.compare(parent, Qt::CaseInsensitive) != 0)
        rebuildTriggersOn(c, child);
}

int Relations::Count() const { return int(relations(*db_->conn_).size()); }

QStringList Relations::names() const
{
    QStringList out;
    for (const RelationRow& r : relations(*db_->conn_))
        out << r.name;
    return out;
}

Relation Relations::operator()(const QString& name) const
{
    for (const RelationRow& r : relations(*db_->conn_)) {
        if (r.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        Relation rel = db_->CreateRelation(r.name, r.table, r.foreignTable, r.attributes);
        for (int i = 0; i < r.fields.size(); ++i) {
            Field f(r.fields[i], dbText, 0);
            f.setForeignName(r.foreignFields[i]);
            rel.impl()->fields.items().push_back(f);
        }
        return rel;
    }
    throw Error(errItemNotFound, QStringLiteral("Item '%1' not found in this collection.").arg(name));
}

int Document::Permissions() const
{
    Statement st(db_->conn_->handle(), "SELECT Permissions FROM MSysPermissions WHERE ContainerName = ?1 AND "
                                       "DocumentName = ?2 AND UserName = ?3");
    st.bind(1, container_);
    st.bind(2, name_);
    st.bind(3, user_);
    return st.step() ? sqlite3_column_int(st.get(), 0) : -1;
}

void Document::setPermissions(int permissions)
{
    Statement st(db_->conn_->handle(), "INSERT OR REPLACE INTO MSysPermissions(ContainerName, DocumentName, UserName, "
                                       "Permissions) VALUES(?1,?2,?3,?4)");
    st.bind(1, container_);
    st.bind(2, name_);
    st.bind(3, user_);
    st.bind(4, permissions);
    st.step();
}

} // namespace dao
