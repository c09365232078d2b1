#include "platform/dao/ValueRanges.h"

#include <charconv>
#include <cstring>

namespace dao {

std::optional<ValueRange> valueRangeOf(int type)
{
    switch (type) {
    case dbByte: return ValueRange{"-0.5", "255.5", false};
    case dbInteger: return ValueRange{"-32768.5", "32767.5", false};
    case dbLong: return ValueRange{"-2147483648.5", "2147483647.5", false};
    case dbSingle: return ValueRange{"-3.402823466e38", "3.402823466e38", true};
    default: return std::nullopt;
    }
}

namespace {
double numberOf(const char* text)
{
    double value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}
} // namespace

bool holdsValue(int type, double value)
{
    const auto range = valueRangeOf(type);
    if (!range)
        return true;
    // Read as SQLite reads the rule's literal: the nearest double.
    const double low = numberOf(range->low);
    const double high = numberOf(range->high);
    return value >= low && (range->highIncluded ? value <= high : value < high);
}

} // namespace dao
