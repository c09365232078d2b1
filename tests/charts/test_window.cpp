// The chart window: its handlers in the order the controls' events run them.
#include "ChartFixture.h"

#include "charts/clsTChartInterface.h"
#include "platform/controls/DataControl.h"
#include "platform/controls/VSFlexGrid.h"
#include "platform/controls/usrMonthYear.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTest>

using testing_charts::ChartFixture;

namespace {

class ChartWindow : public ChartFixture {
protected:
    int checkedPlot()
    {
        for (int i = 0; i < 7; ++i)
            if (form().optFact[static_cast<std::size_t>(i)]->isChecked())
                return i;
        return -1;
    }
    QString title() { return chart().Title().join(QLatin1Char('|')); }
};

TEST_F(ChartWindow, OpeningDrawsTheLatestMonthOfTheCurrentPersonAsBloodPressure)
{
    form().Load();
    EXPECT_EQ(samplePerson, form().SelectedPersonKey());
    EXPECT_EQ(0, form().lstPlotType->currentRow());
    EXPECT_EQ(12, form().usrMonthYear1->SelectedMonth());
    EXPECT_EQ(1999, form().usrMonthYear1->SelectedYear());
    EXPECT_EQ(0, checkedPlot());
    EXPECT_EQ("0 11 12", shown());
    EXPECT_GT(chart().Series(0).Count(), 20);
    EXPECT_EQ(QStringLiteral("Daily Plot of Blood Pressure for December, 1999"), title());
    EXPECT_TRUE(form().optTopLbl[0]->isChecked());
    EXPECT_TRUE(form().cmdCustomTypeColor->isEnabled());
    EXPECT_FALSE(form().cmdMultipleCharts->isEnabled());
    // The regimens of the sample's readings, under their headers.
    EXPECT_EQ(QStringLiteral("Regimen Name"), form().vsFGChartRegimen->TextMatrix(0, 1));
    EXPECT_EQ(QStringLiteral("Regimen Details"), form().vsFGChartRegimen->TextMatrix(0, 2));
    EXPECT_GT(form().vsFGChartRegimen->Rows(), 1);
    // The sample's weights lie in its weight plot's range.
    form().optFact[2]->setChecked(true);
    ASSERT_GT(chart().Series(2).Count(), 0);
    EXPECT_GE(chart().Series(2).Point(0).y, chart().Axis(tchart::LeftAxis).Minimum);
    EXPECT_LE(chart().Series(2).Point(0).y, chart().Axis(tchart::LeftAxis).Maximum);
    EXPECT_TRUE(messages().Log().empty());
}

TEST_F(ChartWindow, APersonWithoutReadingsGivesWayToTheFirstOfTheList)
{
    gPersonKey = addPerson(QStringLiteral("Zed Without"));
    form().Load();
    EXPECT_EQ(samplePerson, gPersonKey);
    EXPECT_EQ(1, form().cmbPerson->count());
}

TEST_F(ChartWindow, TheTitleNamesTheCategoryThePlotAndThePeriod)
{
    form().Load();
    const struct {
        int category, plot;
        const char* title;
    } rows[] = {
        {0, 0, "Daily Plot of Blood Pressure for December, 1999"},
        {0, 1, "Daily Plot of Pulse for December, 1999"},
        {1, 2, "Day Average of Weight for December, 1999"},
        {1, 3, "Day Average of Temperature for December, 1999"},
        {2, 4, "Weekly Average for 1999"},
        {3, 5, "Monthly Average for 1999"},
        {3, 6, "Monthly Average for 1999"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.title);
        form().lstPlotType->setCurrentRow(r.category);
        form().optFact[static_cast<std::size_t>(r.plot)]->setChecked(true);
        EXPECT_EQ(QString::fromLatin1(r.title), title());
    }
    // The multiple plot swaps the two settings buttons.
    EXPECT_TRUE(form().cmdMultipleCharts->isEnabled());
    EXPECT_FALSE(form().cmdCustomTypeColor->isEnabled());
}

TEST_F(ChartWindow, AveragesOverAYearTakeNoTopLabelsAndNoMonthChoice)
{
    form().Load();
    form().optTopLbl[1]->setChecked(true);
    EXPECT_TRUE(chart().Series(8).Active());
    EXPECT_FALSE(chart().TopAxisLabels().isEmpty());
    EXPECT_TRUE(form().optTopLbl[1]->font().bold());
    EXPECT_FALSE(form().optTopLbl[0]->font().bold());

    form().lstPlotType->setCurrentRow(2);
    EXPECT_TRUE(form().optTopLbl[0]->isChecked());
    EXPECT_TRUE(form().optTopLbl[0]->font().bold());
    EXPECT_FALSE(chart().Series(8).Active());
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(form().optTopLbl[static_cast<std::size_t>(i)]->isEnabled());
    EXPECT_EQ(QStringLiteral("3. Select Year"), form().FrameYrMnth->title());
    EXPECT_FALSE(form().usrMonthYear1->MonthChoiceEnabled());
    EXPECT_GT(chart().Series(0).Count(), 40); // the weeks of the year

    form().lstPlotType->setCurrentRow(0);
    EXPECT_TRUE(form().optTopLbl[0]->isChecked());
    EXPECT_TRUE(form().optTopLbl[3]->isEnabled());
    EXPECT_EQ(QStringLiteral("3. Select Year and Month"), form().FrameYrMnth->title());
}

TEST_F(ChartWindow, AnotherPersonKeepsTheChosenPlotAndTheSamePersonKeepsTheGrid)
{
    const int other = addPerson(QStringLiteral("Aaron Vale"));
    addReading(other, QStringLiteral("#6/3/2024 8:00 AM#"), QStringLiteral("PLSE, HBP, LBP"), QStringLiteral("66, 120, 80"));
    form().Load();
    form().optFact[1]->setChecked(true);
    const dao::RecordsetPtr grid = form().datChartRegimen->Recordset();

    form().cmbPerson->setCurrentIndex(form().cmbPerson->findText(QStringLiteral("Pellam Ostry")));
    form().cmbPerson_Click();
    EXPECT_EQ(grid, form().datChartRegimen->Recordset()); // the same person: not reloaded

    form().cmbPerson->setCurrentIndex(form().cmbPerson->findText(QStringLiteral("Aaron Vale")));
    form().cmbPerson_Click();
    EXPECT_EQ(other, gPersonKey);
    EXPECT_EQ(1, checkedPlot());
    EXPECT_EQ("1", shown());
    EXPECT_EQ(2024, form().usrMonthYear1->SelectedYear());
    EXPECT_EQ(6, form().usrMonthYear1->SelectedMonth());
    EXPECT_EQ(1, chart().Series(1).Count());
    EXPECT_EQ(1, form().vsFGChartRegimen->Rows()); // header only: no regimens

    // Typed keys change nothing.
    const int index = form().cmbPerson->currentIndex();
    QTest::keyClick(form().cmbPerson, Qt::Key_Down);
    QTest::keyClick(form().cmbPerson, Qt::Key_P);
    EXPECT_EQ(index, form().cmbPerson->currentIndex());
}

TEST_F(ChartWindow, APersonWhoseReadingsWentAwayIsToldNotDrawn)
{
    form().Load();
    gDB->Execute(QStringLiteral("delete from MEASURE where PRSN_KY = %1").arg(samplePerson), dao::dbFailOnError);
    answer(vb::vbOK);
    form().cmbPerson_Click();
    ASSERT_EQ(1u, messages().Log().size());
    EXPECT_EQ(QStringLiteral("The chosen person has no measurements to plot any more."), lastBox().text);
}

TEST_F(ChartWindow, WithoutAnyReadingTheWindowSaysSoAndStaysEmpty)
{
    gDB->Execute(QStringLiteral("delete from MEASURE"), dao::dbFailOnError);
    answer(vb::vbOK);
    form().Load();
    ASSERT_EQ(1u, messages().Log().size());
    EXPECT_EQ(QStringLiteral("No person has data to be plotted."), lastBox().text);
    EXPECT_EQ(vb::vbOKOnly, lastBox().buttons);
    EXPECT_EQ(0, form().cmbPerson->count());
    EXPECT_EQ("", shown());
}

TEST_F(ChartWindow, EveryControlIsWholeAndApartAtTheOpeningSizeAndLarger)
{
    form().Load();
    form().show();
    const struct {
        QSize size;
        bool oneRow; // every choice beside the others below the chart
    } cases[] = {{QSize(700, 430), false}, {QSize(860, 600), false}, {QSize(1600, 900), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(c.size.width()).arg(c.size.height()).toStdString());
        form().resize(c.size);
        QApplication::processEvents();
        const auto place = [this](const QWidget* w) { return QRect(w->mapTo(&form(), QPoint(0, 0)), w->size()); };
        const std::vector<QWidget*> blocks = {form().TChart1, form().cmbPerson, form().lstPlotType, form().FrameYrMnth,
                                              form().Frame1,  form().Frame2,    form().Frame3,      form().vsFGChartRegimen};
        for (std::size_t i = 0; i < blocks.size(); ++i)
            for (std::size_t j = i + 1; j < blocks.size(); ++j)
                EXPECT_FALSE(place(blocks[i]).intersects(place(blocks[j])))
                    << blocks[i]->objectName().toStdString() << " over " << blocks[j]->objectName().toStdString();
        std::vector<QWidget*> whole = {form().cmdCustomTypeColor, form().cmdChartLimits, form().cmdMultipleCharts,
                                       form().cmdAppearance, form().usrMonthYear1};
        whole.insert(whole.end(), form().optFact.begin(), form().optFact.end());
        whole.insert(whole.end(), form().optTopLbl.begin(), form().optTopLbl.end());
        for (int m = 1; m <= 12; ++m)
            whole.push_back(form().usrMonthYear1->monthButton(m));
        for (QWidget* w : whole) {
            EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
        }
        EXPECT_GE(form().vsFGChartRegimen->width(), 200);
        EXPECT_GE(form().vsFGChartRegimen->height(), 60);
        EXPECT_GE(chart().height(), 180);
        EXPECT_EQ(c.oneRow, place(form().Frame3).top() == place(form().Frame1).top());
    }
}

TEST_F(ChartWindow, TheChartExportsAsJpegAndPrintsAtScreenSize)
{
    form().Load();
    const QString file = programFolder() + QStringLiteral("/1.jpeg");
    ASSERT_TRUE(chart().ExportJpeg(file, 700, 300, 100));
    const QImage image(file);
    EXPECT_EQ(QSize(700, 300), image.size());

    chart().resize(640, 320);
    form().PrintChart();
    ASSERT_EQ(1u, services().printer().Jobs().size());
    EXPECT_EQ(QSize(640 * 15, 320 * 15), services().printer().Jobs()[0].sizeTwips);
    EXPECT_EQ(QSize(1280, 640), services().printer().Jobs()[0].image.size());
}

TEST_F(ChartWindow, ThePanelFitsEachSizeAndATopAxisChoiceMovesNothing)
{
    // The longest as long as a name may be.
    const QString names[] = {QStringLiteral("Quillon Varga-Hemsworth"), QStringLiteral("Bartholomew Quincy-Fairweather")};
    for (const QString& name : names)
        addReading(addPerson(name), QStringLiteral("#12/1/1999 8:00#"), QStringLiteral("HBP, LBP"), QStringLiteral("120, 80"));
    form().Load();
    form().show();
    VSFlexGrid& regimens = *form().vsFGChartRegimen;
    const auto place = [this](const QWidget* w) { return QRect(w->mapTo(&form(), QPoint(0, 0)), w->size()); };
    // The opening size, larger ones, maximised, and narrowed again.
    for (const QSize size :
         {QSize(705, 460), QSize(700, 430), QSize(1024, 600), QSize(1600, 840), QSize(1600, 900), QSize(705, 460)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        form().resize(size);
        QApplication::processEvents();
        // The regimen details fill the grid's width without sideways scrolling; too narrow for
        // its header on one line, the header row holds two.
        const int name = regimens.horizontalHeader()->sectionSize(0);
        const int details = regimens.horizontalHeader()->sectionSize(1);
        ASSERT_GT(regimens.viewport()->width(), name);
        EXPECT_EQ(regimens.viewport()->width(), name + details);
        EXPECT_EQ(0, regimens.horizontalScrollBar()->maximum());
        EXPECT_TRUE(regimens.fontMetrics().horizontalAdvance(QStringLiteral("Regimen Details")) + 12 <= details ||
                    regimens.horizontalHeader()->height() >= 2 * regimens.fontMetrics().lineSpacing());

        const QRect beside = place(form().Frame3), grid = place(&regimens), frame = place(form().Frame2);
        for (int option : {1, 2, 3, 0}) {
            SCOPED_TRACE(option);
            form().optTopLbl[static_cast<std::size_t>(option)]->setChecked(true);
            QApplication::processEvents();
            EXPECT_EQ(frame, place(form().Frame2));
            EXPECT_EQ(beside, place(form().Frame3));
            EXPECT_EQ(grid, place(&regimens));
        }
        // Long names show whole.
        QComboBox& list = *form().cmbPerson;
        QStyleOptionComboBox field;
        field.initFrom(&list);
        for (const QString& person : names)
            EXPECT_GE(list.style()->subControlRect(QStyle::CC_ComboBox, &field, QStyle::SC_ComboBoxEditField, &list).width(),
                      list.fontMetrics().horizontalAdvance(person));
    }
}

} // namespace
