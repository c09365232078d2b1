#pragma once
// A colour swatch of the chart dialogs: a bordered label whose back colour shows a colour code.
// It keeps the code itself, so a system colour (&H8000000F) stays a system colour when it is
// read back rather than turning into whatever the palette resolves it to.
#include "platform/runtime/ui/Colors.h"

#include <QLabel>

#include <functional>

class ColorSwatch : public QLabel {
    Q_OBJECT
public:
    ColorSwatch(QWidget* parent, const QString& name);

    vb::OLE_COLOR BackColor() const { return code_; }
    void setBackColor(vb::OLE_COLOR code);

private:
    vb::OLE_COLOR code_ = vb::vbButtonFace;
};

namespace chartdialogs {

// Stored colour columns are signed 32-bit numbers: a system colour's code is written as its
// negative twin.
inline qint32 StoredColor(vb::OLE_COLOR code) { return static_cast<qint32>(code); }

} // namespace chartdialogs
