#pragma once
// Shared state behind the definition handles (private to the engine).
#include "platform/dao/Schema.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace dao::detail {

struct PropertyData {
    QString name;
    int type = dbText;
    QVariant value;
    // Set once the property belongs to a field of a stored table: changes are written through.
    std::function<void(const PropertyData&)> store;
};

struct FieldData {
    QString name;
    int type = dbText;
    int size = 0;
    int attributes = 0;
    bool required = false;
    bool allowZeroLength = false;
    QString defaultValue;
    QString foreignName;
    int ordinal = 0;
    QString sourceTable;
    QString sourceField;
    bool updatable = false; // recordset columns: a base column of the updatable table
    std::vector<std::shared_ptr<PropertyData>> properties;
    // Set once the field belongs to a stored table: appended properties are written through.
    std::function<void(const PropertyData&)> storeProperty;
};

struct IndexData {
    QString name;
    bool primary = false;
    bool unique = false;
    bool clustered = false;
    Fields fields;
};

struct TableDefData {
    QString name;
    Fields fields;
    Indexes indexes;
    bool stored = false;
};

struct RelationData {
    QString name;
    QString table;
    QString foreignTable;
    int attributes = 0;
    Fields fields;
};

int defaultSizeOf(int type);

} // namespace dao::detail
