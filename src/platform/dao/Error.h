#pragma once
// Engine errors carry the Jet error number that callers branch on and show.
#include <QString>
#include <exception>
#include <string>

namespace dao {

// The Jet numbers the program branches on or shows.
enum ErrorNumber : int {
    errOverflow = 6,
    errReservedError = 3000,
    errInvalidArgument = 3001,
    errUpdateWithoutEdit = 3020,
    errNoCurrentRecord = 3021,
    errDuplicateKey = 3022,
    errFileNotFound = 3024,
    errReadOnlyRecordset = 3027,
    errCannotOpenFile = 3051,
    errFieldNotRecognised = 3070,
    errSyntaxInExpression = 3075,
    errSyntaxInCriteria = 3077,
    errTableNotFound = 3078,
    errFieldTooSmall = 3163,
    errRecordDeleted = 3167,
    errRelatedRecordsExist = 3200,
    errRelatedRecordRequired = 3201,
    errDatabaseExists = 3204,
    errLocked = 3218,
    errFileInUse = 3045,
    errDamaged = 3049,
    errItemNotFound = 3265,
    errPropertyNotFound = 3270,
    errNotUpdatable = 3326,
    errSyntax = 3134,
    errRequired = 3314,
    errZeroLength = 3315,
    errRangeRule = 3317,
    errUnrecognisedFormat = 3343,
    errNumericOverflow = 3349,
    errObjectClosed = 3420,
    errTypeConversion = 3421,
    errTooFewParameters = 3061,
    errAlreadyExists = 3012,
};

class Error : public std::exception {
public:
    Error(int number, QString description, QString source = QStringLiteral("DAO.Database"));

    int Number() const { return number_; }
    const QString& Description() const { return description_; }
    const QString& Source() const { return source_; }
    // True for errors raised by a broken key, relation, required, empty-text or range rule.
    bool isConstraint() const;
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    QString source_;
    std::string what_;
};

} // namespace dao
