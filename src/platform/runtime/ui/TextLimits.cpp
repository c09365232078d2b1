#include "platform/runtime/ui/TextLimits.h"

#include "platform/runtime/TextLength.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextCursor>

#include <algorithm>

namespace vb {

namespace {

// The text a key types, as text boxes take keys: printable characters, not with Ctrl alone
// (AltGr, which is Ctrl+Alt, types characters); empty for a key that types nothing.
QString typedText(const QKeyEvent* event)
{
    const QString text = event->text();
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (text.isEmpty() || modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return {};
    const QChar c = text.front();
    const bool types =
        c.isPrint() || c.isHighSurrogate() || c.category() == QChar::Other_Format || c.category() == QChar::Other_PrivateUse;
    return types ? text : QString();
}

// What a key types into a box of several lines, where Enter types a line break.
QString typedText(const QPlainTextEdit&, const QKeyEvent* event)
{
    if (event->matches(QKeySequence::InsertParagraphSeparator) || event->matches(QKeySequence::InsertLineSeparator))
        return QStringLiteral("\n");
    return typedText(event);
}

QString typedText(const QLineEdit&, const QKeyEvent* event) { return typedText(event); }

QString boxText(const QLineEdit& box) { return box.text(); }
QString boxText(const QPlainTextEdit& box) { return box.toPlainText(); }
qsizetype caretOf(const QLineEdit& box) { return box.cursorPosition(); }
qsizetype caretOf(const QPlainTextEdit& box) { return box.textCursor().position(); }
QString selectionOf(const QLineEdit& box) { return box.selectedText(); }
QString selectionOf(const QPlainTextEdit& box) { return box.textCursor().selectedText(); }

} // namespace

template <class Box>
QString LimitedBox<Box>::fitting(QStringView inserted, bool overSelection) const
{
    const qsizetype replaced = overSelection ? characterCount(selectionOf(*this)) : 0;
    return fittingInsert(inserted, characterCount(boxText(*this)), replaced, limit_);
}

template <class Box>
void LimitedBox<Box>::keyPressEvent(QKeyEvent* event)
{
    const QString typed = this->isReadOnly() ? QString() : typedText(*this, event);
    const QString fits = fitting(typed);
    if (fits.size() == typed.size())
        return Box::keyPressEvent(event);
    event->accept();
    if (!fits.isEmpty()) {
        QKeyEvent shorter(event->type(), event->key(), event->modifiers(), fits, event->isAutoRepeat(), event->count());
        Box::keyPressEvent(&shorter);
    }
}

template <class Box>
void LimitedBox<Box>::inputMethodEvent(QInputMethodEvent* event)
{
    // The committed text replaces the selection and the event's range around the caret.
    const QString text = boxText(*this);
    const qsizetype from = std::clamp<qsizetype>(caretOf(*this) + event->replacementStart(), 0, text.size());
    const qsizetype length = std::clamp<qsizetype>(event->replacementLength(), 0, text.size() - from);
    const qsizetype replaced = characterCount(selectionOf(*this)) + characterCount(QStringView(text).mid(from, length));
    const QString fits = fittingInsert(event->commitString(), characterCount(text), replaced, limit_);
    if (this->isReadOnly() || fits.size() == event->commitString().size())
        return Box::inputMethodEvent(event);
    QInputMethodEvent shorter(event->preeditString(), event->attributes());
    shorter.setCommitString(fits, event->replacementStart(), event->replacementLength());
    Box::inputMethodEvent(&shorter);
    event->setAccepted(shorter.isAccepted());
}

template class LimitedBox<QLineEdit>;
template class LimitedBox<QPlainTextEdit>;

// ---- one line -------------------------------------------------------------------------------

void LimitedLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste) && pastedShorter()) {
        event->accept();
        return;
    }
    LimitedBox::keyPressEvent(event);
}

void LimitedLineEdit::dropEvent(QDropEvent* event)
{
    const QString dropped = event->mimeData()->text();
    // A drop goes in at the mouse, the selection kept; a move within the box takes out what it
    // puts in.
    const bool within = event->source() == this && event->dropAction() == Qt::MoveAction;
    const QString fits = within ? dropped : fitting(dropped, false);
    if (isReadOnly() || fits.size() == dropped.size())
        return QLineEdit::dropEvent(event);
    if (fits.isEmpty()) {
        event->ignore();
        return;
    }
    QMimeData shorterText;
    shorterText.setText(fits);
    QDropEvent shorter(event->position(), event->possibleActions(), &shorterText, event->buttons(), event->modifiers(),
                       event->type());
    shorter.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&shorter);
    event->setDropAction(shorter.dropAction());
    event->setAccepted(shorter.isAccepted());
}

void LimitedLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the selection clipboard at the caret, not over the selection.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() && !isReadOnly()) {
        const QString clip = QGuiApplication::clipboard()->text(QClipboard::Selection);
        const QString fits = fitting(clip, false);
        if (fits.size() != clip.size()) {
            deselect();
            startUndoStep();
            insert(fits);
            event->accept();
            return;
        }
    }
    QLineEdit::mouseReleaseEvent(event);
}

void LimitedLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste is the action tied to the box's paste.
    for (QAction* action : menu->actions()) {
        if (disconnect(action, &QAction::triggered, this, &QLineEdit::paste))
            connect(action, &QAction::triggered, this, [this] {
                if (!pastedShorter())
                    paste();
            });
    }
    menu->popup(event->globalPos());
}

bool LimitedLineEdit::pastedShorter()
{
    if (isReadOnly())
        return false;
    const QString clip = QGuiApplication::clipboard()->text();
    const QString fits = fitting(clip);
    if (fits.size() == clip.size())
        return false;
    startUndoStep();
    insert(fits);
    return true;
}

void LimitedLineEdit::startUndoStep()
{
    // Moving the caret ends the undo step of the typing before it, as the box's own paste does.
    if (hasSelectedText() || text().isEmpty())
        return;
    const int caret = cursorPosition();
    setCursorPosition(caret > 0 ? caret - 1 : caret + 1);
    setCursorPosition(caret);
}

// ---- several lines --------------------------------------------------------------------------

void LimitedPlainTextEdit::insertFromMimeData(const QMimeData* source)
{
    // A CR LF pair becomes one line break in the box.
    const QString inserted = source->text().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Pasting replaces the selection; a drop has none by now (a move within took it out).
    const QString fits = fitting(inserted);
    if (fits.size() == inserted.size())
        return QPlainTextEdit::insertFromMimeData(source);
    QMimeData shorter;
    shorter.setText(fits);
    QPlainTextEdit::insertFromMimeData(&shorter);
}

} // namespace vb
