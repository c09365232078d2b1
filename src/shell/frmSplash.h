#pragma once
// The splash screen shown while the program opens (and, the first time, builds) its database:
// the program's picture, name and version, the maker, the copyright, a warning and a status
// line that the database code writes to. It stays above the other windows.
#include "platform/runtime/ui/Form.h"

#include <QIcon>
#include <QString>

class QLabel;

class frmSplash : public vb::Form {
    Q_OBJECT
public:
    frmSplash();
    ~frmSplash() override;

    QLabel* Image1;
    QLabel* lblProductName;
    QLabel* lblCompanyProduct;
    QLabel* lblCopyright;
    QLabel* lblWarning;
    QLabel* lblStatus;

    // The program's icon, which the main window takes too.
    static QIcon ProgramIcon();
    // The copyright notice of the splash (and of anything else that shows one).
    static QString CopyrightNotice();
    // Writes a status text on the loaded splash, shows the status line and lets it paint. Without
    // a loaded splash nothing happens.
    static void ShowStatus(const QString& text);

    void Form_Load() override;
    // Clicks are ignored: the splash goes when the main window is ready.
    void Form_Click() {}

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
