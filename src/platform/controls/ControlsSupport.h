#pragma once
// The small pictures the controls draw for their buttons.
#include <QColor>
#include <QIcon>

namespace controls_detail {

// Navigator arrows: a triangle pointing left or right, with a bar before it for first/last.
enum class Arrow { First, Previous, Next, Last, Up, Down };
QIcon arrowIcon(Arrow arrow, const QColor& color, int size = 12);

} // namespace controls_detail
