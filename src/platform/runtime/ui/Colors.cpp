#include "platform/runtime/ui/Colors.h"

#include <QGuiApplication>
#include <QWidget>

namespace vb {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette entry that plays the part of each system colour index.
SystemRole RoleOf(unsigned index)
{
    using P = QPalette;
    switch (index) {
    case 0x00: return {P::Active, P::Button};          // scroll bars
    case 0x01: return {P::Active, P::Dark};            // desktop
    case 0x02: return {P::Active, P::Highlight};       // active title bar
    case 0x03: return {P::Inactive, P::Highlight};     // inactive title bar
    case 0x04: return {P::Active, P::Window};          // menu bar
    case 0x05: return {P::Active, P::Base};            // window background
    case 0x06: return {P::Active, P::Shadow};          // window frame
    case 0x07: return {P::Active, P::WindowText};      // menu text
    case 0x08: return {P::Active, P::Text};            // window text
    case 0x09: return {P::Active, P::HighlightedText}; // title bar text
    case 0x0A: return {P::Active, P::Button};          // active border
    case 0x0B: return {P::Inactive, P::Button};        // inactive border
    case 0x0C: return {P::Active, P::Mid};             // application workspace
    case 0x0D: return {P::Active, P::Highlight};
    case 0x0E: return {P::Active, P::HighlightedText};
    case 0x0F: return {P::Active, P::Button}; // button face
    case 0x10: return {P::Active, P::Dark};   // button shadow
    case 0x11: return {P::Disabled, P::Text}; // grey text
    case 0x12: return {P::Active, P::ButtonText};
    case 0x13: return {P::Inactive, P::HighlightedText}; // inactive caption text
    case 0x14: return {P::Active, P::Light};             // 3D highlight
    case 0x15: return {P::Active, P::Shadow};            // 3D dark shadow
    case 0x16: return {P::Active, P::Midlight};          // 3D light
    case 0x17: return {P::Active, P::ToolTipText};
    case 0x18: return {P::Active, P::ToolTipBase};
    default: return {P::Active, P::Window};
    }
}

} // namespace

QColor ColorFromCode(OLE_COLOR code) { return ColorFromCode(code, QGuiApplication::palette()); }

QColor ColorFromCode(OLE_COLOR code, const QPalette& palette)
{
    if (IsSystemColor(code)) {
        const SystemRole entry = RoleOf(code & 0xFF);
        return palette.color(entry.group, entry.role);
    }
    return QColor(static_cast<int>(code & 0xFF), static_cast<int>((code >> 8) & 0xFF), static_cast<int>((code >> 16) & 0xFF));
}

OLE_COLOR CodeFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

void SetBackColor(QWidget* widget, OLE_COLOR code)
{
    // System colours are the system's, not whatever an earlier call put into the widget.
    const QColor color = ColorFromCode(code);
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetForeColor(QWidget* widget, OLE_COLOR code)
{
    // System colours are the system's, not whatever an earlier call put into the widget.
    const QColor color = ColorFromCode(code);
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, color);
    widget->setPalette(palette);
}

OLE_COLOR BackColor(const QWidget* widget) { return CodeFromColor(widget->palette().color(widget->backgroundRole())); }

OLE_COLOR ForeColor(const QWidget* widget) { return CodeFromColor(widget->palette().color(widget->foregroundRole())); }

} // namespace vb
