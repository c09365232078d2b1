#pragma once
// The stored day, week and month averages against a recomputation from MEASURE done here,
// independently of the class that keeps them.
#include "data/Globals.h"
#include "platform/dao/dao.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testing_data::averages {

using Values = std::array<std::optional<double>, 7>; // LBP, HBP, PLSE, WT, TEMP, TEMP1, TEMP2
inline const char* const kTables[] = {"average_month", "average_week", "average_day"};
inline const char* const kKeys[] = {"mnth", "week", "dt"};

// A reading's time, in UTC as the store keeps it.
inline QDateTime at(int y, int m, int d, int h = 8, int min = 30, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
}

// The Sunday that ends the Monday-to-Sunday week of a day, found by walking forward.
inline QDate sundayOf(QDate d)
{
    while (d.dayOfWeek() != Qt::Sunday)
        d = d.addDays(1);
    return d;
}

// Rows of one level: (person, key) -> the seven stored values.
using Table = std::map<std::pair<int, QDate>, Values>;

// What the three tables should hold: every person's readings grouped by period and averaged.
inline std::array<Table, 3> recomputed()
{
    struct Acc {
        std::array<double, 7> sum{};
        std::array<int, 7> n{};
    };
    std::array<std::map<std::pair<int, QDate>, Acc>, 3> acc;
    auto rs = gDB->OpenRecordset(QStringLiteral("select prsn_ky, msrd_dt, lbp, hbp, plse, wt, temp, temp1, temp2 from measure"),
                                 dao::dbOpenSnapshot);
    for (; !rs->Eof(); rs->MoveNext()) {
        const int person = rs->Fields(0).Value().toInt();
        const QDate d = rs->Fields(1).Value().toDateTime().date();
        const QDate keys[] = {QDate(d.year(), d.month(), 1), sundayOf(d), d};
        for (int level = 0; level < 3; ++level) {
            Acc& a = acc[std::size_t(level)][{person, keys[level]}];
            for (int i = 0; i < 7; ++i) {
                const QVariant v = rs->Fields(2 + i).Value();
                if (!v.isNull()) {
                    a.sum[std::size_t(i)] += v.toDouble();
                    ++a.n[std::size_t(i)];
                }
            }
        }
    }
    std::array<Table, 3> out;
    for (int level = 0; level < 3; ++level)
        for (const auto& [key, a] : acc[std::size_t(level)]) {
            Values v;
            for (std::size_t i = 0; i < 7; ++i)
                if (a.n[i] > 0) {
                    const double mean = a.sum[i] / a.n[i];
                    v[i] = i < 3 ? std::nearbyint(mean) : double(float(mean)); // half to even; single precision
                }
            out[std::size_t(level)][key] = v;
        }
    return out;
}

inline Table stored(int level)
{
    Table t;
    auto rs = gDB->OpenRecordset(QStringLiteral("select * from %1").arg(QLatin1String(kTables[level])), dao::dbOpenSnapshot);
    for (; !rs->Eof(); rs->MoveNext()) {
        const QDateTime key = rs->Fields(1).Value().toDateTime();
        EXPECT_EQ(QTime(0, 0), key.time());
        Values v;
        for (int i = 0; i < 7; ++i) {
            const QVariant x = rs->Fields(2 + i).Value();
            if (!x.isNull())
                v[std::size_t(i)] = x.toDouble();
        }
        t[{rs->Fields(0).Value().toInt(), key.date()}] = v;
    }
    return t;
}

inline void expectSame(const Table& expected, const Table& actual, const char* what)
{
    auto keysOf = [](const Table& t) {
        std::vector<std::string> k;
        for (const auto& [key, v] : t)
            k.push_back(QStringLiteral("%1@%2").arg(key.first).arg(key.second.toString(Qt::ISODate)).toStdString());
        return k;
    };
    ASSERT_EQ(keysOf(expected), keysOf(actual)) << what;
    for (const auto& [key, v] : expected) {
        const Values& a = actual.at(key);
        for (std::size_t i = 0; i < 7; ++i) {
            ASSERT_EQ(v[i].has_value(), a[i].has_value())
                << what << " " << key.second.toString(Qt::ISODate).toStdString() << " column " << i;
            if (v[i]) {
                if (i < 3)
                    EXPECT_EQ(*v[i], *a[i]) << what << " " << key.second.toString(Qt::ISODate).toStdString() << " column " << i;
                else
                    EXPECT_FLOAT_EQ(float(*v[i]), float(*a[i]))
                        << what << " " << key.second.toString(Qt::ISODate).toStdString() << " column " << i;
            }
        }
    }
}

inline void expectAveragesMatchMeasurements()
{
    const auto expected = recomputed();
    for (int level = 0; level < 3; ++level)
        expectSame(expected[std::size_t(level)], stored(level), kTables[level]);
}

} // namespace testing_data::averages
