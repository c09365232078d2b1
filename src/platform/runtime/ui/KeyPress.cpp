#include "platform/runtime/ui/KeyPress.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

namespace vb {

namespace {

class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QObject* parent, std::function<void(int&)> handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        int keyAscii = 0;
        if (key->key() == Qt::Key_Backspace) {
            keyAscii = 8;
        } else {
            const QString text = key->text();
            if (text.size() != 1 || !text.at(0).isPrint() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                return false;
            keyAscii = text.at(0).unicode();
        }
        handler_(keyAscii);
        return keyAscii == 0;
    }

private:
    std::function<void(int&)> handler_;
};

} // namespace

void OnKeyPress(QWidget* box, std::function<void(int& keyAscii)> handler)
{
    // Owned by the box, so it goes with it.
    box->installEventFilter(new KeyPressFilter(box, std::move(handler)));
}

} // namespace vb
