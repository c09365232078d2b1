#pragma once
// Long work inside a handler of a window, on the user-interface thread: while it runs, the user's
// clicks and keys aimed at the window are dropped, never run afterwards. The work lets only other
// messages run (painting, status texts), so input waits in the queue: the drop ends by letting
// that input through to the filter, or it would reach the window afterwards and, on the button
// that started the work, start it again.
#include <QElapsedTimer>
#include <QObject>

class QEvent;
class QWidget;

namespace vb {

class UserInputDrop : public QObject {
public:
    explicit UserInputDrop(QWidget& window);
    UserInputDrop(const UserInputDrop&) = delete;
    UserInputDrop& operator=(const UserInputDrop&) = delete;
    ~UserInputDrop() override;

    // Whether at least the given time has passed since the drop began or since the last time this
    // said so: a loop asks it often and lets messages run when it says yes.
    bool due(int milliseconds);
    // Lets the pending messages other than the user's input run once.
    static void letOtherMessagesRun();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QElapsedTimer sinceLast_;
};

} // namespace vb
