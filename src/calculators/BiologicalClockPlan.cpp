#include "calculators/BiologicalClockPlan.h"

#include <QRegularExpression>

namespace clockplan {

namespace {

constexpr int kSecondsPerDay = 24 * 3600;

// Lays out bands of the given widths: the first at kBandLeft, each next one after the one
// before; the strip is as wide as the widths add up to (16-bit, as whole twips).
Strip layOut(const std::array<double, 7>& widths, const std::array<quint32, 7>& colors)
{
    Strip strip;
    strip.color = colors;
    strip.width = widths;
    strip.left[0] = kBandLeft;
    qint16 total = static_cast<qint16>(widths[0]);
    for (std::size_t i = 1; i < widths.size(); ++i) {
        total = static_cast<qint16>(total + static_cast<qint16>(widths[i]));
        strip.left[i] = strip.left[i - 1] + strip.width[i - 1];
    }
    strip.width_total = total;
    return strip;
}

int secondsOfDay(const QTime& t) { return t.hour() * 3600 + t.minute() * 60 + t.second(); }

int wrapped(int seconds) { return ((seconds % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay; }

} // namespace

Strip MorningStrip(double unit)
{
    return layOut(
        {unit, 4 * unit, 9 * unit, 4 * unit, 4 * unit, 7 * unit, 4 * unit},
        {kLowConcentration, kCreativity, kProblemSolving, kLowConcentration, kProblemSolving, kRejuvenation, kLowConcentration});
}

Strip NightOwlStrip(double unit)
{
    const double w = 4 * unit;
    return layOut(
        {w, w, w / 2, w, w * 6 / 4, w * 10 / 4, w / 4},
        {kLowConcentration, kCreativity, kProblemSolving, kLowConcentration, kProblemSolving, kRejuvenation, kLowConcentration});
}

Scale ScaleFor(double nightOwlLeft, double nightOwlWidth)
{
    return Scale{nightOwlLeft - 3 * (nightOwlWidth / 16), nightOwlLeft + nightOwlWidth};
}

QString HourText(int k)
{
    // The half-day marker turns at 12 and back at 24.
    const QString half = (k >= 12 && k < 24) ? QStringLiteral("PM") : QStringLiteral("AM");
    const int hour = k % 12;
    return QString::number(hour == 0 ? 12 : hour) + QLatin1Char(' ') + half;
}

QStringList HourTexts(int wakeHour)
{
    QStringList texts;
    for (int i = 0; i <= kHourSteps; ++i)
        texts << HourText(wakeHour + i);
    return texts;
}

const QStringList& MorningTimes()
{
    static const QStringList times = {QStringLiteral(" 4:00 AM"), QStringLiteral(" 4:30 AM"), QStringLiteral(" 5:00 AM"),
                                      QStringLiteral(" 5:30 AM"), QStringLiteral(" 6:00 AM"), QStringLiteral(" 6:30 AM"),
                                      QStringLiteral(" 7:00 AM")};
    return times;
}

const QStringList& NightOwlTimes()
{
    static const QStringList times = {QStringLiteral(" 7:00 AM"), QStringLiteral(" 7:30 AM"), QStringLiteral(" 8:00 AM"),
                                      QStringLiteral(" 8:30 AM"), QStringLiteral(" 9:00 AM"), QStringLiteral(" 9:30 AM"),
                                      QStringLiteral("10:00 AM"), QStringLiteral("10:30 AM")};
    return times;
}

WakeChoice ChoiceOf(const QString& wakeText)
{
    WakeChoice choice;
    choice.hour = wakeText.left(2).trimmed().toInt();
    choice.half = wakeText.mid(3, 2) == QLatin1String("30");
    return choice;
}

std::optional<QTime> WakeTimeOf(const QString& wakeText)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*([AaPp][Mm])\\s*$"));
    const QRegularExpressionMatch m = pattern.match(wakeText);
    if (!m.hasMatch())
        return std::nullopt;
    const int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    if (hour < 1 || hour > 12 || minute > 59)
        return std::nullopt;
    const bool pm = m.captured(3).toUpper() == QLatin1String("PM");
    return QTime(hour % 12 + (pm ? 12 : 0), minute);
}

StripLefts StripLeftsFor(bool half, bool typeChosen, double morningHome, double morningWidth, double nightOwlWidth,
                         StripLefts current)
{
    if (half)
        return typeChosen ? StripLefts{morningHome, morningHome} : current;
    return StripLefts{morningHome - morningWidth / 32, morningHome - nightOwlWidth / 32};
}

Marker MarkerFor(const QString& wakeText, int wakeHour, const QDateTime& now, const Scale& scale)
{
    Marker marker;
    const std::optional<QTime> wake = WakeTimeOf(wakeText);
    if (!wake)
        return marker;
    const QTime present = now.time();
    // Both cut to the minute; the time since waking is counted across midnight.
    const int wakeMinutes = wake->hour() * 60 + wake->minute();
    const int presentMinutes = present.hour() * 60 + present.minute();
    const int awake = ((presentMinutes - wakeMinutes) % (24 * 60) + 24 * 60) % (24 * 60);
    if (awake <= 0 || awake >= kHourSteps * 60)
        return marker;
    const int seconds = wrapped(secondsOfDay(present) - wakeHour * 3600);
    marker.visible = true;
    marker.x = scale.left + (seconds / 3600.0 / kHourSteps) * (scale.right - scale.left);
    return marker;
}

} // namespace clockplan
