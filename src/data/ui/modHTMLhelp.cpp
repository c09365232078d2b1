#include "data/ui/modHTMLhelp.h"

#include "platform/services/Help.h"

namespace modHTMLhelp {

QString TopicOf(const QString& formName)
{
    struct Topic {
        const char* form;
        const char* topic;
    };
    static const Topic topics[] = {
        {"frmPerson", "htm\\screenperson.htm"},
        {"frmRegimen", "htm\\screenregimen.htm"},
        {"frmMeasure", "htm\\ScreenMeasurement.htm"},
        {"frmChart", "htm\\screenchart.htm"},
        {"frmGrid", "htm\\screengrid.htm"},
        {"frmDSetGoal", "htm\\ScreenSugarGoalSetting.htm"},
        {"frmBiologicalClockWork", "htm\\ScreenWorkWithBiologicalClock.htm"},
        {"frmBMI", "htm\\BMI.htm"},
    };
    for (const Topic& t : topics) {
        if (formName == QLatin1String(t.form))
            return QString::fromLatin1(t.topic);
    }
    return QString();
}

void ShowHelp(const QString& formName)
{
    // A missing page is reported by the help service itself.
    services::ShowHelpTopic(TopicOf(formName));
}

} // namespace modHTMLhelp
