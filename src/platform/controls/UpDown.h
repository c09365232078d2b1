#pragma once
// The up-down control: two small arrow buttons that report their clicks separately and repeat
// while held. It never takes the focus, so the box it steps keeps it.
#include <QWidget>

class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton* up_;
    QToolButton* down_;
};
