#include "platform/runtime/ui/NamedControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace vb {

namespace {

template <class T, class... Args>
T* named(const char* name, Args&&... args)
{
    auto* control = new T(std::forward<Args>(args)...);
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption) { return named<QLabel>(name, caption, parent); }

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = named<QPushButton>(name, caption, parent);
    button->setAutoDefault(false);
    return button;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption)
{
    return named<QGroupBox>(name, caption, parent);
}

QComboBox* makeComboBox(QWidget* parent, const char* name) { return named<QComboBox>(name, parent); }

} // namespace vb
