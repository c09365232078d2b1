#include "reports/clsScreenConfiguration.h"

#include "platform/runtime/ui/Form.h"
#include "reports/frmGrid.h"

#include <QCheckBox>
#include <QListWidget>
#include <QWidget>

#include <algorithm>
#include <stdexcept>

namespace {

bool isDataForm(const QString& name)
{
    for (const char* form : {"frmMeasure", "frmChart", "frmGrid", "frmRegimen", "frmDSetGoal"}) {
        if (name == QLatin1String(form))
            return true;
    }
    return false;
}

} // namespace

void clsScreenConfiguration::SaveAndClose()
{
    closed_.clear();
    for (vb::FormBase* form : vb::Forms().Snapshot()) {
        // A form another one's unloading took along is passed over.
        const auto loaded = vb::Forms().Snapshot();
        if (std::find(loaded.begin(), loaded.end(), form) == loaded.end())
            continue;
        const QString name = form->Name();
        if (!isDataForm(name))
            continue;
        ClosedForm saved;
        saved.name = name;
        if (auto* grid = dynamic_cast<frmGrid*>(form)) {
            saved.gridCategory = static_cast<qint16>(grid->lstPlotType->currentRow());
            saved.gridPeriod = static_cast<qint16>(grid->lstSelectPeriod->currentRow());
            const auto boxes = grid->ColumnCheckBoxes();
            for (std::size_t i = 0; i < boxes.size(); ++i)
                saved.gridColumns[i] = boxes[i]->isChecked() ? 1 : 0;
        }
        // The chart window is reopened by name only: its selections (category, month and
        // year, plot and top-axis label) are kept once that window offers them.
        if (form->Unload())
            closed_.push_back(saved);
    }
}

void clsScreenConfiguration::Restore()
{
    for (const ClosedForm& saved : closed_) {
        vb::FormBase* form = vb::DefaultInstanceByName(saved.name);
        if (!form)
            throw std::runtime_error("There is no form named " + saved.name.toStdString() + " to reopen.");
        form->Show();
        form->Window()->showMaximized();
        if (auto* grid = dynamic_cast<frmGrid*>(form)) {
            grid->lstPlotType->setCurrentRow(saved.gridCategory);
            grid->lstSelectPeriod->setCurrentRow(saved.gridPeriod);
            const auto boxes = grid->ColumnCheckBoxes();
            for (std::size_t i = 0; i < boxes.size(); ++i)
                boxes[i]->setChecked(saved.gridColumns[i] != 0);
            grid->cmdShow_Click();
        }
    }
}
