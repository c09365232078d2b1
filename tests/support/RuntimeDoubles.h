#pragma once
// Doubles of the runtime services for tests and benchmarks (they are not part of the program).
// RuntimeDoubles installs a fresh set and puts the previous services back when it goes.
//
// A dialog that nobody expected (a message box with no queued answer, a queued answer that is
// not one of its buttons, a modal form with no queued action) is an error: it is recorded in
// Errors(), then reported through the unexpected-call hook when one is set (tests set it to
// ADD_FAILURE and the code goes on with the safe answer: No, Cancel or OK), or else thrown as
// UnexpectedDialog.
#include "platform/runtime/ui/Interaction.h"
#include "platform/runtime/ui/MsgBox.h"
#include "platform/runtime/ui/RuntimeServices.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace vb {

using UnexpectedHook = std::function<void(const QString& message)>;

class MsgBoxDouble : public MessageService {
public:
    struct Entry {
        QString text;
        int icon = 0;
        QString title;
        int buttons = vbOKOnly;
        int defaultButton = vbDefaultButton1;
        int answer = 0; // what the code was given
    };

    // Queues the answer to the next box (vbOK, vbYes, vbNo, vbCancel).
    void Answer(int result) { answers_.push_back(result); }
    int Pending() const { return static_cast<int>(answers_.size()); }
    const std::vector<Entry>& Log() const { return log_; }
    // The last box shown; throws std::out_of_range when none was.
    const Entry& Last() const;
    const QStringList& Errors() const { return errors_; }
    void setOnUnexpected(UnexpectedHook hook) { onUnexpected_ = std::move(hook); }
    void Clear();

    int Show(const MsgBoxCall& box) override;

private:
    std::deque<int> answers_;
    std::vector<Entry> log_;
    QStringList errors_;
    UnexpectedHook onUnexpected_;
};

class ModalDouble : public ModalRunner {
public:
    using Action = std::function<void(FormBase& form)>;
    // Queues what the "user" does in the next modal form. The form is shown (modeless) before
    // the action runs; if it is still visible afterwards it is hidden, as a modal Show returns
    // only once its form is gone from the screen.
    void Expect(Action action) { actions_.push_back(std::move(action)); }
    int Pending() const { return static_cast<int>(actions_.size()); }
    // Names of the forms run modally, in order.
    const QStringList& Log() const { return log_; }
    const QStringList& Errors() const { return errors_; }
    void setOnUnexpected(UnexpectedHook hook) { onUnexpected_ = std::move(hook); }

    void Run(FormBase& form) override;

private:
    std::deque<Action> actions_;
    QStringList log_;
    QStringList errors_;
    UnexpectedHook onUnexpected_;
};

class BeepCounter : public BeepService {
public:
    void Beep() override { ++count_; }
    int Count() const { return count_; }
    void Reset() { count_ = 0; }

private:
    int count_ = 0;
};

// Pauses return at once; the requested times are kept.
class NoPause : public PauseService {
public:
    void Pause(int milliseconds) override { requests_.push_back(milliseconds); }
    const std::vector<int>& Requests() const { return requests_; }

private:
    std::vector<int> requests_;
};

class FixedClock : public ClockService {
public:
    // 12 March 2024, 10:07, unless a test sets another moment.
    FixedClock();
    void Set(const QDateTime& now);
    void Set(const QDate& date, const QTime& time);
    QDateTime Now() override { return now_; }

private:
    QDateTime now_;
};

// Rnd gives the queued values in order; when the queue is empty it gives the fallback (0 unless
// set). Randomize is counted and changes nothing.
class QueuedRandom : public RandomService {
public:
    void Queue(double value) { values_.push_back(value); }
    void setFallback(double value) { fallback_ = value; }
    double Rnd() override;
    void Randomize() override { ++randomizeCount_; }
    int Calls() const { return calls_; }
    int RandomizeCount() const { return randomizeCount_; }

private:
    std::deque<double> values_;
    double fallback_ = 0.0;
    int calls_ = 0;
    int randomizeCount_ = 0;
};

// Installs a fresh double of every runtime service; restores the previous ones when destroyed.
class RuntimeDoubles {
public:
    RuntimeDoubles();
    ~RuntimeDoubles();
    RuntimeDoubles(const RuntimeDoubles&) = delete;
    RuntimeDoubles& operator=(const RuntimeDoubles&) = delete;

    MsgBoxDouble& messages() { return *messages_; }
    ModalDouble& modal() { return *modal_; }
    BeepCounter& beep() { return *beep_; }
    NoPause& pause() { return *pause_; }
    FixedClock& clock() { return *clock_; }
    QueuedRandom& random() { return *random_; }
    // Sets the unexpected-call hook of the message and modal doubles.
    void setOnUnexpected(const UnexpectedHook& hook);
    // The errors of both dialog doubles.
    QStringList Errors() const;

private:
    RuntimeServices previous_;
    std::shared_ptr<MsgBoxDouble> messages_;
    std::shared_ptr<ModalDouble> modal_;
    std::shared_ptr<BeepCounter> beep_;
    std::shared_ptr<NoPause> pause_;
    std::shared_ptr<FixedClock> clock_;
    std::shared_ptr<QueuedRandom> random_;
};

} // namespace vb
