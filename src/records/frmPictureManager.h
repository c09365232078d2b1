#pragma once
// The picture setting: whether the Measurement screen shows its decorative picture (settings
// column PICTURE, "YES" or "NO"). Shown modally; closing it in any way stores the box's state,
// which the Measurement screen reads the next time it opens.
#include "platform/runtime/ui/Form.h"

class QCheckBox;
class QPushButton;
class QTextEdit;

class frmPictureManager : public vb::Form {
    Q_OBJECT
public:
    frmPictureManager();
    ~frmPictureManager() override;

    QCheckBox* chkPicture;   // "Display the picture"
    QPushButton* cmdSave;    // "&Save"
    QTextEdit* RichTextBox1; // the explanation, read-only

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdSave_Click();
};
