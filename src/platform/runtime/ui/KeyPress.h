#pragma once
// The KeyPress event of a text box: typed printable keys and Backspace reach the handler as key
// codes before the box sees them; a code the handler sets to 0 drops the key. Other keys (moves,
// Delete, Ctrl and Alt shortcuts) pass untouched.
#include <functional>

class QWidget;

namespace vb {

void OnKeyPress(QWidget* box, std::function<void(int& keyAscii)> handler);

} // namespace vb
