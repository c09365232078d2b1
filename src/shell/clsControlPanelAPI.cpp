#include "shell/clsControlPanelAPI.h"

#include "platform/services/Locale.h"
#include "platform/services/Services.h"

QString clsControlPanelAPI::GetShortDateFormat()
{
    shortDateFormat_ = services::Current().locale->ShortDatePattern();
    return shortDateFormat_;
}

QString clsControlPanelAPI::GetDateSeparator()
{
    dateSeparator_ = services::Current().locale->DateSeparator();
    return dateSeparator_;
}
