#pragma once
// The geometry and texts of the biological-clock planner, in twips, without widgets: the two
// band strips, the hour scale, the hour texts, where the strips stand for a wake-up time and
// where the present-time marker goes.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QtGlobal>

#include <array>
#include <optional>

namespace clockplan {

// Design places and sizes.
constexpr double kBandUnit = 270;    // the design width of a strip's first band
constexpr double kMorningLeft = 660; // Picture1
constexpr double kMorningTop = 780;
constexpr double kNightOwlTop = 1800; // Picture2
constexpr double kStripHeight = 435;
constexpr double kBandLeft = 2; // the first band's left inside its strip
constexpr double kScaleY = 1590;
constexpr double kTickHeight = 150;
constexpr double kTimeTextGap = 150;   // between an hour text's top and its tick's top
constexpr double kTimeTextWidth = 360; // the design size of the hour texts
constexpr double kTimeTextHeight = 165;
constexpr double kMarkerTop = 360;
constexpr double kMarkerBottom = 2520;
constexpr double kMarkerTextTop = 120;
constexpr double kMarkerTextWidth = 675;
constexpr double kMarkerTextHeight = 150;
constexpr int kHourSteps = 19; // ticks 0 to 19
// The client area of the window as designed.
constexpr double kClientWidth = 10965;
constexpr double kClientHeight = 5940;

constexpr quint32 kLowConcentration = 0xFF9966;
constexpr quint32 kCreativity = 0x66FFFF;
constexpr quint32 kProblemSolving = 0x66FF66;
constexpr quint32 kRejuvenation = 0x0080FF;

struct Strip {
    std::array<double, 7> left{}; // inside the strip
    std::array<double, 7> width{};
    std::array<quint32, 7> color{};
    double width_total = 0; // the strip's width: the running total of the band widths
};

// The Morning Person bands (1, 4, 9, 4, 4, 7, 4 units) and the Night Owl bands (the first band
// four units wide, then 4, 2, 4, 6, 10, 1 units), laid out from a first band of `unit` twips.
Strip MorningStrip(double unit = kBandUnit);
Strip NightOwlStrip(double unit = kBandUnit);

// Where the Night Owl strip starts when the window loads: five units right of the Morning one.
constexpr double NightOwlLoadLeft(double morningLeft = kMorningLeft, double unit = kBandUnit) { return 5 * unit + morningLeft; }

// The hour scale: three hour widths (a sixteenth of the Night Owl strip) before the Night Owl
// strip's place, to that strip's right end.
struct Scale {
    double left = 0;
    double right = 0;
    double hourWidth() const { return (right - left) / kHourSteps; }
    double tickX(int i) const { return left + i * (right - left) / kHourSteps; }
};
Scale ScaleFor(double nightOwlLeft, double nightOwlWidth);

// "5 AM", "12 PM", "11 PM", "12 AM", "1 AM" for k = 5, 12, 23, 24, 25 (hours from midnight).
QString HourText(int k);
// The twenty hour texts from the wake-up hour on.
QStringList HourTexts(int wakeHour);

// The wake-up lists and the entry each type starts on.
const QStringList& MorningTimes();
const QStringList& NightOwlTimes();
constexpr int kMorningDefault = 3;  // " 5:30 AM"
constexpr int kNightOwlDefault = 1; // " 7:30 AM"
// The text used when the wake-up box is empty.
inline const QString kDefaultWakeText = QStringLiteral(" 5:00 AM");

// The hour and the half of a wake-up text: " 5:30 AM" gives 5 and true, "10:00 AM" 10 and false.
struct WakeChoice {
    int hour = 5;
    bool half = false;
};
WakeChoice ChoiceOf(const QString& wakeText);
// A wake-up text ("hh:mm AM" or "hh:mm PM", blanks allowed) as a time of day; none when it is
// no such time.
std::optional<QTime> WakeTimeOf(const QString& wakeText);

// The strips' lefts after a choice: on the half hour both stand at the Morning home when a
// person type is chosen (and stay where they are when none is); on the hour each stands a
// thirty-second of its own width left of the Morning home.
struct StripLefts {
    double morning = 0;
    double nightOwl = 0;
};
StripLefts StripLeftsFor(bool half, bool typeChosen, double morningHome, double morningWidth, double nightOwlWidth,
                         StripLefts current);

// The present-time marker: shown while the present time, cut to the minute, is later than the
// wake-up time and less than 19 hours after it, counted across midnight (at 1:00 AM someone
// who woke at 7:30 AM has been up 17.5 hours). It stands one hour width right of the scale's
// start for every hour since the wake-up hour.
struct Marker {
    bool visible = false;
    double x = 0;
};
Marker MarkerFor(const QString& wakeText, int wakeHour, const QDateTime& now, const Scale& scale);

} // namespace clockplan
