#include "platform/runtime/StorableDates.h"

#include <gtest/gtest.h>

namespace {

TEST(StorableDates, FromTheYear100ToTheLastSundayOf9999)
{
    struct Case {
        QDate date;
        bool storable;
    } cases[] = {
        {QDate(99, 12, 31), false},  {QDate(100, 1, 1), true},     {QDate(2027, 3, 8), true},
        {QDate(9999, 12, 26), true}, {QDate(9999, 12, 27), false}, {QDate(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vb::IsStorableDate(c.date), c.storable) << c.date.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(vb::LastStorableDate().dayOfWeek(), Qt::Sunday);
}

TEST(StorableDates, FullYearPatterns)
{
    const std::pair<const char*, const char*> cases[] = {
        {"M/d/yy", "M/d/yyyy"}, {"dd.MM.yyyy", "dd.MM.yyyy"}, {"d-MMM-y", "d-MMM-yyyy"}, {"'yy' M/d/yy", "'yy' M/d/yyyy"}};
    for (const auto& [pattern, full] : cases)
        EXPECT_EQ(vb::WithFullYear(QString::fromLatin1(pattern)), QString::fromLatin1(full)) << pattern;
}

} // namespace
