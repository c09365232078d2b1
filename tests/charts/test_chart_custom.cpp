// The series type and colour dialog, run from the chart window's "&Chart Type/Color" button.
#include "ChartDialogFixture.h"

#include "charts/ColorSwatch.h"
#include "charts/frmChartCustom.h"
#include "platform/runtime/Conversions.h"

#include <QComboBox>
#include <QLabel>
#include <sqlite3.h>

using testing_charts::ChartDialogFixture;

namespace {

class ChartCustomDialog : public ChartDialogFixture {
protected:
    void SetUp() override
    {
        ChartDialogFixture::SetUp();
        gDB->Execute(QStringLiteral("update Application set TempLBL = 'Temp', Temp1LBL = 'Ketones'"), dao::dbFailOnError);
        form().Load();
    }

    void run(std::function<void(frmChartCustom&)> action)
    {
        ChartDialogFixture::run(form().cmdCustomTypeColor, std::move(action));
    }

    // What the user does in a type list: picks the entry with that text.
    static void choose(frmChartCustom& d, int plot, const char* text)
    {
        QComboBox* list = d.cmbChartType[static_cast<std::size_t>(plot)];
        const int index = list->findText(QLatin1String(text));
        ASSERT_GE(index, 0) << text;
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    // The person's rows as "plot:type:colour" (hex), by plot.
    QString storedRows()
    {
        QStringList out;
        auto rs = gDB->OpenRecordset(
            QStringLiteral("select plt_ky, chrt_tp, chrt_cl from single_person_plot where prsn_ky = %1 order by plt_ky")
                .arg(samplePerson),
            dao::dbOpenSnapshot);
        for (; !rs->Eof(); rs->MoveNext()) {
            const QVariant type = rs->Fields(1).Value();
            out << QStringLiteral("%1:%2:%3")
                       .arg(rs->Fields(0).Value().toInt())
                       .arg(vb::IsNull(type) ? QStringLiteral("Null") : type.toString())
                       .arg(vb::ColorCode(rs->Fields(2).Value().toLongLong()), 0, 16);
        }
        return out.join(QLatin1Char(' '));
    }

    void store(int plot, const QString& column, const QString& value)
    {
        gDB->Execute(QStringLiteral("update single_person_plot set %1 = %2 where prsn_ky = %3 and plt_ky = %4")
                         .arg(column, value)
                         .arg(samplePerson)
                         .arg(plot),
                     dao::dbFailOnError);
    }

    vb::OLE_COLOR storedColor(int plot)
    {
        return vb::ColorCode(value(QStringLiteral("select chrt_cl from single_person_plot where prsn_ky = %1 and plt_ky = %2")
                                       .arg(samplePerson)
                                       .arg(plot))
                                 .toLongLong());
    }

    // The colour a plot's series is drawn in: the candles' for blood pressure.
    vb::OLE_COLOR seriesColor(int plot) { return plot == 0 ? chart().Series(0).CandleColor() : chart().Series(plot).Color(); }
};

// ---------------------------------------------------------------------------------------------
// Opening, previews and closing

TEST_F(ChartCustomDialog, ListsShowTheStoredTypesAndTakeNoTypedText)
{
    store(1, QStringLiteral("chrt_tp"), QStringLiteral("3"));
    store(4, QStringLiteral("chrt_tp"), QStringLiteral("1"));
    run([&](frmChartCustom& d) {
        QStringList shown;
        for (QComboBox* list : d.cmbChartType) {
            shown << list->currentText() + QLatin1Char('/') + QString::number(list->count());
            EXPECT_FALSE(list->isEditable());
        }
        EXPECT_EQ(QStringLiteral("Candle/2 Area/4 Bar/4 Point/4 Bar/4 Point/4"), shown.join(QLatin1Char(' ')));
        EXPECT_EQ(QStringLiteral("Temp: Ketones:"), d.lblFact[3]->text() + QLatin1Char(' ') + d.lblFact[4]->text());
        EXPECT_EQ(storedColor(2), d.lblColor[2]->BackColor());
        d.cmdCancel_Click();
    });
    EXPECT_EQ(0, shownPlot()) << "the load itself previews nothing";
}

TEST_F(ChartCustomDialog, BloodPressureTurnsLineOrCandleOnTheChartAtOnce)
{
    // Each run starts with the pulse plot shown and blood pressure stored as candles.
    const struct {
        const char* choices; // picked in order in the blood-pressure list
        const char* shown;   // series on the chart before closing
    } rows[] = {{"Line", "9 10 11 12"}, {"Line Candle", "0 11 12"}, {"Candle", "0 11 12"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.choices);
        form().optFact[1]->setChecked(true);
        run([&](frmChartCustom& d) {
            for (const QString& choice : QString::fromLatin1(r.choices).split(QLatin1Char(' ')))
                choose(d, 0, choice.toLatin1().constData());
            EXPECT_EQ(0, shownPlot()) << "the chart switched to blood pressure";
            EXPECT_EQ(QLatin1String(r.shown), shown());
            d.close(); // the window's frame closes it as "&Cancel/Close" does
        });
        EXPECT_EQ(1, shownPlot()) << "closing brings back the plot shown before";
        EXPECT_EQ("1", shown());
        EXPECT_TRUE(storedRows().startsWith(QStringLiteral("0:11:")));
    }
}

TEST_F(ChartCustomDialog, ColourPreviewOfAnotherPlotThenCancelLeavesTheStoredLook)
{
    form().optFact[5]->setChecked(true);
    const QString before = storedRows();
    const vb::OLE_COLOR pulse = storedColor(1);
    services().colorDialog().Cancel();
    services().colorDialog().Choose(0x123456);
    run([&](frmChartCustom& d) {
        d.cmdChangeColor[1]->click(); // cancelled: swatch and series keep their colour
        EXPECT_EQ(1, shownPlot());
        EXPECT_EQ("1", shown());
        EXPECT_EQ(pulse, d.lblColor[1]->BackColor());
        EXPECT_EQ(pulse, seriesColor(1));
        d.cmdChangeColor[1]->click();
        EXPECT_EQ(0x123456u, d.lblColor[1]->BackColor());
        EXPECT_EQ(0x123456u, seriesColor(1));
        d.cmdCancel->click();
    });
    EXPECT_EQ(std::vector<vb::OLE_COLOR>({pulse, pulse}), services().colorDialog().Calls()) << "started from the swatch";
    EXPECT_FALSE(vb::Forms().Find(QStringLiteral("frmChartCustom")));
    EXPECT_EQ(5, shownPlot());
    EXPECT_EQ("5", shown());
    EXPECT_EQ(storedColor(5), seriesColor(5));
    EXPECT_EQ(before, storedRows()) << "closing stores nothing";
}

// ---------------------------------------------------------------------------------------------
// Saving

TEST_F(ChartCustomDialog, SaveWritesAllSixRowsAndStaysOpen)
{
    // A system colour stored for a plot goes back as the same (signed) code.
    store(4, QStringLiteral("chrt_cl"), QString::number(static_cast<qint32>(vb::vbButtonFace)));
    const QString before = storedRows();
    services().colorDialog().Choose(0x00AA00);
    run([&](frmChartCustom& d) {
        d.cmdChangeColor_Click(2);
        choose(d, 5, "Line");
        d.cmdOK->click();
        EXPECT_TRUE(d.Loaded()) << "saving keeps the dialog open";
        d.cmdCancel_Click();
    });
    QStringList expected = before.split(QLatin1Char(' '));
    ASSERT_EQ(6, expected.size());
    expected[2] = expected[2].section(QLatin1Char(':'), 0, 1) + QStringLiteral(":aa00");
    expected[5] = QStringLiteral("5:0:") + expected[5].section(QLatin1Char(':'), 2);
    EXPECT_EQ(expected.join(QLatin1Char(' ')), storedRows());
    EXPECT_EQ(vb::vbButtonFace, storedColor(4));
    // Closed: the chart shows blood pressure, with the saved look of the other plots next time.
    EXPECT_EQ(0, shownPlot());
    form().optFact[5]->setChecked(true);
    EXPECT_EQ(tchart::Line, chart().Series(5).Kind());
}

TEST_F(ChartCustomDialog, AStoredTypeNoListHoldsIsKeptUntilTheUserChoosesOne)
{
    const struct {
        int plot;
        const char* stored; // SQL value
        const char* choice; // picked before saving, or none
        const char* shown;  // what the list shows at load
        const char* saved;  // chrt_tp afterwards
    } rows[] = {
        {0, "4", nullptr, "Candle", "4"},    {0, "3", "Candle", "Candle", "11"}, {1, "11", nullptr, "Bar", "11"},
        {2, "Null", nullptr, "Bar", "Null"}, {3, "7", "Bar", "Bar", "1"},        {5, "2", "Area", "Bar", "3"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::to_string(r.plot) + " " + r.stored);
        store(r.plot, QStringLiteral("chrt_tp"), QLatin1String(r.stored));
        run([&](frmChartCustom& d) {
            EXPECT_EQ(QLatin1String(r.shown), d.cmbChartType[static_cast<std::size_t>(r.plot)]->currentText());
            if (r.choice)
                choose(d, r.plot, r.choice);
            d.cmdOK_Click();
            d.cmdCancel_Click();
        });
        const QString row = storedRows().split(QLatin1Char(' '))[r.plot];
        EXPECT_EQ(QLatin1String(r.saved), row.section(QLatin1Char(':'), 1, 1));
    }
}

TEST_F(ChartCustomDialog, ASaveThatFailsOnTheWayStoresNoRowAtAll)
{
    services().colorDialog().Choose(0x0000AA);
    services().colorDialog().Choose(0x00AA00);
    const QString before = storedRows();
    char* error = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(gDB->handle(),
                                      "CREATE TEMP TRIGGER keep_sugar BEFORE UPDATE ON SINGLE_PERSON_PLOT WHEN new.PLT_KY = 5 "
                                      "BEGIN SELECT RAISE(ABORT, 'the sugar row is kept'); END",
                                      nullptr, nullptr, &error));
    answer(vb::vbOK);
    run([&](frmChartCustom& d) {
        d.cmdChangeColor_Click(0);
        d.cmdChangeColor_Click(5);
        d.cmdOK->click();
        EXPECT_EQ(vb::vbCritical, lastBox().icon);
        EXPECT_TRUE(d.Loaded());
        d.cmdCancel_Click();
    });
    EXPECT_EQ(before, storedRows());
    sqlite3_exec(gDB->handle(), "DROP TRIGGER keep_sugar", nullptr, nullptr, nullptr);
}

TEST_F(ChartCustomDialog, APersonDeletedMeanwhileIsToldAndTheChartStaysDrawable)
{
    form().optFact[1]->setChecked(true);
    services().colorDialog().Choose(0x0000AA);
    answer(vb::vbOK);
    run([&](frmChartCustom& d) {
        deletePerson(samplePerson);
        d.cmdChangeColor_Click(2); // the preview of a plot whose settings are gone
        EXPECT_EQ(2, shownPlot());
        d.cmdOK_Click();
        ASSERT_EQ(1u, messages().Log().size());
        EXPECT_EQ(QStringLiteral("The person of this chart is no longer in the database. Nothing was saved."), lastBox().text);
        EXPECT_EQ(vb::vbExclamation, lastBox().icon);
        d.cmdCancel_Click();
    });
    EXPECT_EQ(0, count(QStringLiteral("select count(*) from single_person_plot where prsn_ky = %1").arg(samplePerson)));
    EXPECT_EQ(1, shownPlot());
    EXPECT_FALSE(chart().Title().isEmpty());
    EXPECT_NO_THROW(chart().RenderImage(400, 200, 1.0));
}

} // namespace
