// The chart appearance dialog, run from the chart window's "&Appearance" button.
#include "ChartDialogFixture.h"

#include "charts/ColorSwatch.h"
#include "charts/frmAppearance.h"
#include "platform/runtime/Conversions.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QScrollBar>

using testing_charts::ChartDialogFixture;

namespace {

constexpr vb::OLE_COLOR Panel = vb::vbButtonFace;
constexpr vb::OLE_COLOR White = vb::vbWhite;

class ChartAppearanceDialog : public ChartDialogFixture {
protected:
    void SetUp() override
    {
        ChartDialogFixture::SetUp();
        form().Load();
    }

    void run(std::function<void(frmAppearance&)> action) { ChartDialogFixture::run(form().cmdAppearance, std::move(action)); }

    // The person's stored appearance as "panel back depth" (colours in hex).
    QString stored()
    {
        auto rs = gDB->OpenRecordset(
            QStringLiteral("select plt_pnl_cl, plt_bck_cl, plt_3d_prcnt from person where prsn_ky = %1").arg(samplePerson),
            dao::dbOpenSnapshot);
        if (rs->Eof())
            return QStringLiteral("<none>");
        return QStringLiteral("%1 %2 %3")
            .arg(vb::ColorCode(rs->Fields(0).Value().toLongLong()), 0, 16)
            .arg(vb::ColorCode(rs->Fields(1).Value().toLongLong()), 0, 16)
            .arg(rs->Fields(2).Value().toInt());
    }

    // The chart's appearance in the same form; a flat chart has depth 0.
    QString onChart()
    {
        return QStringLiteral("%1 %2 %3")
            .arg(chart().PanelColor(), 0, 16)
            .arg(chart().BackColor(), 0, 16)
            .arg(chart().View3D() ? chart().Chart3DPercent() : 0);
    }

    void storeAppearance(vb::OLE_COLOR panel, vb::OLE_COLOR back, int depth)
    {
        gDB->Execute(QStringLiteral("update person set plt_pnl_cl = %1, plt_bck_cl = %2, plt_3d_prcnt = %3 where prsn_ky = %4")
                         .arg(static_cast<qint32>(panel))
                         .arg(static_cast<qint32>(back))
                         .arg(depth)
                         .arg(samplePerson),
                     dao::dbFailOnError);
        // The chart window shows a person's appearance once the person is chosen.
        form().cmbPerson_Click();
    }

    static void loseFocus(QWidget* box)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &out);
    }
};

// ---------------------------------------------------------------------------------------------
// Opening

TEST_F(ChartAppearanceDialog, OpensFromWhatTheChartShows)
{
    const struct {
        vb::OLE_COLOR panel, back;
        int depth;
        bool panelTicked, backTicked;
        int slider;
        const char* caption;
    } rows[] = {
        {Panel, White, 9, true, true, 9, "3D Appearance:  9"}, // the table defaults
        {0x336699, 0xFFFFFE, 0, false, false, 0, "3D Appearance:  0"},
        {Panel, White, 35, true, true, 20, "3D Appearance:  20"}, // deeper than the slider goes
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.caption);
        storeAppearance(r.panel, r.back, r.depth);
        run([&](frmAppearance& d) {
            EXPECT_EQ(r.panel, d.lblPnlCol->BackColor());
            EXPECT_EQ(r.back, d.lblBckCol->BackColor());
            EXPECT_EQ(r.panelTicked, d.chkPnlCol->isChecked());
            EXPECT_EQ(r.backTicked, d.chkBckCol->isChecked());
            EXPECT_EQ(r.slider, d.HScroll1->value());
            EXPECT_EQ(QLatin1String(r.caption), d.Frame3D->title());
            EXPECT_EQ(QStringLiteral("Default  Back Color"), d.chkBckCol->text());
            d.cmdCancel_Click();
        });
        EXPECT_EQ(QStringLiteral("%1 %2 %3").arg(r.panel, 0, 16).arg(r.back, 0, 16).arg(r.depth), onChart());
    }
}

// ---------------------------------------------------------------------------------------------
// Changes shown at once, dropped on closing

TEST_F(ChartAppearanceDialog, TheSliderAtZeroDrawsFlatAndCancelBringsTheDepthBack)
{
    const QString before = stored();
    // What the chart shows once the events queued so far have run.
    const auto shown = [this] {
        QCoreApplication::processEvents();
        return chart().grab().toImage();
    };
    run([&](frmAppearance& d) {
        chart().resize(600, 300);
        chart().grab(); // a hidden widget takes its new size when it is first painted
        const QImage deep = shown();
        d.HScroll1->setValue(0);
        EXPECT_FALSE(chart().View3D());
        EXPECT_EQ(QStringLiteral("3D Appearance:  0"), d.Frame3D->title());
        const QImage flat = shown();
        EXPECT_NE(deep, flat) << "the slider redraws the chart at once";
        chart().Repaint();
        EXPECT_EQ(flat, chart().grab().toImage());
        d.HScroll1->setValue(9);
        EXPECT_EQ(deep, shown());
        d.HScroll1->setValue(0);
        d.cmdCancel->click();
    });
    EXPECT_FALSE(vb::Forms().Find(QStringLiteral("frmAppearance")));
    EXPECT_TRUE(chart().View3D());
    EXPECT_EQ(9, chart().Chart3DPercent());
    EXPECT_EQ(before, stored());
}

TEST_F(ChartAppearanceDialog, AChosenColourTicksItsBoxOnlyWhenItIsTheDefault)
{
    // Steps in one dialog; the back colour starts as the default white.
    const struct {
        bool back;                          // the back row, else the panel row
        std::optional<vb::OLE_COLOR> chose; // none: the colour dialog cancelled
        vb::OLE_COLOR shown;
        bool ticked;
    } rows[] = {
        {true, White, White, true},
        {true, 0x00FF00, 0x00FF00, false},
        {true, White, White, true},
        {true, std::nullopt, White, true},
        // The button face's own colour picked by hand is a plain colour, not the default.
        {false, vb::CodeFromColor(vb::ColorFromCode(Panel)), vb::CodeFromColor(vb::ColorFromCode(Panel)), false},
        {false, 0x804020, 0x804020, false},
    };
    run([&](frmAppearance& d) {
        for (const auto& r : rows) {
            SCOPED_TRACE(r.chose ? std::to_string(*r.chose) : std::string("cancelled"));
            if (r.chose)
                services().colorDialog().Choose(*r.chose);
            else
                services().colorDialog().Cancel();
            (r.back ? d.cmdBckCol : d.cmdPnlCol)->click();
            EXPECT_EQ(r.shown, (r.back ? d.lblBckCol : d.lblPnlCol)->BackColor());
            EXPECT_EQ(r.shown, r.back ? chart().BackColor() : chart().PanelColor());
            EXPECT_EQ(r.ticked, (r.back ? d.chkBckCol : d.chkPnlCol)->isChecked());
        }
        d.cmdCancel_Click();
    });
    EXPECT_EQ(QStringLiteral("8000000f ffffff 9"), onChart());
    EXPECT_EQ(0, services().colorDialog().Pending());
}

TEST_F(ChartAppearanceDialog, ADefaultBoxClearedWhileItsColourIsTheDefaultIsTickedAgain)
{
    storeAppearance(Panel, 0x112233, 9);
    run([&](frmAppearance& d) {
        // Clearing changes no colour.
        d.chkPnlCol->click();
        d.chkBckCol->setChecked(true);
        d.chkBckCol->click();
        EXPECT_FALSE(d.chkPnlCol->isChecked());
        EXPECT_FALSE(d.chkBckCol->isChecked());
        EXPECT_EQ(Panel, chart().PanelColor());
        EXPECT_EQ(White, chart().BackColor()) << "ticking applied the default";

        // Leaving either box ticks what is still the default, and never clears one.
        loseFocus(d.chkPnlCol);
        EXPECT_TRUE(d.chkPnlCol->isChecked());
        EXPECT_TRUE(d.chkBckCol->isChecked());
        EXPECT_EQ(Panel, d.lblPnlCol->BackColor());

        services().colorDialog().Choose(0x445566);
        d.cmdBckCol_Click();
        EXPECT_FALSE(d.chkBckCol->isChecked());
        d.chkPnlCol->setChecked(false);
        loseFocus(d.chkBckCol);
        EXPECT_TRUE(d.chkPnlCol->isChecked());
        EXPECT_FALSE(d.chkBckCol->isChecked());
        EXPECT_EQ(0x445566u, chart().BackColor());
        d.cmdCancel_Click();
    });
    EXPECT_EQ(QStringLiteral("8000000f 112233 9"), onChart());
}

// ---------------------------------------------------------------------------------------------
// Saving

TEST_F(ChartAppearanceDialog, WhatIsSavedStaysOnTheChartAndOpensTheDialogNextTime)
{
    const struct {
        std::optional<vb::OLE_COLOR> panel, back; // none: the default box ticked
        int depth;
        const char* saved;
    } rows[] = {
        {0x336699, std::nullopt, 4, "336699 ffffff 4"},
        {std::nullopt, 0x000080, 0, "8000000f 80 0"},
        {std::nullopt, std::nullopt, 20, "8000000f ffffff 20"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.saved);
        run([&](frmAppearance& d) {
            if (r.panel) {
                services().colorDialog().Choose(*r.panel);
                d.cmdPnlCol_Click();
            } else {
                d.chkPnlCol->setChecked(true);
            }
            if (r.back) {
                services().colorDialog().Choose(*r.back);
                d.cmdBckCol_Click();
            } else {
                d.chkBckCol->setChecked(true);
            }
            d.HScroll1->setValue(r.depth);
            d.cmdOK->click();
            EXPECT_FALSE(d.Loaded()) << "saving closes the dialog";
        });
        EXPECT_EQ(QLatin1String(r.saved), stored());
        EXPECT_EQ(QLatin1String(r.saved), onChart());
        run([&](frmAppearance& d) {
            EXPECT_EQ(!r.panel, d.chkPnlCol->isChecked());
            EXPECT_EQ(!r.back, d.chkBckCol->isChecked());
            EXPECT_EQ(r.depth, d.HScroll1->value());
            EXPECT_EQ(QStringLiteral("3D Appearance:  %1").arg(r.depth), d.Frame3D->title());
            d.cmdCancel_Click();
        });
    }
    // The system colour went in as its signed 32-bit code.
    EXPECT_EQ(static_cast<qint32>(Panel),
              count(QStringLiteral("select plt_pnl_cl from person where prsn_ky = %1").arg(samplePerson)));
}

TEST_F(ChartAppearanceDialog, APersonDeletedMeanwhileIsToldAndTheChartKeepsItsLook)
{
    answer(vb::vbOK);
    run([&](frmAppearance& d) {
        d.HScroll1->setValue(3);
        deletePerson(samplePerson);
        d.cmdOK_Click();
        ASSERT_EQ(1u, messages().Log().size());
        EXPECT_EQ(QStringLiteral("The person of this chart is no longer in the database. Nothing was saved."), lastBox().text);
        EXPECT_TRUE(d.Loaded());
        d.cmdCancel_Click();
    });
    EXPECT_EQ(QStringLiteral("<none>"), stored());
    EXPECT_EQ(QStringLiteral("8000000f ffffff 3"), onChart()) << "nothing stored to go back to";
    EXPECT_NO_THROW(chart().RenderImage(400, 200, 1.0));
}

} // namespace
