#pragma once
// The chart settings dialogs' tests: the chart window loaded on the sample person, a dialog run
// modally from its button with a scripted "user", and a person removed as the person window
// removes one.
#include "ChartFixture.h"

#include "data/clsDefaultChartValues.h"

#include <QPushButton>
#include <QRadioButton>

#include <functional>

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
