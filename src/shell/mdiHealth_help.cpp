// Help, print screen, chart printing, the about box and the tip of the day.
#include "shell/mdiHealth.h"

#include "data/ui/modHTMLhelp.h"
#include "platform/runtime/ui/Form.h"
#include "platform/services/Printing.h"
#include "shell/frmAbout.h"
#include "shell/modPrintScreen.h"
#include "shell/modTip.h"

void mdiHealth::mnuContents_Click()
{
    // The active child form's topic; the contents page when none is active.
    QString formName;
    if (vb::FormBase* active = ActiveForm())
        formName = active->Name();
    modHTMLhelp::ShowHelp(formName);
}

void mdiHealth::mnuPrintScreen_Click()
{
    try {
        modPrintScreen::PrintActiveWindow();
    } catch (const services::PrintError& e) {
        modPrintScreen::ShowPrinterMessage(e.Description());
    }
}

void mdiHealth::mnuPrint_Click()
{
    try {
        modPrintScreen::PrintChart();
    } catch (const services::PrintError& e) {
        modPrintScreen::ShowPrinterMessage(e.Description());
    }
}

void mdiHealth::mnuAbout_Click() { vb::defaultInstance<frmAbout>().Show(vb::vbModal); }

void mdiHealth::mnuTip_Click() { modHealth::ShowTipOfTheDay(2); }
