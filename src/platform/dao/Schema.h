#pragma once
// Definition objects of the engine: properties, fields, indexes, table definitions, relations
// and the permission documents. A definition is built in memory, then appended to its
// collection; appending to an open database changes the file at once (CREATE TABLE, ADD COLUMN,
// CREATE INDEX, relation rules), inside whatever transaction is open.
#include "platform/dao/Types.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace dao {

class Recordset;
class Database;

namespace detail {
class Connection;
using ConnectionPtr = std::shared_ptr<Connection>;
struct PropertyData;
struct FieldData;
struct IndexData;
struct TableDefData;
struct RelationData;
} // namespace detail

class Property {
public:
    Property() = default;
    QString Name() const;
    int Type() const;
    QVariant Value() const;
    void setValue(const QVariant& value); // stored at once when the property belongs to a stored field

private:
    friend class Properties;
    friend class Field;
    explicit Property(std::shared_ptr<detail::PropertyData> data) : d(std::move(data)) {}
    std::shared_ptr<detail::PropertyData> d;
};

// The user-defined properties of a field (such as "Format").
class Properties {
public:
    int Count() const;
    // Raises 3270 when the field has no property of that name.
    Property operator[](const QString& name) const;
    Property operator()(const QString& name) const { return (*this)[name]; }
    void Append(const Property& property);

private:
    friend class Field;
    explicit Properties(std::shared_ptr<detail::FieldData> owner) : owner_(std::move(owner)) {}
    std::shared_ptr<detail::FieldData> owner_;
};

// A column: of a table definition, an index, a relation, or of a recordset's current row.
class Field {
public:
    Field() = default;
    explicit Field(const QString& name, int type = dbText, int size = 0);

    QString Name() const;
    void setName(const QString& name);
    int Type() const;
    void setType(int type);
    int Size() const;
    void setSize(int size);
    int Attributes() const;
    void setAttributes(int attributes);
    bool Required() const;
    void setRequired(bool required);
    bool AllowZeroLength() const;
    void setAllowZeroLength(bool allow);
    QString DefaultValue() const;
    void setDefaultValue(const QString& value);
    QString ForeignName() const;
    void setForeignName(const QString& name);
    int OrdinalPosition() const;
    QString SourceTable() const;
    QString SourceField() const;
    bool isValid() const { return d != nullptr; }
    const std::shared_ptr<detail::FieldData>& impl() const { return d; } // engine-internal

    dao::Properties Properties() const;
    Property CreateProperty(const QString& name, int type, const QVariant& value) const;

    // Value of the field in the current row of its recordset (or the pending edit).
    QVariant Value() const;
    void setValue(const QVariant& value) const;
    bool isNull() const { return Value().isNull(); }

private:
    friend class Fields;
    friend class TableDef;
    friend class TableDefs;
    friend class Index;
    friend class Relation;
    friend class Recordset;
    friend class Database;
    explicit Field(std::shared_ptr<detail::FieldData> data, Recordset* rs = nullptr, int index = -1)
        : d(std::move(data)), rs_(rs), index_(index)
    {}
    std::shared_ptr<detail::FieldData> d;
    Recordset* rs_ = nullptr; // not owned: valid while the recordset is
    int index_ = -1;
};

// A collection of fields. A handle: copies share the same collection, so a collection taken
// from a temporary definition stays valid while it is used.
class Fields {
public:
    int Count() const { return int(s_->list.size()); }
    Field operator()(int index) const;
    Field operator()(const QString& name) const; // letter case ignored; raises 3265 when unknown
    Field operator[](int index) const { return (*this)(index); }
    Field operator[](const QString& name) const { return (*this)(name); }
    int indexOf(const QString& name) const; // -1 when unknown
    void Append(const Field& field) const;
    void Delete(const QString& name) const;

    auto begin() const { return s_->list.cbegin(); }
    auto end() const { return s_->list.cend(); }

    // Engine-internal: the items, and what a stored table does on append and delete.
    std::vector<Field>& items() const { return s_->list; }
    void setHooks(std::function<void(const Field&)> onAppend, std::function<void(const QString&)> onDelete) const
    {
        s_->onAppend = std::move(onAppend);
        s_->onDelete = std::move(onDelete);
    }

private:
    struct State {
        std::vector<Field> list;
        std::function<void(const Field&)> onAppend;
        std::function<void(const QString&)> onDelete;
    };
    std::shared_ptr<State> s_ = std::make_shared<State>();
};

class Index {
public:
    Index() = default;
    explicit Index(const QString& name);
    QString Name() const;
    bool Primary() const;
    void setPrimary(bool primary);
    bool Unique() const;
    void setUnique(bool unique);
    bool Clustered() const;
    void setClustered(bool clustered);
    dao::Fields Fields() const;
    Field CreateField(const QString& name) const;
    const std::shared_ptr<detail::IndexData>& impl() const { return d; } // engine-internal

private:
    friend class TableDef;
    friend class Indexes;
    std::shared_ptr<detail::IndexData> d;
};

// A collection of indexes; a handle like Fields.
class Indexes {
public:
    int Count() const { return int(s_->list.size()); }
    Index operator()(int index) const;
    Index operator()(const QString& name) const; // raises 3265 when unknown
    void Append(const Index& index) const;
    auto begin() const { return s_->list.cbegin(); }
    auto end() const { return s_->list.cend(); }

    // Engine-internal.
    std::vector<Index>& items() const { return s_->list; }
    void setHook(std::function<void(const Index&)> onAppend) const { s_->onAppend = std::move(onAppend); }

private:
    struct State {
        std::vector<Index> list;
        std::function<void(const Index&)> onAppend;
    };
    std::shared_ptr<State> s_ = std::make_shared<State>();
};

class TableDef {
public:
    TableDef() = default;
    explicit TableDef(const QString& name);
    QString Name() const;
    dao::Fields Fields() const;
    Field Fields(const QString& name) const { return Fields()(name); }
    Field Fields(int index) const { return Fields()(index); }
    dao::Indexes Indexes() const;
    Field CreateField(const QString& name, int type, int size = 0) const;
    Index CreateIndex(const QString& name) const;
    bool isValid() const { return d != nullptr; }
    const std::shared_ptr<detail::TableDefData>& impl() const { return d; } // engine-internal

private:
    friend class TableDefs;
    friend class Database;
    std::shared_ptr<detail::TableDefData> d;
};

// The tables of an open database (the engine's own bookkeeping tables are not listed).
class TableDefs {
public:
    int Count() const;
    QStringList names() const;
    TableDef operator()(const QString& name) const; // raises 3265 when unknown
    TableDef operator()(int index) const;
    TableDef operator[](const QString& name) const { return (*this)(name); }
    void Append(const TableDef& table); // CREATE TABLE with its fields and indexes
    void Delete(const QString& name);
    void Refresh() {}

private:
    friend class Database;
    explicit TableDefs(Database* db) : db_(db) {}
    Database* db_;
};

class Relation {
public:
    Relation() = default;
    QString Name() const;
    QString Table() const;        // the table whose key is referred to
    QString ForeignTable() const; // the table that refers to it
    int Attributes() const;
    void setAttributes(int attributes);
    dao::Fields Fields() const;
    Field CreateField(const QString& name) const;
    const std::shared_ptr<detail::RelationData>& impl() const { return d; } // engine-internal

private:
    friend class Relations;
    friend class Database;
    std::shared_ptr<detail::RelationData> d;
};

class Relations {
public:
    int Count() const;
    Relation operator()(const QString& name) const; // raises 3265 when unknown
    QStringList names() const;
    void Append(const Relation& relation);

private:
    friend class Database;
    explicit Relations(Database* db) : db_(db) {}
    Database* db_;
};

// Permissions of the database's documents: stored with the file, enforced nowhere (there are
// no accounts to enforce them for).
class Document {
public:
    QString Name() const { return name_; }
    QString UserName() const { return user_; }
    void setUserName(const QString& user) { user_ = user; }
    int Permissions() const;
    void setPermissions(int permissions);

private:
    friend class Container;
    Document(Database* db, QString container, QString name) : db_(db), container_(std::move(container)), name_(std::move(name)) {}
    Database* db_;
    QString container_;
    QString name_;
    QString user_;
};

class Container {
public:
    QString Name() const { return name_; }
    Document Documents(const QString& name) const { return Document(db_, name_, name); }

private:
    friend class Database;
    Container(Database* db, QString name) : db_(db), name_(std::move(name)) {}
    Database* db_;
    QString name_;
};

} // namespace dao
