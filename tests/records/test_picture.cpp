// The decorative picture of the Measurement form and the picture setting: the random choice of
// group and number at the ends of the random range, the setting "NO", a missing file, a space
// too narrow for the picture, and the setting dialog storing its box however it closes.
#include "test_measure_support.h"

#include "records/frmPictureManager.h"

#include "platform/runtime/App.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

namespace {

using testing_measure::MeasureFixture;

class PictureTest : public MeasureFixture {
protected:
    void SetUp() override
    {
        MeasureFixture::SetUp();
        testing_data::copyFolder(testing_data::executableFolder() + "/picture", App::Path() + "/picture");
        ASSERT_TRUE(QFile::exists(App::Path() + "/picture/AA1.jpg"));
    }

    vb::QueuedRandom& random() { return services().runtime().random(); }
    QString file(const QString& name) const { return App::Path() + "/picture/" + name; }
    void setSetting(const char* value)
    {
        gDB->Execute(QStringLiteral("update Application set PICTURE = %1").arg(value), dao::dbFailOnError);
    }
    QString setting() const { return vb::CStr(value("select PICTURE from Application")); }
    // Sizes the form and lays it out without showing it.
    void layOut()
    {
        form->resize(1400, 800);
        form->layout()->activate();
        // The scrolled part is sized by its area's resize event, which a hidden form is not sent.
        auto* scroller = form->findChild<QScrollArea*>();
        scroller->widget()->resize(scroller->size());
        scroller->widget()->layout()->activate();
    }
    bool pictureShown() const { return !form->picPhotos->isHidden() && !form->picPhotosFrame->isHidden(); }
};

TEST_F(PictureTest, TheGroupIsDrawnFirstAndTheNumberWithinIt)
{
    openForm();
    layOut();
    struct Case {
        double r1, r2;
        const char* name;
    };
    const Case cases[] = {{0.0, 0.0, "AA1.jpg"},  {0.0, 0.99, "AA8.jpg"}, {0.25, 0.5, "BA4.jpg"},
                          {0.5, 0.99, "CA4.jpg"}, {0.99, 0.0, "DA1.jpg"}, {0.99, 0.99, "DA6.jpg"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        random().Queue(c.r1);
        random().Queue(c.r2);
        form->ShowRandomPicture();
        EXPECT_EQ(file(c.name), form->PictureFile());
        EXPECT_TRUE(pictureShown());
        EXPECT_EQ(QSize(200, 150), form->picPhotos->size());
        // The border surrounds the picture.
        EXPECT_TRUE(form->picPhotosFrame->geometry().contains(form->picPhotos->geometry()));
    }
    EXPECT_GE(random().RandomizeCount(), 1);
    // A click on the picture draws another one.
    random().Queue(0.5);
    random().Queue(0.0);
    QTest::mouseClick(form->picPhotos, Qt::LeftButton);
    EXPECT_EQ(file("CA1.jpg"), form->PictureFile());
}

TEST_F(PictureTest, ActivationShowsAPictureUnlessTheSettingIsNo)
{
    for (const char* stored : {"'YES'", "Null", "'NO'"}) {
        SCOPED_TRACE(stored);
        setSetting(stored);
        openForm();
        layOut();
        const int before = random().Calls();
        form->Form_Activate();
        if (QLatin1String(stored) == QLatin1String("'NO'")) {
            EXPECT_EQ(before, random().Calls()) << "no picture is drawn";
            EXPECT_EQ("", form->PictureFile());
            EXPECT_FALSE(pictureShown());
        } else {
            EXPECT_EQ(before + 2, random().Calls());
            EXPECT_EQ(file("AA1.jpg"), form->PictureFile());
            EXPECT_TRUE(pictureShown());
        }
        form->Unload();
    }
}

// A main window and another child beside the form, as the program has them.
class mdiProbe : public vb::MDIForm {
public:
    mdiProbe() : MDIForm(QStringLiteral("mdiProbe")) {}
};

TEST_F(PictureTest, OpenedOrChosenInsideTheMainWindowItDrawsOnePicture)
{
    auto& main = vb::defaultInstance<mdiProbe>();
    main.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    int before = random().Calls();
    // Opened from the menu while the main window is active.
    openForm().Show();
    QCoreApplication::processEvents();
    EXPECT_EQ(before + 2, random().Calls()) << "one picture drawn";
    EXPECT_EQ(file("AA1.jpg"), form->PictureFile());

    auto* other = new vb::Form(QStringLiteral("frmOther"));
    other->setMDIChild(true);
    other->Show();
    QCoreApplication::processEvents();
    before = random().Calls();
    main.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->Window()));
    QCoreApplication::processEvents();
    EXPECT_EQ(before + 2, random().Calls()) << "chosen again: one more picture";
    EXPECT_TRUE(main.Unload());
}

TEST_F(PictureTest, AMissingFileHidesThePictureUntilTheNextDraw)
{
    ASSERT_TRUE(QFile::remove(file("AA3.jpg")));
    openForm();
    layOut();
    random().Queue(0.1);
    random().Queue(0.3); // AA3
    form->ShowRandomPicture();
    EXPECT_FALSE(pictureShown());
    EXPECT_EQ("", form->PictureFile());
    random().Queue(0.1);
    random().Queue(0.5); // AA5
    form->ShowRandomPicture();
    EXPECT_TRUE(pictureShown());
    EXPECT_EQ(file("AA5.jpg"), form->PictureFile());
}

TEST_F(PictureTest, ASpaceTooNarrowForThePictureHidesIt)
{
    openForm();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    form->resize(1400, 800);
    QCoreApplication::processEvents();
    form->ShowRandomPicture();
    ASSERT_TRUE(pictureShown());
    // The picture stays right of the entry frame.
    const QPoint pictureLeft = form->picPhotos->mapTo(form, QPoint(0, 0));
    EXPECT_GE(pictureLeft.x(), form->Frame1->geometry().right());

    form->resize(form->Frame1->width() + 60, 800);
    QCoreApplication::processEvents();
    form->ShowRandomPicture();
    EXPECT_FALSE(pictureShown());
    EXPECT_EQ(file("AA1.jpg"), form->PictureFile()) << "the picture is loaded, only hidden";

    form->resize(1400, 800);
    QCoreApplication::processEvents();
    EXPECT_TRUE(pictureShown());
}

TEST_F(PictureTest, TheSettingDialogStoresItsBoxHoweverItCloses)
{
    setSetting("Null");
    auto& dialog = vb::defaultInstance<frmPictureManager>();
    dialog.Load();
    EXPECT_EQ("Picture Manager", dialog.Caption());
    EXPECT_TRUE(dialog.chkPicture->isChecked()) << "an empty setting counts as on";
    dialog.chkPicture->setChecked(false);
    dialog.cmdSave_Click();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ("NO", setting());

    auto& again = vb::defaultInstance<frmPictureManager>();
    again.Load();
    EXPECT_FALSE(again.chkPicture->isChecked());
    again.chkPicture->setChecked(true);
    again.show();
    again.close(); // the window's close button
    EXPECT_EQ("YES", setting());

    // Shown modally, as the main window does.
    services().modal().Expect([](vb::FormBase& form) {
        auto& manager = dynamic_cast<frmPictureManager&>(form);
        manager.chkPicture->setChecked(false);
        manager.cmdSave->click();
    });
    vb::defaultInstance<frmPictureManager>().Show(vb::vbModal);
    EXPECT_EQ("NO", setting());

    // The Measurement form reads the setting when it opens.
    openForm();
    EXPECT_EQ("NO", form->PictureSetting);
}

} // namespace
