#include "platform/runtime/ui/FlowLayout.h"

#include <QWidget>

#include <algorithm>

namespace vb {

FlowLayout::FlowLayout(int spacing)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(spacing);
}

FlowLayout::~FlowLayout()
{
    for (QLayoutItem* item : items_)
        delete item; // a layout owns its items (not the widgets in them)
}

void FlowLayout::addItem(QLayoutItem* item) { items_.push_back(item); }

QLayoutItem* FlowLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? items_[static_cast<std::size_t>(index)] : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = items_[static_cast<std::size_t>(index)];
    items_.erase(items_.begin() + index);
    return item;
}

QSize FlowLayout::minimumSize() const
{
    QSize size;
    for (const QLayoutItem* item : items_)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    return size.grownBy(contentsMargins());
}

QSize FlowLayout::sizeHint() const
{
    // All on one line.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        if (width > 0)
            width += spacing();
        width += item->sizeHint().width();
        height = std::max(height, item->sizeHint().height());
    }
    return QSize(width, height).grownBy(contentsMargins());
}

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool place) const
{
    const QRect room = rect.marginsRemoved(contentsMargins());
    const int gap = spacing();
    int top = room.top();
    std::vector<std::pair<QLayoutItem*, int>> line; // the items of the line with their widths
    int lineWidth = 0;
    auto endLine = [&] {
        int height = 0;
        for (const auto& [item, width] : line)
            height = std::max(height, item->sizeHint().height());
        if (place) {
            int x = room.left();
            for (const auto& [item, width] : line) {
                item->setGeometry(QRect(x, top, width, height));
                x += width + gap;
            }
        }
        if (!line.empty())
            top += height + gap;
        line.clear();
        lineWidth = 0;
    };
    for (QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        // What is left of the line, down to the item's least width, before a new line.
        const int least = item->minimumSize().width();
        if (!line.empty() && lineWidth + gap + least > room.width())
            endLine();
        const int left = room.width() - lineWidth - (line.empty() ? 0 : gap);
        const int width = std::max(least, std::min(item->sizeHint().width(), left));
        lineWidth += (line.empty() ? 0 : gap) + width;
        line.emplace_back(item, width);
    }
    endLine();
    const int used = top > room.top() ? top - gap - room.top() : 0;
    return used + contentsMargins().top() + contentsMargins().bottom();
}

} // namespace vb
