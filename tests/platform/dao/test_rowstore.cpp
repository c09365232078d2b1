// The packed rows of a recordset: cells read back as written over many blocks, rows that keep
// their place while others are added, taken out or put between, and texts kept once per column.
#include "platform/dao/RowStore.h"

#include <QByteArray>
#include <gtest/gtest.h>

using dao::detail::RowStore;

namespace {

// A cell's value that tells its row and column apart, of a kind that varies down the column.
RowStore::Tag tagOf(qsizetype row, std::size_t col) { return RowStore::Tag(1 + (row + qsizetype(col)) % 5); }
qint64 valueOf(qsizetype row, std::size_t col) { return (qint64(row) << 20) - qint64(col) * 7919; }

void fill(RowStore& store, std::byte* row, qsizetype r)
{
    for (std::size_t c = 0; c < store.columns(); ++c)
        store.set(row, c, tagOf(r, c), valueOf(r, c));
}

::testing::AssertionResult rowIs(const RowStore& store, qsizetype index, qsizetype r)
{
    const std::byte* row = store.row(index);
    for (std::size_t c = 0; c < store.columns(); ++c)
        if (RowStore::tag(row, c) != tagOf(r, c) || store.payload(row, c) != valueOf(r, c))
            return ::testing::AssertionFailure() << "row " << index << " column " << c << " is not row " << r << "'s";
    return ::testing::AssertionSuccess();
}

TEST(RowStoreTest, CellsReadBackOverManyBlocksAndRowsNeverMove)
{
    // Narrow rows share blocks; a row wider than a quarter block gets one of its own.
    for (const std::size_t columns : {std::size_t(0), std::size_t(1), std::size_t(8), std::size_t(13), std::size_t(3000)}) {
        SCOPED_TRACE(columns);
        RowStore store;
        store.reset(columns);
        const qsizetype rows = columns > 100 ? 40 : 20000;
        std::vector<const std::byte*> where;
        for (qsizetype r = 0; r < rows; ++r) {
            std::byte* row = store.appendRow();
            fill(store, row, r);
            where.push_back(row);
        }
        ASSERT_EQ(rows, store.size());
        for (qsizetype r = 0; r < rows; ++r) {
            ASSERT_EQ(where[std::size_t(r)], store.row(r));
            ASSERT_TRUE(rowIs(store, r, r));
        }
        store.reset(columns);
        EXPECT_EQ(0, store.size());
    }
}

TEST(RowStoreTest, RowsGoInAndOutWhereAskedAndTheOthersKeepTheirCells)
{
    struct Step {
        char op; // 'i' insert a copy of new row `row` at `at`, 'r' replace, 'e' erase
        qsizetype at;
        qsizetype row;
    };
    const Step steps[] = {{'i', 0, 100}, {'i', 3, 101}, {'i', 12, 102}, {'r', 5, 103}, {'e', 0, 0},
                          {'e', 11, 0},  {'i', 6, 104}, {'r', 0, 105},  {'e', 5, 0}};
    RowStore store;
    store.reset(3);
    std::vector<qsizetype> expected;
    for (qsizetype r = 0; r < 10; ++r) {
        fill(store, store.appendRow(), r);
        expected.push_back(r);
    }
    std::vector<std::byte> scratch(store.rowBytes());
    for (const Step& s : steps) {
        fill(store, scratch.data(), s.row);
        const auto at = expected.begin() + s.at;
        switch (s.op) {
        case 'i':
            store.insertRow(s.at, scratch.data());
            expected.insert(at, s.row);
            break;
        case 'r':
            store.replaceRow(s.at, scratch.data());
            *at = s.row;
            break;
        default: store.eraseRow(s.at); expected.erase(at);
        }
        ASSERT_EQ(qsizetype(expected.size()), store.size()) << s.op << s.at;
        for (qsizetype i = 0; i < store.size(); ++i)
            ASSERT_TRUE(rowIs(store, i, expected[std::size_t(i)])) << "after " << s.op << s.at;
    }
}

TEST(RowStoreTest, TextsReadBackAndARepeatInTheSameColumnIsKeptOnce)
{
    const QByteArray big(70000, 'x'); // more than a block
    const QByteArray withNul("a\0b", 3);
    struct Case {
        std::size_t column;
        QByteArray text;
        bool sameAsPrevious; // payload equal to the previous case's
    };
    const Case cases[] = {
        {0, "morning", false},   {0, "morning", true}, // repeated down the column
        {1, "morning", false},                         // another column keeps its own
        {0, "evening", false},                         //
        {0, "evenin", false},                          // a prefix is another text
        {0, "", false},                                //
        {0, "", true},                                 //
        {0, big, false},                               // a block of its own; the small texts around it stay readable
        {0, big, true},                                //
        {0, withNul, false},                           //
        {0, "morning", false},                         // only the last text of a column is compared
        {2, QByteArray(), false}                       // a blob of no bytes
    };
    RowStore store;
    store.reset(3);
    std::vector<qint64> payloads;
    for (const Case& c : cases) {
        const qint64 p = store.putBytes(c.column, c.text.constData(), c.text.size());
        if (!payloads.empty()) {
            EXPECT_EQ(c.sameAsPrevious, p == payloads.back()) << c.text.left(10).constData();
        }
        payloads.push_back(p);
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const RowStore::Bytes b = RowStore::bytes(payloads[i]);
        EXPECT_EQ(cases[i].text, QByteArray(b.data, b.size)) << i;
    }
}

} // namespace
