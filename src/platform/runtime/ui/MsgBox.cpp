#include "platform/runtime/ui/MsgBox.h"

#include "platform/runtime/App.h"
#include "platform/runtime/ui/RuntimeServices.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vb {

MsgBoxCall MsgBoxCall::from(const QString& prompt, int style, const QString& title)
{
    MsgBoxCall box;
    box.text = prompt;
    box.buttons = style & 0x7;
    box.icon = style & 0x70;
    box.defaultButton = style & 0x300;
    box.title = title.isEmpty() ? App::Title() : title;
    return box;
}

std::vector<int> MsgBoxCall::results() const
{
    switch (buttons) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    default: return {vbOK};
    }
}

int MsgBoxCall::defaultResult() const
{
    const std::vector<int> all = results();
    const size_t index = static_cast<size_t>(defaultButton / vbDefaultButton2);
    // A default beyond the buttons falls back to the first, as the system box does.
    return index < all.size() ? all[index] : all.front();
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    return Runtime().messages->Show(MsgBoxCall::from(prompt, style, title));
}

int QtMessageService::Show(const MsgBoxCall& box)
{
    QString text = box.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (box.icon) {
    case vbCritical: icon = QMessageBox::Critical; break;
    case vbQuestion: icon = QMessageBox::Question; break;
    case vbExclamation: icon = QMessageBox::Warning; break;
    case vbInformation: icon = QMessageBox::Information; break;
    default: break;
    }

    QMessageBox dialog(icon, box.title, text, QMessageBox::NoButton, QApplication::activeWindow());
    // Messages carry the user's own texts (names, labels): never read them as markup.
    dialog.setTextFormat(Qt::PlainText);
    std::vector<std::pair<QPushButton*, int>> buttons;
    for (int result : box.results()) {
        QMessageBox::StandardButton standard = QMessageBox::Ok;
        switch (result) {
        case vbCancel: standard = QMessageBox::Cancel; break;
        case vbYes: standard = QMessageBox::Yes; break;
        case vbNo: standard = QMessageBox::No; break;
        default: break;
        }
        buttons.emplace_back(dialog.addButton(standard), result);
    }
    const int wanted = box.defaultResult();
    for (const auto& [button, result] : buttons) {
        if (result == wanted)
            dialog.setDefaultButton(button);
    }
    dialog.exec();
    for (const auto& [button, result] : buttons) {
        if (dialog.clickedButton() == button)
            return result;
    }
    // Closed without a button (Esc on a box without Cancel): the safe answer.
    return box.buttons == vbOKOnly ? vbOK : (box.buttons == vbYesNo ? vbNo : vbCancel);
}

} // namespace vb
