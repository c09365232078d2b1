#include "platform/dao/RowStore.h"

#include <algorithm>

namespace dao::detail {

namespace {

// Blocks stay below the size the allocator maps on its own, so the memory of a closed set is
// reused by the next one instead of being mapped and faulted in afresh.
constexpr std::size_t kBlockBytes = 64 * 1024 - 64;

} // namespace

void RowStore::reset(std::size_t columns)
{
    columns_ = columns;
    tagBytes_ = (columns + 7) / 8 * 8;
    rowBytes_ = std::max<std::size_t>(tagBytes_ + columns * 8, 8);
    rows_.clear();
    rowBlocks_.clear();
    rowRoom_ = 0;
    textBlocks_.clear();
    textRoom_ = 0;
    lastText_.assign(columns, 0);
}

std::byte* RowStore::take(std::vector<std::unique_ptr<std::byte[]>>& blocks, std::size_t& left, std::size_t bytes,
                          std::size_t blockBytes)
{
    if (bytes > blockBytes / 4) {
        // A large piece gets a block of its own, before the current one, whose room stays.
        auto own = std::make_unique_for_overwrite<std::byte[]>(bytes);
        std::byte* p = own.get();
        blocks.insert(blocks.empty() ? blocks.end() : blocks.end() - 1, std::move(own));
        return p;
    }
    if (left < bytes) {
        blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(blockBytes));
        left = blockBytes;
    }
    std::byte* p = blocks.back().get() + (blockBytes - left);
    left -= bytes;
    return p;
}

std::byte* RowStore::appendRow()
{
    // Rows wider than a quarter block get a block each (take), all others share blocks.
    std::byte* p = take(rowBlocks_, rowRoom_, rowBytes_, kBlockBytes);
    rows_.push_back(p);
    return p;
}

void RowStore::insertRow(qsizetype index, const std::byte* cells)
{
    std::byte* p = take(rowBlocks_, rowRoom_, rowBytes_, kBlockBytes);
    std::memcpy(p, cells, rowBytes_);
    rows_.insert(rows_.begin() + index, p);
}

void RowStore::replaceRow(qsizetype index, const std::byte* cells) { std::memcpy(row(index), cells, rowBytes_); }

void RowStore::eraseRow(qsizetype index) { rows_.erase(rows_.begin() + index); }

qint64 RowStore::putBytes(std::size_t column, const char* data, qsizetype size)
{
    if (const qint64 last = lastText_[column]) {
        const Bytes b = bytes(last);
        if (b.size == size && (size == 0 || std::memcmp(b.data, data, std::size_t(size)) == 0))
            return last;
    }
    const std::uint32_t n = std::uint32_t(size);
    std::byte* p = take(textBlocks_, textRoom_, sizeof n + std::size_t(size), kBlockBytes);
    std::memcpy(p, &n, sizeof n);
    if (size > 0)
        std::memcpy(p + sizeof n, data, std::size_t(size));
    const qint64 payload = qint64(quintptr(p));
    lastText_[column] = payload;
    return payload;
}

} // namespace dao::detail
