#pragma once
// Controls made with the name their form, the tests and the web-page export find them by.
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace vb {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption);
// Enter does not press it: these forms are not dialogs with a default button.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption);
QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption);
QComboBox* makeComboBox(QWidget* parent, const char* name);

} // namespace vb
