#include "platform/dao/Schema.h"

#include "platform/dao/Database.h"
#include "platform/dao/Error.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/SchemaData.h"

namespace dao {

namespace detail {
int defaultSizeOf(int type)
{
    switch (type) {
    case dbBoolean:
    case dbByte: return 1;
    case dbInteger: return 2;
    case dbLong:
    case dbSingle: return 4;
    case dbDouble:
    case dbDate:
    case dbCurrency: return 8;
    case dbText: return 50;
    default: return 0;
    }
}
} // namespace detail

namespace {
Error itemNotFound(const QString& name)
{
    return Error(errItemNotFound, QStringLiteral("Item '%1' not found in this collection.").arg(name));
}
} // namespace

// ---- Property ------------------------------------------------------------------------------

QString Property::Name() const { return d ? d->name : QString(); }
int Property::Type() const { return d ? d->type : 0; }
QVariant Property::Value() const { return d ? d->value : QVariant(); }

void Property::setValue(const QVariant& value)
{
    if (!d)
        throw Error(errObjectClosed, QStringLiteral("Object invalid or no longer set."));
    d->value = value;
    if (d->store)
        d->store(*d);
}

int Properties::Count() const { return owner_ ? int(owner_->properties.size()) : 0; }

Property Properties::operator[](const QString& name) const
{
    if (owner_) {
        for (const auto& p : owner_->properties)
            if (p->name.compare(name, Qt::CaseInsensitive) == 0)
                return Property(p);
    }
    throw Error(errPropertyNotFound, QStringLiteral("Property '%1' not found.").arg(name));
}

void Properties::Append(const Property& property)
{
    if (!owner_ || !property.d)
        throw Error(errInvalidArgument, QStringLiteral("Invalid argument."));
    for (const auto& p : owner_->properties)
        if (p->name.compare(property.d->name, Qt::CaseInsensitive) == 0)
            throw Error(errAlreadyExists, QStringLiteral("Property '%1' already exists.").arg(p->name));
    owner_->properties.push_back(property.d);
    if (owner_->storeProperty) {
        property.d->store = owner_->storeProperty;
        property.d->store(*property.d);
    }
}

// ---- Field ---------------------------------------------------------------------------------

Field::Field(const QString& name, int type, int size) : d(std::make_shared<detail::FieldData>())
{
    d->name = name;
    d->type = type;
    d->size = size > 0 ? size : detail::defaultSizeOf(type);
}

QString Field::Name() const { return d ? d->name : QString(); }
void Field::setName(const QString& name) { d->name = name; }
int Field::Type() const
{
    // A computed column of a set still reading its rows takes its type from its first value.
    if (d && d->type == 0 && rs_)
        return rs_->resolvedType(index_);
    return d ? d->type : 0;
}
void Field::setType(int type) { d->type = type; }
int Field::Size() const { return d ? d->size : 0; }
void Field::setSize(int size) { d->size = size; }
int Field::Attributes() const { return d ? d->attributes : 0; }
void Field::setAttributes(int attributes) { d->attributes = attributes; }
bool Field::Required() const { return d && d->required; }
void Field::setRequired(bool required) { d->required = required; }
bool Field::AllowZeroLength() const { return d && d->allowZeroLength; }
void Field::setAllowZeroLength(bool allow) { d->allowZeroLength = allow; }
QString Field::DefaultValue() const { return d ? d->defaultValue : QString(); }
void Field::setDefaultValue(const QString& value) { d->defaultValue = value; }
QString Field::ForeignName() const { return d ? d->foreignName : QString(); }
void Field::setForeignName(const QString& name) { d->foreignName = name; }
int Field::OrdinalPosition() const { return d ? d->ordinal : 0; }
QString Field::SourceTable() const { return d ? d->sourceTable : QString(); }
QString Field::SourceField() const { return d ? d->sourceField : QString(); }

Properties Field::Properties() const { return dao::Properties(d); }

Property Field::CreateProperty(const QString& name, int type, const QVariant& value) const
{
    auto p = std::make_shared<detail::PropertyData>();
    p->name = name;
    p->type = type;
    p->value = value;
    return Property(p);
}

QVariant Field::Value() const
{
    if (!rs_)
        throw Error(errInvalidArgument, QStringLiteral("The field '%1' has no value outside a recordset.").arg(Name()));
    return rs_->fieldValue(index_);
}

void Field::setValue(const QVariant& value) const
{
    if (!rs_)
        throw Error(errInvalidArgument, QStringLiteral("The field '%1' has no value outside a recordset.").arg(Name()));
    rs_->setFieldValue(index_, value);
}

// ---- Fields --------------------------------------------------------------------------------

Field Fields::operator()(int index) const
{
    if (index < 0 || index >= int(s_->list.size()))
        throw itemNotFound(QString::number(index));
    return s_->list[std::size_t(index)];
}

int Fields::indexOf(const QString& name) const
{
    for (std::size_t i = 0; i < s_->list.size(); ++i)
        if (s_->list[i].d->name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

Field Fields::operator()(const QString& name) const
{
    const int i = indexOf(name);
    if (i < 0)
        throw itemNotFound(name);
    return s_->list[std::size_t(i)];
}

void Fields::Append(const Field& field) const
{
    if (!field.d || field.d->name.isEmpty())
        throw Error(errInvalidArgument, QStringLiteral("A field needs a name."));
    if (indexOf(field.d->name) >= 0)
        throw Error(3191, QStringLiteral("The field '%1' is defined more than once.").arg(field.d->name));
    if (s_->onAppend)
        s_->onAppend(field);
    field.d->ordinal = int(s_->list.size());
    s_->list.push_back(field);
}

void Fields::Delete(const QString& name) const
{
    const int i = indexOf(name);
    if (i < 0)
        throw itemNotFound(name);
    if (s_->onDelete)
        s_->onDelete(s_->list[std::size_t(i)].d->name);
    s_->list.erase(s_->list.begin() + i);
    for (std::size_t k = 0; k < s_->list.size(); ++k)
        s_->list[k].d->ordinal = int(k);
}

// ---- Index ---------------------------------------------------------------------------------

Index::Index(const QString& name) : d(std::make_shared<detail::IndexData>()) { d->name = name; }
QString Index::Name() const { return d ? d->name : QString(); }
bool Index::Primary() const { return d && d->primary; }
void Index::setPrimary(bool primary) { d->primary = primary; }
bool Index::Unique() const { return d && (d->unique || d->primary); }
void Index::setUnique(bool unique) { d->unique = unique; }
bool Index::Clustered() const { return d && d->clustered; }
void Index::setClustered(bool clustered) { d->clustered = clustered; }
Fields Index::Fields() const { return d->fields; }
Field Index::CreateField(const QString& name) const { return Field(name, dbText, 0); }

Index Indexes::operator()(int index) const
{
    if (index < 0 || index >= int(s_->list.size()))
        throw itemNotFound(QString::number(index));
    return s_->list[std::size_t(index)];
}

Index Indexes::operator()(const QString& name) const
{
    for (const auto& i : s_->list)
        if (i.d->name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw itemNotFound(name);
}

void Indexes::Append(const Index& index) const
{
    if (!index.d || index.d->name.isEmpty() || index.d->fields.Count() == 0)
        throw Error(errInvalidArgument, QStringLiteral("An index needs a name and at least one field."));
    for (const auto& i : s_->list)
        if (i.d->name.compare(index.d->name, Qt::CaseInsensitive) == 0)
            throw Error(3284, QStringLiteral("Index '%1' already exists.").arg(i.d->name));
    if (s_->onAppend)
        s_->onAppend(index);
    s_->list.push_back(index);
}

// ---- TableDef ------------------------------------------------------------------------------

TableDef::TableDef(const QString& name) : d(std::make_shared<detail::TableDefData>()) { d->name = name; }
QString TableDef::Name() const { return d ? d->name : QString(); }
Fields TableDef::Fields() const { return d->fields; }
Indexes TableDef::Indexes() const { return d->indexes; }
Field TableDef::CreateField(const QString& name, int type, int size) const { return Field(name, type, size); }
Index TableDef::CreateIndex(const QString& name) const { return Index(name); }

int TableDefs::Count() const { return int(names().size()); }
TableDef TableDefs::operator()(const QString& name) const { return db_->loadTableDef(name); }

TableDef TableDefs::operator()(int index) const
{
    const QStringList all = names();
    if (index < 0 || index >= all.size())
        throw itemNotFound(QString::number(index));
    return db_->loadTableDef(all[index]);
}

void TableDefs::Append(const TableDef& table) { db_->createTable(table); }

// ---- Relation ------------------------------------------------------------------------------

QString Relation::Name() const { return d ? d->name : QString(); }
QString Relation::Table() const { return d ? d->table : QString(); }
QString Relation::ForeignTable() const { return d ? d->foreignTable : QString(); }
int Relation::Attributes() const { return d ? d->attributes : 0; }
void Relation::setAttributes(int attributes) { d->attributes = attributes; }
Fields Relation::Fields() const { return d->fields; }
Field Relation::CreateField(const QString& name) const { return Field(name, dbText, 0); }

void Relations::Append(const Relation& relation) { db_->appendRelation(relation); }

} // namespace dao
