// Beep, pauses, the clock, random numbers and the hourglass through their services.
#include "RuntimeUiFixture.h"

#include "platform/runtime/ui/Interaction.h"

#include <QCursor>
#include <QGuiApplication>

using namespace vb;

using InteractionTest = RuntimeUiTest;

TEST_F(InteractionTest, DoublesCountBeepsRecordPausesAndFixTheClock)
{
    Beep();
    Beep();
    EXPECT_EQ(doubles().beep().Count(), 2);
    Pause(300);
    Pause(200);
    EXPECT_EQ(doubles().pause().Requests(), (std::vector<int>{300, 200}));
    doubles().clock().Set(QDate(2030, 3, 8), QTime(23, 53));
    EXPECT_EQ(Now(), QDateTime(QDate(2030, 3, 8), QTime(23, 53), Qt::UTC));
    EXPECT_EQ(Today(), QDate(2030, 3, 8));
    doubles().random().Queue(0.99);
    doubles().random().Queue(0.0);
    EXPECT_EQ(Rnd(), 0.99);
    EXPECT_EQ(Rnd(), 0.0);
    EXPECT_EQ(Rnd(), 0.0) << "the fallback once the queue is empty";
}

TEST(SystemRandomTest, NumbersLieInZeroToOneAndRandomizeChangesTheSequence)
{
    SystemRandom first;
    double low = 1.0;
    double high = 0.0;
    for (int i = 0; i < 10000; ++i) {
        const double value = first.Rnd();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    EXPECT_LT(low, 0.01);
    EXPECT_GT(high, 0.99);
    // Unseeded generators repeat; a seeded one does not.
    SystemRandom a;
    SystemRandom b;
    EXPECT_EQ(a.Rnd(), b.Rnd());
    b.Randomize();
    EXPECT_NE(a.Rnd(), b.Rnd());
}

TEST(SystemClockTest, NowIsTheLocalTimeWithoutZone)
{
    SystemClock clock;
    const QDateTime now = clock.Now();
    EXPECT_EQ(now.timeSpec(), Qt::UTC);
    EXPECT_LE(std::abs(now.secsTo(QDateTime(QDate::currentDate(), QTime::currentTime(), Qt::UTC))), 2);
}

TEST(BusyCursorTest, HourglassForTheScopeAndNested)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        BusyCursor outer;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            BusyCursor inner;
        }
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr) << "the outer guard still holds";
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
