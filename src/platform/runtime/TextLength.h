#pragma once
// Text lengths as the database's column rules count them. SQLite's length() counts Unicode
// characters (code points); QString::size() and a text box's maximum length count UTF-16 units,
// in which a character outside the basic plane (an emoji, a rare CJK ideograph) counts two.
// Every length limit and length check of the program counts through these.
#include <QString>
#include <QStringView>

namespace vb {

// The characters of a text as the column rules count them. A lone surrogate, which is stored as
// one replacement character, counts one.
qsizetype characterCount(QStringView text);

// Whether the text holds at most `limit` characters.
inline bool fitsLength(QStringView text, qsizetype limit) { return characterCount(text) <= limit; }

// The UTF-16 units that the last `characters` characters before `end` take (fewer characters
// when the text before `end` holds fewer); a surrogate pair is never split.
qsizetype unitsBefore(QStringView text, qsizetype end, qsizetype characters);

// After an edit the text holds more than `limit` characters and more than the `before` it held:
// the excess is what was just typed or pasted, which stands before `caret`. Returns how many
// UTF-16 units before the caret to take away (0 when the text may stay as it is).
qsizetype typedExcess(QStringView text, qsizetype caret, qsizetype before, qsizetype limit);

} // namespace vb
