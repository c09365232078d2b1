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
// What the dialog shows

TEST_F(ChartCustomDialog, ListsNameTheirTypesAndShowTheStoredOnes)
{
    store(1, QStringLiteral("chrt_tp"), QStringLiteral("3"));
    store(2, QStringLiteral("chrt_tp"), QStringLiteral("4"));
    store(3, QStringLiteral("chrt_tp"), QStringLiteral("0"));
    store(4, QStringLiteral("chrt_tp"), QStringLiteral("1"));
    const struct {
        int plot;
        const char* name;
        const char* entries; // text=code, in list order
        const char* shown;
    } rows[] = {
        {0, "Blood Pressure:", "Candle=11 Line=0", "Candle"},   {1, "Pulse:", "Bar=1 Line=0 Area=3 Point=4", "Area"},
        {2, "Weight:", "Bar=1 Line=0 Area=3 Point=4", "Point"}, {3, "Temp:", "Bar=1 Line=0 Area=3 Point=4", "Line"},
        {4, "Ketones:", "Bar=1 Line=0 Area=3 Point=4", "Bar"},  {5, "Sugar:", "Bar=1 Line=0 Area=3 Point=4", "Point"},
    };
    run([&](frmChartCustom& d) {
        EXPECT_EQ(QStringLiteral("Change Chart Type and Chart Color"), d.windowTitle());
        EXPECT_EQ(QStringLiteral("Chart Type|Measurement|Chart Color"),
                  QStringList({d.Label2[0]->text(), d.Label2[1]->text(), d.Label2[2]->text()}).join(QLatin1Char('|')));
        EXPECT_EQ(QStringLiteral("&Save"), d.cmdOK->text());
        EXPECT_EQ(QStringLiteral("&Cancel/Close"), d.cmdCancel->text());
        for (const auto& r : rows) {
            SCOPED_TRACE(r.name);
            const auto k = static_cast<std::size_t>(r.plot);
            EXPECT_EQ(QLatin1String(r.name), d.lblFact[k]->text());
            QStringList entries;
            for (int i = 0; i < d.cmbChartType[k]->count(); ++i)
                entries << d.cmbChartType[k]->itemText(i) + QLatin1Char('=') + d.cmbChartType[k]->itemData(i).toString();
            EXPECT_EQ(QLatin1String(r.entries), entries.join(QLatin1Char(' ')));
            EXPECT_EQ(QLatin1String(r.shown), d.cmbChartType[k]->currentText());
            EXPECT_FALSE(d.cmbChartType[k]->isEditable()) << "a type is chosen, never typed";
            EXPECT_EQ(storedColor(r.plot), d.lblColor[k]->BackColor());
            EXPECT_EQ(QStringLiteral("Change Color"), d.cmdChangeColor[k]->text());
        }
        d.cmdCancel_Click();
    });
    EXPECT_EQ(0, shownPlot()) << "the load itself previews nothing";
}

// ---------------------------------------------------------------------------------------------
// Previews and closing

TEST_F(ChartCustomDialog, BloodPressureTurnsLineOrCandleOnTheChartAtOnce)
{
    // Each step starts with the pulse plot shown and blood pressure stored as candles.
    const struct {
        const char* choices; // picked in order in the blood-pressure list
        const char* shown;   // series on the chart before closing
        bool lines;
    } rows[] = {
        {"Line", "9 10 11 12", true},
        {"Line Candle", "0 11 12", false},
        {"Candle", "0 11 12", false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.choices);
        form().optFact[1]->setChecked(true);
        run([&](frmChartCustom& d) {
            EXPECT_EQ(QStringLiteral("Candle"), d.cmbChartType[0]->currentText());
            for (const QString& choice : QString::fromLatin1(r.choices).split(QLatin1Char(' ')))
                choose(d, 0, choice.toLatin1().constData());
            EXPECT_EQ(0, shownPlot()) << "the chart switched to blood pressure";
            EXPECT_EQ(QLatin1String(r.shown), shown());
            if (r.lines) {
                EXPECT_EQ(tchart::Line, chart().Series(9).Kind());
            }
            d.cmdCancel_Click();
        });
        EXPECT_EQ(1, shownPlot()) << "closing brings back the plot shown before";
        EXPECT_EQ("1", shown());
        EXPECT_EQ(QStringLiteral("0:11"), storedRows().section(QLatin1Char(' '), 0, 0).section(QLatin1Char(':'), 0, 1));
    }
}

TEST_F(ChartCustomDialog, ColourPreviewOfAnotherPlotThenCancelLeavesTheStoredLook)
{
    form().optFact[5]->setChecked(true);
    const QString before = storedRows();
    const vb::OLE_COLOR sugar = storedColor(5);
    const vb::OLE_COLOR pulse = storedColor(1);
    services().colorDialog().Choose(0x123456);
    run([&](frmChartCustom& d) {
        d.cmdChangeColor[1]->click();
        ASSERT_EQ(1u, services().colorDialog().Calls().size());
        EXPECT_EQ(pulse, services().colorDialog().Calls()[0]) << "the dialog starts from the swatch";
        EXPECT_EQ(1, shownPlot());
        EXPECT_EQ("1", shown());
        EXPECT_EQ(0x123456u, seriesColor(1));
        EXPECT_EQ(0x123456u, d.lblColor[1]->BackColor());
        d.cmdCancel->click();
    });
    EXPECT_FALSE(vb::Forms().Find(QStringLiteral("frmChartCustom")));
    EXPECT_EQ(5, shownPlot());
    EXPECT_EQ("5", shown());
    EXPECT_EQ(sugar, seriesColor(5));
    EXPECT_EQ(before, storedRows()) << "closing stores nothing";
}

TEST_F(ChartCustomDialog, ACancelledColourDialogChangesNothing)
{
    const struct {
        int plot;
    } rows[] = {{0}, {2}, {5}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.plot);
        const vb::OLE_COLOR stored = storedColor(r.plot);
        services().colorDialog().Cancel();
        run([&](frmChartCustom& d) {
            d.cmdChangeColor_Click(r.plot);
            EXPECT_EQ(stored, d.lblColor[static_cast<std::size_t>(r.plot)]->BackColor());
            EXPECT_EQ(stored, seriesColor(r.plot));
            EXPECT_EQ(r.plot, shownPlot());
            d.cmdCancel_Click();
        });
    }
    EXPECT_EQ(0, services().colorDialog().Pending());
}

TEST_F(ChartCustomDialog, ClosingWithTheWindowFrameAlsoRedrawsTheShownPlot)
{
    form().optFact[2]->setChecked(true);
    run([&](frmChartCustom& d) {
        choose(d, 3, "Bar");
        EXPECT_EQ(3, shownPlot());
        d.close();
    });
    EXPECT_EQ(2, shownPlot());
    EXPECT_EQ("2", shown());
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
