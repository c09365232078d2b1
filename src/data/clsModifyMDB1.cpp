#include "data/clsModifyMDB1.h"

#include "data/Globals.h"
#include "data/clsModifyMDB.h"
#include "platform/runtime/Conversions.h"

#include <array>
#include <initializer_list>
#include <optional>

bool clsModifyMDB1::runUpgrade()
{
    if (IsUpdated())
        return false;
    if (!gDB)
        throw dao::Error(dao::errObjectClosed, QStringLiteral("Object invalid or no longer set: no database is open."));
    UpgradeTransaction layer(*gDB);
    AddApplicationFields();
    layer.check();
    SetDefaultSugarUnit();
    layer.commit();
    return true;
}

bool clsModifyMDB1::IsUpdated()
{
    if (!gDB)
        return false;
    try {
        auto rs = gDB->OpenRecordset(QStringLiteral(" SELECT *    FROM Application"), dao::dbOpenSnapshot);
        for (const dao::Field& fld : rs->Fields())
            if (fld.Name() == QLatin1String("PICTURE"))
                return true;
    } catch (const std::exception&) {
    }
    return false;
}

void clsModifyMDB1::AddApplicationFields()
{
    struct Column {
        const char* name;
        int size;
    };
    for (const Column& c : {Column{"Temp2Unit", 10}, Column{"ImportFileName", 30}, Column{"PICTURE", 30}}) {
        passOverErrors(*gDB, [&] {
            dao::TableDef td = gDB->TableDefs(QStringLiteral("APPLICATION"));
            td.Fields().Append(td.CreateField(QLatin1String(c.name), dao::dbText, c.size));
        });
    }
}

void clsModifyMDB1::SetDefaultSugarUnit() { gDB->Execute(QStringLiteral("update Application set Temp2Unit = 'mg/dl'")); }

namespace {

using Limits = std::array<double, 4>; // GL_NL, GL_NH, GL_DL, GL_DH

struct GoalGroup {
    std::initializer_list<int> keys;
    Limits mgdl;
    Limits mmol;
};

const GoalGroup kGroups[] = {
    {{1, 3, 5, 7}, {80, 180, 60, 240}, {4.5, 10, 3.5, 13}},
    {{2, 4, 6}, {80, 120, 60, 240}, {4.5, 6.7, 3.5, 13}},
    {{8}, {100, 140, 60, 240}, {5.5, 7.8, 3.5, 13}},
};

const char* const kLimitColumns[] = {"GL_NL", "GL_NH", "GL_DL", "GL_DH"};

// A stored limit as a number; Null, an empty text or a text that is not wholly a number is
// no number, so such a row is never an untouched default row.
std::optional<double> limitOf(const QVariant& v)
{
    if (v.isNull())
        return std::nullopt;
    bool ok = false;
    const double number = v.toString().trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

} // namespace

QStringList clsModifyMDB1::ConvertGoalUnits(qint16 intMode)
{
    if (intMode != 1 && intMode != 2)
        return {};
    QStringList kept;
    dao::Transaction trans(*gDB);
    auto rs = gDB->OpenRecordset(QStringLiteral(" SELECT * from DBTS_GOAL"), dao::dbOpenDynaset);
    while (!rs->Eof()) {
        const int key = rs->Fields(QStringLiteral("GL_KY")).Value().toInt();
        const auto holds = [&rs](const Limits& limits) {
            for (std::size_t i = 0; i < limits.size(); ++i) {
                const auto limit = limitOf(rs->Fields(QLatin1String(kLimitColumns[i])).Value());
                if (!limit || *limit != limits[i])
                    return false;
            }
            return true;
        };
        bool inUnit = false;
        for (const GoalGroup& group : kGroups) {
            bool inGroup = false;
            for (int k : group.keys)
                inGroup = inGroup || k == key;
            if (!inGroup)
                continue;
            const Limits& from = intMode == 1 ? group.mgdl : group.mmol;
            const Limits& to = intMode == 1 ? group.mmol : group.mgdl;
            if (holds(to)) {
                inUnit = true;
                continue;
            }
            if (!holds(from))
                continue;
            rs->Edit();
            for (std::size_t i = 0; i < to.size(); ++i)
                rs->Fields(QLatin1String(kLimitColumns[i])).setValue(vb::NumberText(to[i]));
            rs->Update();
            inUnit = true;
        }
        if (!inUnit)
            kept << rs->Fields(QStringLiteral("GL_NM")).Value().toString();
        rs->MoveNext();
    }
    trans.commit();
    return kept;
}
