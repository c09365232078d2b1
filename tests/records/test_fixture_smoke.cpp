// The records fixture itself: a database with the sample person and strict message doubles.
#include "records/RecordsFixture.h"

#include "platform/runtime/ui/MsgBox.h"

namespace {

using testing_records::RecordsFixture;

TEST_F(RecordsFixture, StartsWithTheSamplePersonAndAnsweredBoxesOnly)
{
    EXPECT_GT(samplePerson, 0);
    EXPECT_GT(count(QStringLiteral("select count(*) from MEASURE")), 300);
    answer(vb::vbYes);
    EXPECT_EQ(vb::vbYes, vb::MsgBox(QStringLiteral("Replace?"), vb::vbYesNo | vb::vbExclamation, QString()));
    EXPECT_EQ(QStringLiteral("Replace?"), lastBox().text);
}

} // namespace
