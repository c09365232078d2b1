#pragma once
// Text boxes whose maximum length counts characters as the database's column rules count them
// (platform/runtime/TextLength.h): QLineEdit's maximum length counts UTF-16 units, so a box of
// 100 would stop 60 emoji at 50. The limit holds typing, pasting and dropping, and what goes past
// it is what was just typed; a text the program sets is shown whole, and a text longer than the
// limit may be edited shorter but never longer.
#include <QLineEdit>

class QPlainTextEdit;

namespace vb {

class LimitedLineEdit : public QLineEdit {
public:
    explicit LimitedLineEdit(int limit, QWidget* parent = nullptr);
    int characterLimit() const { return limit_; }

protected:
    bool event(QEvent* event) override;

private:
    int limit_;
};

// Limits a multi-line box to `limit` characters as the user edits it.
void limitCharacters(QPlainTextEdit* box, int limit);
// The program's text for a box limited by limitCharacters, shown whole whatever its length.
void setLimitedText(QPlainTextEdit* box, const QString& text);

} // namespace vb
