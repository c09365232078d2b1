#pragma once
// The small runtime calls that touch the user or the machine: Beep, DoEvents, the hourglass
// pointer, pauses, the clock and random numbers. Beep, pauses, the clock and random numbers go
// through replaceable services (RuntimeServices.h) so that tests can count, skip or fix them.
#include <QDate>
#include <QDateTime>

namespace vb {

class BeepService {
public:
    virtual ~BeepService() = default;
    virtual void Beep() = 0;
};

class PauseService {
public:
    virtual ~PauseService() = default;
    // Blocks the thread for the given milliseconds (the splash stays painted meanwhile).
    virtual void Pause(int milliseconds) = 0;
};

class ClockService {
public:
    virtual ~ClockService() = default;
    // The local date and time, as a naive value set to Qt::UTC like every date the program
    // keeps (no daylight-saving shifts).
    virtual QDateTime Now() = 0;
};

class RandomService {
public:
    virtual ~RandomService() = default;
    // A number in [0, 1).
    virtual double Rnd() = 0;
    // Seeds the generator from the clock.
    virtual void Randomize() = 0;
};

void Beep();
// Lets pending window events run once.
void DoEvents();
void Pause(int milliseconds);
QDateTime Now();
QDate Today();
double Rnd();
void Randomize();

// The hourglass pointer for the lifetime of the object; nested guards stack.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The real services.
class SystemBeep : public BeepService {
public:
    void Beep() override;
};

class ThreadPause : public PauseService {
public:
    void Pause(int milliseconds) override;
};

class SystemClock : public ClockService {
public:
    QDateTime Now() override;
};

class SystemRandom : public RandomService {
public:
    SystemRandom();
    double Rnd() override;
    void Randomize() override;

private:
    quint64 state_;
};

} // namespace vb
