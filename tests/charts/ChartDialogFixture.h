#pragma once
// The chart settings dialogs' tests: the chart window loaded on the sample person, a dialog run
// modally from its button with a scripted "user", and a person removed as the person window
// removes one.
#include "ChartFixture.h"

#include "data/clsDefaultChartValues.h"

#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <utility>
#include <vector>

namespace testing_charts {

class ChartDialogFixture : public ChartFixture {
protected:
    // Clicks the chart window's button; the dialog it opens modally is handed to the action.
    template <class Dialog>
    void run(QPushButton* button, std::function<void(Dialog&)> action)
    {
        services().modal().Expect([action](vb::FormBase& shown) { action(dynamic_cast<Dialog&>(shown)); });
        button->click();
        EXPECT_EQ(0, services().modal().Pending()) << "the button opened no dialog";
    }

    // The chart window's selected plot option, -1 when none is.
    int shownPlot()
    {
        for (int i = 0; i < 7; ++i)
            if (form().optFact[static_cast<std::size_t>(i)]->isChecked())
                return i;
        return -1;
    }

    // Stores the sample person's multiple plot: the plots switched on with their axis side
    // (1 left, 2 right, 0 none), e.g. {{0, 1}, {2, 2}}; the others off.
    void storeMultiple(const std::vector<std::pair<int, int>>& on)
    {
        const QString update =
            QStringLiteral("update CHART_MULTIPLE_PERSON_PLOT set CHRT_ACT = ?, LBL_POS = ? where PRSN_KY = ?");
        gDB->Execute(update, dao::Params{false, 0, samplePerson}, dao::dbFailOnError);
        for (const auto& [plot, side] : on)
            gDB->Execute(update + QStringLiteral(" and CHRT_ID = ?"), dao::Params{true, side, samplePerson, plot},
                         dao::dbFailOnError);
    }

    // Everything of the person, as the person window deletes it, in one go.
    static void deletePerson(int key)
    {
        const QString k = QString::number(key);
        for (const char* table : {"average_month", "average_week", "average_day", "measure"})
            gDB->Execute(QStringLiteral("delete from ") + QLatin1String(table) + QStringLiteral(" where prsn_ky = ") + k,
                         dao::dbFailOnError);
        clsDefaultChartValues().DeletePersonPlots(key);
        gDB->Execute(QStringLiteral("delete from person where prsn_ky = ") + k, dao::dbFailOnError);
    }
};

} // namespace testing_charts
