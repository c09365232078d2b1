#pragma once
// Free helpers shared by the forms and classes: Jet date literals, days in a month, the splash
// status text and the colour of a blood-sugar reading against its goal range.
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace modFunctions {

// Colours of a sugar reading (BGR codes).
inline constexpr qint32 SugarNoGoalColor = 0xFFFF00;  // cyan: no goal named
inline constexpr qint32 SugarNormalColor = 0x99FF99;  // light green
inline constexpr qint32 SugarWarningColor = 0x99FFFF; // light yellow
inline constexpr qint32 SugarDangerColor = 0x9999FF;  // light red

// The date a value stands for: a date or date-time value, or a text the user's locale reads as
// a date (day order of the short-date pattern, "/", "-" or "." between the parts, an optional
// time "h:m[:s] [AM|PM]"; a year-first text is read year, month, day). Anything else: nothing.
std::optional<QDateTime> DateOf(const QVariant& value);

// A time on the 12-hour clock as the time lists show it ("7:30 AM", "12:05 pm"); none for any
// other text.
std::optional<QTime> ClockTimeOf(const QString& text);

// "#m/d/yyyy#", month first whatever the locale; a null QString (the empty value) when the
// value is no date.
QString SqlDate(const QVariant& value);
// "#m/d/yyyy " + time + "#". Without a time text, the value's own time as "h:m AM/PM" (no
// leading zeros, seconds dropped). A null QString when the value is no date, or when the time
// text is not a time of day ("h:m[:s] [AM|PM]"), so nothing else ends up inside the literal.
QString SqlDateTime(const QVariant& value, const QString& time = QString());

// Days of a month of a year (February 29 in leap years). Months outside 1 to 12 count into
// the neighbouring years.
int DaysInMonth(int month, int year);

// Splash status: stage 0 "Building Database ...", stage 1 "Loading Sample data ...", written
// through the hook the shell installs (which also lets the text paint). Without a hook, or for
// another stage, nothing happens.
void ShowSplashStatus(int stage);
void setSplashStatusHook(std::function<void(const QString&)> hook);

// Colour of a sugar reading against the goal range of that name in DBTS_GOAL: cyan for an
// empty name (and for a name no goal has), green within the normal limits, yellow between a
// normal and a danger limit, red beyond a danger limit. Limits compare in single precision.
qint32 GetSugarGoalColor(float reading, const QString& goalName);

// The same colours for many readings: the goal table is read once, and each name looked up
// once. Meant for one fill of a grid or chart; a goal changed afterwards is not seen.
class SugarGoalColors {
public:
    qint32 ColorOf(float reading, const QString& goalName);

private:
    struct Limits {
        float nl, nh, dl, dh;
    };
    bool loaded_ = false;
    std::vector<std::pair<QString, Limits>> goals_; // in the table's name order
    QHash<QString, std::optional<Limits>> found_;
};

} // namespace modFunctions
