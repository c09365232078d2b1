#include "platform/dao/ValueRanges.h"

#include <array>
#include <cmath>
#include <limits>
#include <sqlite3.h>
#include <string>

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

// The number a rule's literal stands for, read by SQLite itself: its reading of a long literal
// may differ from the nearest double in the last bit, and the rule compares with its reading.
double numberOf(const char* text)
{
    sqlite3* db = nullptr;
    double value = 0;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        const std::string sql = std::string("SELECT ") + text;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            value = sqlite3_column_double(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return value;
}

// The bounds as numbers, read once: the import checks every cell against them.
struct Bounds {
    double low;
    double high;
    bool highIncluded;
};

std::optional<Bounds> boundsOf(int type)
{
    const auto range = valueRangeOf(type);
    if (!range)
        return std::nullopt;
    return Bounds{numberOf(range->low), numberOf(range->high), range->highIncluded};
}

} // namespace

bool holdsValue(int type, double value)
{
    static const auto byType = [] {
        std::array<std::optional<Bounds>, dbMemo + 1> bounds;
        for (std::size_t t = 0; t < bounds.size(); ++t)
            bounds[t] = boundsOf(static_cast<int>(t));
        return bounds;
    }();
    if (type < 0 || type >= static_cast<int>(byType.size()) || !byType[static_cast<std::size_t>(type)])
        return true;
    const Bounds& b = *byType[static_cast<std::size_t>(type)];
    auto within = [&b](double v) { return v >= b.low && (b.highIncluded ? v <= b.high : v < b.high); };
    if (type != dbSingle)
        return within(value);
    // A single column keeps the value as a single (and the averages of it are singles): its
    // rounding must fit too, and a value beyond every single has none.
    if (!(std::fabs(value) <= double(std::numeric_limits<float>::max())))
        return false;
    return within(value) && within(static_cast<float>(value));
}

} // namespace dao
