#pragma once
// Message boxes with VB's constants: MsgBox(prompt, buttons | icon | default button, title).
// The box goes through the installed MessageService; tests install a double that answers from
// a queue and fails on a box nobody expected.
#include <QString>

#include <vector>

namespace vb {

enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbYes = 6,
    vbNo = 7,
};

// One box as the code asked for it. The text keeps its line breaks as given ("\r\n").
struct MsgBoxCall {
    QString text;
    int buttons = vbOKOnly; // vbOKOnly, vbOKCancel, vbYesNoCancel, vbYesNo
    int icon = 0;           // 0, vbCritical, vbQuestion, vbExclamation, vbInformation
    int defaultButton = vbDefaultButton1;
    QString title;

    static MsgBoxCall from(const QString& prompt, int style, const QString& title);
    // The results this box can give, in button order (e.g. vbYes, vbNo).
    std::vector<int> results() const;
    // The result of the default button.
    int defaultResult() const;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the box and returns the result of the button chosen (vbOK, vbYes, ...).
    virtual int Show(const MsgBoxCall& box) = 0;
};

// The title defaults to App::Title() when empty.
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());

// The real boxes (QMessageBox), for the program.
class QtMessageService : public MessageService {
public:
    int Show(const MsgBoxCall& box) override;
};

} // namespace vb
