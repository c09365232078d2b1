#pragma once
// The tip of the day: one line of the tips file "TIPS.TXT" in the program's folder, drawn at
// random, another on request, and the check box that decides whether a tip shows at start-up
// (settings column ShowAtStartup).
#include "platform/runtime/ui/Form.h"

#include <QString>
#include <QStringList>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

class frmTip : public vb::Form {
    Q_OBJECT
public:
    explicit frmTip(QWidget* parent = nullptr);
    ~frmTip() override;

    // The tips file: App::Path() + "/TIPS.TXT".
    static QString TipsPath();
    // The text shown when there is no tips file.
    static QString MissingFileText();

    // Reads the file whole, one tip a line (empty lines too), and shows one at random. False
    // when the path is empty or no file is there, or when it cannot be read.
    bool LoadTipsFile(const QString& path);
    void ShowRandomTip();
    void ShowCurrentTip();

    void cmdNextTip_Click();
    void cmdClose_Click();
    void chkLoadTipsAtStartup_Click();

    const QStringList& Tips() const { return tips_; }
    // 1-based, 0 before a tip was drawn.
    int CurrentTip() const { return currentTip_; }
    bool Changed() const { return changed_; }

    QLabel* lblTipText;
    QCheckBox* chkLoadTipsAtStartup;
    QPushButton* cmdNextTip;
    QPushButton* cmdClose;
    QLabel* Label1;
    QLabel* Label2;
    QFrame* lblBack;
    QLabel* Picture1;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;

private:
    QStringList tips_;
    int currentTip_ = 0;
    bool changed_ = false;
    QString readError_;
};
