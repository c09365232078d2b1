// The temperature converter: both directions with their format and limits, the messages, the
// status text, and typing in one box emptying the other.
#include "calculators/CalculatorsFixture.h"

#include "calculators/frmCnFConverter.h"
#include "platform/runtime/ui/MsgBox.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

namespace {

using testing_calculators::CalculatorsFixture;

const QString kEnter = QStringLiteral("Please enter the temperature in the text box and click on calculate");
const QString kBelowC = QStringLiteral("According to laws of Physics the temprature less that -273 C cannot exist!");
const QString kBelowF = QStringLiteral("According to laws of Physics the temprature less that -459.4 F cannot exist!");

class Converter : public CalculatorsFixture {
protected:
    frmCnFConverter& open()
    {
        frmCnFConverter& form = vb::defaultInstance<frmCnFConverter>();
        form.Load();
        return form;
    }
};

TEST_F(Converter, ConvertsBothWaysWithItsFormatLimitsAndMessages)
{
    struct Case {
        const char* fahrenheit; // typed
        const char* celsius;    // typed
        const char* fahrenheitAfter;
        const char* celsiusAfter;
        QString message;
    };
    const Case cases[] = {
        {"", "37", "98.6", "37", {}},
        {"", "100", "212.0", "100", {}},
        {"", "-40", "-40.0", "-40", {}},
        {"", "-273", "-459.4", "-273", {}},
        {"", "-273.1", "", "-273.1", kBelowC},
        {"", ".5", "32.9", ".5", {}},
        {"", "-17.8", ".0", "-17.8", {}},
        {"32", "", "32", ".0", {}},
        {"33", "", "33", ".6", {}},
        {"31.5", "", "31.5", "-.3", {}},
        {"-40", "", "-40", "-40.0", {}},
        {"-459.4", "", "-459.4", "-273.0", {}},
        {"-460", "", "-460", "", kBelowF},
        {" 212 ", "", " 212 ", "100.0", {}},
        {"", "99999999999999999999", "180000000000000000000.0", "99999999999999999999", {}},
        // Nothing to convert, or text that is no number.
        {"", "", "", "", kEnter},
        {"  ", "", "  ", "", kEnter},
        {"", ".", "", ".", kEnter},
        {"abc", "", "abc", "", kEnter},
        {"1.2.3", "", "1.2.3", "", kEnter},
        {"", "1e400", "", "1e400", kEnter},
        // Both filled: nothing is converted.
        {"50", "20", "50", "20", {}},
    };
    frmCnFConverter& form = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("F '") + c.fahrenheit + "' C '" + c.celsius + "'");
        form.txtF->setText(QString::fromUtf8(c.fahrenheit));
        form.TxtC->setText(QString::fromUtf8(c.celsius));
        form.StatusBar1->showMessage(frmCnFConverter::PromptText());
        messages().Clear();
        if (!c.message.isEmpty())
            messages().Answer(vb::vbOK);
        form.cmdCalculate_Click();
        EXPECT_EQ(form.txtF->text(), QString::fromUtf8(c.fahrenheitAfter));
        EXPECT_EQ(form.TxtC->text(), QString::fromUtf8(c.celsiusAfter));
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages().Log().empty());
            EXPECT_EQ(form.StatusBar1->currentMessage(), QString());
        } else {
            ASSERT_EQ(messages().Log().size(), 1u);
            EXPECT_EQ(lastBox().text, c.message);
            EXPECT_EQ(lastBox().icon, vb::vbInformation);
            EXPECT_EQ(lastBox().title, QStringLiteral("Ravelcombrick"));
            EXPECT_EQ(form.StatusBar1->currentMessage(), frmCnFConverter::PromptText());
        }
    }
}

TEST_F(Converter, TypingInOneBoxEmptiesTheOther)
{
    frmCnFConverter& form = open();
    EXPECT_EQ(form.StatusBar1->currentMessage(),
              QStringLiteral("Enter the temperature in the Farenheit or Centigrade boxes and click on Calculate button."));
    form.TxtC->setText(QStringLiteral("37"));
    form.cmdCalculate_Click();
    ASSERT_EQ(form.txtF->text(), QStringLiteral("98.6"));

    // Any key, even one that changes nothing, empties the other box first.
    form.TxtC->setCursorPosition(2);
    QTest::keyClick(form.TxtC, Qt::Key_Backspace);
    EXPECT_EQ(form.TxtC->text(), QStringLiteral("3"));
    EXPECT_EQ(form.txtF->text(), QString());
    form.cmdCalculate_Click();
    EXPECT_EQ(form.txtF->text(), QStringLiteral("37.4"));

    QTest::keyClick(form.txtF, Qt::Key_X);
    EXPECT_EQ(form.TxtC->text(), QString());
    EXPECT_EQ(form.txtF->text(), QStringLiteral("37.4x"));
    messages().Answer(vb::vbOK);
    form.cmdCalculate_Click();
    EXPECT_EQ(lastBox().text, kEnter);

    form.cmdClose_Click();
    EXPECT_FALSE(form.Loaded());
}

} // namespace
