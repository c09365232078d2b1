#include "platform/dao/Error.h"

namespace dao {

Error::Error(int number, QString description, QString source)
    : number_(number), description_(std::move(description)), source_(std::move(source)),
      what_(QStringLiteral("%1: %2").arg(number_).arg(description_).toStdString())
{}

bool Error::isConstraint() const
{
    switch (number_) {
    case errDuplicateKey:
    case errRelatedRecordsExist:
    case errRelatedRecordRequired:
    case errRequired:
    case errZeroLength:
    case errFieldTooSmall:
    case errNumericOverflow:
    case errRangeRule:
    case errTypeConversion:
    case errOverflow: return true;
    default: return false;
    }
}

} // namespace dao
