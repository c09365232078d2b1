#pragma once
// "Work with Biological Clock": a day planner. A strip of coloured bands (low concentration,
// creativity, problem solving, rejuvenation) for a morning person or a night owl lies under an
// hour scale that starts at the chosen wake-up hour, and a "Current Time" line marks the present
// moment. A child of the main window, which leaves it open when it changes data forms. It reads
// and writes no data. Everything is placed by twips as designed (see BiologicalClockPlan.h); the
// controls below the scale grow when the screen's font needs more room than the design gave, and
// the window scrolls its body where it has less room than the body needs.
#include "calculators/BiologicalClockPlan.h"
#include "platform/runtime/ui/Form.h"

#include <QSize>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QWidget;

namespace calculators {
class LineControl;
}

class frmBiologicalClockWork : public vb::Form {
    Q_OBJECT
public:
    explicit frmBiologicalClockWork(QWidget* parent = nullptr);
    ~frmBiologicalClockWork() override;

    QWidget* Picture1; // the Morning Person strip
    std::array<QLabel*, 7> lblMP{};
    QWidget* Picture2; // the Night Owl strip
    std::array<QLabel*, 7> lblNO{};
    calculators::LineControl* LineScale;
    std::array<calculators::LineControl*, clockplan::kHourSteps + 1> LineTick{};
    std::array<QLabel*, clockplan::kHourSteps + 1> lblTime{}; // all made once, with the window
    calculators::LineControl* lineCurrentTime;
    QLabel* lblCurrentTime;
    QGroupBox* Frame3;
    QGroupBox* fmPersonType;                       // "1. Person Type"
    std::array<QRadioButton*, 2> optnPersonType{}; // "Morning Person", "Night Owl"; neither at first
    QGroupBox* Frame1;                             // "2. Wakeup Time"
    QComboBox* cmboWakeupTime;
    QPushButton* cmdHLP;
    QGroupBox* Frame2; // "Color Interpretation"
    std::array<QWidget*, 4> picColor{};
    std::array<QTextEdit*, 4> richColorDesc{};

    // Where things stand, in twips (the widgets are placed from these).
    struct Placement {
        double morningLeft = clockplan::kMorningLeft;
        double nightOwlLeft = 0;
        double morningWidth = 0;
        double nightOwlWidth = 0;
        clockplan::Scale scale;
        clockplan::Marker marker;
    };
    const Placement& Place() const { return place_; }
    qint16 MorningHome() const { return morningHome_; }
    qint16 NightOwlHome() const { return nightOwlHome_; }

    // The designed client area, or larger where the screen's font needs it: the size the window
    // opens at inside the main window.
    QSize sizeHint() const override { return openingSize_; }

    // Handlers.
    void Form_Load() override;
    void Form_Activate() override;
    void optnPersonType_Click(int Index);
    void cmboWakeupTime_Click();
    void cmdHLP_Click();
    void PositionForWakeupTime(int hour, bool half);
    void LayoutMorningBands();
    void LayoutNightOwlBands();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What the first activation does: the home places, the scale and the state for 5:00.
    void setUpScale();
    void placeStrips();
    void placeScale();
    void placeMarker();
    void placeControls();
    bool personTypeChosen() const;
    void setPersonType(int index);

    QWidget* canvas_; // holds every control; scrolled by the window below its size
    Placement place_;
    QSize openingSize_;
    qint16 morningHome_ = 0;
    qint16 nightOwlHome_ = 0;
    bool activated_ = false;
    bool opened_ = false;
};
