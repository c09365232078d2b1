#include "platform/runtime/ui/TextLimits.h"

#include "platform/runtime/TextLength.h"

#include <QAction>
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

// The key with only the part of its text that fits.
QKeyEvent shortenedKey(const QKeyEvent* event, const QString& fits)
{
    return QKeyEvent(event->type(), event->key(), event->modifiers(), fits, event->isAutoRepeat(), event->count());
}

// What of an input method's committed text fits in `text`, where it replaces the selection and
// the event's replacement range around the caret.
QString fittingCommit(const QInputMethodEvent* event, const QString& text, qsizetype caret, const QString& selected, int limit)
{
    const qsizetype from = std::clamp<qsizetype>(caret + event->replacementStart(), 0, text.size());
    const qsizetype length = std::clamp<qsizetype>(event->replacementLength(), 0, text.size() - from);
    const qsizetype replaced = characterCount(selected) + characterCount(QStringView(text).mid(from, length));
    return fittingInsert(event->commitString(), characterCount(text), replaced, limit);
}

// Hands the box the input method's event with only the part of its committed text that fits.
template <class Handle>
void commitShortened(QInputMethodEvent* event, const QString& fits, Handle handle)
{
    QInputMethodEvent shorter(event->preeditString(), event->attributes());
    shorter.setCommitString(fits, event->replacementStart(), event->replacementLength());
    handle(&shorter);
    event->setAccepted(shorter.isAccepted());
}

} // namespace

// ---- one line -------------------------------------------------------------------------------

LimitedLineEdit::LimitedLineEdit(int limit, QWidget* parent) : QLineEdit(parent), limit_(limit) {}

void LimitedLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste) && pastedShorter(QClipboard::Clipboard)) {
        event->accept();
        return;
    }
    const QString typed = isReadOnly() ? QString() : typedText(event);
    const QString fits = fittingInsert(typed, characterCount(text()), characterCount(selectedText()), limit_);
    if (fits.size() == typed.size())
        return QLineEdit::keyPressEvent(event);
    event->accept();
    if (!fits.isEmpty()) {
        QKeyEvent shorter = shortenedKey(event, fits);
        QLineEdit::keyPressEvent(&shorter);
    }
}

void LimitedLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString fits = fittingCommit(event, text(), cursorPosition(), selectedText(), limit_);
    if (isReadOnly() || fits.size() == event->commitString().size())
        return QLineEdit::inputMethodEvent(event);
    commitShortened(event, fits, [this](QInputMethodEvent* shorter) { QLineEdit::inputMethodEvent(shorter); });
}

void LimitedLineEdit::dropEvent(QDropEvent* event)
{
    const QString dropped = event->mimeData()->text();
    // A drop goes in at the mouse, the selection kept; a move within the box takes out what it
    // puts in.
    const bool within = event->source() == this && event->dropAction() == Qt::MoveAction;
    const QString fits = within ? dropped : fittingInsert(dropped, characterCount(text()), 0, limit_);
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
        const QString fits = fittingInsert(clip, characterCount(text()), 0, limit_);
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
                if (!pastedShorter(QClipboard::Clipboard))
                    paste();
            });
    }
    menu->popup(event->globalPos());
}

bool LimitedLineEdit::pastedShorter(QClipboard::Mode mode)
{
    if (isReadOnly())
        return false;
    const QString clip = QGuiApplication::clipboard()->text(mode);
    const QString fits = fittingInsert(clip, characterCount(text()), characterCount(selectedText()), limit_);
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

LimitedPlainTextEdit::LimitedPlainTextEdit(int limit, QWidget* parent) : QPlainTextEdit(parent), limit_(limit) {}

void LimitedPlainTextEdit::keyPressEvent(QKeyEvent* event)
{
    QString typed = isReadOnly() ? QString() : typedText(event);
    const bool lineBreak =
        event->matches(QKeySequence::InsertParagraphSeparator) || event->matches(QKeySequence::InsertLineSeparator);
    if (!isReadOnly() && lineBreak)
        typed = QStringLiteral("\n");
    const QString fits = fittingInsert(typed, characterCount(toPlainText()), characterCount(textCursor().selectedText()), limit_);
    if (fits.size() == typed.size())
        return QPlainTextEdit::keyPressEvent(event);
    // A line break that does not fit is left out whole.
    event->accept();
    if (!fits.isEmpty() && !lineBreak) {
        QKeyEvent shorter = shortenedKey(event, fits);
        QPlainTextEdit::keyPressEvent(&shorter);
    }
}

void LimitedPlainTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString fits = fittingCommit(event, toPlainText(), textCursor().position(), textCursor().selectedText(), limit_);
    if (isReadOnly() || fits.size() == event->commitString().size())
        return QPlainTextEdit::inputMethodEvent(event);
    commitShortened(event, fits, [this](QInputMethodEvent* shorter) { QPlainTextEdit::inputMethodEvent(shorter); });
}

void LimitedPlainTextEdit::insertFromMimeData(const QMimeData* source)
{
    // A CR LF pair becomes one line break in the box.
    const QString inserted = source->text().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Pasting replaces the selection; a drop has none by now (a move within took it out).
    const QString fits =
        fittingInsert(inserted, characterCount(toPlainText()), characterCount(textCursor().selectedText()), limit_);
    if (fits.size() == inserted.size())
        return QPlainTextEdit::insertFromMimeData(source);
    QMimeData shorter;
    shorter.setText(fits);
    QPlainTextEdit::insertFromMimeData(&shorter);
}

} // namespace vb
