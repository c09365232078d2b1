#pragma once
// The picture clip: one picture cut into a grid of equal cells, handed out by index (row by row).
// It shows nothing itself. calendarButtonPicture() draws the three pictures of a calendar button
// in one row: normal, pressed, and while the calendar is open.
#include <QObject>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>

class PictureClip : public QObject {
    Q_OBJECT
public:
    explicit PictureClip(QObject* parent = nullptr);

    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& picture) { picture_ = picture; }
    int Rows() const { return rows_; }
    void setRows(int rows) { rows_ = std::max(1, rows); }
    int Cols() const { return cols_; }
    void setCols(int cols) { cols_ = std::max(1, cols); }

    // Cell index from 0, row by row; an index outside the cells gives an empty picture.
    QPixmap GraphicCell(int index) const;

    static QPixmap calendarButtonPicture(int cellSize = 20);

private:
    QPixmap picture_;
    int rows_ = 1;
    int cols_ = 1;
};

// A button showing a picture, and another one while it is held down.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& picture);
    QPixmap DownPicture() const { return downPicture_; }
    void setDownPicture(const QPixmap& picture);

private:
    void showPicture();

    QPixmap picture_;
    QPixmap downPicture_;
};
