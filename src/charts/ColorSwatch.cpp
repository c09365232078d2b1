#include "charts/ColorSwatch.h"

ColorSwatch::ColorSwatch(QWidget* parent, const QString& name) : QLabel(parent)
{
    setObjectName(name);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setMinimumSize(48, 20);
    setBackColor(code_);
}

void ColorSwatch::setBackColor(vb::OLE_COLOR code)
{
    code_ = code;
    vb::SetBackColor(this, code);
}
