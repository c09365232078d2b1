#include "platform/runtime/ui/Interaction.h"

#include "platform/runtime/ui/RuntimeServices.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QThread>

#include <chrono>

namespace vb {

void Beep() { Runtime().beep->Beep(); }

void DoEvents() { QCoreApplication::processEvents(); }

void Pause(int milliseconds) { Runtime().pause->Pause(milliseconds); }

QDateTime Now() { return Runtime().clock->Now(); }

QDate Today() { return Now().date(); }

double Rnd() { return Runtime().random->Rnd(); }

void Randomize() { Runtime().random->Randomize(); }

BusyCursor::BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

BusyCursor::~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }

void SystemBeep::Beep() { QApplication::beep(); }

void ThreadPause::Pause(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

QDateTime SystemClock::Now()
{
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

namespace {

// splitmix64: a small generator with a full 64-bit state; 53 bits make a double in [0, 1).
quint64 NextState(quint64& state)
{
    quint64 z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

quint64 ClockSeed()
{
    return static_cast<quint64>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count());
}

} // namespace

// Without Randomize the sequence is the same on every run, as VB's is.
SystemRandom::SystemRandom() : state_(0x5DEECE66DULL) {}

double SystemRandom::Rnd() { return static_cast<double>(NextState(state_) >> 11) * (1.0 / 9007199254740992.0); }

void SystemRandom::Randomize() { state_ = ClockSeed(); }

} // namespace vb
