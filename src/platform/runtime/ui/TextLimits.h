#pragma once
// Text boxes whose maximum length counts characters as the database's column rules count them
// (platform/runtime/TextLength.h): QLineEdit's maximum length counts UTF-16 units, so a box of
// 100 would stop 60 emoji at 50. Typing, pasting and dropping put in only what fits, so no edit
// ever takes the text past the limit and Undo and Redo only go back to texts the user had; what
// is left out is the end of what was typed or pasted, never half a character. A text the program
// sets is shown whole, and a text longer than the limit may be edited shorter but never longer.
#include <QLineEdit>
#include <QPlainTextEdit>

namespace vb {

// What both kinds of box share: keys and input methods put in only what fits.
template <class Box>
class LimitedBox : public Box {
public:
    explicit LimitedBox(int limit, QWidget* parent = nullptr) : Box(parent), limit_(limit) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    // The part of `inserted` that fits in place of the selection, or beside it when `overSelection`
    // is false.
    QString fitting(QStringView inserted, bool overSelection = true) const;

    int limit_;
};

class LimitedLineEdit : public LimitedBox<QLineEdit> {
public:
    using LimitedBox::LimitedBox;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Puts in the part of the clipboard's text that fits and returns true, or returns false
    // when all of it fits (the box's own paste then does the work).
    bool pastedShorter();
    // So that Undo takes back a paste alone.
    void startUndoStep();
};

// A multi-line box limited to `limit` characters.
class LimitedPlainTextEdit : public LimitedBox<QPlainTextEdit> {
public:
    using LimitedBox::LimitedBox;

protected:
    // Pasting, dropping and the middle button's paste all come through here.
    void insertFromMimeData(const QMimeData* source) override;
};

extern template class LimitedBox<QLineEdit>;
extern template class LimitedBox<QPlainTextEdit>;

} // namespace vb
