#include "support/RuntimeDoubles.h"

#include "platform/runtime/ui/Form.h"

#include <QWidget>

#include <algorithm>

namespace vb {

namespace {

QString StyleText(const MsgBoxCall& box)
{
    return QStringLiteral("buttons %1, icon %2, default %3, title \"%4\"")
        .arg(box.buttons)
        .arg(box.icon)
        .arg(box.defaultButton)
        .arg(box.title);
}

// The answer that changes nothing: No, Cancel, or OK for a box that offers only OK.
int SafeAnswer(const MsgBoxCall& box)
{
    switch (box.buttons) {
    case vbYesNo: return vbNo;
    case vbOKCancel:
    case vbYesNoCancel: return vbCancel;
    default: return vbOK;
    }
}

void Report(QStringList& errors, const UnexpectedHook& hook, const QString& message)
{
    errors.append(message);
    if (hook)
        hook(message);
    else
        throw UnexpectedDialog(message);
}

} // namespace

const MsgBoxDouble::Entry& MsgBoxDouble::Last() const
{
    if (log_.empty())
        throw std::out_of_range("no message box was shown");
    return log_.back();
}

void MsgBoxDouble::Clear()
{
    answers_.clear();
    log_.clear();
    errors_.clear();
}

int MsgBoxDouble::Show(const MsgBoxCall& box)
{
    log_.push_back(Entry{box.text, box.icon, box.title, box.buttons, box.defaultButton, 0});
    Entry& entry = log_.back();
    if (answers_.empty()) {
        entry.answer = SafeAnswer(box);
        Report(errors_, onUnexpected_,
               QStringLiteral("Unexpected message box (no answer queued): \"%1\" (%2)").arg(box.text, StyleText(box)));
        return entry.answer;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    const std::vector<int> offered = box.results();
    if (std::find(offered.begin(), offered.end(), answer) == offered.end()) {
        entry.answer = SafeAnswer(box);
        Report(errors_, onUnexpected_,
               QStringLiteral("Queued answer %1 is not a button of the message box \"%2\" (%3)")
                   .arg(answer)
                   .arg(box.text, StyleText(box)));
        return entry.answer;
    }
    entry.answer = answer;
    return answer;
}

void ModalDouble::Run(FormBase& form)
{
    log_.append(form.Name());
    if (actions_.empty()) {
        Report(errors_, onUnexpected_, QStringLiteral("Unexpected modal form \"%1\" (no action queued)").arg(form.Name()));
        return;
    }
    Action action = std::move(actions_.front());
    actions_.pop_front();
    QPointer<QWidget> window = form.Window();
    window->show();
    action(form);
    // The action may have unloaded (and so scheduled the deletion of) the form.
    if (window && window->isVisible() && form.Loaded())
        window->hide();
}

FixedClock::FixedClock() : now_(QDate(2024, 3, 12), QTime(10, 7), Qt::UTC) {}

void FixedClock::Set(const QDateTime& now) { now_ = QDateTime(now.date(), now.time(), Qt::UTC); }

void FixedClock::Set(const QDate& date, const QTime& time) { now_ = QDateTime(date, time, Qt::UTC); }

double QueuedRandom::Rnd()
{
    ++calls_;
    if (values_.empty())
        return fallback_;
    const double value = values_.front();
    values_.pop_front();
    return value;
}

RuntimeDoubles::RuntimeDoubles()
    : previous_(Runtime()), messages_(std::make_shared<MsgBoxDouble>()), modal_(std::make_shared<ModalDouble>()),
      beep_(std::make_shared<BeepCounter>()), pause_(std::make_shared<NoPause>()), clock_(std::make_shared<FixedClock>()),
      random_(std::make_shared<QueuedRandom>())
{
    RuntimeServices& services = Runtime();
    services.messages = messages_;
    services.modal = modal_;
    services.beep = beep_;
    services.pause = pause_;
    services.clock = clock_;
    services.random = random_;
}

RuntimeDoubles::~RuntimeDoubles() { Runtime() = previous_; }

void RuntimeDoubles::setOnUnexpected(const UnexpectedHook& hook)
{
    messages_->setOnUnexpected(hook);
    modal_->setOnUnexpected(hook);
}

QStringList RuntimeDoubles::Errors() const { return messages_->Errors() + modal_->Errors(); }

} // namespace vb
