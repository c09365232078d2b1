#pragma once
// Constants of the engine's object model, with the numbers the program's code uses.

namespace dao {

enum DataTypeEnum : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3, // 16-bit
    dbLong = 4,    // 32-bit
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbText = 10,
    dbMemo = 12,
};

enum FieldAttributeEnum : int {
    dbFixedField = 1,
    dbVariableField = 2,
    dbAutoIncrField = 16,
    dbUpdatableField = 32,
};

enum RecordsetTypeEnum : int {
    dbOpenTable = 1,
    dbOpenDynaset = 2,
    dbOpenSnapshot = 4,
    dbOpenForwardOnly = 8,
};

enum RecordsetOptionEnum : int {
    dbReadOnly = 4,
    dbFailOnError = 128,
    // Ours: a read-only set reads its rows as they are asked for (a view shows a few of many);
    // see Recordset.
    dbFetchAsNeeded = 0x10000,
};

enum EditModeEnum : int {
    dbEditNone = 0,
    dbEditInProgress = 1,
    dbEditAdd = 2,
};

enum RelationAttributeEnum : int {
    dbRelationUnique = 1,
    dbRelationDontEnforce = 2,
    dbRelationUpdateCascade = 256,
    dbRelationDeleteCascade = 4096,
};

enum WorkspaceTypeEnum : int {
    dbUseJet = 2,
};

// Locale string of a new database: general (English) sort order, code page 1252.
inline constexpr const char* dbLangGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";

} // namespace dao
