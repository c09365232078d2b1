#include "platform/controls/UpDown.h"

#include "platform/controls/ControlsSupport.h"

#include <QToolButton>
#include <QVBoxLayout>

using controls_detail::Arrow;

namespace {

QToolButton* makeArrow(QWidget* parent, const QString& name, Arrow arrow)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(controls_detail::arrowIcon(arrow, parent->palette().color(QPalette::ButtonText), 8));
    button->setIconSize(QSize(8, 8));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(80);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    return button;
}

} // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = makeArrow(this, QStringLiteral("cmdUp"), Arrow::Up);
    down_ = makeArrow(this, QStringLiteral("cmdDown"), Arrow::Down);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, &UpDown::UpClick);
    connect(down_, &QToolButton::clicked, this, &UpDown::DownClick);
}
