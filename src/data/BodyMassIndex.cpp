#include "data/BodyMassIndex.h"

#include "data/Globals.h"
#include "platform/dao/dao.h"
#include "platform/runtime/Conversions.h"

#include <QRegularExpression>

#include <cmath>

namespace bmi {

namespace {

const QString crlf = QStringLiteral("\r\n");
constexpr int kExclamation = 48;
constexpr int kInformation = 64;

Outcome refused(const QString& message, int icon)
{
    Outcome outcome;
    outcome.message = message;
    outcome.icon = icon;
    return outcome;
}

QString reenter(const QString& first) { return first + crlf + QStringLiteral("Please re-enter again."); }

QString chooseUnits(const QString& first) { return first + crlf + QStringLiteral("Choose the units and calculate again."); }

} // namespace

QString HeightUnitText(int heightUnitCode)
{
    switch (heightUnitCode) {
    case 1: return kInches;
    case 2: return kCentimeters;
    default: return {};
    }
}

QString WeightUnitText(int weightUnitCode)
{
    switch (weightUnitCode) {
    case 1: return kPounds;
    case 2: return kKilograms;
    default: return {};
    }
}

const std::array<Band, 5>& Bands()
{
    static const std::array<Band, 5> bands = {{
        {"Underweight", 0xFFFF00},
        {"Healthy", 0x00FF00},
        {"Overweight", 0x00FFFF},
        {"Obese", 0x8080FF},
        {"Severly Obese", 0x0000FF},
    }};
    return bands;
}

int BandOf(double rounded)
{
    if (rounded < 20)
        return 0;
    if (rounded < 25)
        return 1;
    if (rounded < 30)
        return 2;
    if (rounded < 40)
        return 3;
    return 4;
}

std::optional<double> ReadNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const QString t = text.trimmed();
    if (!number.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok); // QString reads with "." whatever the locale
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

Outcome Calculate(const Entry& entry)
{
    const std::optional<double> height = ReadNumber(entry.height);
    const std::optional<double> weight = ReadNumber(entry.weight);
    if (!height && !weight)
        return refused(QStringLiteral("You need to enter the height and weight to calculate BMI."), kExclamation);
    if (!height)
        return refused(QStringLiteral("You need to enter the height."), kExclamation);
    if (!weight)
        return refused(QStringLiteral("You need to enter the weight."), kExclamation);

    // The entries are single-precision numbers; a number beyond that range is out of every range
    // below anyway.
    const double h = std::fabs(*height) > 1e30 ? *height : vb::CSng(*height);
    const double w = std::fabs(*weight) > 1e30 ? *weight : vb::CSng(*weight);

    double metres = 0;
    if (entry.heightUnit == kInches) {
        if (h < 36 || h > 108)
            return refused(reenter(QStringLiteral("The height should be between 3 feet(36 inches) and 9 feet (108 inches).")),
                           kExclamation);
        metres = h * 0.0254;
    } else if (entry.heightUnit == kCentimeters) {
        if (h < 90 || h > 275)
            return refused(reenter(QStringLiteral("The height should be between 90 and 275 centimeters.")), kExclamation);
        metres = h / 100;
    } else {
        return refused(chooseUnits(QStringLiteral("The units must be either inches or centimeters.")), kInformation);
    }

    double kilograms = 0;
    if (entry.weightUnit == kPounds) {
        if (w < 20 || w > 800)
            return refused(reenter(QStringLiteral("The weight should be between 20 and 800 pounds.")), kExclamation);
        kilograms = w / 2.2;
    } else if (entry.weightUnit == kKilograms) {
        if (w < 10 || w > 400)
            return refused(reenter(QStringLiteral("The weight should be between 10 and 400 kilograms.")), kExclamation);
        kilograms = w;
    } else {
        return refused(chooseUnits(QStringLiteral("The units must be either pounds or kilograms.")), kInformation);
    }

    Outcome outcome;
    outcome.bmi = kilograms / metres / metres;
    // The shown value, its slider position and its band all follow the value rounded to one
    // decimal (24.97 is shown as 25 and is Overweight).
    outcome.rounded = vb::CSng(vb::Val(vb::Format(outcome.bmi, QStringLiteral("0.0"))));
    outcome.text = vb::NumberText(outcome.rounded);
    outcome.slider = vb::CInt(outcome.rounded);
    outcome.band = BandOf(outcome.rounded);
    return outcome;
}

QString LatestWeightText(qint32 personKey)
{
    if (!gDB)
        return {};
    // By the person's key (a name may hold a quote), newest reading first, so the weight beside
    // the index is the person's latest.
    auto rs = gDB->OpenRecordset(
        QStringLiteral(" select f.wt, f.msrd_dt ") + QStringLiteral(" from measure f ") + QStringLiteral(" where f.prsn_ky = ") +
            QString::number(personKey) + QStringLiteral("   and f.wt > 0 ") +
            // Only the newest such reading is read, not the whole history.
            QStringLiteral("   and f.msrd_dt = (select max(g.msrd_dt) from measure g ") +
            QStringLiteral("   where g.prsn_ky = ") + QString::number(personKey) + QStringLiteral(" and g.wt > 0) "),
        dao::dbOpenSnapshot, dao::dbReadOnly);
    QString text;
    if (!rs->Eof())
        text = vb::CStr(rs->Fields(QStringLiteral("wt")).Value());
    rs->Close();
    return text;
}

Entry PersonEntry(qint32 personKey)
{
    Entry entry;
    entry.heightUnit = HeightUnitText(gHeightUnit);
    entry.weightUnit = WeightUnitText(gWeightUnit);
    if (!gDB)
        return entry;
    auto rs = gDB->OpenRecordset(QStringLiteral("SELECT HGT FROM PERSON WHERE PRSN_KY = ") + QString::number(personKey),
                                 dao::dbOpenSnapshot, dao::dbReadOnly);
    if (!rs->Eof())
        entry.height = vb::CStr(rs->Fields(QStringLiteral("HGT")).Value());
    rs->Close();
    entry.weight = LatestWeightText(personKey);
    return entry;
}

} // namespace bmi
