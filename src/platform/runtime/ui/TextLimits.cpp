#include "platform/runtime/ui/TextLimits.h"

#include "platform/runtime/TextLength.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace vb {

namespace {

const char* const kShownCharacters = "limitShownCharacters";
const char* const kSettingText = "limitSettingText";

} // namespace

LimitedLineEdit::LimitedLineEdit(int limit, QWidget* parent) : QLineEdit(parent), limit_(limit) {}

bool LimitedLineEdit::event(QEvent* event)
{
    // The events through which the user edits the text (keys, input methods, drops, the context
    // menu's Paste, the middle button's paste); whatever else changes the text is the program.
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::ContextMenu:
    case QEvent::MouseButtonRelease: break;
    default: return QLineEdit::event(event);
    }
    const qsizetype before = characterCount(text());
    const bool handled = QLineEdit::event(event);
    const int caret = cursorPosition();
    if (const auto units = static_cast<int>(typedExcess(text(), caret, before, limit_))) {
        setSelection(caret - units, units);
        del();
    }
    return handled;
}

void limitCharacters(QPlainTextEdit* box, int limit)
{
    box->setProperty(kShownCharacters, characterCount(box->toPlainText()));
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, limit] {
        const QString text = box->toPlainText();
        QTextCursor cursor = box->textCursor();
        const qsizetype units = box->property(kSettingText).toBool()
                                    ? 0
                                    : typedExcess(text, cursor.position(), box->property(kShownCharacters).toLongLong(), limit);
        if (units > 0) {
            // Changes the text again, which notes the count.
            cursor.setPosition(cursor.position() - static_cast<int>(units), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            return;
        }
        box->setProperty(kShownCharacters, characterCount(text));
    });
}

void setLimitedText(QPlainTextEdit* box, const QString& text)
{
    box->setProperty(kSettingText, true);
    box->setPlainText(text);
    box->setProperty(kSettingText, false);
}

} // namespace vb
