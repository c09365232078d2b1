#include "platform/dao/SqlFunctions.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QString>

#include <cmath>
#include <memory>
#include <ostream>
#include <random>
#include <vector>

#include "platform/runtime/Conversions.h"

// Readable failure messages.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class JetFunctions : public ::testing::Test {
protected:
    void SetUp() override
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
        db_.reset(raw);
        dao::registerJetFunctions(raw);
    }

    // The single value of a query as text, "NULL" for Null, "error: ..." when SQLite fails.
    QString value(const char* sql)
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr) != SQLITE_OK)
            return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db_.get()));
        const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(raw, &sqlite3_finalize);
        if (sqlite3_step(raw) != SQLITE_ROW)
            return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db_.get()));
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
        return text ? QString::fromUtf8(text) : QStringLiteral("NULL");
    }

    void expectValues(std::initializer_list<std::pair<const char*, const char*>> cases)
    {
        for (const auto& [sql, expected] : cases) {
            SCOPED_TRACE(sql);
            EXPECT_EQ(value(sql), QString::fromUtf8(expected));
        }
    }

    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db_{nullptr, &sqlite3_close};
};

TEST_F(JetFunctions, DatePartsOfStoredDates)
{
    expectValues({
        {"SELECT year('2027-03-08 19:05:00')", "2027"},
        {"SELECT month('2027-03-08 19:05:00')", "3"},
        {"SELECT day('2027-03-08 19:05:00')", "8"},
        {"SELECT month('1999-12-31')", "12"},
        {"SELECT year(NULL)", "NULL"},
        {"SELECT typeof(day('2027-03-08 00:00:00'))", "integer"},
        {"SELECT datevalue('2027-03-08 19:05:00')", "2027-03-08 00:00:00"},
        {"SELECT datevalue('2027-03-08')", "2027-03-08 00:00:00"},
        {"SELECT datevalue(NULL)", "NULL"},
    });
    EXPECT_TRUE(value("SELECT year('soon')").startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(value("SELECT month('2027-02-30 00:00:00')").startsWith(QStringLiteral("error: ")));
}

TEST_F(JetFunctions, FormatFollowsTheRuntime)
{
    expectValues({
        {"SELECT format(72.25, '0.0')", "72.3"}, // half away from zero, not to even
        {"SELECT format(-0.25, '0.0')", "-0.3"},
        {"SELECT format('98.65', '0.0')", "98.7"}, // numeric text is a number
        {"SELECT format(7, '00')", "07"},
        {"SELECT format('2027-03-08 19:05:00', 'mm/dd/yy')", "03/08/27"},
        {"SELECT format('2027-03-08 19:05:00', 'hh:mm AM/PM')", "07:05 PM"},
        {"SELECT format('2027-03-08 00:30:00', 'hh:mm AM/PM')", "12:30 AM"},
        {"SELECT format(NULL, '0.0')", "NULL"},
        // SQLite's own format() stays for other argument counts, and printf() too.
        {"SELECT format('%d-%s', 5, 'x')", "5-x"},
        {"SELECT printf('%05.1f', 2.5)", "002.5"},
    });
}

TEST_F(JetFunctions, FormatOverManyRowsGivesEachRowItsOwnText)
{
    // Repeated and distinct texts, a number among them, two patterns in one statement: each row
    // is formatted as a single call would format it.
    ASSERT_EQ(sqlite3_exec(db_.get(),
                           "CREATE TABLE m (d);"
                           "INSERT INTO m VALUES ('2027-03-08 19:05:00'), ('2027-03-08 07:05:00'), ('2027-03-08 19:05:00'),"
                           " ('2027-12-31 00:30:00'), (46000), ('2027-03-08 19:05:00'), ('not a date'), (NULL);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_stmt* raw = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db_.get(), "SELECT d, format(d, 'mm/dd/yy'), format(d, 'hh:mm AM/PM') FROM m ORDER BY rowid", -1,
                                 &raw, nullptr),
              SQLITE_OK);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(raw, &sqlite3_finalize);
    int rows = 0;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        ++rows;
        const auto text = [raw](int c) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(raw, c));
            return t ? QString::fromUtf8(t) : QStringLiteral("NULL");
        };
        const QString d = text(0);
        SCOPED_TRACE(d.toStdString());
        const QString literal = d == u"NULL" || d == u"46000" ? d : u'\'' + d + u'\'';
        for (const auto& [column, pattern] : {std::pair{1, "mm/dd/yy"}, std::pair{2, "hh:mm AM/PM"}}) {
            const QString single = QStringLiteral("SELECT format(%1, '%2')").arg(literal, QLatin1String(pattern));
            EXPECT_EQ(text(column), value(single.toUtf8().constData()));
        }
    }
    EXPECT_EQ(rows, 8);
}

// Plain fixed patterns take a quicker road in SQL; it must write exactly what the runtime does.
TEST_F(JetFunctions, FixedPatternsWriteWhatTheRuntimeWrites)
{
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> wide(-100000.0, 100000.0);
    std::vector<double> values = {0.0,   0.05,  0.15,  0.25, 0.45,  1.005,       2.675,  9.95, 99.95,         999.95,
                                  -0.04, -0.05, -9.95, 72.3, 150.5, 12345678.95, 0.0049, 1e-9, 123456789012.5};
    for (int i = 0; i < 3000; ++i)
        values.push_back(wide(rng));
    for (int i = 0; i < 1000; ++i)
        values.push_back(std::round(wide(rng) * 100.0) / 1000.0); // many exact halves
    for (const char* pattern : {"0", "0.0", "0.00", "0.000"}) {
        for (double v : values) {
            const QString sql =
                QStringLiteral("SELECT format(%1, '%2')").arg(QString::number(v, 'g', 17), QLatin1String(pattern));
            SCOPED_TRACE(sql.toStdString());
            ASSERT_EQ(value(sql.toUtf8().constData()),
                      vb::Format(QString::number(v, 'g', 17).toDouble(), QLatin1String(pattern)));
        }
    }
}

TEST_F(JetFunctions, IntegerConversionsRoundHalfToEven)
{
    expectValues({
        {"SELECT cint(2.5)", "2"},
        {"SELECT cint(3.5)", "4"},
        {"SELECT cint(-2.5)", "-2"},
        {"SELECT cint(2.51)", "3"},
        {"SELECT cint('2.5')", "2"},
        {"SELECT cint(NULL)", "NULL"},
        {"SELECT clng(1000000.5)", "1000000"},
        {"SELECT clng(NULL)", "NULL"},
        {"SELECT csng(72.3) = 72.3", "1"},
        {"SELECT csng(NULL)", "NULL"},
    });
    EXPECT_TRUE(value("SELECT cint(40000)").startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(value("SELECT clng(3000000000)").startsWith(QStringLiteral("error: ")));
}

// Only deterministic functions may appear in an index.
TEST_F(JetFunctions, AreDeterministic)
{
    ASSERT_EQ(sqlite3_exec(db_.get(),
                           "CREATE TABLE m (d TEXT); INSERT INTO m VALUES ('2027-03-08 19:05:00'), ('2026-01-01 00:00:00');"
                           "CREATE INDEX m_year ON m (year(d), format(d, 'mm'), cint(1.5));",
                           nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db_.get());
    EXPECT_EQ(value("SELECT count(*) FROM m WHERE year(d) = 2027"), QStringLiteral("1"));
}

} // namespace
