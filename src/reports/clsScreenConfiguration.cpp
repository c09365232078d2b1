#include "reports/clsScreenConfiguration.h"

#include "charts/clsMonthYearInterface.h"
#include "charts/frmChart.h"
#include "platform/controls/usrMonthYear.h"
#include "platform/runtime/ui/Form.h"
#include "reports/frmGrid.h"

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
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

// Selects the option from code and runs its handler as a click does; the radio button's own
// signal runs it only when the option was not selected yet.
template <std::size_t N, typename Handler>
void chooseOption(const std::array<QRadioButton*, N>& options, const std::array<bool, N>& kept, Handler handler)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (!kept[i])
            continue;
        if (options[i]->isChecked())
            handler(static_cast<int>(i));
        else
            options[i]->setChecked(true);
    }
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
        if (auto* chart = dynamic_cast<frmChart*>(form)) {
            saved.chartCategory = static_cast<qint16>(chart->lstPlotType->currentRow());
            saved.chartYear = static_cast<qint16>(chart->usrMonthYear1->SelectedYear());
            saved.chartMonth = static_cast<qint16>(chart->usrMonthYear1->SelectedMonth());
            for (std::size_t i = 0; i < saved.chartPlots.size(); ++i)
                saved.chartPlots[i] = chart->optFact[i]->isChecked();
            for (std::size_t i = 0; i < saved.chartTopLabels.size(); ++i)
                saved.chartTopLabels[i] = chart->optTopLbl[i]->isChecked();
        }
        if (form->Unload())
            closed_.push_back(saved);
    }
}

// The category first (its handler sets the top-axis options and the month choice), then the
// period, whose event reloads the data, then the plot and the top-axis labels on that data.
// The window may come back on another person (the report's): the kept period returns only
// where that person has readings then, else the selector's own choice for the person stands.
void clsScreenConfiguration::restoreChart(frmChart& chart, const ClosedForm& saved)
{
    chart.lstPlotType->setCurrentRow(saved.chartCategory);
    clsMonthYearInterface().SelectKeptPeriod(saved.chartYear, saved.chartMonth, chart.SelectedPersonKey(), *chart.usrMonthYear1);
    chooseOption(chart.optFact, saved.chartPlots, [&chart](int i) { chart.optFact_Click(i); });
    chooseOption(chart.optTopLbl, saved.chartTopLabels, [&chart](int i) { chart.optTopLbl_Click(i); });
}

void clsScreenConfiguration::Restore()
{
    for (const ClosedForm& saved : closed_) {
        vb::FormBase* form = opener_ ? opener_(saved.name) : nullptr;
        if (!form) {
            form = vb::DefaultInstanceByName(saved.name);
            if (!form)
                throw std::runtime_error("There is no form named " + saved.name.toStdString() + " to reopen.");
            form->Show();
        }
        form->Window()->showMaximized();
        if (auto* chart = dynamic_cast<frmChart*>(form))
            restoreChart(*chart, saved);
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
