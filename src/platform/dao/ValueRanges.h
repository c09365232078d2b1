#pragma once
// The numbers a numeric column of each type holds. The table rules compare with these very texts
// (a file's stored rules stay word for word), and callers that check values before a write test
// them here, so both refuse the same values.
#include "platform/dao/Types.h"

#include <optional>

namespace dao {

struct ValueRange {
    const char* low;   // included
    const char* high;  // included when highIncluded, else the first value refused
    bool highIncluded; // rules written "BETWEEN low AND high"; otherwise ">= low AND < high"
};

// The range of a type that has one (byte, integer, long, single); nothing for the others.
std::optional<ValueRange> valueRangeOf(int type);
// Whether a column of the type holds the value (a type without a range holds every number). A
// single column holds a value when the value and its rounding to single precision are in range.
bool holdsValue(int type, double value);

} // namespace dao
