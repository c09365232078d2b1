#pragma once
// A row of controls that continues on the next line when it does not fit across: each control
// takes the width it asks for, or what is left of the line down to its least width before it
// starts a new line; the controls of a line share its height, and the lines start at the left.
// Its width at least is that of its widest control.
#include <QLayout>

#include <vector>

namespace vb {

class FlowLayout : public QLayout {
public:
    explicit FlowLayout(int spacing = 4);
    ~FlowLayout() override;
    FlowLayout(const FlowLayout&) = delete;
    FlowLayout& operator=(const FlowLayout&) = delete;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items within the rectangle (when asked) and gives the height they take.
    int arrange(const QRect& rect, bool place) const;

    std::vector<QLayoutItem*> items_;
};

} // namespace vb
