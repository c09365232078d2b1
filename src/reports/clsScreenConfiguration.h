#pragma once
// Takes the user's open data forms out of the way and puts them back as they were: the report
// for the doctor drives the chart, grid and goal forms itself. SaveAndClose remembers each data
// form it unloads, with the selections that decide what the form shows; Restore loads them
// again, maximised, in the same order, and puts the selections back.
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>
#include <vector>

class frmChart;
namespace vb {
class FormBase;
}

class clsScreenConfiguration {
public:
    // Opens a data form by name as the main window opens it by hand (its menu item and button
    // off while it is open); none for a form it does not open, which Restore then opens itself.
    using FormOpener = std::function<vb::FormBase*(const QString& formName)>;
    explicit clsScreenConfiguration(FormOpener opener = {}) : opener_(std::move(opener)) {}

    // Walks the loaded forms in load order and unloads "frmMeasure", "frmChart", "frmGrid",
    // "frmRegimen" and "frmDSetGoal". A form that refuses to unload stays and is not
    // remembered. Errors reach the caller.
    void SaveAndClose();
    // Loads every form SaveAndClose unloaded, maximised, in the order they were met: the chart
    // with its category, month and year (where the person it comes back on has readings then),
    // plot and top-axis choice, redrawn through its own handlers; the grid with its category,
    // period and column boxes, its table shown again. Nothing when no data form was open.
    // Errors reach the caller.
    void Restore();

    // The last data form unloaded by SaveAndClose; empty before, or when none was open.
    QString FormName() const { return closed_.empty() ? QString() : closed_.back().name; }

private:
    struct ClosedForm {
        QString name;
        // The chart window's selections: lstPlotType index, the selector's year and month, and
        // the optFact and optTopLbl values. Every option is kept, the multiple plot and "Sugar
        // Test Time" too, so that the chart comes back as it was whichever was chosen.
        qint16 chartCategory = 0;
        qint16 chartYear = 0;
        qint16 chartMonth = 0;
        std::array<bool, 7> chartPlots{};
        std::array<bool, 4> chartTopLabels{};
        // The grid view's selections: lstPlotType and lstSelectPeriod indexes and the nine
        // column boxes (0 or 1) in the grid's order.
        qint16 gridCategory = 0;
        qint16 gridPeriod = 0;
        std::array<qint16, 9> gridColumns{};
    };
    static void restoreChart(frmChart& chart, const ClosedForm& saved);

    FormOpener opener_;
    std::vector<ClosedForm> closed_;
};
