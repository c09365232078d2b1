#include "reports/GridExport.h"

#include "data/Globals.h"
#include "data/ui/ErrorReport.h"
#include "platform/controls/FlexGridSource.h"
#include "platform/dao/dao.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ui/Form.h"
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "reports/clsExport.h"
#include "reports/clsWebReportGenerator.h"
#include "reports/frmGrid.h"

namespace gridexport {

namespace {

// The forms whose grid is exported, with the grid's name.
struct ExportedForm {
    const char* form;
    const char* grid;
};

constexpr ExportedForm kExportedForms[] = {
    {"frmMeasure", "vsFGInfo"},    {"frmGrid", "vsFGShow"},     {"frmDSetGoal", "vsFGDSetGoal"},
    {"frmRegimen", "vsFGRegimen"}, {"frmPerson", "vsFGPerson"}, {"frmChart", "vsFGChartRegimen"},
};

const ExportedForm* exportedForm(const QString& name)
{
    for (const ExportedForm& f : kExportedForms) {
        if (name == QLatin1String(f.form))
            return &f;
    }
    return nullptr;
}

// The title of the grid form's table by the level it shows; empty without a name.
QString gridFormTitle(vb::FormBase& form, const QString& person)
{
    const auto* grid = dynamic_cast<const frmGrid*>(&form);
    if (!grid || person.isEmpty())
        return QString();
    switch (grid->ShownPlotType) {
    case 0: return QStringLiteral("Daily measurement reading for ") + person;
    case 1: return QStringLiteral("Daily average measurement reading for ") + person;
    case 2: return QStringLiteral("Weekly average measurement reading for ") + person;
    case 3: return QStringLiteral("Monthly average measurement reading for ") + person;
    default: return QString();
    }
}

// Appends the grid of every loaded form that is exported (only that form's when onlyForm is
// given), in the order the forms were loaded.
void exportGrids(clsWebReportGenerator& report, const QString& onlyForm)
{
    try {
        vb::BusyCursor busy;
        clsExport converter;
        for (vb::FormBase* form : vb::Forms().Snapshot()) {
            const QString name = form->Name();
            const ExportedForm* exported = exportedForm(name);
            if (!exported || (!onlyForm.isEmpty() && name != onlyForm))
                continue;

            QString title;
            if (name == QLatin1String("frmMeasure")) {
                const QString person = GetCurrentPersonName();
                if (!person.isEmpty())
                    title = QStringLiteral("Measurement Reading for ") + person;
            } else if (name == QLatin1String("frmGrid")) {
                const auto* grid = dynamic_cast<const frmGrid*>(form);
                title = gridFormTitle(*form, PersonName(grid ? grid->ShownPersonKey : gPersonKey));
            } else if (name == QLatin1String("frmDSetGoal")) {
                title = QStringLiteral("Diabetes Goal");
            } else if (name == QLatin1String("frmRegimen")) {
                title = QStringLiteral("Regimen");
            } else if (name == QLatin1String("frmPerson")) {
                title = QStringLiteral("Person");
            } else {
                title = QStringLiteral("Regimen Used in the Measurements");
            }

            const auto* grid =
                dynamic_cast<const FlexGridSource*>(form->widget()->findChild<QObject*>(QString::fromLatin1(exported->grid)));
            if (!grid)
                throw dao::Error(424,
                                 QStringLiteral("Object required: the grid %1 of %2").arg(QLatin1String(exported->grid), name),
                                 App::Title());
            converter.GridToHTML(*grid, title, report);
        }
    } catch (...) {
        ReportExportError();
    }
}

} // namespace

void ReportExportError()
{
    errorreport::ErrorParts parts;
    try {
        throw;
    } catch (const std::exception& e) {
        parts = errorreport::errorParts(e);
    } catch (...) {
    }
    vb::MsgBox(QStringLiteral("DoHTMLReport: ") + parts.description, vb::vbOKOnly, QString::number(parts.number));
}

void ExportActiveGridToWebReport(clsWebReportGenerator& report) { exportGrids(report, QString()); }

void ExportGoalGridToWebReport(clsWebReportGenerator& report) { exportGrids(report, QStringLiteral("frmDSetGoal")); }

void ExportFormGridToWebReport(clsWebReportGenerator& report, const QString& formName) { exportGrids(report, formName); }

QString GetCurrentPersonName() { return PersonName(gPersonKey); }

QString PersonName(qint32 personKey)
{
    if (!gDB)
        return QString();
    auto rs = gDB->OpenRecordset(QStringLiteral(" select p.prsn_nm ") + QStringLiteral(" from person p ") +
                                     QStringLiteral(" Where p.prsn_ky =") + QString::number(personKey),
                                 dao::dbOpenSnapshot);
    const QString name = rs->Eof() ? QString() : rs->Fields(0).Value().toString();
    rs->Close();
    return name;
}

} // namespace gridexport
