#pragma once
// "Body Mass Index Calculator": the index of a typed or stored height and weight, shown as a
// number on a label coloured by its band and on a slider over a scale of the five bands. Shown
// modeless by the main window, which leaves it open when it changes data forms. It writes
// nothing; the arithmetic lives in data/BodyMassIndex.h, where the report finds it too.
#include "platform/dao/dao.h"
#include "platform/runtime/ui/Form.h"

#include <QSlider>

#include <array>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace calculators {
class LineControl;

// The slider, which can tell where its handle's centre stands for a value.
class BmiSlider : public QSlider {
    Q_OBJECT
public:
    explicit BmiSlider(QWidget* parent);
    // The handle's centre for a value, in the slider's own pixels.
    int HandleCentre(int value) const;
};
} // namespace calculators

class frmBMI : public vb::Form {
    Q_OBJECT
public:
    explicit frmBMI(QWidget* parent = nullptr);
    ~frmBMI() override;

    QLabel* lblPerson;
    QComboBox* cmbPerson; // names by name; item data PRSN_KY
    QLabel* lblHeight;
    QLineEdit* txtHT;
    QLabel* lblHtIn;
    QComboBox* cmbHT; // "inches", "centimeters"
    QPushButton* CmdDetail;
    QLabel* lblWeight;
    QLineEdit* txtWt;
    QLabel* lblWtIn;
    QComboBox* cmbWT; // "pounds", "kilograms"
    QPushButton* cmdCalculate;
    QPushButton* cmdClose;
    QPushButton* cmdHLP;
    QPushButton* cmdHomePage;
    QGroupBox* fraBMI; // "BMI:" and eleven blanks
    QLabel* lblBMI;
    calculators::BmiSlider* Slider1; // 13 to 45
    calculators::LineControl* LineSlider;
    std::vector<calculators::LineControl*> Tick; // 15, 20, ..., 50
    std::vector<QLabel*> lblBMIValue;
    std::array<QLabel*, 5> lblColor{};
    QLabel* Picture1;
    QLabel* Picture2;

    // The maker's home page, opened by "Home Page".
    static QString HomePageAddress();

    // Handlers.
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;
    void cmdCalculate_Click();
    void cmbPerson_Click();
    void cmbHT_Click();
    void cmbWT_Click();
    void txtHT_KeyPress(int& KeyAscii);
    void txtWt_KeyPress(int& KeyAscii);
    void cmbHT_KeyPress(int& KeyAscii);
    void cmbWT_KeyPress(int& KeyAscii);
    void Slider1_ResetToBMI();
    void CmdDetail_Click();
    void cmdHLP_Click();
    void cmdHomePage_Click();
    void cmdClose_Click();

    // Fills the weight box with the person's latest weight.
    void LoadLatestWeight(qint32 personKey);
    // The feet/inches picker's total: the height box gets it in inches, as a unit pick would.
    void SetHeightInches(int totalInches);
    // The slider back to 0, the result label empty and uncoloured.
    void ClearResult();

    // Whether a form named "mdiHealth" was loaded when this window loaded.
    bool MainWindowLoaded() const { return mainLoaded_; }
    // The slider's value as set, before the slider keeps it within its range (0 when cleared).
    int SliderValue() const { return sliderValue_; }

private:
    void setSlider(int value);
    void layOutScale();
    // Takes the height and weight of the person at that position of the person set.
    void takePerson();

    dao::RecordsetPtr personRs_;
    bool mainLoaded_ = false;
    int sliderValue_ = 0;
    bool settingSlider_ = false;
};
