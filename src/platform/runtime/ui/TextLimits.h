#pragma once
// Text boxes whose maximum length counts characters as the database's column rules count them
// (platform/runtime/TextLength.h): QLineEdit's maximum length counts UTF-16 units, so a box of
// 100 would stop 60 emoji at 50. Typing, pasting and dropping put in only what fits, so no edit
// ever takes the text past the limit and Undo and Redo only go back to texts the user had; what
// is left out is the end of what was typed or pasted, never half a character. A text the program
// sets is shown whole, and a text longer than the limit may be edited shorter but never longer.
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace vb {

class LimitedLineEdit : public QLineEdit {
public:
    explicit LimitedLineEdit(int limit, QWidget* parent = nullptr);
    int characterLimit() const { return limit_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Puts in the part of the clipboard's text that fits and returns true, or returns false
    // when all of it fits (the box's own paste then does the work).
    bool pastedShorter(QClipboard::Mode mode);
    // So that Undo takes back a paste alone.
    void startUndoStep();

    int limit_;
};

// A multi-line box limited to `limit` characters.
class LimitedPlainTextEdit : public QPlainTextEdit {
public:
    explicit LimitedPlainTextEdit(int limit, QWidget* parent = nullptr);
    int characterLimit() const { return limit_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    // Pasting, dropping and the middle button's paste all come through here.
    void insertFromMimeData(const QMimeData* source) override;

private:
    int limit_;
};

} // namespace vb
