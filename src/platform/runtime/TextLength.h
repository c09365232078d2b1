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

// The part of `inserted` that an edit may put in place of `replaced` characters of a text of
// `present` characters: its first characters up to `limit` characters in all, or up to `present`
// when the text is already longer (such a text may be edited shorter, never longer). A character
// outside the basic plane is taken whole or not at all.
QString fittingInsert(QStringView inserted, qsizetype present, qsizetype replaced, qsizetype limit);

} // namespace vb
