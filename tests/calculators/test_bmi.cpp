// The body-mass index: the calculation with its checks, rounding and bands (the function the
// report calls too), and the calculator window: person list, unit lists, clearing, the slider,
// the feet/inches picker, help and home page, and bad input.
#include "calculators/CalculatorsFixture.h"

#include "calculators/CalculatorSupport.h"
#include "calculators/frmBMI.h"
#include "calculators/frmFtToInches.h"
#include "data/BodyMassIndex.h"
#include "platform/runtime/ui/Colors.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using testing_calculators::CalculatorsFixture;

const QString crlf = QStringLiteral("\r\n");
const QString kBoth = QStringLiteral("You need to enter the height and weight to calculate BMI.");
const QString kHeight = QStringLiteral("You need to enter the height.");
const QString kWeight = QStringLiteral("You need to enter the weight.");
const QString kInchRange =
    QStringLiteral("The height should be between 3 feet(36 inches) and 9 feet (108 inches).") + crlf + "Please re-enter again.";
const QString kCmRange = QStringLiteral("The height should be between 90 and 275 centimeters.") + crlf + "Please re-enter again.";
const QString kHeightUnits =
    QStringLiteral("The units must be either inches or centimeters.") + crlf + "Choose the units and calculate again.";
const QString kLbRange = QStringLiteral("The weight should be between 20 and 800 pounds.") + crlf + "Please re-enter again.";
const QString kKgRange = QStringLiteral("The weight should be between 10 and 400 kilograms.") + crlf + "Please re-enter again.";
const QString kWeightUnits =
    QStringLiteral("The units must be either pounds or kilograms.") + crlf + "Choose the units and calculate again.";

struct Case {
    const char* height;
    const char* heightUnit;
    const char* weight;
    const char* weightUnit;
    const char* text; // shown; empty when refused
    int slider;
    int band;
    QString message;
    int icon;
};

TEST(BmiCalculation, ExamplesEdgesAndMessagesInOrder)
{
    const Case cases[] = {
        {"70", "inches", "154", "pounds", "22.1", 22, 1, {}, 0},
        {"175", "centimeters", "70", "kilograms", "22.9", 23, 1, {}, 0},
        // 24.97 is rounded first: shown as 25 and banded Overweight.
        {"155", "centimeters", "60", "kilograms", "25", 25, 2, {}, 0},
        {"150", "centimeters", "90", "kilograms", "40", 40, 4, {}, 0},
        // Halves go to the even neighbour on the slider.
        {"100", "centimeters", "22.5", "kilograms", "22.5", 22, 1, {}, 0},
        {"100", "centimeters", "23.5", "kilograms", "23.5", 24, 1, {}, 0},
        // The range ends are accepted (results outside the slider's range too).
        {"36", "inches", "20", "pounds", "10.9", 11, 0, {}, 0},
        {"108", "inches", "800", "pounds", "48.3", 48, 4, {}, 0},
        {"90", "centimeters", "10", "kilograms", "12.3", 12, 0, {}, 0},
        {"275", "centimeters", "400", "kilograms", "52.9", 53, 4, {}, 0},
        {" 70 ", "inches", "154.0", "pounds", "22.1", 22, 1, {}, 0},
        // Just past the ends.
        {"35.9", "inches", "154", "pounds", "", 0, -1, kInchRange, vb::vbExclamation},
        {"108.1", "inches", "154", "pounds", "", 0, -1, kInchRange, vb::vbExclamation},
        {"89.9", "centimeters", "70", "kilograms", "", 0, -1, kCmRange, vb::vbExclamation},
        {"275.1", "centimeters", "70", "kilograms", "", 0, -1, kCmRange, vb::vbExclamation},
        {"70", "inches", "800.1", "pounds", "", 0, -1, kLbRange, vb::vbExclamation},
        {"70", "inches", "19.9", "pounds", "", 0, -1, kLbRange, vb::vbExclamation},
        {"175", "centimeters", "9.9", "kilograms", "", 0, -1, kKgRange, vb::vbExclamation},
        {"175", "centimeters", "400.1", "kilograms", "", 0, -1, kKgRange, vb::vbExclamation},
        // The order of the checks.
        {"", "inches", "", "pounds", "", 0, -1, kBoth, vb::vbExclamation},
        {"", "inches", "154", "pounds", "", 0, -1, kHeight, vb::vbExclamation},
        {"70", "inches", "  ", "pounds", "", 0, -1, kWeight, vb::vbExclamation},
        {"70", "", "154", "", "", 0, -1, kHeightUnits, vb::vbInformation},
        {"10", "", "5000", "pounds", "", 0, -1, kHeightUnits, vb::vbInformation},
        {"70", "inches", "5000", "", "", 0, -1, kWeightUnits, vb::vbInformation},
        {"10", "inches", "5000", "", "", 0, -1, kInchRange, vb::vbExclamation},
        // Text that is no number is asked for again; a huge or negative number is out of range.
        {".", "inches", ".", "pounds", "", 0, -1, kBoth, vb::vbExclamation},
        {".", "inches", "154", "pounds", "", 0, -1, kHeight, vb::vbExclamation},
        {"70", "inches", "1.2.3", "pounds", "", 0, -1, kWeight, vb::vbExclamation},
        {"abc", "inches", "x", "pounds", "", 0, -1, kBoth, vb::vbExclamation},
        {"99999999999999999999999999999999999999999999", "inches", "154", "pounds", "", 0, -1, kInchRange, vb::vbExclamation},
        {"70", "inches", "1e999", "pounds", "", 0, -1, kWeight, vb::vbExclamation},
        {"-70", "inches", "154", "pounds", "", 0, -1, kInchRange, vb::vbExclamation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.height) + " " + c.heightUnit + " / " + c.weight + " " + c.weightUnit);
        const bmi::Outcome o = bmi::Calculate({c.height, c.heightUnit, c.weight, c.weightUnit});
        EXPECT_EQ(o.message, c.message);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(o.icon, c.icon);
            continue;
        }
        EXPECT_EQ(o.text, QLatin1String(c.text));
        EXPECT_EQ(o.slider, c.slider);
        EXPECT_EQ(o.band, c.band);
    }
}

TEST(BmiCalculation, BandsFollowTheRoundedValue)
{
    const std::pair<double, int> cases[] = {{12, 0},   {19.9, 0}, {20, 1},   {24.9, 1}, {25, 2},
                                            {29.9, 2}, {30, 3},   {39.9, 3}, {40, 4},   {60, 4}};
    for (const auto& [value, band] : cases)
        EXPECT_EQ(bmi::BandOf(value), band) << value;
    const auto& bands = bmi::Bands();
    EXPECT_STREQ(bands[4].caption, "Severly Obese");
    EXPECT_EQ(bands[0].color, 0xFFFF00u);
    EXPECT_EQ(bands[1].color, 0xFF00u);
    EXPECT_EQ(bands[2].color, 0xFFFFu);
    EXPECT_EQ(bands[3].color, 0x8080FFu);
    EXPECT_EQ(bands[4].color, 0xFFu);
}

class BmiWindow : public CalculatorsFixture {
protected:
    frmBMI& open()
    {
        frmBMI& form = vb::defaultInstance<frmBMI>();
        form.Load();
        return form;
    }
    void calculate(frmBMI& form, const QString& height, const QString& weight)
    {
        form.txtHT->setText(height);
        form.txtWt->setText(weight);
        form.cmdCalculate_Click();
    }
    static vb::OLE_COLOR resultColor(const frmBMI& form) { return vb::BackColor(form.lblBMI); }
    static vb::OLE_COLOR noResultColor() { return vb::CodeFromColor(vb::ColorFromCode(vb::vbWindowBackground)); }
};

TEST_F(BmiWindow, PersonListTakesHeightAndNewestWeightByKey)
{
    loadMainWindow();
    const qint32 quote = addPerson(QStringLiteral("Dara O'Brien"), 70);
    const qint32 plain = addPerson(QStringLiteral("Aaron Plain"), QVariant());
    // The newest weight counts, whatever the other weights are.
    addWeight(quote, QStringLiteral("1/5/2024 8:00 AM"), 180);
    addWeight(quote, QStringLiteral("3/5/2024 8:00 AM"), 154);
    addWeight(quote, QStringLiteral("2/5/2024 8:00 AM"), 154);
    addWeight(quote, QStringLiteral("4/5/2024 8:00 AM"), QVariant());
    gPersonKey = quote;

    frmBMI& form = open();
    EXPECT_TRUE(form.cmbPerson->isVisibleTo(&form));
    QStringList names;
    for (int i = 0; i < form.cmbPerson->count(); ++i)
        names << form.cmbPerson->itemText(i);
    QStringList sorted = names;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(form.cmbPerson->currentText(), QStringLiteral("Dara O'Brien"));
    EXPECT_EQ(form.txtHT->text(), QStringLiteral("70"));
    EXPECT_EQ(form.txtWt->text(), QStringLiteral("154"));
    EXPECT_EQ(form.cmbHT->currentText(), QStringLiteral("inches"));
    EXPECT_EQ(form.cmbWT->currentText(), QStringLiteral("pounds"));
    form.cmdCalculate_Click();
    EXPECT_EQ(form.lblBMI->text(), QStringLiteral("22.1"));
    EXPECT_EQ(form.Slider1->value(), 22);
    EXPECT_EQ(resultColor(form), 0xFF00u);
    // The report's road gives the same.
    EXPECT_EQ(bmi::Calculate(bmi::PersonEntry(quote)).text, QStringLiteral("22.1"));

    // A person without height or weight empties both boxes and clears the result.
    form.cmbPerson->setCurrentIndex(form.cmbPerson->findData(plain));
    form.cmbPerson_Click();
    EXPECT_EQ(form.txtHT->text(), QString());
    EXPECT_EQ(form.txtWt->text(), QString());
    EXPECT_EQ(form.lblBMI->text(), QString());
    EXPECT_EQ(resultColor(form), noResultColor());
    messages().Answer(vb::vbOK);
    form.cmdCalculate_Click();
    EXPECT_EQ(lastBox().text, kBoth);
    EXPECT_EQ(lastBox().icon, vb::vbExclamation);
    EXPECT_EQ(lastBox().title, QStringLiteral("Ravelcombrick"));
}

TEST_F(BmiWindow, WithoutTheMainWindowThereIsNoPersonList)
{
    gPersonKey = addPerson(QStringLiteral("Tall"), 80);
    frmBMI& form = open();
    EXPECT_FALSE(form.MainWindowLoaded());
    EXPECT_FALSE(form.cmbPerson->isVisibleTo(&form));
    EXPECT_FALSE(form.lblPerson->isVisibleTo(&form));
    EXPECT_EQ(form.txtHT->text(), QString());
    EXPECT_EQ(form.txtWt->text(), QString());
}

TEST_F(BmiWindow, UnitListsFollowTheUnitCodes)
{
    struct UnitCase {
        int height, weight;
        const char* heightText;
        const char* weightText;
    };
    const UnitCase cases[] = {{1, 1, "inches", "pounds"}, {2, 2, "centimeters", "kilograms"}, {0, 3, "", ""}};
    for (const UnitCase& c : cases) {
        gHeightUnit = c.height;
        gWeightUnit = c.weight;
        frmBMI form;
        form.Load();
        EXPECT_EQ(form.cmbHT->currentText(), QLatin1String(c.heightText));
        EXPECT_EQ(form.cmbWT->currentText(), QLatin1String(c.weightText));
        EXPECT_EQ(form.cmbHT->count(), 2);
        EXPECT_EQ(form.cmbWT->itemText(1), QStringLiteral("kilograms"));
        form.Unload();
    }
    // Without a height unit the calculation ends at the units message.
    gHeightUnit = 7;
    frmBMI form;
    form.Load();
    messages().Answer(vb::vbOK);
    calculate(form, QStringLiteral("70"), QStringLiteral("154"));
    EXPECT_EQ(lastBox().text, kHeightUnits);
    EXPECT_EQ(lastBox().icon, vb::vbInformation);
    form.Unload();
}

TEST_F(BmiWindow, KeysUnitPicksAndTheSliderClearOrKeepTheResult)
{
    frmBMI& form = open();
    form.show();
    calculate(form, QStringLiteral("70"), QStringLiteral("154"));
    ASSERT_EQ(form.lblBMI->text(), QStringLiteral("22.1"));

    // The slider goes back to the result, whatever moves it.
    form.Slider1->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(form.Slider1->value(), 22);

    // A refused key still clears the result.
    form.txtHT->setFocus();
    form.txtHT->setCursorPosition(2);
    QTest::keyClick(form.txtHT, Qt::Key_A);
    EXPECT_EQ(form.txtHT->text(), QStringLiteral("70"));
    EXPECT_EQ(services().runtime().beep().Count(), 1);
    EXPECT_EQ(form.lblBMI->text(), QString());
    EXPECT_EQ(form.SliderValue(), 0);
    EXPECT_EQ(form.Slider1->value(), 13) << "a cleared slider rests at its left end";
    EXPECT_EQ(resultColor(form), noResultColor());
    QTest::keyClick(form.txtHT, Qt::Key_5);
    EXPECT_EQ(form.txtHT->text(), QStringLiteral("705"));

    // Typed characters do nothing in the unit lists; a pick clears the result.
    calculate(form, QStringLiteral("70"), QStringLiteral("154"));
    QTest::keyClick(form.cmbHT, Qt::Key_C);
    EXPECT_EQ(form.cmbHT->currentText(), QStringLiteral("inches"));
    EXPECT_EQ(form.lblBMI->text(), QStringLiteral("22.1"));
    form.cmbWT->setCurrentIndex(1);
    form.cmbWT_Click();
    EXPECT_EQ(form.lblBMI->text(), QString());

    // With a result shown, a refused calculation leaves it as it was.
    calculate(form, QStringLiteral("70"), QStringLiteral("70"));
    EXPECT_EQ(form.lblBMI->text(), QStringLiteral("22.1"));
    messages().Answer(vb::vbOK);
    calculate(form, QStringLiteral("."), QStringLiteral("70"));
    EXPECT_EQ(lastBox().text, kHeight);
    EXPECT_EQ(form.lblBMI->text(), QStringLiteral("22.1"));
    // Results beyond the slider's range show at its ends.
    calculate(form, QStringLiteral("36"), QStringLiteral("400"));
    EXPECT_EQ(form.lblBMI->text(), QStringLiteral("478.4"));
    EXPECT_EQ(form.Slider1->value(), 45);
    EXPECT_EQ(resultColor(form), 0xFFu);
}

TEST_F(BmiWindow, TicksAndBandsStandWhereTheSliderPoints)
{
    frmBMI& form = open();
    ASSERT_EQ(form.Tick.size(), 8u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(form.lblBMIValue[static_cast<std::size_t>(i)]->text(), QString::number(5 * i + 15));
    // Ticks 15 to 45 stand under the handle's centre for their value.
    for (int i = 0; i < 7; ++i) {
        const int value = 5 * i + 15;
        const QRect tick = form.Tick[static_cast<std::size_t>(i)]->geometry();
        const int handle = form.Slider1->x() + form.Slider1->HandleCentre(value);
        EXPECT_LE(std::abs(tick.center().x() - handle), 1) << value;
    }
    // Bands: 13 to 20, 20 to 25, 25 to 30, 30 to 40, 40 to 45 (and a little).
    const auto left = [&](int band) { return form.lblColor[static_cast<std::size_t>(band)]->geometry().left(); };
    const auto right = [&](int band) { return form.lblColor[static_cast<std::size_t>(band)]->geometry().right() + 1; };
    const auto tickX = [&](int i) { return form.Tick[static_cast<std::size_t>(i)]->geometry().center().x(); };
    EXPECT_LE(std::abs(left(0) - (form.Slider1->x() + form.Slider1->HandleCentre(13))), 1);
    for (int band = 1; band < 5; ++band)
        EXPECT_EQ(left(band), right(band - 1));
    EXPECT_LE(std::abs(left(1) - tickX(1)), 1);
    EXPECT_LE(std::abs(left(4) - tickX(5)), 1);
    EXPECT_LE(std::abs(right(4) - tickX(6)), 2);
    for (QLabel* band : form.lblColor)
        EXPECT_EQ(band->geometry().top(), form.lblColor[0]->geometry().top());
    // Every band's caption fits it.
    for (QLabel* band : form.lblColor)
        EXPECT_LE(band->heightForWidth(band->width()), band->height()) << band->text().toStdString();
}

TEST_F(BmiWindow, PickerWritesTotalInchesAndRefusesTextsThatAreNoNumbers)
{
    struct PickCase {
        const char* text;
        QChar mark;
        std::optional<int> number;
    };
    const PickCase cases[] = {
        {"5'", u'\'', 5}, {"11\"", u'"', 11}, {"0\"", u'"', 0},  {"7", u'\'', 7},     {" 6' ", u'\'', 6},
        {"", u'\'', {}},  {"'", u'\'', {}},   {"x'", u'\'', {}}, {"123'", u'\'', {}}, {"5\"", u'\'', {}},
    };
    for (const PickCase& c : cases)
        EXPECT_EQ(frmFtToInches::PickedNumber(QString::fromUtf8(c.text), c.mark), c.number) << c.text;

    frmBMI& form = open();
    ASSERT_NE(vb::Forms().Find(QStringLiteral("frmFtToInches")), nullptr) << "the picker is loaded, hidden, with the calculator";
    struct Total {
        const char* feet;
        const char* inches;
        const char* total;
    };
    const Total totals[] = {{nullptr, nullptr, "60"}, {"7'", "11\"", "95"}, {"3'", "0\"", "36"}};
    for (const Total& t : totals) {
        calculate(form, QStringLiteral("70"), QStringLiteral("154"));
        form.cmbHT->setCurrentIndex(1);
        services().modal().Expect([&t](vb::FormBase& shown) {
            auto& picker = dynamic_cast<frmFtToInches&>(shown);
            if (t.feet) {
                picker.cmbFt->setEditText(QString::fromUtf8(t.feet));
                picker.cmbIn->setEditText(QString::fromUtf8(t.inches));
            }
            picker.cmdClose_Click();
        });
        form.CmdDetail_Click();
        EXPECT_EQ(form.txtHT->text(), QLatin1String(t.total));
        EXPECT_EQ(form.cmbHT->currentText(), QStringLiteral("inches"));
        EXPECT_EQ(form.lblBMI->text(), QString());
        EXPECT_EQ(vb::Forms().Find(QStringLiteral("frmFtToInches")), nullptr) << "Enter unloads the picker";
    }

    // A text without a number keeps the picker open and the height as it was.
    form.txtHT->setText(QStringLiteral("70"));
    services().modal().Expect([](vb::FormBase& shown) {
        auto& picker = dynamic_cast<frmFtToInches&>(shown);
        picker.cmbIn->setEditText(QStringLiteral("\""));
        picker.cmdClose_Click();
        EXPECT_TRUE(picker.Loaded());
    });
    form.CmdDetail_Click();
    EXPECT_EQ(form.txtHT->text(), QStringLiteral("70"));
    EXPECT_EQ(services().runtime().beep().Count(), 1);
}

TEST_F(BmiWindow, PickerFiltersTypedAndPastedTextAlikeAndShowsItsWholeTitle)
{
    auto& picker = vb::defaultInstance<frmFtToInches>();
    picker.Load();
    // Keys typed while the combo box has the focus reach its editor through the box.
    picker.cmbFt->setEditText(QString());
    QTest::keyClicks(picker.cmbFt, QStringLiteral("a6-'"));
    EXPECT_EQ(picker.cmbFt->currentText(), QStringLiteral("6'"));
    EXPECT_EQ(services().runtime().beep().Count(), 2);

    // A paste is refused whole, with what the box takes; a number is taken.
    const struct {
        const char* text;
        const char* kept;
    } pasted[] = {{"11in", "4"}, {"5'", "4"}, {"10", "10"}};
    for (const auto& p : pasted) {
        picker.cmbIn->setEditText(QStringLiteral("4"));
        picker.cmbIn->lineEdit()->selectAll();
        const bool refused = QLatin1String(p.kept) == QLatin1String("4");
        if (refused)
            messages().Answer(vb::vbOK);
        picker.cmbIn->lineEdit()->insert(QString::fromUtf8(p.text));
        QCoreApplication::processEvents();
        EXPECT_EQ(picker.cmbIn->currentText(), QLatin1String(p.kept)) << p.text;
    }
    ASSERT_EQ(messages().Log().size(), 2u);
    EXPECT_EQ(lastBox().text,
              QStringLiteral("The inches take a whole number of at most two digits, with or without \" after it."));

    // Wide enough for its title in a bold title-bar font, with room for the bar's buttons.
    picker.layout()->activate();
    QFont bold = picker.font();
    bold.setBold(true);
    EXPECT_GT(picker.width(), QFontMetrics(bold).horizontalAdvance(picker.windowTitle()) + 60);
}

TEST_F(BmiWindow, HelpAndHomePage)
{
    frmBMI& form = open();
    form.cmdHLP_Click();
    ASSERT_EQ(services().help().Pages().size(), 1);
    EXPECT_TRUE(services().help().Pages().front().endsWith(QStringLiteral("/htm/BMI.htm")));

    form.cmdHomePage_Click();
    ASSERT_EQ(services().shell().Calls().size(), 1u);
    EXPECT_EQ(services().shell().Calls().front().target, frmBMI::HomePageAddress());
    EXPECT_TRUE(messages().Log().empty());
    services().shell().setResult(false);
    messages().Answer(vb::vbOK);
    form.cmdHomePage_Click();
    EXPECT_EQ(lastBox().text, QStringLiteral("Ravelcombrick had a problem running your web browser. You should check that your "
                                             "browser is correctly installed.(Error0)"));
    EXPECT_EQ(lastBox().title, QStringLiteral("Browser Unavailable"));
    EXPECT_EQ(lastBox().icon, vb::vbExclamation);
}

TEST_F(BmiWindow, KeepsWorkingAfterTheMainWindowAndDatabaseAreGone)
{
    loadMainWindow();
    const qint32 person = addPerson(QStringLiteral("Pat"), 70);
    addWeight(person, QStringLiteral("1/5/2024 8:00 AM"), 154);
    frmBMI& form = open();
    unloadMainWindow();
    closeDatabase();
    form.cmbPerson->setCurrentIndex(form.cmbPerson->findData(person));
    form.cmbPerson_Click();
    EXPECT_EQ(form.txtHT->text(), QStringLiteral("70"));
    EXPECT_EQ(form.txtWt->text(), QString());
    calculate(form, QStringLiteral("70"), QStringLiteral("154"));
    EXPECT_EQ(form.lblBMI->text(), QStringLiteral("22.1"));
    EXPECT_TRUE(form.Unload());
}

} // namespace
