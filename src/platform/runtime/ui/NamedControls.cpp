#include "platform/runtime/ui/NamedControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

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

QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QListWidget* makeList(QWidget* parent, const char* name, const QStringList& items)
{
    auto* list = named<QListWidget>(name, parent);
    list->addItems(items);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int rowHeight = std::max(list->sizeHintForRow(0), list->fontMetrics().height() + 2);
    list->setFixedHeight(rowHeight * int(items.size()) + 2 * list->frameWidth() + 2);
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + 12);
    return list;
}

} // namespace vb
