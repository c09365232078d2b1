#pragma once
// Controls made with the name their form, the tests and the web-page export find them by.
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace vb {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption);
// Not a default button: Enter clicks it only while it has the focus (InstallFormBehaviour),
// never from another control of its form.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption);
QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption);
QComboBox* makeComboBox(QWidget* parent, const char* name);
QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QString& caption, bool checked = true);
// A single-choice list as high as its entries and at least as wide as the widest, without
// scroll bars.
QListWidget* makeList(QWidget* parent, const char* name, const QStringList& items);

} // namespace vb
