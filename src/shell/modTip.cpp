#include "shell/modTip.h"

#include "data/Globals.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/MsgBox.h"
#include "shell/frmTip.h"

#include <QCheckBox>

namespace modHealth {

void ShowTipOfTheDay(int mode)
{
    bool showAtStartup = false;
    if (gDB) {
        auto rs = gDB->OpenRecordset(QStringLiteral(" select ShowAtStartup from Application"), dao::dbOpenDynaset);
        if (rs->Eof())
            // Without the settings row the setting reads as off.
            vb::MsgBox(QStringLiteral("Strange Error: Message 111"));
        else
            showAtStartup = rs->Fields(0).Value().toBool();
        rs->Close();
    }
    if (mode != 2 && !(mode == 1 && showAtStartup))
        return;

    frmTip& tip = vb::defaultInstance<frmTip>();
    tip.Load();
    tip.setCaption(QStringLiteral("Tip of the Day: ") + App::Title());
    tip.chkLoadTipsAtStartup->setChecked(showAtStartup);
    tip.Show(vb::vbModal);
}

} // namespace modHealth
