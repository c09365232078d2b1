#include "data/modFunctions.h"

#include "data/Globals.h"
#include "platform/dao/Criteria.h"
#include "platform/runtime/Conversions.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace modFunctions {

namespace {

std::function<void(const QString&)>& SplashStatusHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

// Order of day, month and year in the user's short-date pattern, e.g. "mdy" for "m/d/yyyy".
QString DayOrder()
{
    QString order;
    for (const QChar c : vb::ShortDatePattern()) {
        const QChar lower = c.toLower();
        if ((lower == u'm' || lower == u'd' || lower == u'y') && !order.contains(lower))
            order += lower;
    }
    return order.size() == 3 ? order : QStringLiteral("mdy");
}

// Two-digit years fall into 1930-2029, as the platform's date reading windows them.
int FullYear(const QString& digits)
{
    const int year = digits.toInt();
    if (digits.size() > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

std::optional<QTime> TimeOf(const QString& hourText, const QString& minuteText, const QString& secondText, const QString& half)
{
    if (hourText.isEmpty())
        return QTime(0, 0);
    int hour = hourText.toInt();
    const int minute = minuteText.toInt();
    const int second = secondText.isEmpty() ? 0 : secondText.toInt();
    if (!half.isEmpty()) {
        if (hour > 12)
            return std::nullopt;
        const bool evening = half.startsWith(u'p', Qt::CaseInsensitive);
        hour = hour % 12 + (evening ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QTime(hour, minute, second);
}

std::optional<QDateTime> DateOfText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{1,4})([/.\-])(\d{1,2})\2(\d{1,4})(?:(?:\s+|T)(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([AaPp][Mm]?)?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString a = m.captured(1);
    const QString b = m.captured(3);
    const QString c = m.captured(4);
    int year = 0;
    int month = 0;
    int day = 0;
    if (a.size() > 2) { // year first
        year = FullYear(a);
        month = b.toInt();
        day = c.toInt();
    } else {
        const QString order = DayOrder();
        const QString parts[3] = {a, b, c};
        for (int i = 0; i < 3; ++i) {
            if (order[i] == u'y')
                year = FullYear(parts[i]);
            else if (order[i] == u'm')
                month = parts[i].toInt();
            else
                day = parts[i].toInt();
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    const auto time = TimeOf(m.captured(5), m.captured(6), m.captured(7), m.captured(8));
    if (!time)
        return std::nullopt;
    return QDateTime(date, *time, Qt::UTC);
}

// A time text as the callers pass it ("07:05:00 PM", "11:59:59 PM", "7:5 PM", "19:05").
bool IsTimeText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([AaPp][Mm]?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    return m.hasMatch() && TimeOf(m.captured(1), m.captured(2), m.captured(3), m.captured(4)).has_value();
}

QString DatePart(const QDate& d) { return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year()); }

} // namespace

std::optional<QDateTime> DateOf(const QVariant& value)
{
    if (vb::IsNull(value))
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid())
            return std::nullopt;
        return QDateTime(dt.date(), dt.time(), Qt::UTC);
    }
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        if (!d.isValid())
            return std::nullopt;
        return QDateTime(d, QTime(0, 0), Qt::UTC);
    }
    case QMetaType::QString: return DateOfText(value.toString());
    default: return std::nullopt;
    }
}

QString SqlDate(const QVariant& value)
{
    const auto dt = DateOf(value);
    if (!dt)
        return QString();
    return u'#' + DatePart(dt->date()) + u'#';
}

QString SqlDateTime(const QVariant& value, const QString& time)
{
    const auto dt = DateOf(value);
    if (!dt)
        return QString();
    QString timeText = time;
    // The time goes between the literal's "#" signs: only a time of day may stand there.
    if (!timeText.isEmpty() && !IsTimeText(timeText))
        return QString();
    if (timeText.isEmpty()) {
        const QTime t = dt->time();
        const int hour = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
        timeText =
            QStringLiteral("%1:%2 %3").arg(hour).arg(t.minute()).arg(t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
    }
    return u'#' + DatePart(dt->date()) + u' ' + timeText + u'#';
}

int DaysInMonth(int month, int year)
{
    if (month == 12)
        return 31;
    // The day before the first of the following month; months outside 1-12 roll into the
    // neighbouring years.
    const QDate firstOfNext = QDate(year, 1, 1).addMonths(month);
    return firstOfNext.addDays(-1).day();
}

void ShowSplashStatus(int stage)
{
    const auto& hook = SplashStatusHook();
    if (!hook)
        return;
    if (stage == 0)
        hook(QStringLiteral("Building Database ..."));
    else if (stage == 1)
        hook(QStringLiteral("Loading Sample data ..."));
}

void setSplashStatusHook(std::function<void(const QString&)> hook) { SplashStatusHook() = std::move(hook); }

qint32 GetSugarGoalColor(float reading, const QString& goalName) { return SugarGoalColors().ColorOf(reading, goalName); }

qint32 SugarGoalColors::ColorOf(float reading, const QString& goalName)
{
    if (goalName.isEmpty())
        return SugarNoGoalColor;
    auto it = found_.find(goalName);
    if (it == found_.end()) {
        if (!loaded_) {
            auto rs = gDB->OpenRecordset(QStringLiteral("SELECT GL_NM, GL_NL, GL_NH, GL_DL, GL_DH FROM DBTS_GOAL ORDER BY GL_NM"),
                                         dao::dbOpenSnapshot);
            const auto limit = [&rs](const char* column) {
                return static_cast<float>(vb::CSng(vb::Val(rs->Fields(QString::fromLatin1(column)).Value())));
            };
            for (; !rs->Eof(); rs->MoveNext())
                goals_.emplace_back(vb::CStr(rs->Fields(QStringLiteral("GL_NM")).Value()),
                                    Limits{limit("GL_NL"), limit("GL_NH"), limit("GL_DL"), limit("GL_DH")});
            rs->Close();
            loaded_ = true;
        }
        // The first goal of that name in name order, names compared as the database compares them.
        std::optional<Limits> limits;
        for (const auto& [name, goal] : goals_) {
            if (dao::compareNoCase(name, goalName) == 0) {
                limits = goal;
                break;
            }
        }
        it = found_.insert(goalName, limits);
    }
    // A name no goal has: the reading is judged against nothing, as without a goal.
    if (!*it)
        return SugarNoGoalColor;
    const auto [nl, nh, dl, dh] = **it;
    const float v = reading;
    if (nl <= v && v <= nh)
        return SugarNormalColor;
    if (v < nl && dl <= v)
        return SugarWarningColor;
    if (nh < v && v <= dh)
        return SugarWarningColor;
    if (v > dh || v < dl)
        return SugarDangerColor;
    return 0;
}

std::optional<QTime> ClockTimeOf(const QString& text)
{
    static const QRegularExpression clock(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*([AaPp][Mm])\\s*$"));
    const QRegularExpressionMatch m = clock.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    if (hour < 1 || hour > 12 || minute > 59)
        return std::nullopt;
    const bool afternoon = m.captured(3).at(0).toUpper() == QLatin1Char('P');
    return QTime(hour % 12 + (afternoon ? 12 : 0), minute);
}

} // namespace modFunctions
