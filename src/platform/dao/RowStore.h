#pragma once
// The rows of a recordset as read from SQLite, packed: a row is one byte of kind per cell, then
// an 8-byte payload per cell. Rows and texts live in fixed blocks that never move, so a large set
// is read without copying what is already stored, and a text cell's payload points straight at
// its bytes. Rows taken out or replaced leave their bytes in place until the store is reset.
#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace dao::detail {

class RowStore {
public:
    // A cell's kind; its payload: Bool, Int, Int64 the number, Real the double's bits, Date
    // milliseconds since the epoch (UTC), Text and Blob what putBytes returned.
    enum Tag : std::uint8_t { Null, Bool, Int, Int64, Real, Date, Text, Blob };

    // A stored text or blob: its bytes, as the payload of its cell points at them.
    struct Bytes {
        const char* data;
        qsizetype size;
    };

    // Drops every row and text and takes `columns` cells a row.
    void reset(std::size_t columns);
    std::size_t columns() const { return columns_; }
    std::size_t rowBytes() const { return rowBytes_; }
    qsizetype size() const { return qsizetype(rows_.size()); }

    // A row's cells: in place in the store, or in a scratch row of rowBytes() bytes.
    static Tag tag(const std::byte* row, std::size_t column) { return Tag(std::uint8_t(row[column])); }
    qint64 payload(const std::byte* row, std::size_t column) const
    {
        qint64 v;
        std::memcpy(&v, row + tagBytes_ + column * 8, sizeof v);
        return v;
    }
    void set(std::byte* row, std::size_t column, Tag tag, qint64 payload) const
    {
        row[column] = std::byte(tag);
        std::memcpy(row + tagBytes_ + column * 8, &payload, sizeof payload);
    }
    static Bytes bytes(qint64 payload)
    {
        const char* p = reinterpret_cast<const char*>(quintptr(payload));
        std::uint32_t n;
        std::memcpy(&n, p, sizeof n);
        return {p + sizeof n, qsizetype(n)};
    }

    const std::byte* row(qsizetype index) const { return rows_[std::size_t(index)]; }
    std::byte* row(qsizetype index) { return rows_[std::size_t(index)]; }

    // A new last row, its cells unset: the caller sets every one.
    std::byte* appendRow();
    // A copy of a scratch row, before the row at `index` (size() appends) or in its place.
    void insertRow(qsizetype index, const std::byte* cells);
    void replaceRow(qsizetype index, const std::byte* cells);
    void eraseRow(qsizetype index);

    // Keeps `size` bytes and returns the payload of a cell holding them. A text equal to the last
    // one kept for the same column is kept once: repeated names and comments cost no room, and
    // readers can tell equal texts by their payload alone.
    qint64 putBytes(std::size_t column, const char* data, qsizetype size);

private:
    std::byte* take(std::vector<std::unique_ptr<std::byte[]>>& blocks, std::size_t& left, std::size_t bytes,
                    std::size_t blockBytes);

    std::size_t columns_ = 0;
    std::size_t tagBytes_ = 0;
    std::size_t rowBytes_ = 0;
    std::vector<std::byte*> rows_;
    std::vector<std::unique_ptr<std::byte[]>> rowBlocks_;
    std::size_t rowRoom_ = 0; // bytes left in the last row block
    std::vector<std::unique_ptr<std::byte[]>> textBlocks_;
    std::size_t textRoom_ = 0;
    std::vector<qint64> lastText_; // per column
};

} // namespace dao::detail
